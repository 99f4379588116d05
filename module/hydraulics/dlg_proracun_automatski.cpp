#include "module/hydraulics/dlg_proracun_automatski.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "module/data/SectionData.h"
#include "module/hydraulics/UpstreamVisit.h"
#include "platform/gis/DataRW.h"
#include "platform/gis/ModuleConfiguration.h"
#include "platform/gis/SystemManager.h"
#include "platform/host/Editor.h"
#include "platform/host/TAVCEdit.h"
#include "platform/network/PipeManager.h"
#include "platform/selection/Selector.h"

using TAVGis::CModuleConfiguration;
using TAVGis::Data::CDataBox;
using TAVGis::Data::CDataRW;
using TAVGis::Data::CPipeManager;
using TAVGis::Topology::CSectionPtr;
using TAVUi::Notification;

namespace {

constexpr const char* kStateDictionary = "TAVX_LSD2";
constexpr int kMsgModeDiameter = 7719, kMsgModeSlope = 7720, kTipModeDiameter = 2203, kTipModeSlope = 2204;
constexpr int kMsgMethodWithout = 2209, kMsgMethodExisting = 2210, kMsgMethodConditions = 2211;
constexpr int kMsgViscosity = 2189, kMsgGroup = 2207, kMsgPrecision = 2208, kMsgFilling = 2212;
constexpr int kMsgMinDiameter = 2219, kMsgMinVelocity = 2220, kMsgUpstream = 8699, kMsgMissingOnly = 11200;
constexpr int kMsgCalculate = 2213, kTipCalculate = 2218;
constexpr int kMsgColName = 842, kMsgColDiameter = 2214, kMsgColSlope = 2215, kMsgColFilling = 2216;
constexpr int kMsgColVelocity = 2217, kMsgColStatus = 3441;
constexpr int kNameColumnWidth = 48, kValueColumnWidth = 48, kStatusColumnWidth = 90;
constexpr int kStatusColumn = 5;
constexpr const char* kPrecisions[] = {"0", "0.0", "0.00", "0.000"};
constexpr int kPrecisionCount = 4;
constexpr int kAllColors = 256;  // current-layer colour passed to the colour dialog

std::string Format(const char* format, double value) {
    char buf[64];
    std::snprintf(buf, sizeof buf, format, value);
    return buf;
}

double ParseNumber(const std::string& text) {
    return std::strtod(text.c_str(), nullptr);
}

}  // namespace

dlg_proracun_automatski::dlg_proracun_automatski() : CAcUiTabChildDialog(IDD) {
    Map(IDC_RADIO_MIN_DIAMETER, Notification::Clicked, &dlg_proracun_automatski::OnModeClicked);
    Map(IDC_RADIO_MIN_SLOPE, Notification::Clicked, &dlg_proracun_automatski::OnModeClicked);
    Map(IDC_RADIO_WITHOUT_CONDITIONS, Notification::Clicked, &dlg_proracun_automatski::OnMethodClicked);
    Map(IDC_RADIO_EXISTING_DIAMETERS, Notification::Clicked, &dlg_proracun_automatski::OnMethodClicked);
    Map(IDC_RADIO_CONDITIONS, Notification::Clicked, &dlg_proracun_automatski::OnMethodClicked);
    Map(IDC_CHECK_FILLING, Notification::Clicked, &dlg_proracun_automatski::OnFillingChecked);
    Map(IDC_CHECK_MINIMUM, Notification::Clicked, &dlg_proracun_automatski::OnMinimumChecked);
    Map(IDC_CALCULATE, Notification::Clicked, &dlg_proracun_automatski::OnCalculate);
    Map(IDC_CALCULATE_NO_PULL, Notification::Clicked, &dlg_proracun_automatski::Run);
    Map(IDC_ZOOM, Notification::Clicked, &dlg_proracun_automatski::Zoom);
    Map(IDC_MARK, Notification::Clicked, &dlg_proracun_automatski::Mark);
    Map(IDC_MARK_COLOR, Notification::Clicked, &dlg_proracun_automatski::ChooseMarkColor);
}

