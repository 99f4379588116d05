#include "module/ui/NumericBehavior.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <climits>
#include <cmath>
#include <limits>
#include <system_error>

#include "platform/host/NumberText.h"

namespace {

constexpr int kSetValueDecimals = 6;  // as "%lf"
constexpr char32_t kFirstPrintable = 0x20;
constexpr char32_t kDelete = 0x7F;

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

int AbsoluteValue(int n) {
    return n == INT_MIN ? INT_MAX : (n < 0 ? -n : n);
}

}  // namespace

NumericBehavior::NumericBehavior(int maxWholeDigits, int maxDecimalPlaces)
    : Behavior(maxWholeDigits < 0 ? kFlagCannotBeNegative : 0),
      m_maxWholeDigits(AbsoluteValue(maxWholeDigits)),
      m_maxDecimalPlaces(maxDecimalPlaces < 0 ? 0 : maxDecimalPlaces) {}

void NumericBehavior::SetMaxWholeDigits(int maxWholeDigits) {
    const int maximum = AbsoluteValue(maxWholeDigits);
    const bool changed = maximum != m_maxWholeDigits;
    m_maxWholeDigits = maximum;
    if (maxWholeDigits < 0 && IsNegativeAllowed()) {
        ModifyFlags(kFlagCannotBeNegative, 0);  // re-applies the rule
    } else if (maxWholeDigits > 0 && !IsNegativeAllowed()) {
        ModifyFlags(0, kFlagCannotBeNegative);
    } else if (changed) {
        ApplyValidity();
    }
}

void NumericBehavior::SetMaxDecimalPlaces(int maxDecimalPlaces) {
    const int maximum = maxDecimalPlaces < 0 ? 0 : maxDecimalPlaces;
    if (maximum == m_maxDecimalPlaces) return;
    m_maxDecimalPlaces = maximum;
    ApplyValidity();
}

void NumericBehavior::AllowNegative(bool allow) {
    if (allow) {
        ModifyFlags(0, kFlagCannotBeNegative);
    } else {
        ModifyFlags(kFlagCannotBeNegative, 0);
    }
}

bool NumericBehavior::SetSeparators(char decimalPoint, char groupSeparator) {
    const auto code = static_cast<unsigned char>(decimalPoint);
    if (code <= ' ' || code >= kDelete || IsDigit(decimalPoint) || decimalPoint == kNegativeSign) {
        return false;
    }
    if (groupSeparator == decimalPoint) groupSeparator = decimalPoint == ',' ? '.' : ',';
    const bool changed = decimalPoint != m_decimalPoint || groupSeparator != m_groupSeparator;
    m_decimalPoint = decimalPoint;
    m_groupSeparator = groupSeparator;
    if (changed) ApplyValidity();
    return true;
}

void NumericBehavior::SetValue(double value, bool trim) {
    std::string text;
    if (std::isfinite(value)) {
        if (value == 0.0) value = 0.0;  // no "-0"
        text = TAVHost::NumberText::Fixed(value, kSetValueDecimals);
        if (trim) {
            while (!text.empty() && text.back() == '0') text.pop_back();
            if (!text.empty() && text.back() == '.') text.pop_back();
        }
        for (char& c : text) {
            if (c == '.') c = m_decimalPoint;
        }
    }
    SetValidText(text);
}

double NumericBehavior::GetValue() const {
    if (m_edit == nullptr) return 0.0;
    std::string text = GetValidText(m_edit->GetEditText());
    bool hasDigit = false;
    bool hasWholeValue = false;  // a non-zero whole digit
    bool inDecimals = false;
    for (char& c : text) {
        if (c == m_decimalPoint) {
            c = '.';
            inDecimals = true;
        } else if (c == kNegativeSign) {
            c = '-';
        } else if (IsDigit(c)) {
            hasDigit = true;
            if (!inDecimals && c != '0') hasWholeValue = true;
        }
    }
    if (!hasDigit) return 0.0;
    double value = 0.0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error == std::errc::result_out_of_range) {
        // Too many whole digits for a double, or decimals too small for one.
        if (!hasWholeValue) return 0.0;
        const double largest = std::numeric_limits<double>::max();
        return text.front() == '-' ? -largest : largest;
    }
    if (error != std::errc()) return 0.0;
    return value == 0.0 ? 0.0 : value;
}

std::string NumericBehavior::GetValidText(const std::string& text) const {
    std::string valid;
    bool negative = false;
    bool hasPoint = false;
    int wholeDigits = 0;
    int decimals = 0;
    for (const char c : text) {
        if (c == kNegativeSign) {
            if (IsNegativeAllowed()) negative = true;
        } else if (IsDigit(c)) {
            if (!hasPoint) {
                if (wholeDigits < m_maxWholeDigits) {
                    valid += c;
                    ++wholeDigits;
                }
            } else {
                if (decimals >= m_maxDecimalPlaces) break;
                valid += c;
                ++decimals;
            }
        } else if (c == m_decimalPoint && !hasPoint) {
            if (m_maxDecimalPlaces == 0) break;
            valid += c;
            hasPoint = true;
        }
    }
    if (negative) valid.insert(valid.begin(), kNegativeSign);
    return valid;
}

