#include "module/flow/TurkishParamsDilaog.h"

#include "module/ui/NumericEdit.h"
#include "platform/gis/ModuleConfiguration.h"
#include "platform/host/Editor.h"
#include "platform/host/NumberText.h"
#include "platform/sewage/IdfCurveFile.h"

using TAVGis::CModuleConfiguration;
using TAVGis::Sewage::CIDPTurkParams;
using TAVUi::Notification;

namespace {
constexpr int kMsgTitle = 14311;
constexpr int kMsgStations = 14312;
constexpr int kMsgName = 14313;
constexpr int kMsgAdd = 14314;
constexpr int kMsgRename = 14315;
constexpr int kMsgDelete = 14316;
constexpr int kMsgPeriod = 14317;
constexpr int kMsgDuration = 14318;
constexpr int kMsgIntensity = 14319;
constexpr int kMsgSetPoint = 14320;
constexpr int kMsgRemovePoint = 14321;
constexpr int kMsgImport = 14322;
constexpr int kMsgTable = 14323;
constexpr int kMsgImportFailed = 14324;
constexpr int kMsgStoreUnreadable = 14309;
constexpr int kMsgStoreNotSaved = 14310;
constexpr int kMsgCurveFile = 2285;
constexpr int kMsgOk = 60;
constexpr int kMsgCancel = 67;
constexpr int kColumnWidth = 90;
constexpr int kPeriodDigits = 3;  // whole digits of the fields (no negatives)
constexpr int kDurationDigits = 4;
constexpr int kIntensityDigits = 5;
constexpr int kDecimals = 2;
constexpr int kIntensityDecimals = 4;
constexpr int kFileOpen = 0;
}  // namespace

std::string CTurkishParamsDilaog::OpenITPTurParamDialog(const std::string& value) {
    CIDPTurkParams stations;
    std::string error;
    if (!stations.Load(error)) {
        acedAlert(CModuleConfiguration::GetMsg(kMsgStoreUnreadable) + " " + error);
        return value;
    }
    stations.SetValue(value);
    CTurkishParamsDilaog dialog(stations);
    if (dialog.DoModal() != TAVUi::IDOK || !dialog.Saved()) return value;
    return stations.GetValue();
}

CTurkishParamsDilaog::CTurkishParamsDilaog(CIDPTurkParams& stations)
    : CAdUiBaseDialog(IDD), m_stations(stations) {
    Map(IDC_COMBO_STATION, Notification::SelChange, &CTurkishParamsDilaog::OnStationChanged);
    Map(IDC_BUTTON_ADD, Notification::Clicked, &CTurkishParamsDilaog::OnAdd);
    Map(IDC_BUTTON_RENAME, Notification::Clicked, &CTurkishParamsDilaog::OnRename);
    Map(IDC_BUTTON_DELETE, Notification::Clicked, &CTurkishParamsDilaog::OnDelete);
    Map(IDC_LIST_TABLE, Notification::ItemChanged, &CTurkishParamsDilaog::OnRowChanged);
    Map(IDC_BUTTON_SET_POINT, Notification::Clicked, &CTurkishParamsDilaog::OnSetPoint);
    Map(IDC_BUTTON_REMOVE_POINT, Notification::Clicked, &CTurkishParamsDilaog::OnRemovePoint);
    Map(IDC_BUTTON_IMPORT, Notification::Clicked, &CTurkishParamsDilaog::OnImport);
}

bool CTurkishParamsDilaog::OnInitDialog() {
    CAdUiBaseDialog::OnInitDialog();
    SetWindowText(CModuleConfiguration::GetMsg(kMsgTitle));
    const std::pair<int, int> captions[] = {{IDC_GROUP_STATIONS, kMsgStations},
                                            {IDC_STATIC_NAME, kMsgName},
                                            {IDC_BUTTON_ADD, kMsgAdd},
                                            {IDC_BUTTON_RENAME, kMsgRename},
                                            {IDC_BUTTON_DELETE, kMsgDelete},
                                            {IDC_GROUP_TABLE, kMsgTable},
                                            {IDC_STATIC_PERIOD, kMsgPeriod},
                                            {IDC_STATIC_DURATION, kMsgDuration},
                                            {IDC_STATIC_INTENSITY, kMsgIntensity},
                                            {IDC_BUTTON_SET_POINT, kMsgSetPoint},
                                            {IDC_BUTTON_REMOVE_POINT, kMsgRemovePoint},
                                            {IDC_BUTTON_IMPORT, kMsgImport},
                                            {TAVUi::IDOK, kMsgOk},
                                            {TAVUi::IDCANCEL, kMsgCancel}};
    for (const auto& [id, msg] : captions) SetDlgItemText(id, CModuleConfiguration::GetMsg(msg));
    m_period = CNumericEdit::Attach(*this, IDC_EDIT_PERIOD, -kPeriodDigits, kDecimals);
    m_duration = CNumericEdit::Attach(*this, IDC_EDIT_DURATION, -kDurationDigits, kDecimals);
    m_intensity = CNumericEdit::Attach(*this, IDC_EDIT_INTENSITY, -kIntensityDigits, kIntensityDecimals);
    auto& list = Item(IDC_LIST_TABLE);
    list.InsertColumn(0, CModuleConfiguration::GetMsg(kMsgPeriod), kColumnWidth);
    list.InsertColumn(1, CModuleConfiguration::GetMsg(kMsgDuration), kColumnWidth);
    list.InsertColumn(2, CModuleConfiguration::GetMsg(kMsgIntensity), kColumnWidth);
    FillStations(m_stations.GetValue());
    return true;
}

