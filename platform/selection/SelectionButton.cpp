#include "platform/selection/SelectionButton.h"

#include "platform/host/HostUi.h"
#include "platform/network/TopologyMultiStorage.h"

namespace TAVGis::Selection {

std::shared_ptr<CSelectionButton> CSelectionButton::Attach(TAVUi::CAdUiBaseDialog& dialog, int controlId) {
    auto button = std::make_shared<CSelectionButton>();
    button->m_parent = &dialog;
    if (auto* c = dialog.GetDlgItem(controlId)) c->behavior = button;
    return button;
}

std::shared_ptr<CSelectionButton> CSelectionButton::Attach(TAVUi::CAdUiBaseDialog& dialog, int controlId,
                                                           int topologyType, int selectionType) {
    auto button = Attach(dialog, controlId);
    button->SetParentDialog(&dialog, true);
    button->SetTopologyType(topologyType);
    button->SetSelectionType(selectionType);
    button->SetHideDisabledMenuOptions(true);
    return button;
}

bool CSelectionButton::OnClick(TAVUi::CControl&) {
    if (m_parent && m_hide) m_parent->ShowWindow(false);
    TAVHost::PickRequest req;
    req.kind = TAVHost::PickRequest::Kind::Entities;
    req.prompt = "Select sections";
    auto names = TAVHost::GetHostUi().Pick(req);
    if (m_parent && m_hide) m_parent->ShowWindow(true);
    auto* topo = Topology::CTopologyMultiStorage::GetInstance()->GetTopology();
    if (names.empty() || !topo) return true;
    auto set = CSelectionSetPtr(new CSelectionSet());
    for (const auto& name : names) {
        if (auto s = topo->FindSectionByName(name))
            set->AddSection(s);
        else if (auto n = topo->FindNodeByName(name))
            set->AddNode(n);
    }
    m_selection = set;
    if (m_parent) m_parent->PostMessage(WM_SELECTION_MADE);
    return true;
}

}  // namespace TAVGis::Selection
