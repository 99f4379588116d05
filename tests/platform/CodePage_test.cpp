#include "platform/gis/CodePage.h"

#include <gtest/gtest.h>

#include <string>

using TAVGis::Utility::CCodePage;

namespace {

class CodePageTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(CCodePage::SetAnsiCodePage(CCodePage::kDefaultAnsiCodePage)); }
    void TearDown() override { CCodePage::SetAnsiCodePage(CCodePage::kDefaultAnsiCodePage); }
};

// Bytes that windows-1250 leaves undefined.
bool IsUndefinedIn1250(int byte) {
    return byte == 0x81 || byte == 0x83 || byte == 0x88 || byte == 0x90 || byte == 0x98;
}

TEST_F(CodePageTest, KnownCharactersMapBothWays) {
    struct Case {
        std::string utf8;
        std::string ansi;
    };
    const Case cases[] = {
        {"abc =<>&", "abc =<>&"},
        {std::string("a\0b", 3), std::string("a\0b", 3)},  // an embedded NUL is kept
        {"\xC4\x8C", "\xC8"},                              // C with caron
        {"\xC5\xA1", "\x9A"},                              // s with caron
        {"\xC5\xBE", "\x9E"},                              // z with caron
        {"\xE2\x82\xAC", "\x80"},                          // euro sign
        {"\xC4\x91\xC4\x87", "\xF0\xE6"},                  // d with stroke, c with acute
        {"", ""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(CCodePage::ToAnsi(c.utf8), c.ansi) << c.utf8;
        EXPECT_EQ(CCodePage::FromAnsi(c.ansi), c.utf8) << c.utf8;
    }
}

TEST_F(CodePageTest, EveryDefinedByteRoundTrips) {
    int defined = 0;
    for (int byte = 0x01; byte <= 0xFF; ++byte) {
        const std::string ansi(1, static_cast<char>(byte));
        const std::string utf8 = CCodePage::FromAnsi(ansi);
        if (IsUndefinedIn1250(byte)) {
            EXPECT_EQ(utf8, CCodePage::kUndecodableUtf8) << byte;
            continue;
        }
        ++defined;
        EXPECT_EQ(CCodePage::ToAnsi(utf8), ansi) << byte;
    }
    EXPECT_EQ(defined, 250);
}

TEST_F(CodePageTest, UnmappableAndMalformedInputBecomesQuestionMarks) {
    struct Case {
        std::string utf8;
        std::string ansi;
    };
    const Case cases[] = {
        {"a\xE4\xB8\xAD"
         "b",
         "a?b"},                    // CJK character, not in the code page
        {"\xF0\x9F\x98\x80", "?"},  // emoji, four bytes, one character
        {"x\xC3", "x?"},            // truncated sequence at the end
        {"\xFF\xFE", "??"},         // bytes never valid in UTF-8
        {"\xC0\xAF", "??"},         // overlong encoding
        {"\xED\xA0\x80", "???"},    // encoded surrogate
        {"\xE2\x82"
         "A",
         "?"
         "?"
         "A"},  // sequence cut by an ASCII byte
        {"\xC4\x8C\xE4\xB8\xAD\xC5\xA1", "\xC8?\x9A"},
    };
    for (const Case& c : cases) EXPECT_EQ(CCodePage::ToAnsi(c.utf8), c.ansi);
}

TEST_F(CodePageTest, SettingAnotherCodePageChangesTheBytes) {
    ASSERT_TRUE(CCodePage::SetAnsiCodePage("ISO-8859-2"));
    EXPECT_EQ(CCodePage::GetAnsiCodePage(), "ISO-8859-2");
    EXPECT_EQ(CCodePage::ToAnsi("\xC5\xA1"), "\xB9");  // s with caron
    EXPECT_EQ(CCodePage::FromAnsi("\xB9"), "\xC5\xA1");
    ASSERT_TRUE(CCodePage::SetAnsiCodePage("WINDOWS-1252"));
    EXPECT_EQ(CCodePage::ToAnsi("\xC5\xA1"), "\x9A");
    EXPECT_EQ(CCodePage::ToAnsi("\xC4\x8C"), "?");  // C with caron is not in windows-1252
}

TEST_F(CodePageTest, UnknownCodePageIsRefusedAndTheOldOneKept) {
    EXPECT_FALSE(CCodePage::SetAnsiCodePage("NO-SUCH-CODE-PAGE"));
    EXPECT_FALSE(CCodePage::SetAnsiCodePage(""));
    EXPECT_EQ(CCodePage::GetAnsiCodePage(), "WINDOWS-1250");
    EXPECT_EQ(CCodePage::ToAnsi("\xC4\x8C"), "\xC8");
}

TEST_F(CodePageTest, LongTextConvertsCompletely) {
    std::string utf8;
    std::string ansi;
    for (int i = 0; i < 10000; ++i) {
        utf8 += "\xC4\x8Cx\xE2\x82\xAC";
        ansi += "\xC8x\x80";
    }
    EXPECT_EQ(CCodePage::ToAnsi(utf8), ansi);
    EXPECT_EQ(CCodePage::FromAnsi(ansi), utf8);
}

}  // namespace
