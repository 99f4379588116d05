#include "platform/network/TopoEditor.h"

#include "platform/gis/DataConfiguration.h"
#include "platform/gis/DataRW.h"
#include "platform/network/TopologyStorage.h"

namespace TAVGis::Topology {
namespace {
NetworkDrawingData* Data() {
    auto* doc = acDocManagerPtr()->curDocument();
    return doc ? &doc->Extension<NetworkDrawingData>(NetworkDrawingData::kKey) : nullptr;
}
}  // namespace

int CTopoEditor::BeginTransaction(int) {
    auto* d = Data();
    if (!d) return 0;
    ++d->transactionDepth;
    ++d->transactionsBegun;
    return 1;
}

int CTopoEditor::EndTransaction(int) {
    auto* d = Data();
    if (!d || d->transactionDepth == 0) return 0;
    --d->transactionDepth;
    ++d->transactionsEnded;
    return 1;
}

int CTopoEditor::AbortTransaction(int) {
    auto* d = Data();
    if (!d || d->transactionDepth == 0) return 0;
    --d->transactionDepth;
    ++d->transactionsAborted;
    return 1;
}

int CTopoEditor::TransactionDepth() {
    auto* d = Data();
    return d ? d->transactionDepth : 0;
}

int CTopoEditor::WriteData(int entityType, const Data::CDataDefinition* def,
                           const boost::shared_ptr<CEntity>& entity, const Data::CDataBox& box,
                           const System::CGisSystemPtr& system) {
    if (!def || !entity || def->GetEntityType() != entityType) return 0;
    return Data::CDataRW::Write(def, entity, box, system);
}

CDDCache* CDDCache::GetInstance() {
    static CDDCache cache;
    return &cache;
}

const Data::CDataDefinition* CDDCache::GetPIPE_REF() const {
    return Data::CDataConfiguration::GetInstance().GetDataDefinition(Data::kEntitySection, "PIPE_REF");
}

}  // namespace TAVGis::Topology
