#pragma once
// CAdUiBaseDialog: a headless modal dialog built from a template of the module whose resource handle is
// current. Its controls are plain state (CControl); handlers are member functions mapped from (control id,
// notification); DoDataExchange pulls control values into members and pushes them back; DoModal hands the
// dialog to the HostUi's runner, which acts for the person until the dialog ends.
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "platform/host/ResourceModule.h"
#include "platform/ui/Control.h"

namespace TAVUi {

constexpr int IDOK = 1;
constexpr int IDCANCEL = 2;
constexpr int IDHELP = 9;

enum class Notification {
    Clicked,      // a button, check box or radio was clicked
    Changed,      // the text of an edit (or a combo's edit field) changed
    SelChange,    // the selection of a combo, list, tab or tree changed
    SelChanging,  // a tab is about to change
    ItemChanged,  // a row of a report list changed (selection)
    KeyDown,      // a key combination, see LastKey()
    DoubleClick,
    KillFocus,
};
const char* NotificationName(Notification n);

class CAdUiBaseDialog;

// A control's place in dialog units.
struct ControlRect {
    int x = 0, y = 0, width = 0, height = 0;
    bool operator==(const ControlRect&) const = default;
};

// A dialog's size in dialog units.
struct DialogSize {
    int width = 0, height = 0;
    bool operator==(const DialogSize&) const = default;
};

struct CDataExchange {
    bool m_bSaveAndValidate = true;
    CAdUiBaseDialog* m_pDlgWnd = nullptr;
};

class CAdUiBaseDialog {
public:
    explicit CAdUiBaseDialog(int templateId, CAdUiBaseDialog* parent = nullptr);
    virtual ~CAdUiBaseDialog();
    CAdUiBaseDialog(const CAdUiBaseDialog&) = delete;
    CAdUiBaseDialog& operator=(const CAdUiBaseDialog&) = delete;

    // Creates the controls, initialises the dialog and runs it until it ends; returns the result code
    // (IDOK, IDCANCEL or what EndDialog was given); -1 when the template cannot be found.
    int DoModal();
    // Creates the controls from the template and runs OnInitDialog (used for tab pages).
    bool Create(CAdUiBaseDialog* parent);
    bool IsCreated() const { return m_created; }

    virtual bool OnInitDialog();
    virtual void OnOK();
    virtual void OnCancel();
    virtual void DoDataExchange(CDataExchange* pDX) {}
    // Pulls the control values into the members (true) or pushes the members into the controls (false).
    bool UpdateData(bool saveAndValidate = true);
    void EndDialog(int result);
    bool IsEnded() const { return m_ended; }
    int Result() const { return m_result; }

    int TemplateId() const { return m_templateId; }
    const DialogTemplate* Template() const { return m_template; }
    HINSTANCE Resource() const { return m_resource; }
    CAdUiBaseDialog* Parent() const { return m_parent; }

    CControl* GetDlgItem(int id);
    const CControl* GetDlgItem(int id) const;
    // The control with that id; throws std::out_of_range when the dialog has none.
    CControl& Item(int id);
    CControl* FindControl(const std::string& nameOrId);
    std::vector<CControl*> Controls();

    const std::string& GetWindowText() const { return m_title; }
    void SetWindowText(const std::string& title) { m_title = title; }
    void ShowWindow(bool show) { m_visible = show; }
    bool IsWindowVisible() const { return m_visible; }
    void EnableWindow(bool enable) { m_enabled = enable; }
    bool IsWindowEnabled() const { return m_enabled; }
    void SetDlgItemText(int id, const std::string& text);
    std::string GetDlgItemText(int id) const;
    void CheckDlgButton(int id, int check);
    int IsDlgButtonChecked(int id) const;
    // Checks one radio of a group and clears the others of that group.
    void CheckRadioButton(int id);
    void EnableItem(int id, bool enable);

