#pragma once
// CDataRW: reads, writes and deletes attribute values by name or definition. A name without a definition
// for the entity's type cannot be written (0) and reads as null.
#include <boost/shared_ptr.hpp>
#include <string>

#include "platform/gis/AttributeStore.h"
#include "platform/gis/DataBox.h"
#include "platform/gis/GisSystem.h"

namespace TAVGis::Data {

class CDataRW {
public:
    using EntityPtr = boost::shared_ptr<CAttributeHolder>;

    // Fills the box, null when nothing is stored; returns non-zero when the name is defined for the entity.
    static int Read(const std::string& name, const EntityPtr& entity, CDataBox& box, int flags = 0,
                    const System::CGisSystemPtr& system = {});
    static int Read(const CDataDefinition* def, const EntityPtr& entity, CDataBox& box, int flags = 0,
                    const System::CGisSystemPtr& system = {});
    // Stores the box (a null box removes the value); non-zero on success.
    static int Write(const std::string& name, const EntityPtr& entity, const CDataBox& box,
                     const System::CGisSystemPtr& system = {});
    static int Write(const CDataDefinition* def, const EntityPtr& entity, const CDataBox& box,
                     const System::CGisSystemPtr& system = {});
    // Removes the value; non-zero when the name is defined for the entity.
    static int Delete(const std::string& name, const EntityPtr& entity,
                      const System::CGisSystemPtr& system = {});

    // Entities of a derived type are passed on without making a shared pointer of the base type (no
    // reference-count traffic in loops over many entities).
    template <class T>
    static int Read(const std::string& name, const boost::shared_ptr<T>& entity, CDataBox& box, int flags = 0,
                    const System::CGisSystemPtr& system = {}) {
        box.SetNull();
        return entity ? Read(name, static_cast<const CAttributeHolder&>(*entity), box) : 0;
    }
    template <class T>
    static int Write(const std::string& name, const boost::shared_ptr<T>& entity, const CDataBox& box,
                     const System::CGisSystemPtr& system = {}) {
        return entity ? Write(name, static_cast<const CAttributeHolder&>(*entity), box) : 0;
    }

    // The same on a plain entity reference, for loops over many entities.
    static int Read(const std::string& name, const CAttributeHolder& entity, CDataBox& box);
    static int Write(const std::string& name, const CAttributeHolder& entity, const CDataBox& box);
};

}  // namespace TAVGis::Data
