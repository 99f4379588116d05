#include "platform/host/NumberText.h"

#include <array>
#include <charconv>
#include <cmath>
#include <limits>

namespace TAVHost::NumberText {
namespace {

bool IsSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f' || c == '\v';
}
bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// Parses the number at p (no leading white space); sets `last` to the first character after it.
std::optional<double> ParseAt(const char* p, const char* end, const char*& last) {
    bool negative = false;
    if (p != end && (*p == '+' || *p == '-')) {
        negative = *p == '-';
        ++p;
    }
    // A number starts with a digit or a "." followed by a digit; from_chars alone would also take
    // "inf", "nan" and a second sign.
    if (p == end || !(IsDigit(*p) || (*p == '.' && p + 1 != end && IsDigit(p[1])))) return std::nullopt;
    double value = 0.0;
    const auto [stop, error] = std::from_chars(p, end, value, std::chars_format::general);
    if (error != std::errc() || !std::isfinite(value)) return std::nullopt;
    last = stop;
    return negative ? -value : value;
}

// Large enough for the largest double written with any supported number of decimals.
using Buffer = std::array<char, std::numeric_limits<double>::max_exponent10 + 64>;
constexpr int kMaxDecimals = 17;

}  // namespace

std::optional<double> ParseLeading(std::string_view text) {
    const char* p = text.data();
    const char* const end = p + text.size();
    while (p != end && IsSpace(*p)) ++p;
    const char* last = p;
    return ParseAt(p, end, last);
}

std::optional<double> ParseWhole(std::string_view text) {
    const char* p = text.data();
    const char* const end = p + text.size();
    while (p != end && IsSpace(*p)) ++p;
    const char* last = p;
    auto value = ParseAt(p, end, last);
    if (!value) return std::nullopt;
    while (last != end && IsSpace(*last)) ++last;
    return last == end ? value : std::nullopt;
}

double ParseOrZero(std::string_view text) {
    return ParseLeading(text).value_or(0.0);
}

std::string Fixed(double value, int decimals) {
    if (decimals < 0) decimals = 0;
    if (decimals > kMaxDecimals) decimals = kMaxDecimals;
    Buffer buffer{};
    const auto [last, error] = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value,
                                             std::chars_format::fixed, decimals);
    return error == std::errc() ? std::string(buffer.data(), last) : std::string();
}

std::string General(double value, int precision) {
    if (precision < 1) precision = 1;
    if (precision > kMaxDecimals) precision = kMaxDecimals;
    Buffer buffer{};
    const auto [last, error] = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value,
                                             std::chars_format::general, precision);
    return error == std::errc() ? std::string(buffer.data(), last) : std::string();
}

std::string Trimmed(double value, int decimals) {
    if (!std::isfinite(value)) return {};
    std::string text = Fixed(value == 0.0 ? 0.0 : value, decimals);
    if (text.find('.') != std::string::npos) {
        while (!text.empty() && text.back() == '0') text.pop_back();
        if (!text.empty() && text.back() == '.') text.pop_back();
    }
    if (text == "-0") text = "0";  // a tiny negative value rounded to zero
    return text;
}

}  // namespace TAVHost::NumberText
