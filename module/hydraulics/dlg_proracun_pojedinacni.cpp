#include "module/hydraulics/dlg_proracun_pojedinacni.h"

namespace {
constexpr const char* kStateDictionary = "TAVX_LSD2";
}

bool dlg_proracun_pojedinacni::OnInitDialog() {
    CTAVCDictionaryPtr dict(kStateDictionary, AcDb::kForRead);
    int i = 0;
    double d = 0.0;
    if (dctRead(dict, "DIVODORHYDRAULICS_PIPEGRUP", i, false)) m_nPipeGroup = i;
    if (dctRead(dict, "DIVODORHYDRAULICS_TOCNOST", i, false)) m_nPrecision = i;
    if (dctRead(dict, "DIVODORHYDRAULICS_VISKOZITET", d, false)) m_dViscosity = d;
    if (dctRead(dict, "DIVODORHYDRAULICS_TYPE", i, false)) m_nType = i;
    UpdateNavigation();
    return true;
}

void dlg_proracun_pojedinacni::DoDataExchange(TAVUi::CDataExchange* pDX) {
    // The page's controls join as the page is built; a control the template lacks leaves its member as is.
    TAVUi::DDX_Radio(pDX, IDC_RADIO_MIN_DIAMETER, m_nType);
    TAVUi::DDX_CBIndex(pDX, IDC_COMBO_GROUP, m_nPipeGroup);
    TAVUi::DDX_CBIndex(pDX, IDC_COMBO_PIPE_OR_PRECISION, m_nPrecision);
    TAVUi::DDX_Text(pDX, IDC_EDIT_VISCOSITY, m_dViscosity);
}

void dlg_proracun_pojedinacni::WriteState(CTAVCDictionaryPtr& dict) {
    dctWrite(dict, "DIVODORHYDRAULICS_TYPE", m_nType, false, true, TAVHost::kDictCodeInt16);
    dctWrite(dict, "DIVODORHYDRAULICS_PIPEGRUP", m_nPipeGroup, false, true, TAVHost::kDictCodeInt16);
    dctWrite(dict, "DIVODORHYDRAULICS_TOCNOST", m_nPrecision, false, true, TAVHost::kDictCodeInt16);
    dctWrite(dict, "DIVODORHYDRAULICS_VISKOZITET", m_dViscosity, false, true, TAVHost::kDictCodeDouble);
}