void dlg_proracun_automatski::ReadState() {
    CTAVCDictionaryPtr dict(kStateDictionary, AcDb::kForRead);
    auto readInt = [&](const char* key, int& member) {
        int v = 0;
        if (dctRead(dict, key, v, false)) member = v;
    };
    auto readDouble = [&](const char* key, double& member) {
        double v = 0.0;
        if (dctRead(dict, key, v, false)) member = v;
    };
    readInt("DIVODORHYDRAULICS_2_TYPE", m_nType);
    readInt("DIVODORHYDRAULICS_2_NACIN", m_nNacin);
    readInt("NMARK_COLOR", m_nMarkColor);
    readDouble("DZOOM_FACTOR", m_dZoomFactor);
    readDouble("DIVODORHYDRAULICS_2_ISPUNJENOST", m_dIspunjenost);
    readDouble("DIVODORHYDRAULICS_2_VISKOZITET", m_dViskozitet);
    readDouble("DIVODORHYDRAULICS_2_BRZINA", m_dBrzina);
    readDouble("DIVODORHYDRAULICS_2_PROMJER", m_dPromjer);
    readInt("DIVODORHYDRAULICS_2_SEKCIJA", m_nSekcija);
    readInt("DIVODORHYDRAULICS_2_TOCNOST", m_nTocnost);
    readInt("DIVODORHYDRAULICS_2_CHECK_ISP", m_nCheckIsp);
    readInt("DIVODORHYDRAULICS_2_CHECK_MIN", m_nCheckMin);
    readInt("DIVODORHYDRAULICS_2_CHECK_DIMUP", m_nCheckDimUp);
    // A radio choice that names no radio falls back to the first one.
    if (m_nType != kModeMinimumDiameter && m_nType != kModeMinimumSlope) m_nType = kModeMinimumDiameter;
    if (m_nNacin < kMethodWithoutConditions || m_nNacin > kMethodConditions)
        m_nNacin = kMethodWithoutConditions;
}

void dlg_proracun_automatski::WriteState(CTAVCDictionaryPtr& dict) {
    using TAVHost::kDictCodeDouble;
    using TAVHost::kDictCodeInt16;
    dctWrite(dict, "DIVODORHYDRAULICS_2_TYPE", m_nType, false, true, kDictCodeInt16);
    dctWrite(dict, "DIVODORHYDRAULICS_2_NACIN", m_nNacin, false, true, kDictCodeInt16);
    dctWrite(dict, "NMARK_COLOR", m_nMarkColor, false, true, kDictCodeInt16);
    dctWrite(dict, "DZOOM_FACTOR", m_dZoomFactor, false, true, kDictCodeDouble);
    dctWrite(dict, "DIVODORHYDRAULICS_2_ISPUNJENOST", ParseNumber(m_strIspunjenost), false, true,
             kDictCodeDouble);
    dctWrite(dict, "DIVODORHYDRAULICS_2_VISKOZITET", ParseNumber(m_strViskozitet), false, true,
             kDictCodeDouble);
    if (m_nType == kModeMinimumSlope)
        dctWrite(dict, "DIVODORHYDRAULICS_2_BRZINA", ParseNumber(m_strMinimum), false, true, kDictCodeDouble);
    else
        dctWrite(dict, "DIVODORHYDRAULICS_2_PROMJER", ParseNumber(m_strMinimum), false, true,
                 kDictCodeDouble);
    dctWrite(dict, "DIVODORHYDRAULICS_2_SEKCIJA", m_nSekcija, false, true, kDictCodeInt16);
    dctWrite(dict, "DIVODORHYDRAULICS_2_TOCNOST", m_nTocnost, false, true, kDictCodeInt16);
    dctWrite(dict, "DIVODORHYDRAULICS_2_CHECK_ISP", m_nCheckIsp, false, true, kDictCodeInt16);
    dctWrite(dict, "DIVODORHYDRAULICS_2_CHECK_MIN", m_nCheckMin, false, true, kDictCodeInt16);
    dctWrite(dict, "DIVODORHYDRAULICS_2_CHECK_DIMUP", m_nCheckDimUp, false, true, kDictCodeInt16);
}

