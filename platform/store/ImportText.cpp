#include "platform/store/ImportText.h"

#include <charconv>
#include <cmath>
#include <fstream>
#include <system_error>

#include "platform/gis/CodePage.h"

namespace TAVGis::Store::ImportText {

bool ReadWholeFile(const std::filesystem::path& path, std::string& text, std::string& error) {
    text.clear();
    std::error_code ec;
    const auto status = std::filesystem::status(path, ec);
    if (ec || !std::filesystem::exists(status)) {
        error = "cannot open \"" + path.string() + "\": no such file";
        return false;
    }
    if (std::filesystem::is_directory(status)) {
        error = "cannot read \"" + path.string() + "\": it is a directory";
        return false;
    }
    if (!std::filesystem::is_regular_file(status)) {
        error = "cannot read \"" + path.string() + "\": it is not a regular file";
        return false;
    }
    const std::uintmax_t size = std::filesystem::file_size(path, ec);
    if (ec) {
        error = "cannot read \"" + path.string() + "\"";
        return false;
    }
    if (size > kMaxFileBytes) {
        error = "cannot read \"" + path.string() + "\": it is larger than " +
                std::to_string(kMaxFileBytes >> 20) + " MiB";
        return false;
    }
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        error = "cannot open \"" + path.string() + "\"";
        return false;
    }
    text.resize(static_cast<std::size_t>(size));
    in.read(text.data(), static_cast<std::streamsize>(size));
    if (static_cast<std::uintmax_t>(in.gcount()) != size || in.bad()) {
        error = "cannot read \"" + path.string() + "\"";
        text.clear();
        return false;
    }
    return true;
}

bool DecodeText(std::string_view bytes, ETextEncoding encoding, std::string& text, std::size_t& badLine) {
    constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
    text.clear();
    badLine = 0;
    if (bytes.substr(0, kByteOrderMark.size()) == kByteOrderMark) bytes.remove_prefix(kByteOrderMark.size());
    std::string converted;
    if (encoding == ETextEncoding::CodePage) {
        converted = TAVGis::Utility::CCodePage::FromAnsi(std::string(bytes));
        bytes = converted;
    } else if (const std::size_t bad = FirstInvalidUtf8(bytes); bad != std::string_view::npos) {
        badLine = 1;
        for (std::size_t i = 0; i < bad; ++i) {
            if (bytes[i] == '\n' || (bytes[i] == '\r' && (i + 1 >= bytes.size() || bytes[i + 1] != '\n')))
                ++badLine;
        }
        return false;
    }
    text.reserve(bytes.size());
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        const char c = bytes[i];
        if (c != '\r') {
            text.push_back(c);
        } else {
            text.push_back('\n');
            if (i + 1 < bytes.size() && bytes[i + 1] == '\n') ++i;
        }
    }
    return true;
}

std::size_t LineOfJsonDepthBeyond(std::string_view text, int maxDepth) {
    int depth = 0;
    std::size_t line = 1;
    bool inString = false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '\n') ++line;
        if (inString) {
            if (c == '\\')
                ++i;  // the escaped character cannot end the string
            else if (c == '"')
                inString = false;
        } else if (c == '"') {
            inString = true;
        } else if (c == '[' || c == '{') {
            if (++depth > maxDepth) return line;
        } else if ((c == ']' || c == '}') && depth > 0) {
            --depth;
        }
    }
    return 0;
}

bool IsValidUtf8(std::string_view text) {
    return FirstInvalidUtf8(text) == std::string_view::npos;
}

std::size_t FirstInvalidUtf8(std::string_view text) {
    const auto* const begin = reinterpret_cast<const unsigned char*>(text.data());
    const auto* p = begin;
    const auto* end = p + text.size();
    const auto at = [&] { return static_cast<std::size_t>(p - begin); };
    while (p < end) {
        const unsigned char c = *p;
        if (c < 0x80) {
            ++p;
            continue;
        }
        std::size_t length = 0;
        char32_t code = 0;
        if (c >= 0xC2 && c <= 0xDF) {
            length = 2;
            code = c & 0x1F;
        } else if (c >= 0xE0 && c <= 0xEF) {
            length = 3;
            code = c & 0x0F;
        } else if (c >= 0xF0 && c <= 0xF4) {
            length = 4;
            code = c & 0x07;
        } else {
            return at();
        }
        if (static_cast<std::size_t>(end - p) < length) return at();
        for (std::size_t i = 1; i < length; ++i) {
            if ((p[i] & 0xC0) != 0x80) return at();
            code = (code << 6) | (p[i] & 0x3F);
        }
        if ((length == 3 && code < 0x800) || (length == 4 && (code < 0x10000 || code > 0x10FFFF)) ||
            (code >= 0xD800 && code <= 0xDFFF))
            return at();
        p += length;
    }
    return std::string_view::npos;
}

std::optional<double> ParseNumber(std::string_view token) {
    if (!token.empty() && token.front() == '+') {
        token.remove_prefix(1);
        if (!token.empty() && (token.front() == '+' || token.front() == '-')) return std::nullopt;
    }
    if (token.empty()) return std::nullopt;
    double value = 0.0;
    const char* first = token.data();
    const char* last = first + token.size();
    const auto [ptr, ec] = std::from_chars(first, last, value);
    if (ec != std::errc() || ptr != last || !std::isfinite(value)) return std::nullopt;
    return value;
}

std::string FormatNumber(double value) {
    char buffer[32];
    const auto [ptr, ec] = std::to_chars(buffer, buffer + sizeof buffer, value);
    if (ec != std::errc()) return "0";
    return std::string(buffer, ptr);
}

std::string ToUpperAscii(std::string_view text) {
    std::string out(text);
    for (char& c : out) {
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    }
    return out;
}

bool EqualsIgnoreCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        char x = a[i];
        char y = b[i];
        if (x >= 'a' && x <= 'z') x = static_cast<char>(x - 'a' + 'A');
        if (y >= 'a' && y <= 'z') y = static_cast<char>(y - 'a' + 'A');
        if (x != y) return false;
    }
    return true;
}

std::string Quote(std::string_view name) {
    std::string out;
    out.reserve(name.size() + 2);
    out.push_back('"');
    out.append(name);
    out.push_back('"');
    return out;
}

}  // namespace TAVGis::Store::ImportText
