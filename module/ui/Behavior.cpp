#include "module/ui/Behavior.h"

#include <algorithm>
#include <utility>

void Behavior::AttachEdit(IBehaviorEdit* edit) {
    m_edit = edit;
    ApplyValidity();
}

void Behavior::ModifyFlags(int add, int remove) {
    const int flags = (m_flags & ~remove) | add;
    if (flags == m_flags) return;
    m_flags = flags;
    OnFlagsChanged();
}

void Behavior::SetValidText(const std::string& text) {
    if (m_edit == nullptr) return;
    m_edit->SetEditText(GetValidText(text));
}

void Behavior::OnCut() {
    if (m_edit == nullptr) return;
    const std::string text = m_edit->GetEditText();
    int start = 0;
    int end = 0;
    GetSelection(text, start, end);
    if (start == end) return;
    const bool readOnly = m_edit->IsEditReadOnly();
    if (!readOnly && !RemovalKeepsLimits(text, start, end)) return;
    m_edit->SetClipboardText(text.substr(static_cast<size_t>(start), static_cast<size_t>(end - start)));
    if (readOnly) return;
    m_edit->SetEditSel(start, end);
    m_edit->ReplaceEditSel(std::string());
    ApplyValidity();
}

void Behavior::OnClear() {
    if (m_edit == nullptr || m_edit->IsEditReadOnly()) return;
    const std::string text = m_edit->GetEditText();
    int start = 0;
    int end = 0;
    GetSelection(text, start, end);
    if (start == end || !RemovalKeepsLimits(text, start, end)) return;
    m_edit->SetEditSel(start, end);
    m_edit->ReplaceEditSel(std::string());
    ApplyValidity();
}

bool Behavior::RemovalKeepsLimits(const std::string& text, int start, int end) const {
    if (GetValidText(text) != text) return true;
    const int size = static_cast<int>(text.size());
    start = std::clamp(start, 0, size);
    end = std::clamp(end, start, size);
    std::string result = text;
    result.erase(static_cast<size_t>(start), static_cast<size_t>(end - start));
    return GetValidText(result) == result;
}

void Behavior::OnPaste() {
    if (m_edit == nullptr || m_edit->IsEditReadOnly()) return;
    const std::string text = m_edit->GetEditText();
    int start = 0;
    int end = 0;
    GetSelection(text, start, end);
    m_edit->SetEditSel(start, end);
    m_edit->ReplaceEditSel(m_edit->GetClipboardText());
    ApplyValidity();
}

void Behavior::OnTextEdited() {
    ApplyValidity();
}

bool Behavior::ApplyValidity() {
    if (m_edit == nullptr) return false;
    const std::string text = m_edit->GetEditText();
    const std::string valid = GetValidText(text);
    if (valid == text) return false;
    int start = 0;
    int end = 0;
    GetSelection(text, start, end);
    m_edit->SetEditText(valid);
    const int size = static_cast<int>(valid.size());
    m_edit->SetEditSel(std::min(start, size), std::min(end, size));
    return true;
}

void Behavior::GetSelection(const std::string& text, int& start, int& end) const {
    m_edit->GetEditSel(start, end);
    if (start > end) std::swap(start, end);
    const int size = static_cast<int>(text.size());
    start = std::clamp(start, 0, size);
    end = std::clamp(end, 0, size);
}