void dlg_proracun_automatski::DoDataExchange(TAVUi::CDataExchange* pDX) {
    TAVUi::DDX_Radio(pDX, IDC_RADIO_MIN_DIAMETER, m_nType);
    TAVUi::DDX_Radio(pDX, IDC_RADIO_WITHOUT_CONDITIONS, m_nNacin);
    TAVUi::DDX_Text(pDX, IDC_EDIT_VISCOSITY, m_strViskozitet);
    TAVUi::DDX_CBIndex(pDX, IDC_COMBO_GROUP, m_nSekcija);
    TAVUi::DDX_CBIndex(pDX, IDC_COMBO_PRECISION, m_nTocnost);
    TAVUi::DDX_Check(pDX, IDC_CHECK_FILLING, m_nCheckIsp);
    TAVUi::DDX_Text(pDX, IDC_EDIT_FILLING, m_strIspunjenost);
    TAVUi::DDX_Check(pDX, IDC_CHECK_MINIMUM, m_nCheckMin);
    TAVUi::DDX_Text(pDX, IDC_EDIT_MINIMUM, m_strMinimum);
    TAVUi::DDX_Check(pDX, IDC_CHECK_UPSTREAM, m_nCheckDimUp);
    TAVUi::DDX_Check(pDX, IDC_CHECK_MISSING_ONLY, m_nCheckMissing);
    TAVUi::DDX_Text(pDX, IDC_EDIT_ZOOM, m_strZoom);
}

bool dlg_proracun_automatski::OnInitDialog() {
    ReadState();
    CheckRadioButton(m_nType == kModeMinimumSlope ? IDC_RADIO_MIN_SLOPE : IDC_RADIO_MIN_DIAMETER);
    CheckRadioButton(IDC_RADIO_WITHOUT_CONDITIONS + m_nNacin);

    auto text = [this](int id, int msg) { SetDlgItemText(id, CModuleConfiguration::GetMsg(msg)); };
    text(IDC_RADIO_MIN_DIAMETER, kMsgModeDiameter);
    text(IDC_RADIO_MIN_SLOPE, kMsgModeSlope);
    if (auto* c = GetDlgItem(IDC_RADIO_MIN_DIAMETER))
        c->tooltip = CModuleConfiguration::GetMsg(kTipModeDiameter);
    if (auto* c = GetDlgItem(IDC_RADIO_MIN_SLOPE)) c->tooltip = CModuleConfiguration::GetMsg(kTipModeSlope);
    text(IDC_RADIO_WITHOUT_CONDITIONS, kMsgMethodWithout);
    text(IDC_RADIO_EXISTING_DIAMETERS, kMsgMethodExisting);
    text(IDC_RADIO_CONDITIONS, kMsgMethodConditions);
    text(IDC_LABEL_VISCOSITY, kMsgViscosity);
    text(IDC_LABEL_GROUP, kMsgGroup);
    text(IDC_LABEL_PRECISION, kMsgPrecision);
    text(IDC_CHECK_FILLING, kMsgFilling);
    text(IDC_CHECK_UPSTREAM, kMsgUpstream);
    text(IDC_CHECK_MISSING_ONLY, kMsgMissingOnly);

    SetDlgItemText(IDC_EDIT_VISCOSITY, Format("%.10f", m_dViskozitet));
    if (auto* c = GetDlgItem(IDC_ZOOM)) c->bitmap = "IDB_ZOOM";
    if (auto* c = GetDlgItem(IDC_MARK)) c->bitmap = "IDB_MARK";
    SetDlgItemText(IDC_EDIT_ZOOM, Format("%.1f", m_dZoomFactor));

    CheckDlgButton(IDC_CHECK_FILLING, m_nCheckIsp ? 1 : 0);
    CheckDlgButton(IDC_CHECK_MINIMUM, m_nCheckMin ? 1 : 0);
    CheckDlgButton(IDC_CHECK_UPSTREAM, m_nCheckDimUp ? 1 : 0);
    CheckDlgButton(IDC_CHECK_MISSING_ONLY, 0);
    m_nCheckMissing = 0;
    ApplyModeRules();
    ApplyMethodRules();
    SetDlgItemText(IDC_EDIT_FILLING, Format("%.2f", m_dIspunjenost));
    FillPrecisionCombo();
    FillGroupCombo();

    if (auto* c = GetDlgItem(IDC_CALCULATE)) {
        c->text = CModuleConfiguration::GetMsg(kMsgCalculate);
        c->icon = "IDI_FLASH";
        c->tooltip = CModuleConfiguration::GetMsg(kTipCalculate);
        c->enabled = false;
    }
    m_results.Attach(GetDlgItem(IDC_RESULTS));
    CreateColumns();
    PaintColorButton();
    return true;
}

