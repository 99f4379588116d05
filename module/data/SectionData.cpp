#include "module/data/SectionData.h"

#include <cmath>
#include <exception>

#include "platform/gis/DataRW.h"
#include "platform/network/TopoEditor.h"
#include "platform/network/TopologyMultiStorage.h"
#include "platform/sessions/UpdateSessions.h"

using TAVGis::Data::CDataBox;
using TAVGis::Data::CDataRW;

double CSectionData::GetSectionValue(const std::string& name, EntityPtr entity) {
    CDataBox box;
    CDataRW::Read(name, entity, box, 0, {});
    return box.IsNotNull() ? box.ToDouble() : kMissingValue;
}

int CSectionData::SetSectionValue(const std::string& name, EntityPtr entity, double value) {
    if (!std::isfinite(value)) return 0;  // never stored: the calculation reports it (CNonFiniteValues)
    return CDataRW::Write(name, entity, CDataBox(value), {});
}

TAVGis::Topology::CSectionPtr CSectionData::GetMAIN_SECT_OUT(EntityPtr entity) {
    CDataBox box;
    CDataRW::Read("MAIN_SECT_OUT", entity, box, 0, {});
    if (box.IsNull()) return {};
    auto* topo = TAVGis::Topology::CTopologyMultiStorage::GetInstance()->GetTopology();
    return topo ? topo->GetSectionByGuid(box.ToString()) : TAVGis::Topology::CSectionPtr();
}

int CSectionData::SetMAIN_SECT_OUT(EntityPtr entity, const TAVGis::Topology::CSectionPtr& target) {
    if (!entity || !target) return 0;
    return CDataRW::Write("MAIN_SECT_OUT", entity, CDataBox(target->GetGuid()), {});
}

CBatchWriteFrame::CBatchWriteFrame() : m_exceptionsAtStart(std::uncaught_exceptions()) {
    TAVGis::Topology::CTopoEditor::BeginTransaction(0);
    TAVGis::Label::CNetworkLabelUtility::StartUpdateSession(0);
    TAVGis::Longitudinal::CLSEditor::StartUpdateSession();
}

CBatchWriteFrame::~CBatchWriteFrame() {
    if (std::uncaught_exceptions() > m_exceptionsAtStart) {
        // Leaving by an exception: the writes are being taken back, so nothing is committed; the
        // transaction is abandoned before the label session is cancelled.
        TAVGis::Longitudinal::CLSEditor::CancelUpdateSession();
        TAVGis::Topology::CTopoEditor::AbortTransaction(0);
        TAVGis::Label::CNetworkLabelUtility::CancelUpdateSession();
        return;
    }
    TAVGis::Longitudinal::CLSEditor::ComitUpdateSession();
    TAVGis::Label::CNetworkLabelUtility::ComitUpdateSession();
    TAVGis::Topology::CTopoEditor::EndTransaction(0);
}

CUpdateSessionsFrame::CUpdateSessionsFrame() : m_exceptionsAtStart(std::uncaught_exceptions()) {
    TAVGis::Longitudinal::CLSEditor::StartUpdateSession();
    TAVGis::Label::CNetworkLabelUtility::StartUpdateSession(0);
}

CUpdateSessionsFrame::~CUpdateSessionsFrame() {
    if (std::uncaught_exceptions() > m_exceptionsAtStart) {
        TAVGis::Longitudinal::CLSEditor::CancelUpdateSession();
        TAVGis::Label::CNetworkLabelUtility::CancelUpdateSession();
        return;
    }
    TAVGis::Longitudinal::CLSEditor::ComitUpdateSession();
    TAVGis::Label::CNetworkLabelUtility::ComitUpdateSession();
}
