#pragma once
// CNumericEdit: the numeric edit field of the dialogs: NumericBehavior on an edit control of the
// headless dialog framework. It is the control's behaviour (TAVUi::CControlBehavior), so everything
// that reaches the control goes through it: text set by the program or as a whole (SetWindowText, the
// script verb "set": the validity rule), typed characters (OnChar, the script verb "type", at the
// control's caret and selection), and the editing commands a dialog or a host forwards (OnCut, OnCopy,
// OnClear, OnPaste, OnTextEdited after the host's own Backspace/Delete handling).
//
// Attaching, in a dialog's OnInitDialog:
//     m_edQ = CNumericEdit::Attach(*this, IDC_EDIT_Q, 8, 4);     // 8 whole digits, 4 decimals
//     m_edP = CNumericEdit::Attach(*this, IDC_EDIT_P, 4, 4);     // negatives allowed
//     m_edQ->AllowNegative(false);
//     m_edQ->SetValue(150.0);            ...  double q = m_edQ->GetValue();
// The control owns its behaviour; the pointer Attach returns stays valid as long as the dialog's
// controls (until the dialog is created again or destroyed). Attaching again replaces the behaviour.
// A desktop host binds a real edit widget to the same CControl state (text, selStart/selEnd,
// readOnly) and forwards key presses and clipboard commands to the behaviour.
//
// Positions: the control's selStart/selEnd are byte offsets into its UTF-8 text; a numeric field's
// text is ASCII, so they are character positions too.
//
// Clipboard: copying and cutting place the text on the host's clipboard (HostUi::SetClipboardText);
// pasting reads the host's clipboard (HostUi::GetClipboardText) and, where the host cannot read it, takes
// the text last copied or cut by a numeric edit of this module.
#include <memory>
#include <string>

#include "module/ui/NumericBehavior.h"
#include "platform/ui/Control.h"

namespace TAVUi {
class CAdUiBaseDialog;
}

class CNumericEdit : public TAVUi::CControlBehavior, public IBehaviorEdit, public NumericBehavior {
public:
    // A negative `maxWholeDigits` forbids negative numbers (see NumericBehavior).
    CNumericEdit(int maxWholeDigits, int maxDecimalPlaces);
    ~CNumericEdit() override;

    // Attaches a new numeric edit to the control `controlId` of `dialog` and makes the control's text
    // valid. Null when the dialog has no such control.
    static CNumericEdit* Attach(TAVUi::CAdUiBaseDialog& dialog, int controlId, int maxWholeDigits,
                                int maxDecimalPlaces);
    // The same on a control (tests, hosts); the control takes ownership.
    static CNumericEdit* Attach(TAVUi::CControl& control, int maxWholeDigits, int maxDecimalPlaces);
    // The numeric edit attached to a control, or null.
    static CNumericEdit* Of(const TAVUi::CControl& control);

    TAVUi::CControl* Control() const { return m_control; }

    // CControlBehavior: the program or a person sets the whole text; a person types one character.
    void OnSetText(TAVUi::CControl& control, const std::string& text) override;
    bool OnChar(TAVUi::CControl& control, char ch) override;
    // Editing keys: ctrl+c / ctrl+insert copy, ctrl+x / shift+delete cut, ctrl+v / shift+insert paste,
    // delete and backspace the edit's own handling followed by the validity rule; a deletion that breaks
    // the field's limits (RemovalKeepsLimits) is refused and the text stays as it was.
    bool OnKey(TAVUi::CControl& control, const std::string& key) override;
    using NumericBehavior::OnChar;

    // Copy: the selection to the clipboard (nothing without a selection).
    void OnCopy();
    // Paste of a given text (a host's own clipboard): as OnPaste.
    void PasteText(const std::string& text);

    // IBehaviorEdit over the control's state.
    std::string GetEditText() const override;
    void SetEditText(const std::string& text) override;
    void GetEditSel(int& start, int& end) const override;
    void SetEditSel(int start, int end) override;
    void ReplaceEditSel(const std::string& text) override;
    bool IsEditReadOnly() const override;
    std::string GetClipboardText() const override;
    void SetClipboardText(const std::string& text) override;

private:
    void Bind(TAVUi::CControl& control);

    TAVUi::CControl* m_control = nullptr;  // the owning control
    const std::string* m_pasteOverride = nullptr;
};
