#include "platform/network/PipeManager.h"

#include <algorithm>
#include <charconv>
#include <cmath>

#include "platform/network/CatalogManager.h"

namespace TAVGis::Data {

namespace {

constexpr const char* kNominalDiameter = "DN";  // mm
constexpr const char* kInnerDiameter = "DI";    // mm
constexpr const char* kRoughness = "KB";        // mm
constexpr const char* kTypeId = "TYPE_ID";

CCatalogPtr PipeCatalog() {
    return CCatalogManager::GetInstance()->GetCatalog(kPipeCatalogName);
}

// Whether the pipe's type id (its own, else its group's) is `id`, without copying either.
bool HasPipeTypeID(const CCatalogItemPtr& pipe, const std::string& id) {
    const CDataBox* own = pipe->FindProperty(kTypeId);
    if (own && own->IsNotNull()) {
        const std::string text = own->ToString();
        if (!text.empty()) return text == id;
    }
    const auto group = pipe->GetParentItem();
    const CDataBox* inherited = group ? group->FindProperty(kTypeId) : nullptr;
    return (inherited && inherited->IsNotNull() ? inherited->ToString() : std::string()) == id;
}

// A finite number above 0 from a property, else 0.
double PositiveProperty(const CCatalogItemPtr& item, const char* name) {
    const CDataBox* box = item ? item->FindProperty(name) : nullptr;
    if (!box || box->IsNull()) return 0.0;
    const double dValue = box->ToDouble();
    return std::isfinite(dValue) && dValue > 0.0 ? dValue : 0.0;
}

CCatalogItemPtr FindGroupByName(const CCatalog& catalog, const std::string& name) {
    for (const auto& group : catalog.GetRootItems())
        if (group && group->GetName() == name) return group;
    return {};
}

// The group's pipes (sub-items) sorted by inner diameter, stable; with usableOnly those above 0 only.
std::vector<CCatalogItemPtr> SortedPipes(const CCatalogItem& group, bool usableOnly) {
    struct SEntry {
        double dDiameter;
        CCatalogItemPtr pipe;
    };
    std::vector<SEntry> entries;
    entries.reserve(group.GetSubItems().size());
    for (const auto& pipe : group.GetSubItems()) {
        if (!pipe) continue;
        const double dDiameter = PositiveProperty(pipe, kInnerDiameter);
        if (usableOnly && dDiameter <= 0.0) continue;
        entries.push_back({dDiameter, pipe});
    }
    std::stable_sort(entries.begin(), entries.end(),
                     [](const SEntry& a, const SEntry& b) { return a.dDiameter < b.dDiameter; });
    std::vector<CCatalogItemPtr> pipes;
    pipes.reserve(entries.size());
    for (auto& entry : entries) pipes.push_back(std::move(entry.pipe));
    return pipes;
}

bool HasUsablePipe(const CCatalogItem& group) {
    return std::any_of(
        group.GetSubItems().begin(), group.GetSubItems().end(),
        [](const CCatalogItemPtr& pipe) { return PositiveProperty(pipe, kInnerDiameter) > 0.0; });
}

std::string ShortestDecimal(double dValue) {
    char buffer[64];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, dValue);
    return result.ec == std::errc() ? std::string(buffer, result.ptr) : std::string();
}

}  // namespace

CPipeManager* CPipeManager::GetInstance() {
    static CPipeManager instance;
    return &instance;
}

CCatalogItemPtr CPipeManager::GetPipe(const std::string& guid) const {
    const auto catalog = PipeCatalog();
    if (!catalog || guid.empty()) return {};
    auto item = catalog->FindItem(guid);
    if (!item || !item->GetParentItem()) return {};
    return item;
}

CCatalogItemPtr CPipeManager::GetPipeByInnerDiameter(const std::string& groupName, double diameterMm,
                                                     int flag) const {
    if (std::isnan(diameterMm)) return {};
    const auto catalog = PipeCatalog();
    if (!catalog) return {};
    const auto group = FindGroupByName(*catalog, groupName);
    if (!group) return {};
    for (const auto& pipe : SortedPipes(*group, true)) {
        const double dInner = GetInnerDiameter(pipe);
        if (flag == kAtLeast ? dInner >= diameterMm : dInner == diameterMm) return pipe;
    }
    return {};
}

double CPipeManager::GetInnerDiameter(const CCatalogItemPtr& pipe) const {
    return PositiveProperty(pipe, kInnerDiameter);
}

double CPipeManager::GetPipeRoughness(const CCatalogItemPtr& pipe) const {
    return PositiveProperty(pipe, kRoughness);
}

std::string CPipeManager::GetPipeTypeID(const CCatalogItemPtr& pipe) const {
    if (!pipe) return {};
    const CDataBox own = pipe->GetProperty(kTypeId);
    if (own.IsNotNull() && !own.ToString().empty()) return own.ToString();
    const auto group = pipe->GetParentItem();
    if (!group) return {};
    const CDataBox inherited = group->GetProperty(kTypeId);
    return inherited.IsNull() ? std::string() : inherited.ToString();
}

int CPipeManager::GetPipeGroups(std::vector<CCatalogItemPtr>& groups, int flag) const {
    groups.clear();
    const auto catalog = PipeCatalog();
    if (!catalog) return 0;
    for (const auto& group : catalog->GetRootItems()) {
        if (!group) continue;
        if (flag == kUsableOnly && !HasUsablePipe(*group)) continue;
        groups.push_back(group);
    }
    return static_cast<int>(groups.size());
}

int CPipeManager::GetSortedPipesForGroupGUID(const std::string& groupGuid,
                                             std::vector<CCatalogItemPtr>& pipes, int flag) const {
    pipes.clear();
    const auto catalog = PipeCatalog();
    if (!catalog || groupGuid.empty()) return 0;
    const auto group = catalog->FindItem(groupGuid);
    if (!group || group->GetParentItem()) return 0;
    pipes = SortedPipes(*group, flag == kUsableOnly);
    return static_cast<int>(pipes.size());
}

std::string CPipeManager::GetPipeNameWithNominalDiameter(const CCatalogItemPtr& pipe) const {
    if (!pipe) return {};
    const double dNominal = PositiveProperty(pipe, kNominalDiameter);
    if (dNominal <= 0.0) return pipe->GetName();
    return pipe->GetName() + " DN " + ShortestDecimal(dNominal);
}

double CPipeManager::CalculateMinDiameter(const std::string& pipeTypeId, double diameterMm) const {
    const auto catalog = PipeCatalog();
    if (!catalog || std::isnan(diameterMm)) return diameterMm;
    bool found = false;
    double dBest = 0.0;
    for (const auto& group : catalog->GetRootItems()) {
        if (!group) continue;
        for (const auto& pipe : group->GetSubItems()) {
            const double dInner = GetInnerDiameter(pipe);
            if (dInner <= 0.0 || dInner < diameterMm || !HasPipeTypeID(pipe, pipeTypeId)) continue;
            if (!found || dInner < dBest) {
                dBest = dInner;
                found = true;
            }
        }
    }
    return found ? dBest : diameterMm;
}

}  // namespace TAVGis::Data
