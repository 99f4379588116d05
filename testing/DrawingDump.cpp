#include "testing/DrawingDump.h"

#include <cstdio>
#include <map>
#include <sstream>

#include "platform/gis/DataConfiguration.h"
#include "platform/gis/GisDrawingData.h"
#include "platform/network/TopologyStorage.h"

namespace testsupport {
namespace {

std::string Num(double v) {
    char buf[40];
    std::snprintf(buf, sizeof buf, "%.17g", v);
    return buf;
}

std::string Opt(const std::optional<double>& v) {
    return v ? Num(*v) : "none";
}

std::string Box(const TAVGis::Data::CDataBox& b) {
    if (b.IsNull()) return "null";
    if (b.IsDouble()) return "double:" + Num(b.ToDouble());
    if (b.IsInt()) return "int:" + std::to_string(b.ToInt());
    if (b.IsText()) return "text:[" + b.ToString() + "]";
    std::string s = "list:";
    for (const auto& t : b.ToList()) s += "[" + t + "]";
    return s;
}

std::string Points(const std::vector<TAVHost::Point2d>& pts) {
    std::string s;
    for (const auto& p : pts) s += " (" + Num(p.x) + " " + Num(p.y) + ")";
    return s;
}

void Attributes(std::ostream& out, TAVGis::GisDrawingData& gis, const TAVGis::Topology::CEntity& e) {
    TAVGis::Data::CDataBox box;
    for (const auto* def : TAVGis::Data::CDataConfiguration::GetInstance().Definitions(e.GetEntityType())) {
        gis.StoreFor(e.GetEntityType()).Get(*def, e.AttributeRow(), box);
        if (box.IsNotNull()) out << "  " << def->GetID() << "=" << Box(box) << "\n";
    }
}

void Entity(std::ostream& out, TAVHost::Document& doc, const TAVGis::Topology::CEntity& e, bool ids) {
    out << " guid=" << e.GetGuid() << " system=" << (e.GetSystem() ? e.GetSystem()->GetName() : "none");
    if (ids) out << " id=" << e.GetObjectId();
    if (const auto* d = doc.Db().GetEntity(e.GetObjectId())) {
        out << " layer=[" << d->layer << "] color=" << d->colorIndex;
        for (const auto& [app, chain] : d->xdata) {
            out << " xdata[" << app << "]";
            for (const auto& rb : chain) {
                out << " " << rb.code << ":";
                if (auto* s = std::get_if<std::string>(&rb.value))
                    out << "s[" << *s << "]";
                else if (auto* v = std::get_if<double>(&rb.value))
                    out << "d" << Num(*v);
                else if (auto* i = std::get_if<std::int32_t>(&rb.value))
                    out << "i" << *i;
                else
                    out << "null";
            }
        }
    }
    out << "\n";
}

}  // namespace

std::string DumpDrawing(TAVHost::Document& doc, bool ids) {
    std::ostringstream out;
    auto& gis = TAVGis::GisData(doc);
    auto& topo = TAVGis::Topology::TopologyOf(doc);
    for (const auto& s : gis.systems)
        out << "system " << s->GetId() << " [" << s->GetName() << "] function " << s->GetSystemFunction()
            << (s == gis.activeSystem ? " active" : "") << "\n";
    for (const auto& n : topo.Nodes()) {
        out << "node [" << n->GetName() << "] at" << Points({{n->X(), n->Y()}}) << " terrain "
            << Opt(n->TerrainHeight());
        Entity(out, doc, *n, ids);
        Attributes(out, gis, *n);
    }
    for (const auto& s : topo.Sections()) {
        out << "section [" << s->GetName() << "] " << s->GetStartingNode()->GetName() << " -> "
            << s->GetEndingNode()->GetName() << " vertices" << Points(s->Vertices()) << " levels "
            << Opt(s->LevelAtStart()) << " " << Opt(s->LevelAtEnd());
        Entity(out, doc, *s, ids);
        Attributes(out, gis, *s);
    }
    for (const auto& a : topo.CatchmentAreas()) {
        auto linked = topo.GetSectionByGuid(a->sectionGuid);
        out << "catchment [" << a->GetName() << "] kind " << a->kind << " area " << Num(a->areaHa)
            << " density " << Num(a->densityInhabPerHa) << " runoff " << Num(a->runoffCoefficient)
            << " section " << (linked ? linked->GetName() : "none") << " polygon" << Points(a->polygon);
        Entity(out, doc, *a, ids);
        Attributes(out, gis, *a);
    }
    if (ids) {
        std::map<TAVHost::ObjectId, const TAVHost::DbEntity*> others;
        doc.Db().ForEachEntity([&](const TAVHost::DbEntity& e) {
            if (!topo.GetEntityByObjectId(e.id) && !e.erased) others[e.id] = &e;
        });
        for (const auto& [id, e] : others) {
            out << "entity " << id << " kind " << static_cast<int>(e->kind) << " layer [" << e->layer
                << "] color " << e->colorIndex << Points(e->points);
            for (const auto& [app, chain] : e->xdata) out << " xdata[" << app << "] " << chain.size();
            out << "\n";
        }
    }
    for (const auto& app : doc.Db().RegisteredApps()) out << "app [" << app << "]\n";
    for (const auto& [name, dict] : doc.Db().Dictionaries()) {
        out << "dictionary [" << name << "]\n";
        for (const auto& [key, e] : dict) {
            out << "  [" << key << "] code " << e.code << " ";
            if (auto* s = std::get_if<std::string>(&e.value))
                out << "[" << *s << "]";
            else if (auto* d = std::get_if<double>(&e.value))
                out << Num(*d);
            else
                out << std::get<std::int16_t>(e.value);
            out << "\n";
        }
    }
    auto& net =
        doc.Extension<TAVGis::Topology::NetworkDrawingData>(TAVGis::Topology::NetworkDrawingData::kKey);
    for (const auto& [name, cat] : net.catalogs) {
        out << "catalog [" << name << "]\n";
        std::vector<std::pair<TAVGis::Data::CCatalogItemPtr, int>> stack;
        for (auto it = cat->GetRootItems().rbegin(); it != cat->GetRootItems().rend(); ++it)
            stack.push_back({*it, 1});
        while (!stack.empty()) {
            auto [item, depth] = stack.back();
            stack.pop_back();
            out << std::string(static_cast<std::size_t>(depth) * 2, ' ') << item->GetGUID() << " ["
                << item->GetName() << "]";
            for (const auto& [p, v] : item->Properties()) out << " " << p << "=" << Box(v);
            out << "\n";
            for (auto it = item->GetSubItems().rbegin(); it != item->GetSubItems().rend(); ++it)
                stack.push_back({*it, depth + 1});
        }
    }
    for (const auto& [key, value] : gis.settings) out << "setting [" << key << "] " << Box(value) << "\n";
    return out.str();
}

}  // namespace testsupport