bool NumericBehavior::OnChar(char32_t ch) {
    if (ch < kFirstPrintable || ch == kDelete) return false;
    if (m_edit == nullptr || m_edit->IsEditReadOnly()) return true;
    ApplyValidity();
    const std::string text = m_edit->GetEditText();
    int start = 0;
    int end = 0;
    GetSelection(text, start, end);
    if (ch == static_cast<unsigned char>(kNegativeSign)) {
        if (IsNegativeAllowed()) OnTypedSign(text, start, end);
    } else if (ch == static_cast<unsigned char>(m_decimalPoint)) {
        if (m_maxDecimalPlaces > 0) OnTypedDecimalPoint(text, start, end);
    } else if (ch >= '0' && ch <= '9') {
        OnTypedDigit(text, start, end, static_cast<char>(ch));
    }
    return true;
}

void NumericBehavior::OnTypedSign(const std::string& text, int start, int end) {
    const bool hasSign = !text.empty() && text.front() == kNegativeSign;
    if (start == 0) {
        if (hasSign) {
            m_edit->SetEditSel(1, 1);
        } else {
            ReplaceIfValid(text, start, end, std::string(1, kNegativeSign));
        }
        return;
    }
    // Toggle the sign in front; the selection moves with the digits.
    if (hasSign) {
        m_edit->SetEditSel(0, 1);
        m_edit->ReplaceEditSel(std::string());
        m_edit->SetEditSel(start - 1, end - 1);
    } else {
        m_edit->SetEditSel(0, 0);
        m_edit->ReplaceEditSel(std::string(1, kNegativeSign));
        m_edit->SetEditSel(start + 1, end + 1);
    }
}

void NumericBehavior::OnTypedDecimalPoint(const std::string& text, int start, int end) {
    const size_t point = text.find(m_decimalPoint);
    if (point != std::string::npos && !(static_cast<int>(point) >= start && static_cast<int>(point) < end)) {
        m_edit->SetEditSel(static_cast<int>(point) + 1, static_cast<int>(point) + 1);
        return;
    }
    if (start == 0 && end == 0 && !text.empty() && text.front() == kNegativeSign) {
        start = end = 1;  // not in front of the sign
    }
    const std::string inserted(1, m_decimalPoint);
    if (ReplaceIfValid(text, start, end, inserted)) return;
    // Decimals moved behind the new point beyond the maximum are cut.
    const std::string result =
        text.substr(0, static_cast<size_t>(start)) + inserted + text.substr(static_cast<size_t>(end));
    const std::string valid = GetValidText(result);
    const int caret = std::min(start + 1, static_cast<int>(valid.size()));
    m_edit->SetEditText(valid);
    m_edit->SetEditSel(caret, caret);
}

void NumericBehavior::OnTypedDigit(const std::string& text, int start, int end, char digit) {
    const int size = static_cast<int>(text.size());
    const size_t pointPosition = text.find(m_decimalPoint);
    const int point = pointPosition == std::string::npos ? -1 : static_cast<int>(pointPosition);
    const std::string typed(1, digit);
    if (point >= 0 && start > point) {
        const int decimals = size - point - 1;
        if (start > point + m_maxDecimalPlaces) return;  // beyond the last allowed decimal
        if (decimals < m_maxDecimalPlaces) {
            ReplaceIfValid(text, start, end, typed);
        } else if (end == size && end > start) {
            ReplaceIfValid(text, start, end, typed);
        } else if (start < size) {
            ReplaceIfValid(text, start, start + 1, typed);
        }
        return;
    }
    const int lead = !text.empty() && text.front() == kNegativeSign ? 1 : 0;
    if (start != end) {
        ReplaceIfValid(text, start, end, typed);
        return;
    }
    if (start < lead) return;  // in front of the sign
    const int wholeDigits = (point >= 0 ? point : size) - lead;
    if (start == m_maxWholeDigits + lead) return;
    if (wholeDigits >= m_maxWholeDigits) {
        ReplaceIfValid(text, start, start + 1, typed);
    } else {
        ReplaceIfValid(text, start, end, typed);
    }
}

bool NumericBehavior::ReplaceIfValid(const std::string& text, int start, int end, const std::string& insert) {
    const std::string result = text.substr(0, static_cast<size_t>(start)) + insert +
                               text.substr(static_cast<size_t>(std::min(end, static_cast<int>(text.size()))));
    if (GetValidText(result) != result) return false;
    m_edit->SetEditSel(start, end);
    m_edit->ReplaceEditSel(insert);
    return true;
}
