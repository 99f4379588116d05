#include "module/ui/NumericEdit.h"

#include <algorithm>
#include <utility>

#include "platform/host/HostUi.h"
#include "platform/ui/AdUiBaseDialog.h"

namespace {

// The text last copied or cut by a numeric edit of this module: what a paste inserts, since the
// host's clipboard can only be written.
std::string& LastCopiedText() {
    static std::string text;
    return text;
}

}  // namespace

CNumericEdit::CNumericEdit(int maxWholeDigits, int maxDecimalPlaces)
    : NumericBehavior(maxWholeDigits, maxDecimalPlaces) {}

CNumericEdit::~CNumericEdit() = default;

CNumericEdit* CNumericEdit::Attach(TAVUi::CAdUiBaseDialog& dialog, int controlId, int maxWholeDigits,
                                   int maxDecimalPlaces) {
    TAVUi::CControl* control = dialog.GetDlgItem(controlId);
    return control ? Attach(*control, maxWholeDigits, maxDecimalPlaces) : nullptr;
}

CNumericEdit* CNumericEdit::Attach(TAVUi::CControl& control, int maxWholeDigits, int maxDecimalPlaces) {
    auto edit = std::make_shared<CNumericEdit>(maxWholeDigits, maxDecimalPlaces);
    control.behavior = edit;
    edit->Bind(control);
    return edit.get();
}

CNumericEdit* CNumericEdit::Of(const TAVUi::CControl& control) {
    return dynamic_cast<CNumericEdit*>(control.behavior.get());
}

void CNumericEdit::Bind(TAVUi::CControl& control) {
    m_control = &control;
    AttachEdit(this);  // makes the control's text valid
}

void CNumericEdit::OnSetText(TAVUi::CControl& control, const std::string& text) {
    if (&control != m_control) Bind(control);
    SetValidText(text);
    const int size = static_cast<int>(control.text.size());
    control.selStart = std::clamp(control.selStart, 0, size);
    control.selEnd = std::clamp(control.selEnd, 0, size);
}

bool CNumericEdit::OnChar(TAVUi::CControl& control, char ch) {
    if (&control != m_control) Bind(control);
    return NumericBehavior::OnChar(static_cast<char32_t>(static_cast<unsigned char>(ch)));
}

void CNumericEdit::OnCopy() {
    if (m_control == nullptr) return;
    const std::string text = GetEditText();
    int start = 0;
    int end = 0;
    GetSelection(text, start, end);
    if (start == end) return;
    SetClipboardText(text.substr(static_cast<std::size_t>(start), static_cast<std::size_t>(end - start)));
}

void CNumericEdit::PasteText(const std::string& text) {
    struct Restore {
        const std::string*& slot;
        ~Restore() { slot = nullptr; }
    } restore{m_pasteOverride};
    m_pasteOverride = &text;
    OnPaste();
}

std::string CNumericEdit::GetEditText() const {
    return m_control ? m_control->text : std::string();
}

void CNumericEdit::SetEditText(const std::string& text) {
    if (m_control) m_control->text = text;
}

void CNumericEdit::GetEditSel(int& start, int& end) const {
    start = m_control ? m_control->selStart : 0;
    end = m_control ? m_control->selEnd : 0;
}

void CNumericEdit::SetEditSel(int start, int end) {
    if (m_control == nullptr) return;
    m_control->selStart = start;
    m_control->selEnd = end;
}

void CNumericEdit::ReplaceEditSel(const std::string& text) {
    if (m_control == nullptr) return;
    std::string& current = m_control->text;
    const int size = static_cast<int>(current.size());
    int start = std::clamp(std::min(m_control->selStart, m_control->selEnd), 0, size);
    int end = std::clamp(std::max(m_control->selStart, m_control->selEnd), start, size);
    current.replace(static_cast<std::size_t>(start), static_cast<std::size_t>(end - start), text);
    m_control->selStart = m_control->selEnd = start + static_cast<int>(text.size());
}

bool CNumericEdit::IsEditReadOnly() const {
    return m_control == nullptr || m_control->readOnly;
}

std::string CNumericEdit::GetClipboardText() const {
    if (m_pasteOverride) return *m_pasteOverride;
    if (auto host = TAVHost::GetHostUi().GetClipboardText()) return *host;
    return LastCopiedText();
}

bool CNumericEdit::OnKey(TAVUi::CControl& control, const std::string& key) {
    if (&control != m_control) return false;
    if (key == "ctrl+c" || key == "ctrl+insert") {
        OnCopy();
    } else if (key == "ctrl+x" || key == "shift+delete") {
        OnCut();
    } else if (key == "ctrl+v" || key == "shift+insert") {
        OnPaste();
    } else if (key == "delete" || key == "backspace") {
        std::string& text = control.text;
        const int size = static_cast<int>(text.size());
        int start = std::clamp(std::min(control.selStart, control.selEnd), 0, size);
        int end = std::clamp(std::max(control.selStart, control.selEnd), start, size);
        if (start == end) {
            if (key == "delete" && end < size) ++end;
            if (key == "backspace" && start > 0) --start;
        }
        if (control.readOnly || start == end || !RemovalKeepsLimits(text, start, end)) return true;
        text.erase(static_cast<std::size_t>(start), static_cast<std::size_t>(end - start));
        control.selStart = control.selEnd = start;
        OnTextEdited();
    } else {
        return false;
    }
    return true;
}

void CNumericEdit::SetClipboardText(const std::string& text) {
    LastCopiedText() = text;
    TAVHost::GetHostUi().SetClipboardText(text);
}
