#include "platform/network/CatalogItem.h"

#include "platform/network/CatalogManager.h"
#include "platform/network/TopologyStorage.h"

namespace TAVGis::Data {

CDataBox CCatalogItem::GetProperty(const std::string& name) const {
    auto it = m_properties.find(name);
    return it == m_properties.end() ? CDataBox() : it->second;
}

void CCatalogItem::AddSubItem(const CCatalogItemPtr& parent, const CCatalogItemPtr& child) {
    if (!parent || !child) return;
    child->m_parent = parent;
    parent->m_subItems.push_back(child);
}

void CCatalog::AddRootItem(const CCatalogItemPtr& item) {
    if (!item) return;
    m_roots.push_back(item);
    m_byGuid[item->GetGUID()] = item;
}

void CCatalog::AddItem(const CCatalogItemPtr& parent, const CCatalogItemPtr& item) {
    if (!parent || !item) return;
    CCatalogItem::AddSubItem(parent, item);
    m_byGuid[item->GetGUID()] = item;
}

CCatalogItemPtr CCatalog::FindItem(const std::string& guid) const {
    auto it = m_byGuid.find(guid);
    return it == m_byGuid.end() ? CCatalogItemPtr() : it->second;
}

namespace {
std::map<std::string, CCatalogPtr>* Catalogs() {
    auto* doc = acDocManagerPtr()->curDocument();
    if (!doc) return nullptr;
    return &doc->Extension<Topology::NetworkDrawingData>(Topology::NetworkDrawingData::kKey).catalogs;
}
}  // namespace

CCatalogManager* CCatalogManager::GetInstance() {
    static CCatalogManager instance;
    return &instance;
}

CCatalogPtr CCatalogManager::GetCatalog(const std::string& name) const {
    auto* all = Catalogs();
    if (!all) return {};
    auto it = all->find(name);
    return it == all->end() ? CCatalogPtr() : it->second;
}

CCatalogPtr CCatalogManager::GetOrCreateCatalog(const std::string& name) {
    auto* all = Catalogs();
    if (!all) return {};
    auto& slot = (*all)[name];
    if (!slot) slot = CCatalogPtr(new CCatalog(name));
    return slot;
}

CCatalogItemPtr CCatalogManager::GetCatalogItem(const std::string& guid) const {
    auto* all = Catalogs();
    if (!all) return {};
    for (const auto& [name, cat] : *all)
        if (auto item = cat->FindItem(guid)) return item;
    return {};
}

std::map<std::string, CCatalogPtr> CCatalogManager::GetCatalogs() const {
    auto* all = Catalogs();
    return all ? *all : std::map<std::string, CCatalogPtr>();
}

}  // namespace TAVGis::Data