void dlg_proracun_automatski::ApplyModeRules() {
    const bool slope = m_nType == kModeMinimumSlope;
    EnableItem(IDC_RADIO_EXISTING_DIAMETERS, !slope);
    EnableItem(IDC_LABEL_GROUP, !slope);
    EnableItem(IDC_COMBO_GROUP, !slope);
    EnableItem(IDC_LABEL_PRECISION, slope);
    EnableItem(IDC_COMBO_PRECISION, slope);
    SetDlgItemText(IDC_CHECK_MINIMUM,
                   CModuleConfiguration::GetMsg(slope ? kMsgMinVelocity : kMsgMinDiameter));
    SetDlgItemText(IDC_EDIT_MINIMUM, Format("%.2f", slope ? m_dBrzina : m_dPromjer));
    EnableItem(IDC_CHECK_UPSTREAM, !slope && m_nNacin == kMethodConditions);
}

void dlg_proracun_automatski::ApplyMethodRules() {
    if (m_nNacin != kMethodConditions) {
        for (int id :
             {IDC_CHECK_FILLING, IDC_CHECK_MINIMUM, IDC_CHECK_UPSTREAM, IDC_EDIT_FILLING, IDC_EDIT_MINIMUM})
            EnableItem(id, false);
        return;
    }
    EnableItem(IDC_CHECK_FILLING, true);
    EnableItem(IDC_CHECK_MINIMUM, true);
    EnableItem(IDC_EDIT_FILLING, IsDlgButtonChecked(IDC_CHECK_FILLING) != 0);
    EnableItem(IDC_EDIT_MINIMUM, IsDlgButtonChecked(IDC_CHECK_MINIMUM) != 0);
    EnableItem(IDC_CHECK_UPSTREAM, m_nType == kModeMinimumDiameter);
}

void dlg_proracun_automatski::FillPrecisionCombo() {
    auto* combo = GetDlgItem(IDC_COMBO_PRECISION);
    if (!combo) return;
    combo->ResetContent();
    for (const char* p : kPrecisions) combo->AddString(p);
    if (m_nTocnost < 0 || m_nTocnost >= kPrecisionCount) m_nTocnost = 0;
    combo->SetCurSel(m_nTocnost);
}

void dlg_proracun_automatski::FillGroupCombo() {
    auto* combo = GetDlgItem(IDC_COMBO_GROUP);
    if (!combo) return;
    combo->ResetContent();
    m_groups.clear();
    std::vector<TAVGis::Data::CCatalogItemPtr> groups;
    CPipeManager::GetInstance()->GetPipeGroups(groups, 1);
    for (const auto& g : groups) {
        if (!g) return;  // a missing group ends the filling; nothing is selected
        combo->AddString(g->GetName(), reinterpret_cast<std::uintptr_t>(g.get()));
        m_groups.push_back(g);
    }
    if (m_groups.empty()) return;
    const int count = static_cast<int>(m_groups.size());
    combo->SetCurSel(m_nSekcija >= 0 && m_nSekcija < count ? m_nSekcija : 0);
}

void dlg_proracun_automatski::CreateColumns() {
    if (!m_results.Control() || !m_results.Control()->columns.empty()) return;
    m_results.InsertColumn(0, CModuleConfiguration::GetMsg(kMsgColName), kNameColumnWidth);
    m_results.InsertColumn(1, CModuleConfiguration::GetMsg(kMsgColDiameter), kValueColumnWidth);
    m_results.InsertColumn(2, CModuleConfiguration::GetMsg(kMsgColSlope), kValueColumnWidth);
    m_results.InsertColumn(3, CModuleConfiguration::GetMsg(kMsgColFilling), kValueColumnWidth);
    m_results.InsertColumn(4, CModuleConfiguration::GetMsg(kMsgColVelocity), kValueColumnWidth);
    m_results.InsertColumn(kStatusColumn, CModuleConfiguration::GetMsg(kMsgColStatus), kStatusColumnWidth);
}

