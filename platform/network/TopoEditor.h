#pragma once
// CTopoEditor: transactions around batches of network edits, and writes of attribute values through a
// definition. Transactions nest; the counts are kept per drawing so a caller can see that every
// transaction begun was ended.
#include "platform/gis/DataBox.h"
#include "platform/gis/DataDefinition.h"
#include "platform/network/Entity.h"

namespace TAVGis::Topology {

class CTopoEditor {
public:
    static int BeginTransaction(int flags);
    // Ends the innermost transaction; 0 when none is open.
    static int EndTransaction(int flags);
    // Abandons the innermost transaction (its writes are being taken back); 0 when none is open.
    static int AbortTransaction(int flags);
    static int TransactionDepth();
    // Writes a value through its definition; non-zero on success.
    static int WriteData(int entityType, const Data::CDataDefinition* def,
                         const boost::shared_ptr<CEntity>& entity, const Data::CDataBox& box,
                         const System::CGisSystemPtr& system);
};

// CDDCache: definitions the network core looks up often.
class CDDCache {
public:
    static CDDCache* GetInstance();
    const Data::CDataDefinition* GetPIPE_REF() const;
};

}  // namespace TAVGis::Topology
