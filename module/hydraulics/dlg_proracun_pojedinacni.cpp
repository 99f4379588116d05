#include "module/hydraulics/dlg_proracun_pojedinacni.h"

bool dlg_proracun_pojedinacni::OnInitDialog() {
    CDialogState state;
    m_nPipeGroup = state.GetInt("DIVODORHYDRAULICS_PIPEGRUP", m_nPipeGroup);
    m_nPrecision = state.GetInt("DIVODORHYDRAULICS_TOCNOST", m_nPrecision);
    m_dViscosity = state.GetDouble("DIVODORHYDRAULICS_VISKOZITET", m_dViscosity);
    m_nType = state.GetInt("DIVODORHYDRAULICS_TYPE", m_nType);
    UpdateNavigation();
    return true;
}

void dlg_proracun_pojedinacni::WriteState(CDialogState& state) {
    state.Write("DIVODORHYDRAULICS_TYPE", m_nType);
    state.Write("DIVODORHYDRAULICS_PIPEGRUP", m_nPipeGroup);
    state.Write("DIVODORHYDRAULICS_TOCNOST", m_nPrecision);
    state.Write("DIVODORHYDRAULICS_VISKOZITET", m_dViscosity);
}