void dlg_proracun_automatski::PaintColorButton() {
    if (auto* c = GetDlgItem(IDC_MARK_COLOR)) {
        const RgbColor rgb = acedGetRGB(m_nMarkColor);
        c->faceColor = TAVUi::RGB(rgb.r, rgb.g, rgb.b);
    }
}

void dlg_proracun_automatski::OnModeClicked() {
    const int previousMode = m_nType;
    const std::string typedMinimum = GetDlgItemText(IDC_EDIT_MINIMUM);
    m_results.DeleteAllItems();
    UpdateData(true);
    if (m_nType != previousMode) {
        // The minimum was typed for the previous mode: keep it there.
        (previousMode == kModeMinimumSlope ? m_dBrzina : m_dPromjer) = ParseNumber(typedMinimum);
    }
    ApplyModeRules();
}

void dlg_proracun_automatski::OnMethodClicked() {
    m_results.DeleteAllItems();
    UpdateData(true);
    ApplyMethodRules();
}

void dlg_proracun_automatski::OnFillingChecked() {
    EnableItem(IDC_EDIT_FILLING, IsDlgButtonChecked(IDC_CHECK_FILLING) != 0);
}

void dlg_proracun_automatski::OnMinimumChecked() {
    EnableItem(IDC_EDIT_MINIMUM, IsDlgButtonChecked(IDC_CHECK_MINIMUM) != 0);
}

void dlg_proracun_automatski::OnCalculate() {
    UpdateData(true);
    Run();
}

bool dlg_proracun_automatski::BuildSettings(DimensioningSettings& settings) {
    const auto* combo = GetDlgItem(IDC_COMBO_GROUP);
    if (!combo || combo->curSel < 0 || combo->curSel >= static_cast<int>(m_groups.size())) return false;
    const auto& group = m_groups[static_cast<std::size_t>(combo->curSel)];
    if (!group) return false;
    const auto* pm = CPipeManager::GetInstance();
    settings.groupGuid = group->GetGUID();
    settings.groupName = group->GetName();
    pm->GetSortedPipesForGroupGUID(settings.groupGuid, settings.groupPipes, 1);
    if (settings.groupPipes.empty() || !settings.groupPipes.front()) return false;
    settings.groupRoughness = pm->GetPipeRoughness(settings.groupPipes.front());
    settings.groupTypeId = pm->GetPipeTypeID(settings.groupPipes.front());

    const std::string viscosity = GetDlgItemText(IDC_EDIT_VISCOSITY);
    if (viscosity.empty()) return false;
    settings.viscosity = ParseNumber(viscosity);
    if (settings.viscosity == 0.0) return false;

    settings.mode = m_nType;
    settings.method = m_nNacin;
    settings.upstreamCriterion = IsDlgButtonChecked(IDC_CHECK_UPSTREAM) != 0;
    settings.fillingCriterion = IsDlgButtonChecked(IDC_CHECK_FILLING) != 0;
    settings.minimumCriterion = IsDlgButtonChecked(IDC_CHECK_MINIMUM) != 0;
    settings.fillingText = GetDlgItemText(IDC_EDIT_FILLING);
    settings.minimumText = GetDlgItemText(IDC_EDIT_MINIMUM);
    const auto* precision = GetDlgItem(IDC_COMBO_PRECISION);
    settings.precision =
        precision && precision->curSel >= 0 && precision->curSel < kPrecisionCount ? precision->curSel : 0;
    return true;
}

