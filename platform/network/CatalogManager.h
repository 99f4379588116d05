#pragma once
// CCatalogManager: the catalogues of the current drawing by name ("PIPE" is the pipe catalogue).
#include <map>
#include <string>

#include "platform/network/CatalogItem.h"

namespace TAVGis::Data {

constexpr const char* kPipeCatalogName = "PIPE";

class CCatalogManager {
public:
    static CCatalogManager* GetInstance();
    // The catalogue of that name in the current drawing, or null.
    CCatalogPtr GetCatalog(const std::string& name) const;
    // Creates the catalogue when the drawing has none of that name.
    CCatalogPtr GetOrCreateCatalog(const std::string& name);
    // An item of any catalogue of the current drawing by GUID, or null.
    CCatalogItemPtr GetCatalogItem(const std::string& guid) const;
    std::map<std::string, CCatalogPtr> GetCatalogs() const;
};

}  // namespace TAVGis::Data
