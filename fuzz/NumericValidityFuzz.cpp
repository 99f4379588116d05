// Fuzz target: the validity rule of NumericBehavior, and typing, cut, clear and paste driven by the
// input.
// Properties: no crash; the valid text keeps its form (optional sign in front, at most the maximum
// whole digits, at most one decimal point and only when decimals are allowed, at most the maximum
// decimals) and is a fixed point of the rule; every editing action leaves a valid text and a
// selection inside it.
#include <cstddef>
#include <cstdint>
#include <string>

#include "module/ui/NumericBehavior.h"

namespace {

void Require(bool condition) {
    if (!condition) __builtin_trap();
}

class FuzzEdit : public IBehaviorEdit {
public:
    std::string text;
    int start = 0;
    int end = 0;
    bool readOnly = false;
    std::string clipboard;

    std::string GetEditText() const override { return text; }
    void SetEditText(const std::string& value) override {
        text = value;
        start = end = 0;
    }
    void GetEditSel(int& s, int& e) const override {
        s = start;
        e = end;
    }
    void SetEditSel(int s, int e) override {
        start = s;
        end = e;
    }
    void ReplaceEditSel(const std::string& value) override {
        Require(0 <= start && start <= end && end <= static_cast<int>(text.size()));
        text.replace(static_cast<size_t>(start), static_cast<size_t>(end - start), value);
        start = end = start + static_cast<int>(value.size());
    }
    bool IsEditReadOnly() const override { return readOnly; }
    std::string GetClipboardText() const override { return clipboard; }
    void SetClipboardText(const std::string& value) override { clipboard = value; }
};

void CheckForm(const NumericBehavior& behavior, const std::string& text) {
    const char point = behavior.GetDecimalPoint();
    size_t i = 0;
    if (i < text.size() && text[i] == '-') {
        Require(behavior.IsNegativeAllowed());
        ++i;
    }
    int whole = 0;
    while (i < text.size() && text[i] >= '0' && text[i] <= '9') ++whole, ++i;
    Require(whole <= behavior.GetMaxWholeDigits());
    if (i < text.size()) {
        Require(text[i] == point && behavior.GetMaxDecimalPlaces() > 0);
        ++i;
        int decimals = 0;
        while (i < text.size() && text[i] >= '0' && text[i] <= '9') ++decimals, ++i;
        Require(decimals <= behavior.GetMaxDecimalPlaces());
    }
    Require(i == text.size());
    Require(behavior.GetValidText(text) == text);
}

constexpr char kKeys[] = "0123456789-.,x 5-.\b";

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 4) return 0;
    const int whole = (data[0] & 0x7F) % 12;
    const int decimals = data[1] % 8;
    const bool noNegative = (data[0] & 0x80) != 0;
    const bool comma = (data[2] & 1) != 0;
    const size_t textLength = data[3] % (size - 3);
    const std::string text(reinterpret_cast<const char*>(data) + 4,
                           textLength > size - 4 ? size - 4 : textLength);
    const uint8_t* actions = data + 4 + text.size();
    const size_t actionCount = size - 4 - text.size();

    NumericBehavior behavior(noNegative ? -whole : whole, decimals);
    if (comma) Require(behavior.SetSeparators(',', '.'));
    const std::string valid = behavior.GetValidText(text);
    CheckForm(behavior, valid);
    Require(valid.size() <= text.size());

    FuzzEdit edit;
    edit.text = text;
    behavior.AttachEdit(&edit);
    CheckForm(behavior, edit.text);
    for (size_t i = 0; i < actionCount; ++i) {
        const uint8_t action = actions[i];
        const int length = static_cast<int>(edit.text.size());
        switch (action % 8) {
            case 0:  // select
                edit.start = (action >> 3) % (length + 1);
                edit.end = edit.start + (i + 1 < actionCount ? actions[++i] % (length - edit.start + 1) : 0);
                break;
            case 6:
                edit.clipboard = text.substr(0, action >> 4);
                behavior.OnPaste();
                break;
            case 7:
                if (action & 0x80) {
                    behavior.OnCut();
                } else {
                    behavior.OnClear();
                }
                break;
            default:
                behavior.OnChar(static_cast<unsigned char>(kKeys[(action >> 3) % (sizeof kKeys - 1)]));
                break;
        }
        CheckForm(behavior, edit.text);
        Require(0 <= edit.start && edit.start <= edit.end && edit.end <= static_cast<int>(edit.text.size()));
    }
    behavior.GetValue();
    return 0;
}