void dlg_proracun_automatski::Run() {
    auto system = TAVGis::System::CSystemManager::GetActiveSystem();

    if (m_sections.empty()) return;
    m_toCalculate.clear();
    const char* filledName = m_nType == kModeMinimumSlope ? "SECTION_SLOPE" : "PIPE_REF";
    for (const auto& s : m_sections) {
        if (!s) continue;
        if (m_nCheckMissing) {
            CDataBox box;
            if (CDataRW::Read(filledName, s, box, 0, {}) && box.IsNotNull()) continue;
        }
        m_toCalculate.insert(s->GetGuid());
    }

    m_roots.clear();
    if (!system) return;
    TAVGis::Selection::CSelectionSet all;
    if (!TAVGis::Selection::CSelector::LoopInstance()->selectActSysAllElements(all) ||
        all.GetSections().empty())
        return;
    for (const auto& s : all.GetSections()) {
        if (!s) continue;
        bool root = true;
        for (const auto& out : s->GetSectionsOut())
            if (out && out->GetSystem() == system) {
                root = false;
                break;
            }
        if (root) m_roots.push_back(s);
    }

    CUpdateSessionsFrame sessions;  // closed on every path out of the run
    m_results.DeleteAllItems();
    DimensioningSettings settings;
    if (!BuildSettings(settings)) return;
    settings.system = system;
    const CSectionDimensioning rules(std::move(settings));

    CUpstreamVisit visit;
    auto dimension = [&](const CSectionPtr& s) {
        if (m_toCalculate.find(s->GetGuid()) == m_toCalculate.end()) return;
        AddResultRow(s, rules.Dimension(s));
        acedRedraw(nullptr, kRedrawUnhighlight);
        acedUpdateDisplay();
        acedHighlightEntity(s->GetObjectId(), kProgressHighlightColor);
    };
    for (const auto& root : m_roots) visit.Visit(root, dimension);
}

void dlg_proracun_automatski::AddResultRow(const CSectionPtr& section, const DimensioningRow& row) {
    const int r = m_results.AppendRow(row.name, section);
    if (r < 0) return;
    for (std::size_t c = 0; c < row.values.size(); ++c)
        if (!row.values[c].empty()) m_results.SetCell(r, static_cast<int>(c) + 1, row.values[c]);
    if (row.status == 0) return;
    m_results.SetCell(r, kStatusColumn, CModuleConfiguration::GetMsg(row.status));
    if (row.failed) {
        m_results.SetCellColors(r, kStatusColumn, kFailureRed, std::nullopt);
        m_results.SetCellColors(r, 0, std::nullopt, kFailureRed);
    } else {
        m_results.SetCellColors(r, kStatusColumn, kSuccessBlue, std::nullopt);
    }
}

void dlg_proracun_automatski::Zoom() {
    std::string text = GetDlgItemText(IDC_EDIT_ZOOM);
    if (text.empty()) {
        text = Format("%.1f", m_dZoomFactor);
        SetDlgItemText(IDC_EDIT_ZOOM, text);
    }
    double factor = ParseNumber(text);
    if (!(factor >= kMinZoomFactor) || factor > kMaxZoomFactor) {
        factor = factor > kMaxZoomFactor ? kMaxZoomFactor : kMinZoomFactor;
        SetDlgItemText(IDC_EDIT_ZOOM, Format("%.1f", factor));
    }
    m_dZoomFactor = factor;
    std::vector<TAVHost::ObjectId> ids;
    for (const auto& s : m_results.SelectedSections()) {
        ids.push_back(s->GetObjectId());
        acutPrintf("%s", s->GetName().c_str());
    }
    if (auto* list = GetDlgItem(IDC_RESULTS)) list->focused = true;
    if (!ids.empty()) CTAVCEdit::zoom(ids, factor);
}

void dlg_proracun_automatski::Mark() {
    for (const auto& s : m_results.SelectedSections()) acedHighlightEntity(s->GetObjectId(), m_nMarkColor);
    if (auto* list = GetDlgItem(IDC_RESULTS)) list->focused = true;
    acedRefreshView();
    acedUpdateDisplay();
}

void dlg_proracun_automatski::ChooseMarkColor() {
    int color = m_nMarkColor;
    if (!acedSetColorDialog(color, false, kAllColors)) return;
    m_nMarkColor = color;
    PaintColorButton();
}
