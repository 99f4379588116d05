#pragma once
// Behavior: the general part of an input behaviour attached to an edit field. A behaviour decides
// which text the field may hold (its validity rule), reacts to typed characters and to the cut, clear
// and paste commands, and re-applies its rule when its settings change. It knows the field only
// through IBehaviorEdit, so it works the same in a dialog, a script or a test.
//
// An edit control class combines the two: it derives from the dialog framework's edit control, from
// IBehaviorEdit and from a concrete behaviour, attaches itself with AttachEdit(this), and forwards
// character input (OnChar), the cut, clear and paste commands, and, after its own default handling
// of control keys (Backspace, Delete), a call to OnTextEdited.
#include <string>

// The edit field a behaviour is attached to. Positions are byte offsets into the UTF-8 text; a
// selection is [start, end), start == end being a plain caret.
class IBehaviorEdit {
public:
    virtual ~IBehaviorEdit() = default;

    virtual std::string GetEditText() const = 0;
    virtual void SetEditText(const std::string& text) = 0;
    virtual void GetEditSel(int& start, int& end) const = 0;
    virtual void SetEditSel(int start, int end) = 0;
    // Replaces the selection by `text` and leaves the caret just after it, as typing does.
    virtual void ReplaceEditSel(const std::string& text) = 0;
    virtual bool IsEditReadOnly() const = 0;
    // The clipboard's text, reached through the host (for example its UI callback).
    virtual std::string GetClipboardText() const = 0;
    virtual void SetClipboardText(const std::string& text) = 0;
};

class Behavior {
public:
    virtual ~Behavior() = default;
    Behavior(const Behavior&) = delete;
    Behavior& operator=(const Behavior&) = delete;

    // Attaches the edit field (not owned; null detaches) and applies the validity rule to its text.
    void AttachEdit(IBehaviorEdit* edit);
    IBehaviorEdit* GetEdit() const { return m_edit; }

    int GetFlags() const { return m_flags; }
    // Sets the flags in `add` and clears those in `remove`; re-applies the validity rule to the
    // current text when the flags changed.
    void ModifyFlags(int add, int remove);

    // The validity rule: `text` made valid.
    virtual std::string GetValidText(const std::string& text) const = 0;
    // Sets the field's text from the program, made valid.
    void SetValidText(const std::string& text);

    // A typed character (a Unicode code point). Returns false when the edit field should give it its
    // default handling (control characters), true when the behaviour handled or ignored it.
    virtual bool OnChar(char32_t ch) = 0;
    // Cut: copies the selection to the clipboard, then removes it (a read-only field only copies).
    // Refused, changing neither the text nor the clipboard, when the removal breaks the field's limits
    // (RemovalKeepsLimits).
    virtual void OnCut();
    // Clear: removes the selection, as the Delete key does; nothing without a selection, and nothing when
    // the removal breaks the field's limits.
    virtual void OnClear();
    // Whether removing [start, end) from `text` leaves a text the validity rule keeps as it is. A removal
    // that would make the rule drop further characters (the decimal point of 12345678.1234 with 8 whole
    // digits: the four decimals would become whole digits beyond the maximum) breaks the field's limits;
    // cut, clear, Delete and Backspace refuse it and the text stays as it was, as typing does. A text that
    // is not valid to begin with refuses nothing (the rule then makes the result valid).
    bool RemovalKeepsLimits(const std::string& text, int start, int end) const;
    // Paste: replaces the selection by the clipboard's text, then applies the validity rule; the
    // selection the insertion left is kept (limited to the new text). Ignored when read-only.
    virtual void OnPaste();
    // To be called after the edit field changed its text by its default handling (Backspace,
    // Delete): applies the validity rule, keeping the selection. A host that can ask first calls
    // RemovalKeepsLimits and leaves a refused removal undone.
    virtual void OnTextEdited();

protected:
    explicit Behavior(int flags) : m_flags(flags) {}

    // Replaces the field's text by its valid form when they differ, keeping the selection as far as
    // the new text reaches. Returns whether the text changed.
    bool ApplyValidity();
    // The field's selection, ordered and limited to `text`.
    void GetSelection(const std::string& text, int& start, int& end) const;
    // Called when the flags changed; the default re-applies the validity rule.
    virtual void OnFlagsChanged() { ApplyValidity(); }

    IBehaviorEdit* m_edit = nullptr;

private:
    int m_flags;
};
