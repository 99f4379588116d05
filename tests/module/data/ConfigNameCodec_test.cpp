#include "module/data/ConfigNameCodec.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "platform/gis/CodePage.h"

using TAVGis::Utility::CCodePage;

namespace {

class ConfigNameCodecTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(CCodePage::SetAnsiCodePage(CCodePage::kDefaultAnsiCodePage)); }
    void TearDown() override { CCodePage::SetAnsiCodePage(CCodePage::kDefaultAnsiCodePage); }
};

bool IsEscapeText(const std::string& text) {
    for (size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (i % 3 == 0 ? c != '=' : !((c >= '0' && c <= '9') || (c >= 'A' && c <= 'F'))) return false;
    }
    return true;
}

TEST_F(ConfigNameCodecTest, KnownNamesEscapeAsStored) {
    struct Case {
        const char* name;
        const char* escaped;
    };
    const Case cases[] = {
        {"Default", "Default"},
        {"a=b", "a=3Db"},
        {"=", "=3D"},
        {"\xC4\x8C", "=EF=BF=88"},      // C with caron, 0xC8
        {"\xC5\xA1", "=EF=BE=9A"},      // s with caron, 0x9A
        {"\xE2\x82\xAC", "=EF=BE=80"},  // euro sign, 0x80
        {"\xCB\x99", "=EF=BF=BF"},      // dot above, 0xFF
        {"Ulica \xC5\xBD"
         "abinje",
         "Ulica =EF=BE=8Eabinje"},  // Z with caron, 0x8E
        {"", ""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(CConfigNameCodec::Escape(c.name), c.escaped) << c.name;
        EXPECT_EQ(CConfigNameCodec::Unescape(c.escaped), c.name) << c.escaped;
    }
}

// Every character of windows-1250 survives a save and a load; the high ones take three escapes.
TEST_F(ConfigNameCodecTest, EveryCodePageCharacterRoundTrips) {
    int checked = 0;
    for (int byte = 0x01; byte <= 0xFF; ++byte) {
        const std::string name = CCodePage::FromAnsi(std::string(1, static_cast<char>(byte)));
        if (name == CCodePage::kUndecodableUtf8) continue;  // byte undefined in the code page
        const std::string escaped = CConfigNameCodec::Escape(name);
        if (byte >= 0x80) {
            EXPECT_EQ(escaped.size(), 9u) << byte;
            EXPECT_TRUE(IsEscapeText(escaped)) << escaped;
        } else if (byte == '=') {
            EXPECT_EQ(escaped, "=3D");
        } else {
            EXPECT_EQ(escaped, name) << byte;
        }
        EXPECT_EQ(CConfigNameCodec::Unescape(escaped), name) << byte;
        ++checked;
    }
    EXPECT_EQ(checked, 250);
}

TEST_F(ConfigNameCodecTest, ByteLevelRoundTripForAnyBytes) {
    for (int byte = 0; byte <= 0xFF; ++byte) {
        const std::string bytes(1, static_cast<char>(byte));
        EXPECT_EQ(CConfigNameCodec::UnescapeBytes(CConfigNameCodec::EscapeBytes(bytes)), bytes) << byte;
    }
    uint32_t state = 12345;
    for (int round = 0; round < 200; ++round) {
        std::string bytes;
        for (int i = 0; i < round % 40; ++i) {
            state = state * 1664525u + 1013904223u;
            bytes += static_cast<char>(state >> 24);
        }
        EXPECT_EQ(CConfigNameCodec::UnescapeBytes(CConfigNameCodec::EscapeBytes(bytes)), bytes);
    }
}

TEST_F(ConfigNameCodecTest, UnescapeRulesAndTruncatedInput) {
    struct Case {
        const char* escaped;
        std::string bytes;
    };
    const Case cases[] = {
        // plain escapes up to 126
        {"=41=7E", "A~"},
        {"=4a", "@"},  // lower-case digits count as 0
        {"=zz.", std::string("\0.", 2)},
        // other x above 126: "=" dropped, the two characters copied
        {"=7F", "7F"},
        {"=80AB", "80AB"},
        {"=BF=41", "BFA"},
        {"=FE=", "FE"},  // the trailing "=" then stops
        {"=FF", "FF"},
        {"=8=41", "8=41"},  // the copied characters are not scanned again
        // sequences: only the last two escapes count
        {"=C4=8D", "\x0D"},  // two bytes: y is the lead byte
        {"=E0=A0=80", std::string("\0", 1)},
        {"=EFxBFy88", "\xC8"},  // the "=" places inside a sequence are not checked
        {"=F0=9F=98=80z", std::string("\0z", 2)},
        {"=F8=00=00=81=82", "\x42"},
        {"=FC=00=00=00=00=41", "\xC1"},
        // truncated input: the unescaping stops
        {"ab=", "ab"},
        {"ab=4", "ab"},
        {"x=C3=A", "x"},     // two-byte sequence needs 6 characters
        {"x=EF=BF=8", "x"},  // 9
        {"x=EF=BF", "x"},
        {"x=F0=9F=98=8", "x"},        // 12
        {"x=F8=00=00=81=8", "x"},     // 15
        {"x=FC=00=00=00=00=4", "x"},  // 18
        {"=41=EF=BF=88=EF", "A\xC8"},
    };
    for (const Case& c : cases) EXPECT_EQ(CConfigNameCodec::UnescapeBytes(c.escaped), c.bytes) << c.escaped;
}

TEST_F(ConfigNameCodecTest, TextsThatDoNotRoundTrip) {
    // A hand-edited document may hold the name unescaped; the characters pass through the code page.
    EXPECT_EQ(CConfigNameCodec::Unescape("\xC4\x8C"
                                         "a=3D"),
              "\xC4\x8C"
              "a=");
    // A character outside the code page is stored as "?".
    EXPECT_EQ(CConfigNameCodec::Escape("a\xE4\xB8\xAD"), "a?");
    EXPECT_EQ(CConfigNameCodec::Unescape("a?"), "a?");
}

}  // namespace
