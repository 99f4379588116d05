#include "platform/gis/CodePage.h"

#include <iconv.h>

#include <cerrno>
#include <cstddef>
#include <cstdint>
#include <mutex>
#include <stdexcept>

namespace TAVGis::Utility {

namespace {

constexpr const char* kUtf8 = "UTF-8";

std::mutex& SettingMutex() {
    static std::mutex mutex;
    return mutex;
}

std::string& AnsiCodePageSetting() {
    static std::string name = CCodePage::kDefaultAnsiCodePage;
    return name;
}

// Owns one iconv conversion descriptor.
class Converter {
public:
    // iconv_open's failure value.
    static iconv_t Invalid() { return reinterpret_cast<iconv_t>(static_cast<intptr_t>(-1)); }

    Converter(const std::string& to, const std::string& from) : m_cd(iconv_open(to.c_str(), from.c_str())) {}
    ~Converter() {
        if (m_cd != Invalid()) iconv_close(m_cd);
    }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;

    bool IsValid() const { return m_cd != Invalid(); }
    iconv_t Get() const { return m_cd; }

private:
    iconv_t m_cd;
};

// Length of the well-formed UTF-8 sequence at text[pos], or 0 when the bytes there are malformed.
size_t WellFormedUtf8Length(const std::string& text, size_t pos) {
    const auto byteAt = [&](size_t i) { return static_cast<unsigned char>(text[i]); };
    const unsigned char lead = byteAt(pos);
    size_t length = 0;
    unsigned char low = 0x80;
    unsigned char high = 0xBF;
    if (lead < 0x80) return 1;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        if (lead == 0xE0) low = 0xA0;   // overlong
        if (lead == 0xED) high = 0x9F;  // surrogates
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        if (lead == 0xF0) low = 0x90;   // overlong
        if (lead == 0xF4) high = 0x8F;  // above U+10FFFF
    } else {
        return 0;
    }
    if (pos + length > text.size()) return 0;
    if (byteAt(pos + 1) < low || byteAt(pos + 1) > high) return 0;
    for (size_t i = 2; i < length; ++i) {
        if (byteAt(pos + i) < 0x80 || byteAt(pos + i) > 0xBF) return 0;
    }
    return length;
}

// Runs iconv over the whole input. At a position iconv cannot convert, `onFailure(output, position)`
// appends the replacement to the output and returns how many input bytes to skip.
template <typename OnFailure>
std::string Convert(const std::string& to, const std::string& from, const std::string& input,
                    OnFailure onFailure) {
    Converter converter(to, from);
    if (!converter.IsValid()) {
        // The setting is checked when it is made, so this means the C library lost the code set.
        throw std::runtime_error("iconv cannot convert from " + from + " to " + to);
    }
    std::string output;
    std::string buffer(4 * input.size() + 16, '\0');
    size_t position = 0;
    auto flushBuffer = [&](char* end) {
        output.append(buffer.data(), static_cast<size_t>(end - buffer.data()));
    };

    while (position < input.size()) {
        char* in = const_cast<char*>(input.data()) + position;  // iconv does not write through it
        size_t inLeft = input.size() - position;
        char* out = buffer.data();
        size_t outLeft = buffer.size();
        const size_t result = iconv(converter.Get(), &in, &inLeft, &out, &outLeft);
        const int error = errno;
        flushBuffer(out);
        position = input.size() - inLeft;
        if (result != static_cast<size_t>(-1)) break;
        if (error == E2BIG) continue;
        if (error == EILSEQ || error == EINVAL) {
            position += onFailure(output, position);
            iconv(converter.Get(), nullptr, nullptr, nullptr, nullptr);  // back to the initial state
            continue;
        }
        throw std::runtime_error("iconv failed while converting from " + from + " to " + to);
    }
    // Ends any shift sequence of a stateful code set.
    char* out = buffer.data();
    size_t outLeft = buffer.size();
    iconv(converter.Get(), nullptr, nullptr, &out, &outLeft);
    flushBuffer(out);
    return output;
}

}  // namespace

std::string CCodePage::GetAnsiCodePage() {
    std::lock_guard<std::mutex> lock(SettingMutex());
    return AnsiCodePageSetting();
}

bool CCodePage::SetAnsiCodePage(const std::string& name) {
    if (name.empty()) return false;
    Converter toAnsi(name, kUtf8);
    Converter fromAnsi(kUtf8, name);
    if (!toAnsi.IsValid() || !fromAnsi.IsValid()) return false;
    std::lock_guard<std::mutex> lock(SettingMutex());
    AnsiCodePageSetting() = name;
    return true;
}

std::string CCodePage::ToAnsi(const std::string& utf8) {
    return Convert(GetAnsiCodePage(), kUtf8, utf8, [&utf8](std::string& output, size_t position) -> size_t {
        output += kUnmappableAnsi;
        const size_t length = WellFormedUtf8Length(utf8, position);
        return length == 0 ? 1 : length;
    });
}

std::string CCodePage::FromAnsi(const std::string& ansi) {
    return Convert(kUtf8, GetAnsiCodePage(), ansi, [](std::string& output, size_t) -> size_t {
        output += kUndecodableUtf8;
        return 1;
    });
}

}  // namespace TAVGis::Utility
