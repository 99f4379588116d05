#include "platform/store/PipeCatalogCsv.h"

#include <boost/uuid/name_generator_sha1.hpp>
#include <boost/uuid/string_generator.hpp>
#include <boost/uuid/uuid_io.hpp>
#include <cctype>
#include <map>
#include <set>

#include "platform/network/CatalogManager.h"
#include "platform/network/TopologyStorage.h"
#include "platform/store/ImportText.h"

namespace TAVGis::Store {
namespace {

constexpr std::size_t kFieldCount = 6;
constexpr const char* kNamespaceUuid = "6f1d2c8e-5a43-4b7e-9c1a-3e8d7b2f4a60";  // pipe catalogue item names

struct Row {
    std::size_t line = 0;
    std::string group, name, typeId;
    double dn = 0, di = 0, kb = 0;  // mm
};

// Splits one CSV line; false when a quote is not closed.
bool SplitCsv(std::string_view line, std::vector<std::string>& fields) {
    fields.clear();
    std::string cur;
    bool quoted = false;
    for (std::size_t i = 0; i < line.size(); ++i) {
        char c = line[i];
        if (quoted) {
            if (c == '"' && i + 1 < line.size() && line[i + 1] == '"') {
                cur += '"';
                ++i;
            } else if (c == '"') {
                quoted = false;
            } else {
                cur += c;
            }
        } else if (c == '"') {
            quoted = true;
        } else if (c == ',') {
            fields.push_back(std::move(cur));
            cur.clear();
        } else {
            cur += c;
        }
    }
    fields.push_back(std::move(cur));
    return !quoted;
}

std::string Trim(std::string s) {
    auto blank = [](unsigned char c) { return std::isspace(c) != 0; };
    while (!s.empty() && blank(static_cast<unsigned char>(s.back()))) s.pop_back();
    std::size_t i = 0;
    while (i < s.size() && blank(static_cast<unsigned char>(s[i]))) ++i;
    return s.substr(i);
}

SPipeCatalogImport Fail(std::size_t line, std::string message) {
    SPipeCatalogImport r;
    r.line = line;
    r.error = line ? "line " + std::to_string(line) + ": " + message : message;
    return r;
}

}  // namespace

std::string CPipeCatalogCsv::ItemGuid(const std::string& group, const std::string& pipe) {
    static const boost::uuids::uuid ns = boost::uuids::string_generator()(kNamespaceUuid);
    boost::uuids::name_generator_sha1 gen(ns);
    // The group name is length-prefixed so that no (group, pipe) pair can spell another's name.
    std::string s = boost::uuids::to_string(gen(std::to_string(group.size()) + ":" + group + "/" + pipe));
    for (auto& c : s) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return "{" + s + "}";
}

SPipeCatalogImport CPipeCatalogCsv::ReadFile(const std::filesystem::path& path, TAVHost::Document& doc,
                                             ImportText::ETextEncoding encoding) {
    std::string text, error;
    if (!ImportText::ReadWholeFile(path, text, error)) return Fail(0, error);
    return ReadText(text, doc, encoding);
}

SPipeCatalogImport CPipeCatalogCsv::ReadText(std::string_view bytes, TAVHost::Document& doc,
                                             ImportText::ETextEncoding encoding) {
    std::string decoded;
    std::size_t badLine = 0;
    if (!ImportText::DecodeText(bytes, encoding, decoded, badLine))
        return Fail(badLine, "a byte on this line is not UTF-8 text");
    std::string_view text = decoded;
    std::vector<Row> rows;
    bool header = false;
    std::size_t lineNo = 0;
    std::vector<std::string> f;
    std::map<std::pair<std::string, std::string>, std::size_t> seen;
    while (!text.empty()) {
        auto nl = text.find('\n');
        std::string_view line = text.substr(0, nl);
        text = nl == std::string_view::npos ? std::string_view() : text.substr(nl + 1);
        ++lineNo;
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        std::string trimmed = Trim(std::string(line));
        if (trimmed.empty() || trimmed[0] == '#') continue;
        if (!header) {
            if (trimmed != kHeader)
                return Fail(lineNo, std::string("expected the header \"") + kHeader + "\"");
            header = true;
            continue;
        }
        if (!SplitCsv(line, f)) return Fail(lineNo, "a quoted field is not closed");
        if (f.size() != kFieldCount)
            return Fail(lineNo, "expected " + std::to_string(kFieldCount) + " fields, found " +
                                    std::to_string(f.size()));
        for (auto& s : f) s = Trim(s);
        Row r;
        r.line = lineNo;
        r.group = f[0];
        r.name = f[1];
        r.typeId = f[5];
        if (r.group.empty() || r.name.empty()) return Fail(lineNo, "the group and the pipe need names");
        const char* columns[] = {"nominal_diameter_mm", "inner_diameter_mm", "roughness_kb_mm"};
        double* values[] = {&r.dn, &r.di, &r.kb};
        for (int k = 0; k < 3; ++k) {
            auto v = ImportText::ParseNumber(f[2 + k]);
            if (!v || *v <= 0)
                return Fail(lineNo, std::string(columns[k]) + " '" + f[2 + k] + "' is not a positive number");
            *values[k] = *v;
        }
        if (r.di > 2 * r.dn)
            return Fail(lineNo, "the inner diameter is more than twice the nominal diameter");
        if (!seen.emplace(std::make_pair(r.group, r.name), lineNo).second)
            return Fail(lineNo, "pipe '" + r.name + "' is listed twice in group '" + r.group + "'");
        rows.push_back(std::move(r));
    }
    if (!header) return Fail(0, std::string("the file has no header line \"") + kHeader + "\"");

    SPipeCatalogImport result;
    result.ok = true;
    result.pipes = rows.size();
    auto& catalogs = doc.Extension<Topology::NetworkDrawingData>(Topology::NetworkDrawingData::kKey).catalogs;
    auto& catalog = catalogs[Data::kPipeCatalogName];
    if (!catalog) catalog = Data::CCatalogPtr(new Data::CCatalog(Data::kPipeCatalogName));
    std::map<std::string, Data::CCatalogItemPtr> groups;
    for (const auto& g : catalog->GetRootItems()) groups.emplace(g->GetName(), g);
    std::map<std::string, std::string> groupType;
    std::set<std::string> fileGroups;
    for (const auto& r : rows) {
        auto& group = groups[r.group];
        if (!group) {
            group = Data::CCatalogItemPtr(new Data::CCatalogItem(ItemGuid(r.group, ""), r.group));
            catalog->AddRootItem(group);
            ++result.groupsAdded;
        }
        if (fileGroups.insert(r.group).second) {
            group->SetProperty("TYPE_ID", Data::CDataBox(r.typeId));
            groupType[r.group] = r.typeId;
        } else if (groupType[r.group] != r.typeId) {
            result.warnings.push_back("line " + std::to_string(r.line) + ": pipe '" + r.name +
                                      "' has type id '" + r.typeId + "', its group '" + r.group + "' has '" +
                                      groupType[r.group] + "'");
        }
        Data::CCatalogItemPtr pipe;
        for (const auto& p : group->GetSubItems())
            if (p->GetName() == r.name) pipe = p;
        if (pipe) {
            ++result.pipesUpdated;
        } else {
            pipe = Data::CCatalogItemPtr(new Data::CCatalogItem(ItemGuid(r.group, r.name), r.name));
            catalog->AddItem(group, pipe);
            ++result.pipesAdded;
        }
        pipe->SetProperty("DN", Data::CDataBox(r.dn));
        pipe->SetProperty("DI", Data::CDataBox(r.di));
        pipe->SetProperty("KB", Data::CDataBox(r.kb));
        pipe->SetProperty("TYPE_ID", Data::CDataBox(r.typeId));
    }
    result.groups = fileGroups.size();
    doc.Db().Touch();
    return result;
}

}  // namespace TAVGis::Store
