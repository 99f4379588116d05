#include "module/hydraulics/ResultListCtrl.h"

using TAVGis::Topology::CSectionPtr;

int CResultListCtrl::InsertColumn(int index, const std::string& header, int width) {
    return m_list ? m_list->InsertColumn(index, header, width) : -1;
}

int CResultListCtrl::AppendRow(const std::string& text, const CSectionPtr& section) {
    if (!m_list) return -1;
    const int row =
        m_list->InsertItem(m_list->GetItemCount(), text, reinterpret_cast<std::uintptr_t>(section.get()));
    if (static_cast<std::size_t>(row) >= m_sections.size())
        m_sections.resize(static_cast<std::size_t>(row) + 1);
    m_sections[static_cast<std::size_t>(row)] = section;
    return row;
}

void CResultListCtrl::SetCell(int row, int column, const std::string& text) {
    if (m_list) m_list->SetItemText(row, column, text);
}

void CResultListCtrl::SetCellColors(int row, int column, std::optional<TAVUi::Rgb> text,
                                    std::optional<TAVUi::Rgb> back) {
    if (!m_list || row < 0 || row >= m_list->GetItemCount() || column < 0) return;
    auto& cells = m_list->rows[static_cast<std::size_t>(row)].cells;
    if (static_cast<int>(cells.size()) <= column) cells.resize(static_cast<std::size_t>(column) + 1);
    cells[static_cast<std::size_t>(column)].textColor = text;
    cells[static_cast<std::size_t>(column)].backColor = back;
}

void CResultListCtrl::DeleteAllItems() {
    if (m_list) m_list->DeleteAllItems();
    m_sections.clear();
}

int CResultListCtrl::GetItemCount() const {
    return m_list ? m_list->GetItemCount() : 0;
}

CSectionPtr CResultListCtrl::SectionOf(int row) const {
    if (!m_list || row < 0 || row >= m_list->GetItemCount() ||
        static_cast<std::size_t>(row) >= m_sections.size())
        return {};
    const auto& section = m_sections[static_cast<std::size_t>(row)];
    // A row put in by someone else (not through AppendRow) has no section of ours.
    if (reinterpret_cast<std::uintptr_t>(section.get()) != m_list->rows[static_cast<std::size_t>(row)].data)
        return {};
    return section;
}

std::vector<CSectionPtr> CResultListCtrl::SelectedSections() const {
    std::vector<CSectionPtr> out;
    if (!m_list) return out;
    for (int row : m_list->SelectedRows())
        if (auto s = SectionOf(row)) out.push_back(std::move(s));
    return out;
}