std::string CTurkishParamsDilaog::Selected() const {
    const auto* combo = GetDlgItem(IDC_COMBO_STATION);
    if (!combo || combo->curSel < 0 || combo->curSel >= static_cast<int>(combo->items.size())) return {};
    return combo->items[static_cast<std::size_t>(combo->curSel)].text;
}

void CTurkishParamsDilaog::FillStations(const std::string& select) {
    auto& combo = Item(IDC_COMBO_STATION);
    combo.ResetContent();
    for (const auto& name : m_stations.Names()) combo.AddString(name);
    const int found = combo.FindStringExact(select);
    combo.SetCurSel(found >= 0 ? found : (combo.items.empty() ? -1 : 0));
    SetDlgItemText(IDC_EDIT_NAME, Selected());
    const bool any = !combo.items.empty();
    for (int id : {IDC_BUTTON_RENAME, IDC_BUTTON_DELETE, IDC_BUTTON_SET_POINT, IDC_BUTTON_REMOVE_POINT,
                   IDC_BUTTON_IMPORT, IDC_LIST_TABLE})
        EnableItem(id, any);
    ShowTable();
}

void CTurkishParamsDilaog::ShowTable() {
    namespace NT = TAVHost::NumberText;
    auto& list = Item(IDC_LIST_TABLE);
    list.DeleteAllItems();
    const auto* station = m_stations.Find(Selected());
    if (!station) return;
    for (const auto& curve : station->table.curves)
        for (const auto& [duration, intensity] : curve.points) {
            const int row = list.InsertItem(list.GetItemCount(), NT::Fixed(curve.returnPeriod, kDecimals));
            list.SetItemText(row, 1, NT::Fixed(duration, kDecimals));
            list.SetItemText(row, 2, NT::Fixed(intensity, kIntensityDecimals));
        }
}

bool CTurkishParamsDilaog::Refused(int result) {
    if (result == CIDPTurkParams::kEditDone) return false;
    acedAlert(CModuleConfiguration::GetMsg(result));
    return true;
}

void CTurkishParamsDilaog::OnStationChanged() {
    SetDlgItemText(IDC_EDIT_NAME, Selected());
    ShowTable();
}

void CTurkishParamsDilaog::OnAdd() {
    const std::string name = GetDlgItemText(IDC_EDIT_NAME);
    if (Refused(m_stations.AddStation(name))) return;
    FillStations(CIDPTurkParams::CleanName(name));
}

void CTurkishParamsDilaog::OnRename() {
    const std::string name = GetDlgItemText(IDC_EDIT_NAME);
    if (Refused(m_stations.RenameStation(Selected(), name))) return;
    FillStations(CIDPTurkParams::CleanName(name));
}

void CTurkishParamsDilaog::OnDelete() {
    const int at = Item(IDC_COMBO_STATION).curSel;
    if (Refused(m_stations.RemoveStation(Selected()))) return;
    const auto names = m_stations.Names();
    FillStations(names.empty() ? std::string() : names[std::min<std::size_t>(at, names.size() - 1)]);
}

void CTurkishParamsDilaog::OnRowChanged() {
    const auto& list = Item(IDC_LIST_TABLE);
    const auto rows = list.SelectedRows();
    if (rows.empty() || rows.front() < 0 || rows.front() >= list.GetItemCount()) return;
    SetDlgItemText(IDC_EDIT_PERIOD, list.GetItemText(rows.front(), 0));
    SetDlgItemText(IDC_EDIT_DURATION, list.GetItemText(rows.front(), 1));
    SetDlgItemText(IDC_EDIT_INTENSITY, list.GetItemText(rows.front(), 2));
}

void CTurkishParamsDilaog::OnSetPoint() {
    if (Refused(m_stations.SetPoint(Selected(), m_period->GetValue(), m_duration->GetValue(),
                                    m_intensity->GetValue())))
        return;
    ShowTable();
}

void CTurkishParamsDilaog::OnRemovePoint() {
    if (Refused(m_stations.RemovePoint(Selected(), m_period->GetValue(), m_duration->GetValue()))) return;
    ShowTable();
}

void CTurkishParamsDilaog::OnImport() {
    std::string path;
    if (acedGetFileD(CModuleConfiguration::GetMsg(kMsgCurveFile), "", "dat", kFileOpen, path) != RTNORM)
        return;
    TAVGis::Sewage::IdfReadError error;
    const auto table = TAVGis::Sewage::CIdfCurveFile::Load(path, error);
    if (!table) {
        acedAlert(CModuleConfiguration::GetMsg(kMsgImportFailed) + " " + error.Describe(path));
        return;
    }
    if (Refused(m_stations.SetTable(Selected(), *table))) return;
    ShowTable();
}

void CTurkishParamsDilaog::OnOK() {
    std::string error;
    if (!m_stations.Save(error)) {
        acedAlert(CModuleConfiguration::GetMsg(kMsgStoreNotSaved) + " " + error);
        return;  // the dialog stays open: nothing the person typed is lost
    }
    m_saved = true;
    m_stations.SetValue(Selected());
    EndDialog(TAVUi::IDOK);
}
