#pragma once
// CResultListCtrl: the report list of the automatic dimensioning bound to a list control of a dialog:
// columns with headers and widths, one row per dimensioned section with the section as the row's item
// data, per-cell text and background colours, grid lines and full-row selection with several rows
// selectable, the row count and the deletion of all rows.
//
// The rows' sections are kept beside the control (a row's item data is the section's address, for a
// host to show), so a selected row gives its section back without a lookup.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/network/Section.h"
#include "platform/ui/Control.h"

class CResultListCtrl {
public:
    void Attach(TAVUi::CControl* list) { m_list = list; }
    TAVUi::CControl* Control() const { return m_list; }

    int InsertColumn(int index, const std::string& header, int width);
    // Appends a row with its first cell; returns the row index (-1 without a control).
    int AppendRow(const std::string& text, const TAVGis::Topology::CSectionPtr& section);
    void SetCell(int row, int column, const std::string& text);
    void SetCellColors(int row, int column, std::optional<TAVUi::Rgb> text, std::optional<TAVUi::Rgb> back);
    void DeleteAllItems();
    int GetItemCount() const;
    // The sections of the selected rows, in row order.
    std::vector<TAVGis::Topology::CSectionPtr> SelectedSections() const;
    TAVGis::Topology::CSectionPtr SectionOf(int row) const;

private:
    TAVUi::CControl* m_list = nullptr;
    std::vector<TAVGis::Topology::CSectionPtr> m_sections;  // by row
};
