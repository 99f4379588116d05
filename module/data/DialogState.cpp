#include "module/data/DialogState.h"

#include <cmath>

#include "platform/host/NumberText.h"
#include "platform/ui/AdUiBaseDialog.h"

namespace {

constexpr int kFieldDecimals = 6;  // as "%lf"

TAVUi::CDataExchange Exchange(TAVUi::CAdUiBaseDialog& dialog, bool save) {
    TAVUi::CDataExchange dx;
    dx.m_bSaveAndValidate = save;
    dx.m_pDlgWnd = &dialog;
    return dx;
}

}  // namespace

CDialogState::CDialogState(const std::string& dictionary, AcDb::OpenMode mode)
    : m_dictionary(dictionary, mode) {}

int CDialogState::UpgradeOpen() {
    return m_dictionary.upgradeOpen();
}

bool CDialogState::Read(const std::string& key, int& value) {
    return dctRead(m_dictionary, key, value, false);
}
bool CDialogState::Read(const std::string& key, double& value) {
    double stored = 0.0;
    if (!dctRead(m_dictionary, key, stored, false) || !std::isfinite(stored)) return false;
    value = stored;
    return true;
}
bool CDialogState::Read(const std::string& key, std::string& value) {
    return dctRead(m_dictionary, key, value, false);
}

int CDialogState::GetInt(const std::string& key, int defaultValue) {
    int value = defaultValue;
    return Read(key, value) ? value : defaultValue;
}

double CDialogState::GetDouble(const std::string& key, double defaultValue) {
    double value = defaultValue;
    return Read(key, value) ? value : defaultValue;
}

std::string CDialogState::GetText(const std::string& key, const std::string& defaultValue) {
    std::string value;
    return Read(key, value) ? value : defaultValue;
}

int CDialogState::Write(const std::string& key, int value) {
    return dctWrite(m_dictionary, key, value, false, true, TAVHost::kDictCodeInt16);
}

int CDialogState::Write(const std::string& key, double value) {
    if (!std::isfinite(value)) return kStatusNotFinite;
    return dctWrite(m_dictionary, key, value, false, true, TAVHost::kDictCodeDouble);
}

int CDialogState::Write(const std::string& key, const std::string& value) {
    return dctWrite(m_dictionary, key, value, false, true, TAVHost::kDictCodeText);
}

int CDialogState::WriteNumberText(const std::string& key, const std::string& typed) {
    return Write(key, ParseNumber(typed));
}

void CDialogState::LoadCheck(TAVUi::CAdUiBaseDialog& dialog, int id, const std::string& key,
                             int defaultValue) {
    int value = GetInt(key, defaultValue);
    auto dx = Exchange(dialog, false);
    TAVUi::DDX_Check(&dx, id, value);
}

int CDialogState::SaveCheck(TAVUi::CAdUiBaseDialog& dialog, int id, const std::string& key) {
    int value = 0;
    auto dx = Exchange(dialog, true);
    TAVUi::DDX_Check(&dx, id, value);
    return Write(key, value);
}

void CDialogState::LoadRadio(TAVUi::CAdUiBaseDialog& dialog, int firstId, const std::string& key,
                             int defaultValue) {
    int value = GetInt(key, defaultValue);
    auto dx = Exchange(dialog, false);
    TAVUi::DDX_Radio(&dx, firstId, value);
}

int CDialogState::SaveRadio(TAVUi::CAdUiBaseDialog& dialog, int firstId, const std::string& key) {
    int value = -1;
    auto dx = Exchange(dialog, true);
    TAVUi::DDX_Radio(&dx, firstId, value);
    return Write(key, value);
}

void CDialogState::LoadComboIndex(TAVUi::CAdUiBaseDialog& dialog, int id, const std::string& key,
                                  int defaultValue) {
    int value = GetInt(key, defaultValue);
    if (auto* control = dialog.GetDlgItem(id)) control->SetCurSel(value);
}

int CDialogState::SaveComboIndex(TAVUi::CAdUiBaseDialog& dialog, int id, const std::string& key) {
    const auto* control = dialog.GetDlgItem(id);
    return Write(key, control ? control->curSel : -1);
}

void CDialogState::LoadNumber(TAVUi::CAdUiBaseDialog& dialog, int id, const std::string& key,
                              double defaultValue) {
    if (auto* control = dialog.GetDlgItem(id))
        control->SetWindowText(FormatNumber(GetDouble(key, defaultValue)));
}

int CDialogState::SaveNumber(TAVUi::CAdUiBaseDialog& dialog, int id, const std::string& key) {
    return WriteNumberText(key, dialog.GetDlgItemText(id));
}

void CDialogState::LoadText(TAVUi::CAdUiBaseDialog& dialog, int id, const std::string& key,
                            const std::string& defaultValue) {
    if (auto* control = dialog.GetDlgItem(id)) control->SetWindowText(GetText(key, defaultValue));
}

int CDialogState::SaveText(TAVUi::CAdUiBaseDialog& dialog, int id, const std::string& key) {
    return Write(key, dialog.GetDlgItemText(id));
}

double CDialogState::ParseNumber(const std::string& text) {
    return TAVHost::NumberText::ParseOrZero(text);
}

std::string CDialogState::FormatNumber(double value) {
    return TAVHost::NumberText::Trimmed(value, kFieldDecimals);
}
