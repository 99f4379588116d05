#include "module/ui/NumericBehavior.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

namespace {

// An edit field with the usual edit semantics, standing in for the dialog framework's control.
class FakeEdit : public IBehaviorEdit {
public:
    std::string text;
    int selStart = 0;
    int selEnd = 0;
    bool readOnly = false;
    std::string clipboard;

    std::string GetEditText() const override { return text; }
    void SetEditText(const std::string& value) override {
        text = value;
        selStart = selEnd = 0;
    }
    void GetEditSel(int& start, int& end) const override {
        start = selStart;
        end = selEnd;
    }
    void SetEditSel(int start, int end) override {
        selStart = start;
        selEnd = end;
    }
    void ReplaceEditSel(const std::string& value) override {
        text =
            text.substr(0, static_cast<size_t>(selStart)) + value + text.substr(static_cast<size_t>(selEnd));
        selStart = selEnd = selStart + static_cast<int>(value.size());
    }
    bool IsEditReadOnly() const override { return readOnly; }
    std::string GetClipboardText() const override { return clipboard; }
    void SetClipboardText(const std::string& value) override { clipboard = value; }
};

struct Field {
    FakeEdit edit;
    NumericBehavior behavior;
    Field(int wholeDigits, int decimals) : behavior(wholeDigits, decimals) { behavior.AttachEdit(&edit); }
    void Put(const std::string& text, int start, int end) {
        edit.text = text;
        edit.selStart = start;
        edit.selEnd = end;
    }
    void Type(const std::string& keys) {
        for (const char key : keys) EXPECT_TRUE(behavior.OnChar(static_cast<unsigned char>(key)));
    }
};

constexpr double kTolerance = 1e-12;

TEST(NumericBehaviorTest, ValidityRule) {
    struct Case {
        int whole;
        int decimals;
        const char* text;
        const char* valid;
    };
    const Case cases[] = {
        {8, 4, "1a2.3c", "12.3"},
        {8, 4, "--1-2", "-12"},
        {8, 4, "1.2.3", "1.23"},
        {8, 4, "1,234.5", "1234.5"},
        {2, 2, "345", "34"},
        {2, 2, "3a4b5.6", "34.6"},
        {8, 2, "12.345", "12.34"},
        {8, 2, "12.3-45", "-12.34"},
        {8, 2, "12.34-5", "-12.34"},  // the scan stops at the third decimal digit, after the sign
        {8, 1, "2.68", "2.6"},
        {8, 0, "3.75", "3"},
        {8, 0, "3.-75", "3"},
        {-8, 2, "-2.5", "2.5"},
        {3, 2, "0012", "001"},
        {0, 2, "12.5", ".5"},
        {8, 2, "", ""},
        {8, 2, "-", "-"},
        {8, 2, ".", "."},
        {8, 2, "abc", ""},
        {8, 2, "\xEF\xBC\x91\xEF\xBC\x92", ""},  // full-width digits are not digits
    };
    for (const Case& c : cases) {
        const NumericBehavior behavior(c.whole, c.decimals);
        EXPECT_EQ(behavior.GetValidText(c.text), c.valid) << c.text;
        EXPECT_EQ(behavior.GetValidText(c.valid), c.valid) << c.valid;  // a valid text stays as it is
    }
}

TEST(NumericBehaviorTest, SetAndGetValue) {
    struct Case {
        int whole;
        int decimals;
        double value;
        bool trim;
        const char* text;
        double read;
    };
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const Case cases[] = {
        {8, 4, 1.5, true, "1.5", 1.5},
        {8, 4, 1.5, false, "1.5000", 1.5},
        {8, 4, 100.0, true, "100", 100.0},
        {8, 4, 0.0, true, "0", 0.0},
        {8, 4, -0.0, false, "0.0000", 0.0},
        {8, 4, -12.25, true, "-12.25", -12.25},
        {-8, 4, -2.5, true, "2.5", 2.5},
        {8, 0, 3.75, true, "3", 3.0},
        {8, 1, 2.68, true, "2.6", 2.6},
        {2, 2, 345.0, true, "34", 34.0},
        {8, 4, 1e20, true, "10000000", 1e7},
        {8, 4, 0.00004, true, "0.0000", 0.0},  // trimmed before the decimals are cut
        {8, 4, nan, true, "", 0.0},
        {8, 4, -std::numeric_limits<double>::infinity(), true, "", 0.0},
    };
    for (const Case& c : cases) {
        Field field(c.whole, c.decimals);
        field.behavior.SetValue(c.value, c.trim);
        EXPECT_EQ(field.edit.text, c.text) << c.value;
        EXPECT_NEAR(field.behavior.GetValue(), c.read, kTolerance) << c.value;
    }
}

TEST(NumericBehaviorTest, GetValueOfIncompleteAndUntidyTexts) {
    struct Case {
        const char* text;
        double value;
    };
    const Case cases[] = {
        {"", 0.0},   {"-", 0.0},    {".", 0.0},         {"-.", 0.0},   {"-.5", -0.5},
        {"5.", 5.0}, {"1x2", 12.0}, {"12.3456", 12.34}, {"--3", -3.0}, {"99999999", 99999999.0}};
    for (const Case& c : cases) {
        Field field(8, 2);
        field.edit.text = c.text;
        EXPECT_NEAR(field.behavior.GetValue(), c.value, kTolerance) << c.text;
    }
    Field field(8, 2);
    field.edit.text = "-0";
    EXPECT_FALSE(std::signbit(field.behavior.GetValue()));
    Field huge(400, 2);
    huge.edit.text = "-" + std::string(400, '9');
    EXPECT_EQ(huge.behavior.GetValue(), -std::numeric_limits<double>::max());
    Field tiny(2, 400);
    tiny.edit.text = "0." + std::string(399, '0') + "1";
    EXPECT_EQ(tiny.behavior.GetValue(), 0.0);
}

TEST(NumericBehaviorTest, SettersReapplyTheRule) {
    Field field(3, 3);
    field.edit.text = "-123.456";
    field.behavior.SetMaxDecimalPlaces(1);
    EXPECT_EQ(field.edit.text, "-123.4");
    field.behavior.SetMaxWholeDigits(-2);
    EXPECT_EQ(field.edit.text, "12.4");
    EXPECT_FALSE(field.behavior.IsNegativeAllowed());
    field.behavior.SetMaxWholeDigits(5);
    EXPECT_TRUE(field.behavior.IsNegativeAllowed());
    field.edit.text = "-12.4";
    field.behavior.AllowNegative(false);
    EXPECT_EQ(field.edit.text, "12.4");
    field.behavior.SetMaxDecimalPlaces(0);
    EXPECT_EQ(field.edit.text, "12");
    field.behavior.SetMaxDecimalPlaces(-3);
    EXPECT_EQ(field.behavior.GetMaxDecimalPlaces(), 0);
}

TEST(NumericBehaviorTest, Separators) {
    Field field(8, 2);
    EXPECT_TRUE(field.behavior.SetSeparators(',', ','));
    EXPECT_EQ(field.behavior.GetDecimalPoint(), ',');
    EXPECT_EQ(field.behavior.GetGroupSeparator(), '.');
    field.behavior.SetValue(-1.5);
    EXPECT_EQ(field.edit.text, "-1,5");
    EXPECT_NEAR(field.behavior.GetValue(), -1.5, kTolerance);
    EXPECT_EQ(field.behavior.GetValidText("1.234,56"), "1234,56");

    EXPECT_TRUE(field.behavior.SetSeparators('.', '.'));
    EXPECT_EQ(field.behavior.GetGroupSeparator(), ',');
    EXPECT_EQ(field.edit.text, "-15");  // the old decimal point is an ordinary character now

    for (const char bad : {'5', '-', ' ', '\0', '\x7F', '\xC4'}) {
        EXPECT_FALSE(field.behavior.SetSeparators(bad, ',')) << static_cast<int>(bad);
        EXPECT_EQ(field.behavior.GetDecimalPoint(), '.');
    }
}

struct TypingCase {
    int whole;
    int decimals;
    const char* text;
    int selStart;
    int selEnd;
    const char* keys;
    const char* expectedText;
    int expectedStart;
    int expectedEnd;
};

class NumericTypingTest : public ::testing::TestWithParam<TypingCase> {};

TEST_P(NumericTypingTest, Keys) {
    const TypingCase& c = GetParam();
    Field field(c.whole, c.decimals);
    field.Put(c.text, c.selStart, c.selEnd);
    field.Type(c.keys);
    EXPECT_EQ(field.edit.text, c.expectedText);
    EXPECT_EQ(field.edit.selStart, c.expectedStart);
    EXPECT_EQ(field.edit.selEnd, c.expectedEnd);
}

INSTANTIATE_TEST_SUITE_P(
    Sequences, NumericTypingTest,
    ::testing::Values(
        // whole digits
        TypingCase{8, 4, "12345678", 8, 8, "9", "12345678", 8, 8},  // full, caret at the end: nothing
        TypingCase{8, 4, "12345678", 3, 3, "9", "12395678", 4, 4},  // full, caret inside: overwrite
        TypingCase{8, 4, "12345678.5", 8, 8, "9", "12345678.5", 8, 8},
        TypingCase{4, 2, "12", 1, 1, "9", "192", 2, 2},
        TypingCase{4, 2, "-1234", 5, 5, "5", "-1234", 5, 5},  // right after the whole digits, sign counted
        TypingCase{4, 2, "-1234", 1, 1, "5", "-5234", 2, 2},
        TypingCase{4, 2, "-12", 0, 0, "5", "-12", 0, 0},  // in front of the sign
        TypingCase{3, 2, "", 0, 0, "12345", "123", 3, 3},
        // decimal point
        TypingCase{8, 4, "12.5", 0, 0, ".", "12.5", 3, 3},  // moves after the existing point
        TypingCase{8, 4, "123", 3, 3, ".", "123.", 4, 4},
        TypingCase{4, 2, "1234", 1, 1, ".", "1.23", 2, 2},  // surplus decimals are cut
        TypingCase{8, 4, "12.5", 1, 3, ".", "1.5", 2, 2},   // the point inside the selection
        TypingCase{8, 4, "-12", 0, 0, ".", "-.12", 2, 2}, TypingCase{8, 0, "12", 2, 2, ".", "12", 2, 2},
        // decimals
        TypingCase{8, 2, "1.2", 3, 3, "5", "1.25", 4, 4},
        TypingCase{8, 2, "1.25", 4, 4, "7", "1.25", 4, 4},  // beyond the last allowed decimal
        TypingCase{8, 2, "1.25", 2, 2, "7", "1.75", 3, 3},  // full: overwrite
        TypingCase{8, 2, "1.25", 2, 2, "789", "1.78", 4, 4},
        TypingCase{8, 2, "1.25", 2, 4, "9", "1.9", 3, 3},  // selection reaching the end
        TypingCase{3, 2, "", 0, 0, "1.2345", "1.23", 4, 4},
        // negative sign
        TypingCase{8, 4, "", 0, 0, "-", "-", 1, 1}, TypingCase{8, 4, "12", 0, 0, "-", "-12", 1, 1},
        TypingCase{8, 4, "-12", 0, 0, "-", "-12", 1, 1},  // steps over
        TypingCase{8, 4, "12.5", 2, 2, "-", "-12.5", 3, 3},
        TypingCase{8, 4, "-12.5", 3, 3, "-", "12.5", 2, 2},
        TypingCase{8, 4, "12.5", 1, 3, "-", "-12.5", 2, 4},
        TypingCase{8, 4, "12.5", 4, 4, "--", "12.5", 4, 4},
        TypingCase{-8, 4, "12", 1, 1, "-", "12", 1, 1},  // cannot be negative
        TypingCase{3, 2, "", 0, 0, "-1.25", "-1.25", 5, 5},
        // selections and other characters
        TypingCase{4, 2, "1234", 0, 4, "5", "5", 1, 1},
        TypingCase{3, 2, "12.34", 2, 3, "5", "12.34", 2, 3},  // would make 5 whole digits: ignored
        TypingCase{8, 2, "12", 2, 2, "a ,+e", "12", 2, 2}));

TEST(NumericBehaviorTest, ControlAndNonAsciiCharacters) {
    Field field(8, 2);
    field.Put("12", 2, 2);
    EXPECT_FALSE(field.behavior.OnChar(U'\b'));  // default handling by the edit
    EXPECT_FALSE(field.behavior.OnChar(0x7F));
    EXPECT_TRUE(field.behavior.OnChar(U'\u00E9'));
    EXPECT_TRUE(field.behavior.OnChar(U'\uFF11'));  // full-width one
    EXPECT_EQ(field.edit.text, "12");
}

TEST(NumericBehaviorTest, ReadOnlyFieldIgnoresTypingPasteAndClear) {
    Field field(8, 2);
    field.Put("12.5", 0, 2);
    field.edit.readOnly = true;
    field.edit.clipboard = "99";
    field.Type("7-.");
    field.behavior.OnPaste();
    field.behavior.OnClear();
    EXPECT_EQ(field.edit.text, "12.5");
    field.behavior.OnCut();  // only copies
    EXPECT_EQ(field.edit.text, "12.5");
    EXPECT_EQ(field.edit.clipboard, "12");
}

TEST(NumericBehaviorTest, CutClearPaste) {
    Field paste(8, 4);
    paste.edit.clipboard = "1a2.3c";
    paste.behavior.OnPaste();
    EXPECT_EQ(paste.edit.text, "12.3");
    EXPECT_EQ(paste.edit.selStart, 4);

    Field into(8, 2);
    into.Put("15", 1, 1);
    into.edit.clipboard = "-2.5";
    into.behavior.OnPaste();
    EXPECT_EQ(into.edit.text, "-12.55");
    EXPECT_EQ(into.edit.selStart, 5);

    Field cut(3, 2);
    cut.Put("12.34", 2, 3);
    cut.behavior.OnCut();  // refused: "1234" has one whole digit too many, a digit would vanish
    EXPECT_EQ(cut.edit.clipboard, "");
    EXPECT_EQ(cut.edit.text, "12.34");
    cut.Put("12.34", 3, 5);
    cut.behavior.OnCut();
    EXPECT_EQ(cut.edit.clipboard, "34");
    EXPECT_EQ(cut.edit.text, "12.");
    cut.Put("12.34", 3, 3);
    cut.behavior.OnCut();  // nothing selected
    EXPECT_EQ(cut.edit.clipboard, "34");
    EXPECT_EQ(cut.edit.text, "12.34");

    Field clear(8, 2);
    clear.Put("12.34", 0, 2);
    clear.behavior.OnClear();
    EXPECT_EQ(clear.edit.text, ".34");
    EXPECT_EQ(clear.edit.selStart, 0);
    clear.behavior.OnClear();
    EXPECT_EQ(clear.edit.text, ".34");
}

TEST(NumericBehaviorTest, DefaultEditingIsNormalised) {
    Field field(3, 2);
    field.Put("12.34", 3, 3);
    // the edit's own Backspace removed the point
    field.edit.text = "1234";
    field.edit.selStart = field.edit.selEnd = 2;
    field.behavior.OnTextEdited();
    EXPECT_EQ(field.edit.text, "123");
    EXPECT_EQ(field.edit.selStart, 2);
    // a text made invalid behind the behaviour's back is made valid before a key is handled
    field.Put("98765", 5, 5);
    field.Type("1");
    EXPECT_EQ(field.edit.text, "987");
}

TEST(NumericBehaviorTest, DetachedBehaviourDoesNothing) {
    NumericBehavior behavior(8, 2);
    behavior.SetValue(1.5);
    EXPECT_EQ(behavior.GetValue(), 0.0);
    EXPECT_TRUE(behavior.OnChar(U'1'));
    behavior.OnPaste();
    behavior.SetMaxDecimalPlaces(1);
}

}  // namespace
