#include "module/hydraulics/dlg_proracun_automatski.h"

#include "platform/gis/ModuleConfiguration.h"
#include "platform/host/Editor.h"
#include "platform/host/NumberText.h"
#include "platform/host/TAVCEdit.h"
#include "platform/network/PipeManager.h"

using TAVGis::CModuleConfiguration;
using TAVGis::Data::CPipeManager;
using TAVHost::NumberText::Fixed;
using TAVHost::NumberText::ParseOrZero;
using TAVUi::Notification;

namespace {

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
constexpr int kAllColors = 256;                           // current-layer colour passed to the colour dialog
constexpr int kDiameterDecimals = 2, kValueDecimals = 4;  // result columns
constexpr int kViscosityDecimals = 10, kSettingDecimals = 2, kZoomDecimals = 1;

// An edit's number: empty when the edit is empty, else the text parsed (not a number counts as 0).
std::optional<double> Typed(const std::string& text) {
    if (text.empty()) return std::nullopt;
    return ParseOrZero(text);
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
    CDialogState state;
    m_nType = state.GetInt("DIVODORHYDRAULICS_2_TYPE", m_nType);
    m_nNacin = state.GetInt("DIVODORHYDRAULICS_2_NACIN", m_nNacin);
    m_nMarkColor = state.GetInt("NMARK_COLOR", m_nMarkColor);
    m_dZoomFactor = state.GetDouble("DZOOM_FACTOR", m_dZoomFactor);
    m_dIspunjenost = state.GetDouble("DIVODORHYDRAULICS_2_ISPUNJENOST", m_dIspunjenost);
    m_dViskozitet = state.GetDouble("DIVODORHYDRAULICS_2_VISKOZITET", m_dViskozitet);
    m_dBrzina = state.GetDouble("DIVODORHYDRAULICS_2_BRZINA", m_dBrzina);
    m_dPromjer = state.GetDouble("DIVODORHYDRAULICS_2_PROMJER", m_dPromjer);
    m_nSekcija = state.GetInt("DIVODORHYDRAULICS_2_SEKCIJA", m_nSekcija);
    m_nTocnost = state.GetInt("DIVODORHYDRAULICS_2_TOCNOST", m_nTocnost);
    m_nCheckIsp = state.GetInt("DIVODORHYDRAULICS_2_CHECK_ISP", m_nCheckIsp);
    m_nCheckMin = state.GetInt("DIVODORHYDRAULICS_2_CHECK_MIN", m_nCheckMin);
    m_nCheckDimUp = state.GetInt("DIVODORHYDRAULICS_2_CHECK_DIMUP", m_nCheckDimUp);
    // A radio choice that names no radio falls back to the first one.
    if (m_nType != kModeMinimumDiameter && m_nType != kModeMinimumSlope) m_nType = kModeMinimumDiameter;
    if (m_nNacin < kMethodWithoutConditions || m_nNacin > kMethodConditions)
        m_nNacin = kMethodWithoutConditions;
}

void dlg_proracun_automatski::WriteState(CDialogState& state) {
    state.Write("DIVODORHYDRAULICS_2_TYPE", m_nType);
    state.Write("DIVODORHYDRAULICS_2_NACIN", m_nNacin);
    state.Write("NMARK_COLOR", m_nMarkColor);
    state.Write("DZOOM_FACTOR", m_dZoomFactor);
    state.WriteNumberText("DIVODORHYDRAULICS_2_ISPUNJENOST", m_strIspunjenost);
    state.WriteNumberText("DIVODORHYDRAULICS_2_VISKOZITET", m_strViskozitet);
    if (m_nType == kModeMinimumSlope)
        state.WriteNumberText("DIVODORHYDRAULICS_2_BRZINA", m_strMinimum);
    else
        state.WriteNumberText("DIVODORHYDRAULICS_2_PROMJER", m_strMinimum);
    state.Write("DIVODORHYDRAULICS_2_SEKCIJA", m_nSekcija);
    state.Write("DIVODORHYDRAULICS_2_TOCNOST", m_nTocnost);
    state.Write("DIVODORHYDRAULICS_2_CHECK_ISP", m_nCheckIsp);
    state.Write("DIVODORHYDRAULICS_2_CHECK_MIN", m_nCheckMin);
    state.Write("DIVODORHYDRAULICS_2_CHECK_DIMUP", m_nCheckDimUp);
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

    SetDlgItemText(IDC_EDIT_VISCOSITY, Fixed(m_dViskozitet, kViscosityDecimals));
    if (auto* c = GetDlgItem(IDC_ZOOM)) c->bitmap = "IDB_ZOOM";
    if (auto* c = GetDlgItem(IDC_MARK)) c->bitmap = "IDB_MARK";
    SetDlgItemText(IDC_EDIT_ZOOM, Fixed(m_dZoomFactor, kZoomDecimals));

    CheckDlgButton(IDC_CHECK_FILLING, m_nCheckIsp ? 1 : 0);
    CheckDlgButton(IDC_CHECK_MINIMUM, m_nCheckMin ? 1 : 0);
    CheckDlgButton(IDC_CHECK_UPSTREAM, m_nCheckDimUp ? 1 : 0);
    CheckDlgButton(IDC_CHECK_MISSING_ONLY, 0);
    m_nCheckMissing = 0;
    ApplyModeRules();
    ApplyMethodRules();
    SetDlgItemText(IDC_EDIT_FILLING, Fixed(m_dIspunjenost, kSettingDecimals));
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
    SetDlgItemText(IDC_EDIT_MINIMUM, Fixed(slope ? m_dBrzina : m_dPromjer, kSettingDecimals));
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
        (previousMode == kModeMinimumSlope ? m_dBrzina : m_dPromjer) = ParseOrZero(typedMinimum);
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

AutomaticDimensioningInputs dlg_proracun_automatski::Inputs() const {
    AutomaticDimensioningInputs in;
    in.sections = m_sections;
    in.mode = m_nType;
    in.method = m_nNacin;
    in.missingOnly = m_nCheckMissing != 0;
    in.upstreamCriterion = IsDlgButtonChecked(IDC_CHECK_UPSTREAM) != 0;
    in.fillingCriterion = IsDlgButtonChecked(IDC_CHECK_FILLING) != 0;
    in.minimumCriterion = IsDlgButtonChecked(IDC_CHECK_MINIMUM) != 0;
    in.filling = Typed(GetDlgItemText(IDC_EDIT_FILLING));
    in.minimum = Typed(GetDlgItemText(IDC_EDIT_MINIMUM));
    const auto* precision = GetDlgItem(IDC_COMBO_PRECISION);
    // The precision entries are "0", "0.0", "0.00", "0.000": an entry's index is its number of decimals.
    in.precision =
        precision && precision->curSel >= 0 && precision->curSel < kPrecisionCount ? precision->curSel : 0;
    const auto* group = GetDlgItem(IDC_COMBO_GROUP);
    if (group && group->curSel >= 0 && group->curSel < static_cast<int>(m_groups.size()))
        in.group = m_groups[static_cast<std::size_t>(group->curSel)];
    in.viscosity = Typed(GetDlgItemText(IDC_EDIT_VISCOSITY));
    return in;
}

void dlg_proracun_automatski::Run() {
    CAutomaticDimensioning::Callbacks callbacks;
    callbacks.onStarted = [this] { m_results.DeleteAllItems(); };
    callbacks.onRow = [this](const DimensioningRow& row) {
        ShowRow(row);
        acedRedraw(nullptr, kRedrawUnhighlight);
        acedUpdateDisplay();
        acedHighlightEntity(row.section->GetObjectId(), kProgressHighlightColor);
    };
    CAutomaticDimensioning::Run(Inputs(), callbacks);
}

void dlg_proracun_automatski::ShowRow(const DimensioningRow& row) {
    const int r = m_results.AppendRow(row.name, row.section);
    if (r < 0) return;
    const std::optional<double>* values[] = {&row.diameter, &row.slope, &row.filling, &row.velocity};
    for (int c = 0; c < 4; ++c)
        if (*values[c])
            m_results.SetCell(r, c + 1, Fixed(**values[c], c == 0 ? kDiameterDecimals : kValueDecimals));
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
        text = Fixed(m_dZoomFactor, kZoomDecimals);
        SetDlgItemText(IDC_EDIT_ZOOM, text);
    }
    double factor = ParseOrZero(text);
    if (!(factor >= kMinZoomFactor) || factor > kMaxZoomFactor) {
        factor = factor > kMaxZoomFactor ? kMaxZoomFactor : kMinZoomFactor;
        SetDlgItemText(IDC_EDIT_ZOOM, Fixed(factor, kZoomDecimals));
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
