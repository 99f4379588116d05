#pragma once
// CControl: the plain state of one control of a headless dialog: text, enabled, visible, checked, items
// with item data, current selection, report-list columns, rows and cells with colours, tree items, caret
// and selection of an edit, and the look (bold, colours, icon, tooltip). Everything a person would see is
// state a test can read.
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/ui/DialogTemplate.h"

namespace TAVUi {

struct Rgb {
    std::uint8_t r = 0, g = 0, b = 0;
    bool operator==(const Rgb&) const = default;
};
constexpr Rgb RGB(std::uint8_t r, std::uint8_t g, std::uint8_t b) {
    return Rgb{r, g, b};
}
std::string RgbText(const Rgb& c);  // "#RRGGBB"

struct ListItem {  // an entry of a combo box, a list box or a tab control
    std::string text;
    std::uintptr_t data = 0;
};

struct ListColumn {
    std::string header;
    int width = 0;
};

struct ListCell {
    std::string text;
    std::optional<Rgb> textColor;
    std::optional<Rgb> backColor;
};

struct ListRow {
    std::vector<ListCell> cells;
    std::uintptr_t data = 0;
    bool selected = false;
};

struct TreeItem {
    int handle = 0;
    int parent = 0;  // 0: root level
    std::string text;
    std::uintptr_t data = 0;
    int image = -1;
    bool expanded = false;
};

class CControl;

// Behaviour attached to a control (a numeric edit, a selection button): it sees what a person does to the
// control before the dialog's handlers do.
class CControlBehavior {
public:
    virtual ~CControlBehavior() = default;
    // Text set by the program or typed over as a whole; the default stores it unchanged.
    virtual void OnSetText(CControl& control, const std::string& text);
    // One typed character; false lets the control insert it as a plain edit would.
    virtual bool OnChar(CControl& control, char ch) { return false; }
    // A click; true when the behaviour handled it completely (no dialog handler runs).
    virtual bool OnClick(CControl& control) { return false; }
    // A key combination ("ctrl+c", "ctrl+v", "delete", ...); true when the behaviour handled it.
    virtual bool OnKey(CControl& control, const std::string& key) { return false; }
};

class CControl {
public:
    explicit CControl(const ControlTemplate& t);

    int id;
    ControlKind kind;
    std::string name;
    std::string radioGroup;
    bool hasEdit = false;  // a combo box with an edit field

    std::string text;
    bool enabled = true;
    bool visible = true;
    int checked = 0;
    bool readOnly = false;
    bool bold = false;
    std::optional<Rgb> textColor;
    std::optional<Rgb> faceColor;
    std::string icon;
    std::string bitmap;
    std::string tooltip;
    bool focused = false;

    // edit: caret and selection (character positions)
    int selStart = 0;
    int selEnd = 0;

    // combo box, list box, tab control
    std::vector<ListItem> items;
    int curSel = -1;

    // report list
    std::vector<ListColumn> columns;
    std::vector<ListRow> rows;

    // tree
    std::vector<TreeItem> treeItems;
    int selectedTreeItem = 0;

    std::shared_ptr<CControlBehavior> behavior;

    // Sets the text through the behaviour (the validity rule of a numeric edit, for example).
    void SetWindowText(const std::string& value);
    const std::string& GetWindowText() const { return text; }

    // combo box / list box helpers
    int AddString(const std::string& s, std::uintptr_t data = 0);
    void ResetContent();
    int FindStringExact(const std::string& s) const;
    int SetCurSel(int index);  // -1 clears; returns the index or -1 when out of range
    // report list helpers
    int InsertColumn(int index, const std::string& header, int width);
    int InsertItem(int row, const std::string& text, std::uintptr_t data = 0);
    void SetItemText(int row, int column, const std::string& value);
    std::string GetItemText(int row, int column) const;
    void DeleteAllItems();
    int GetItemCount() const { return static_cast<int>(rows.size()); }
    std::vector<int> SelectedRows() const;
    // tree helpers
    int InsertTreeItem(const std::string& text, int parent, std::uintptr_t data = 0, int image = -1);
    void DeleteAllTreeItems();
    TreeItem* FindTreeItem(int handle);
    std::vector<int> TreeChildren(int parent) const;

private:
    int m_nextTreeHandle = 1;
};

}  // namespace TAVUi
