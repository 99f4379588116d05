#include "module/data/DialogState.h"

#include <array>
#include <charconv>
#include <cmath>
#include <limits>
#include <system_error>

#include "platform/ui/AdUiBaseDialog.h"

namespace {

constexpr int kFieldDecimals = 6;  // as "%lf"

bool IsSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f';
}

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
    return dctRead(m_dictionary, key, value, false);
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
    const char* p = text.data();
    const char* const end = p + text.size();
    while (p != end && IsSpace(*p)) ++p;
    bool negative = false;
    if (p != end && (*p == '+' || *p == '-')) {
        negative = *p == '-';
        ++p;
    }
    // from_chars takes no sign of its own; a second sign is not a number.
    if (p == end || *p == '+' || *p == '-') return 0.0;
    double value = 0.0;
    const auto [last, error] = std::from_chars(p, end, value, std::chars_format::general);
    if (error != std::errc() || !std::isfinite(value)) return 0.0;
    return negative ? -value : value;
}

std::string CDialogState::FormatNumber(double value) {
    if (!std::isfinite(value)) return {};
    if (value == 0.0) value = 0.0;  // no "-0"
    std::array<char, std::numeric_limits<double>::max_exponent10 + 32> buffer{};
    const auto [last, error] = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value,
                                             std::chars_format::fixed, kFieldDecimals);
    if (error != std::errc()) return {};
    std::string text(buffer.data(), last);
    while (!text.empty() && text.back() == '0') text.pop_back();
    if (!text.empty() && text.back() == '.') text.pop_back();
    if (text == "-0") text = "0";  // a tiny negative value rounded to zero
    return text;
}
