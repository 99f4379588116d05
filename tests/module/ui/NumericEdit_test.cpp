#include "module/ui/NumericEdit.h"

#include <gtest/gtest.h>

#include <string>

#include "platform/host/HostUi.h"
#include "support/TestSupport.h"
#include "tests/module/support/TestDialog.h"

namespace {

TAVUi::ControlTemplate EditTemplate() {
    TAVUi::ControlTemplate t;
    t.id = 100;
    t.kind = TAVUi::ControlKind::Edit;
    t.name = "IDC_EDIT";
    return t;
}

// What a person does through the control: typing as the script verb "type" does (the behaviour
// first, the plain edit's insertion for what it leaves alone).
void Type(TAVUi::CControl& c, const std::string& chars) {
    for (char ch : chars) {
        if (c.behavior && c.behavior->OnChar(c, ch)) continue;
        if (c.readOnly) continue;
        const int a = std::min(c.selStart, c.selEnd);
        const int b = std::max(c.selStart, c.selEnd);
        c.text.replace(static_cast<std::size_t>(a), static_cast<std::size_t>(b - a), 1, ch);
        c.selStart = c.selEnd = a + 1;
    }
}

TEST(NumericEditTest, TypingSequencesWithCaretAndSelection) {
    struct Case {
        const char* what;
        int whole;
        int decimals;
        const char* initial;
        int selStart;
        int selEnd;
        const char* typed;
        const char* text;
        int caret;
    };
    const Case cases[] = {
        {"plain number", 8, 4, "", 0, 0, "12.345", "12.345", 6},
        {"decimals full at the end are ignored", 8, 2, "", 0, 0, "-12.345", "-12.34", 6},
        {"selection of whole digits replaced", 8, 4, "123.45", 0, 3, "9", "9.45", 1},
        {"sign toggled twice", 8, 4, "12.5", 2, 2, "--", "12.5", 2},
        {"letters and other bytes ignored", 8, 4, "1", 1, 1, "a,\xC3\xA9 2", "12", 2},
        {"selection reversed", 8, 4, "123", 3, 1, "9", "19", 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TAVUi::CControl control(EditTemplate());
        control.text = c.initial;
        CNumericEdit* edit = CNumericEdit::Attach(control, c.whole, c.decimals);
        ASSERT_NE(edit, nullptr);
        control.selStart = c.selStart;
        control.selEnd = c.selEnd;
        Type(control, c.typed);
        EXPECT_EQ(control.text, c.text);
        EXPECT_EQ(control.selStart, c.caret);
        EXPECT_EQ(control.selEnd, c.caret);
    }
}

TEST(NumericEditTest, TextSetAsAWholeFollowsTheValidityRule) {
    struct Case {
        int whole;
        int decimals;
        const char* set;
        const char* text;
    };
    const Case cases[] = {
        {2, 2, "345", "34"}, {8, 4, "12-", "-12"}, {8, 4, "  7,5 ", "75"}, {-8, 4, "-2.5", "2.5"}};
    for (const Case& c : cases) {
        TAVUi::CControl control(EditTemplate());
        CNumericEdit::Attach(control, c.whole, c.decimals);
        control.selStart = control.selEnd = 40;
        control.SetWindowText(c.set);
        EXPECT_EQ(control.text, c.text) << c.set;
        EXPECT_LE(control.selEnd, static_cast<int>(control.text.size())) << c.set;
    }
}

TEST(NumericEditTest, SetAndGetValue) {
    TAVUi::CControl control(EditTemplate());
    CNumericEdit* edit = CNumericEdit::Attach(control, -8, 4);
    edit->SetValue(1.5, true);
    EXPECT_EQ(control.text, "1.5");
    edit->SetValue(1.5, false);
    EXPECT_EQ(control.text, "1.5000");
    edit->SetValue(-2.5);
    EXPECT_EQ(control.text, "2.5");
    edit->SetValue(2.0);
    EXPECT_EQ(control.text, "2");
    control.SetWindowText("12.3456");
    EXPECT_NEAR(edit->GetValue(), 12.3456, 1e-12);
    control.text.clear();
    EXPECT_EQ(edit->GetValue(), 0.0);

    // Changing the settings re-applies the rule to the current text.
    control.SetWindowText("123.4567");
    edit->SetMaxDecimalPlaces(1);
    EXPECT_EQ(control.text, "123.4");
    edit->SetMaxWholeDigits(2);
    EXPECT_EQ(control.text, "12.4");
    edit->SetSeparators(',', ',');  // "." is no decimal point now: dropped, and the whole part is full
    EXPECT_EQ(control.text, "12");
    EXPECT_EQ(edit->GetGroupSeparator(), '.');
}

TEST(NumericEditTest, ReadOnlyFieldIgnoresTyping) {
    TAVUi::CControl control(EditTemplate());
    CNumericEdit::Attach(control, 8, 4);
    control.SetWindowText("5");
    control.readOnly = true;
    control.selStart = control.selEnd = 1;
    Type(control, "23");
    EXPECT_EQ(control.text, "5");
}

class NumericEditClipboardTest : public testsupport::DrawingTest {};

// Delete, Backspace, cut and clear remove characters only when the rest keeps the field's limits; a removal
// after which the validity rule would drop further characters is refused and the text stays as it was.
TEST_F(NumericEditClipboardTest, RemovalsThatBreakTheLimitsAreRefused) {
    struct Case {
        const char* name;
        const char* text;
        int whole, decimals;
        int selStart, selEnd;
        const char* action;  // a key of OnKey, or "cut" / "clear"
        const char* expected;
    };
    const Case cases[] = {
        {"delete on the point: 12 whole digits", "12345678.1234", 8, 4, 8, 8, "delete", "12345678.1234"},
        {"backspace after the point", "12345678.1234", 8, 4, 9, 9, "backspace", "12345678.1234"},
        {"cut of the point", "12345678.1234", 8, 4, 8, 9, "cut", "12345678.1234"},
        {"clear of the point and a decimal", "12345678.1234", 8, 4, 8, 10, "clear", "12345678.1234"},
        {"the point of a short number", "123.45", 8, 4, 3, 3, "delete", "12345"},
        {"exactly full once the point is gone", "1234567.1", 8, 4, 7, 7, "delete", "12345671"},
        {"the point with all decimals", "12345678.1234", 8, 4, 8, 13, "cut", "12345678"},
        {"a whole digit", "12345678.1234", 8, 4, 0, 0, "delete", "2345678.1234"},
        {"a decimal", "12345678.1234", 8, 4, 13, 13, "backspace", "12345678.123"},
        {"the sign", "-5.5", 4, 1, 1, 1, "backspace", "5.5"},
        {"0 whole digits allowed before the point", "0.5", 1, 1, 2, 2, "backspace", "0.5"},
    };
    testsupport::TestDialog dialog;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CNumericEdit* edit = CNumericEdit::Attach(dialog, testsupport::IDC_TEST_NUMBER, c.whole, c.decimals);
        auto& control = dialog.Item(testsupport::IDC_TEST_NUMBER);
        control.SetWindowText(c.text);
        ASSERT_EQ(control.text, c.text);
        control.selStart = c.selStart;
        control.selEnd = c.selEnd;
        ui.clipboard = "before";
        const std::string action = c.action;
        if (action == "cut")
            edit->OnCut();
        else if (action == "clear")
            edit->OnClear();
        else
            EXPECT_TRUE(edit->OnKey(control, action));
        EXPECT_EQ(control.text, c.expected);
        const bool refused = std::string(c.expected) == c.text;
        if (action == "cut") {
            const auto cut = static_cast<std::size_t>(c.selStart);
            EXPECT_EQ(ui.clipboard, refused ? "before" : std::string(c.text).substr(cut, c.selEnd - cut));
        }
        if (refused) {
            EXPECT_EQ(control.selStart, c.selStart);
            EXPECT_EQ(control.selEnd, c.selEnd);
        }
    }
}

TEST_F(NumericEditClipboardTest, CutCopyPasteAndClear) {
    testsupport::TestDialog dialog;
    CNumericEdit* source = CNumericEdit::Attach(dialog, testsupport::IDC_TEST_NUMBER, 8, 4);
    CNumericEdit* target = CNumericEdit::Attach(dialog, testsupport::IDC_TEST_TEXT, 8, 1);
    ASSERT_NE(source, nullptr);
    ASSERT_NE(target, nullptr);
    EXPECT_EQ(CNumericEdit::Attach(dialog, 4242, 8, 4), nullptr);
    EXPECT_EQ(CNumericEdit::Of(dialog.Item(testsupport::IDC_TEST_NUMBER)), source);
    EXPECT_EQ(CNumericEdit::Of(dialog.Item(testsupport::IDC_TEST_CHECK)), nullptr);

    auto& from = dialog.Item(testsupport::IDC_TEST_NUMBER);
    auto& to = dialog.Item(testsupport::IDC_TEST_TEXT);
    from.SetWindowText("123.45");
    from.selStart = 1;
    from.selEnd = 4;
    source->OnCopy();
    EXPECT_EQ(ui.clipboard, "23.");
    EXPECT_EQ(from.text, "123.45");
    source->OnCut();
    EXPECT_EQ(ui.clipboard, "23.");
    EXPECT_EQ(from.text, "145");  // the cut left "145": still valid

    // Paste replaces the selection, then the rule applies (one decimal here).
    to.SetWindowText("9");
    to.selStart = to.selEnd = 1;
    from.SetWindowText("6.789");
    from.selStart = 0;
    from.selEnd = 5;
    source->OnCopy();
    target->OnPaste();
    EXPECT_EQ(to.text, "96.7");

    // A host with its own clipboard text.
    to.selStart = 0;
    to.selEnd = static_cast<int>(to.text.size());
    target->PasteText("1a2.3c");
    EXPECT_EQ(to.text, "12.3");

    // Clear with a selection acts as Delete; without one it does nothing.
    to.selStart = 0;
    to.selEnd = 2;
    target->OnClear();
    EXPECT_EQ(to.text, ".3");
    to.selStart = to.selEnd = 1;
    target->OnClear();
    EXPECT_EQ(to.text, ".3");
}

}  // namespace
