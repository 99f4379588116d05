#include "platform/ui/Control.h"

#include <cstdio>

namespace TAVUi {

std::string RgbText(const Rgb& c) {
    char buf[8];
    std::snprintf(buf, sizeof buf, "#%02X%02X%02X", c.r, c.g, c.b);
    return buf;
}

void CControlBehavior::OnSetText(CControl& control, const std::string& value) {
    control.text = value;
}

CControl::CControl(const ControlTemplate& t) : id(t.id), kind(t.kind), name(t.name), text(t.caption) {
    auto g = t.options.find("group");
    if (g != t.options.end()) radioGroup = g->second;
    auto d = t.options.find("dropdown");
    hasEdit = d != t.options.end() && d->second == "1";
    if (kind == ControlKind::Combo || kind == ControlKind::Tab || kind == ControlKind::List) text.clear();
}

void CControl::SetWindowText(const std::string& value) {
    if (behavior)
        behavior->OnSetText(*this, value);
    else
        text = value;
}

int CControl::AddString(const std::string& s, std::uintptr_t data) {
    items.push_back({s, data});
    return static_cast<int>(items.size()) - 1;
}

void CControl::ResetContent() {
    items.clear();
    curSel = -1;
    if (kind == ControlKind::Combo) text.clear();
}

int CControl::FindStringExact(const std::string& s) const {
    for (std::size_t i = 0; i < items.size(); ++i)
        if (items[i].text == s) return static_cast<int>(i);
    return -1;
}

int CControl::SetCurSel(int index) {
    if (index < 0 || index >= static_cast<int>(items.size())) {
        curSel = -1;
        return -1;
    }
    curSel = index;
    if (kind == ControlKind::Combo) text = items[static_cast<std::size_t>(index)].text;
    return index;
}

int CControl::InsertColumn(int index, const std::string& header, int width) {
    if (index < 0 || index > static_cast<int>(columns.size())) index = static_cast<int>(columns.size());
    columns.insert(columns.begin() + index, ListColumn{header, width});
    for (auto& r : rows)
        if (static_cast<int>(r.cells.size()) > index) r.cells.insert(r.cells.begin() + index, ListCell{});
    return index;
}

int CControl::InsertItem(int row, const std::string& value, std::uintptr_t data) {
    if (row < 0 || row > static_cast<int>(rows.size())) row = static_cast<int>(rows.size());
    ListRow r;
    r.cells.resize(std::max<std::size_t>(1, columns.size()));
    r.cells[0].text = value;
    r.data = data;
    rows.insert(rows.begin() + row, std::move(r));
    return row;
}

void CControl::SetItemText(int row, int column, const std::string& value) {
    if (row < 0 || row >= static_cast<int>(rows.size()) || column < 0) return;
    auto& cells = rows[static_cast<std::size_t>(row)].cells;
    if (static_cast<int>(cells.size()) <= column) cells.resize(static_cast<std::size_t>(column) + 1);
    cells[static_cast<std::size_t>(column)].text = value;
}

std::string CControl::GetItemText(int row, int column) const {
    if (row < 0 || row >= static_cast<int>(rows.size()) || column < 0) return {};
    const auto& cells = rows[static_cast<std::size_t>(row)].cells;
    return column < static_cast<int>(cells.size()) ? cells[static_cast<std::size_t>(column)].text
                                                   : std::string();
}

void CControl::DeleteAllItems() {
    rows.clear();
}

std::vector<int> CControl::SelectedRows() const {
    std::vector<int> out;
    for (std::size_t i = 0; i < rows.size(); ++i)
        if (rows[i].selected) out.push_back(static_cast<int>(i));
    return out;
}

int CControl::InsertTreeItem(const std::string& value, int parent, std::uintptr_t data, int image) {
    TreeItem t;
    t.handle = m_nextTreeHandle++;
    t.parent = parent;
    t.text = value;
    t.data = data;
    t.image = image;
    treeItems.push_back(t);
    return t.handle;
}

void CControl::DeleteAllTreeItems() {
    treeItems.clear();
    selectedTreeItem = 0;
}

TreeItem* CControl::FindTreeItem(int handle) {
    for (auto& t : treeItems)
        if (t.handle == handle) return &t;
    return nullptr;
}

std::vector<int> CControl::TreeChildren(int parent) const {
    std::vector<int> out;
    for (const auto& t : treeItems)
        if (t.parent == parent) out.push_back(t.handle);
    return out;
}

}  // namespace TAVUi