    // What a person does: the notification reaches the control's behaviour, then the mapped handler.
    // Returns true when a handler ran.
    bool Notify(int id, Notification n);
    // A message sent to the dialog (such as a selection button's "selection made"); handled at once on the
    // host's main thread.
    std::intptr_t SendMessage(int message, std::intptr_t wParam = 0, std::intptr_t lParam = 0);
    void PostMessage(int message, std::intptr_t wParam = 0, std::intptr_t lParam = 0) {
        SendMessage(message, wParam, lParam);
    }
    // The key combination of the last KeyDown notification ("ctrl+c", "ctrl+a", "ctrl+insert", ...).
    const std::string& LastKey() const { return m_lastKey; }
    void SetLastKey(std::string key) { m_lastKey = std::move(key); }

    // Ids that handlers are mapped to but the dialog's template does not have (a handler no person can
    // reach): empty for a sound dialog. Valid once the controls are created.
    std::vector<int> MappedControlsMissing() const;

    // Resizing. A host whose window a person resizes tells the dialog its new size in dialog units
    // (OnSize) and then places every control at ItemRect; it never lets the window get smaller than
    // MinTrackSize (0 in a dimension: no minimum of the dialog's own). By default nothing moves: OnSize
    // does nothing and every control keeps its template rectangle. A dialog that anchors its controls
    // (CXTPResize) answers all three from its anchors.
    virtual void OnSize(int /*width*/, int /*height*/) {}
    // The control's rectangle at the current size; empty for an id the dialog does not have.
    virtual ControlRect ItemRect(int id) const;
    virtual DialogSize MinTrackSize() const { return {}; }

    // The page shown inside this dialog (a tab host's active page), or null.
    virtual CAdUiBaseDialog* ActivePage() { return nullptr; }
    // The dialog a person interacts with while this one runs modally (a nested modal dialog), or null.
    CAdUiBaseDialog* NestedModal() const { return m_nestedModal; }

protected:
    using Handler = std::function<void()>;
    void Map(int id, Notification n, Handler handler) { m_handlers[{id, n}] = std::move(handler); }
    template <class T>
    void Map(int id, Notification n, void (T::*fn)()) {
        T* self = static_cast<T*>(this);
        m_handlers[{id, n}] = [self, fn] { (self->*fn)(); };
    }
    void MapMessage(int message, std::function<std::intptr_t(std::intptr_t, std::intptr_t)> handler) {
        m_messageHandlers[message] = std::move(handler);
    }

private:
    bool CreateControls();
    int m_templateId;
    CAdUiBaseDialog* m_parent;
    CAdUiBaseDialog* m_nestedModal = nullptr;
    CAdUiBaseDialog* m_outerModal = nullptr;
    HINSTANCE m_resource = nullptr;
    const DialogTemplate* m_template = nullptr;
    std::vector<std::unique_ptr<CControl>> m_controls;
    std::map<std::pair<int, Notification>, Handler> m_handlers;
    std::map<int, std::function<std::intptr_t(std::intptr_t, std::intptr_t)>> m_messageHandlers;
    std::string m_title;
    std::string m_lastKey;
    bool m_created = false;
    bool m_ended = false;
    bool m_visible = true;
    bool m_enabled = true;
    int m_result = 0;
};

// Data exchange between controls and members. A text that is not a number ("nan", "inf" and 1e999
// included) gives 0; a double that is not finite is shown as an empty text.
void DDX_Check(CDataExchange* pDX, int id, int& value);
// value: the index of the checked radio in the group that starts at firstId (template order); -1 for none.
void DDX_Radio(CDataExchange* pDX, int firstId, int& value);
void DDX_CBIndex(CDataExchange* pDX, int id, int& index);
void DDX_Text(CDataExchange* pDX, int id, std::string& value);
void DDX_Text(CDataExchange* pDX, int id, double& value);
void DDX_Text(CDataExchange* pDX, int id, int& value);

// The dialog currently running modally (innermost), or null.
CAdUiBaseDialog* CurrentModalDialog();

}  // namespace TAVUi
