#pragma once
// CCatalogItem: an item of a catalogue of the drawing (for the pipe catalogue "PIPE": root items are pipe
// groups, their sub-items pipes), with a GUID, a name, a parent, sub-items and named properties.
//
// Properties of a pipe (units): "DN" nominal diameter (mm), "DI" inner diameter (mm), "KB" roughness kb
// (mm), "TYPE_ID" pipe type id (text). A group carries its pipe type id as "TYPE_ID" too.
#include <boost/shared_ptr.hpp>
#include <boost/weak_ptr.hpp>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "platform/gis/DataBox.h"

namespace TAVGis::Data {

class CCatalogItem;
using CCatalogItemPtr = boost::shared_ptr<CCatalogItem>;

class CCatalogItem {
public:
    CCatalogItem(std::string guid, std::string name) : m_guid(std::move(guid)), m_name(std::move(name)) {}
    const std::string& GetGUID() const { return m_guid; }
    const std::string& GetName() const { return m_name; }
    CCatalogItemPtr GetParentItem() const { return m_parent.lock(); }
    const std::vector<CCatalogItemPtr>& GetSubItems() const { return m_subItems; }

    // Null box when the item has no such property.
    CDataBox GetProperty(const std::string& name) const;
    // The stored property, or null: for lookups repeated over a whole network (no copy, no string made).
    const CDataBox* FindProperty(std::string_view name) const {
        auto it = m_properties.find(name);
        return it == m_properties.end() ? nullptr : &it->second;
    }
    void SetProperty(const std::string& name, const CDataBox& value) { m_properties[name] = value; }
    const std::map<std::string, CDataBox, std::less<>>& Properties() const { return m_properties; }

    // Appends a sub-item and makes this item its parent.
    static void AddSubItem(const CCatalogItemPtr& parent, const CCatalogItemPtr& child);

private:
    std::string m_guid;
    std::string m_name;
    boost::weak_ptr<CCatalogItem> m_parent;
    std::vector<CCatalogItemPtr> m_subItems;
    std::map<std::string, CDataBox, std::less<>> m_properties;
};

// A named catalogue: its root items in order, and every item by GUID.
class CCatalog {
public:
    explicit CCatalog(std::string name) : m_name(std::move(name)) {}
    const std::string& GetName() const { return m_name; }
    const std::vector<CCatalogItemPtr>& GetRootItems() const { return m_roots; }
    void AddRootItem(const CCatalogItemPtr& item);
    // Adds a sub-item under a parent of this catalogue.
    void AddItem(const CCatalogItemPtr& parent, const CCatalogItemPtr& item);
    CCatalogItemPtr FindItem(const std::string& guid) const;

private:
    std::string m_name;
    std::vector<CCatalogItemPtr> m_roots;
    std::map<std::string, CCatalogItemPtr> m_byGuid;
};

using CCatalogPtr = boost::shared_ptr<CCatalog>;

}  // namespace TAVGis::Data
