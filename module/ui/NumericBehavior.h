#pragma once
// NumericBehavior: an edit field that only ever holds a decimal number with at most a given number of
// whole digits and decimals, optionally negative.
//
// Characters: the negative sign is "-", the decimal point "." and the grouping separator ","; these
// are the "C" locale's, so the field behaves the same on every machine. SetSeparators changes the
// decimal point and the grouping separator. Digits are never grouped (the grouping separator is only
// kept, and dropped from the text like any other character).
//
// Validity rule (GetValidText), scanning the text from the left:
//   - a negative sign anywhere marks the number negative when negatives are allowed, else it is dropped;
//   - a digit before any decimal point is kept while the whole part has fewer than the maximum whole
//     digits, further whole digits are dropped ("345" with 2 whole digits gives "34");
//   - the first decimal point is kept when decimals are allowed; with 0 decimal places the scan stops
//     there; later decimal points are dropped;
//   - a digit after the decimal point is kept until the maximum decimal places is reached, and the scan
//     stops at the next one (decimals are cut, not rounded);
//   - everything else is dropped; a negative number gets the sign in front.
//
// Typing (OnChar) and the cut, clear and paste commands always leave a valid text; typing starts by
// making the current text valid should it not be. The operations that change the text to an
// invalid one by the plain typing rules are handled as documented at OnChar.
#include <string>

#include "module/ui/Behavior.h"

class NumericBehavior : public Behavior {
public:
    // Flag: the number cannot be negative.
    static constexpr int kFlagCannotBeNegative = 0x0001;

    static constexpr char kNegativeSign = '-';
    static constexpr char kDefaultDecimalPoint = '.';
    static constexpr char kDefaultGroupSeparator = ',';

    // A negative `maxWholeDigits` sets the cannot-be-negative flag; its absolute value is the maximum.
    // A negative `maxDecimalPlaces` counts as 0.
    NumericBehavior(int maxWholeDigits, int maxDecimalPlaces);

    // The absolute value becomes the maximum; a negative value sets the cannot-be-negative flag, a
    // positive one clears it.
    void SetMaxWholeDigits(int maxWholeDigits);
    int GetMaxWholeDigits() const { return m_maxWholeDigits; }
    // A negative value counts as 0.
    void SetMaxDecimalPlaces(int maxDecimalPlaces);
    int GetMaxDecimalPlaces() const { return m_maxDecimalPlaces; }
    void AllowNegative(bool allow = true);
    bool IsNegativeAllowed() const { return (GetFlags() & kFlagCannotBeNegative) == 0; }

    // Sets the decimal point and the grouping separator; when both are equal the grouping separator
    // becomes "." if the decimal point is ",", else ",". Returns false, changing nothing, unless the
    // decimal point is a printable ASCII character other than a digit, a space and the negative sign
    // (the grouping separator is never used in the text and may be any character).
    bool SetSeparators(char decimalPoint, char groupSeparator);
    char GetDecimalPoint() const { return m_decimalPoint; }
    char GetGroupSeparator() const { return m_groupSeparator; }
    char GetNegativeSign() const { return kNegativeSign; }

    // Formats `value` with six decimals ("%lf"), with `trim` removes trailing zeros and then a trailing
    // decimal point, and sets the text, which the validity rule then normalises. Zero is written
    // without a sign; a value that is not finite gives an empty text.
    void SetValue(double value, bool trim = true);
    // The current text made valid, parsed as a decimal number; an empty text (or one without digits)
    // gives 0.0. No edit field attached: 0.0.
    double GetValue() const;

    std::string GetValidText(const std::string& text) const override;

    // Typing, on a field that is not read-only (a read-only field ignores every printable character):
    //   - negative sign (when allowed): with the selection starting inside the text it toggles the sign
    //     in front and moves the selection by one, so the caret stays at the same digit; at the very
    //     front it is inserted (replacing a selection), or stepped over when the text starts with it;
    //   - decimal point (when decimals are allowed): inserted when the text has none or the existing
    //     one lies inside the selection (never in front of a leading sign; surplus decimals behind it
    //     are cut by the validity rule), otherwise the caret moves to just after the existing point;
    //   - digit after the decimal point: inserted while the decimals are fewer than the maximum; when
    //     they are full it overwrites the character after the caret (or the selection when it reaches
    //     the end of the text); a caret beyond the last allowed decimal ignores it;
    //   - digit before the decimal point: ignored with the caret right after the maximum whole digits
    //     (counting a leading negative sign) or in front of the sign; overwrites the character after
    //     the caret when the whole part is full; otherwise inserted;
    //   - a selection is replaced only when the result is valid, else the character is ignored;
    //   - any other printable character is ignored; control characters return false (default
    //     handling by the edit field).
    bool OnChar(char32_t ch) override;

private:
    void OnTypedSign(const std::string& text, int start, int end);
    void OnTypedDecimalPoint(const std::string& text, int start, int end);
    void OnTypedDigit(const std::string& text, int start, int end, char digit);
    // Replaces [start, end) by `insert` when the result is valid. Returns whether it did.
    bool ReplaceIfValid(const std::string& text, int start, int end, const std::string& insert);

    int m_maxWholeDigits;
    int m_maxDecimalPlaces;
    char m_decimalPoint = kDefaultDecimalPoint;
    char m_groupSeparator = kDefaultGroupSeparator;
};
