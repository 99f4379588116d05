#pragma once
// CPreviewListCtrl: the preview list of a dialog, created in the area of a placeholder control (the
// placeholder becomes a report list). It shows a preview definition for a list of entities: a first column
// with the entity's name, then one column per attribute of the definition, one row per entity of the
// definition's entity type, in the order given (ids that name no entity of that type are left out).
//
// Values are shown as `sewercalc show` shows them for reading: a number with 6 significant digits
// ("%.6g" in every locale, TAVHost::NumberText::General), a text as it is, no value as an empty cell.
//
// Rows are marked by selecting them (a person, a script's `select`, or MarkRow); GetMarkedEntities gives
// the object ids of the marked rows in row order, for zooming and highlighting. Each row keeps its entity's
// object id as its item data. Showing costs one attribute read per cell: linear in rows x columns.
#include <vector>

#include "platform/host/Database.h"
#include "platform/selection/PreviewDefinition.h"
#include "platform/ui/AdUiBaseDialog.h"

namespace TAVGis::Preview {

class CPreviewListCtrl {
public:
    static constexpr int kNameColumnWidth = 80;
    static constexpr int kValueColumnWidth = 70;
    static constexpr int kMsgNameHeader = 14106;

    // Creates the list in the placeholder of the dialog; false when the dialog has no such control.
    bool Create(TAVUi::CAdUiBaseDialog& dialog, int placeholderId);
    bool IsCreated() const { return m_control != nullptr; }
    TAVUi::CControl* Control() const { return m_control; }

    // Shows the definition for the entities; a null definition empties the list.
    void ShowPreview(const CPreviewDefinitionPtr& definition, const std::vector<TAVHost::ObjectId>& ids);
    void Clear();
    const CPreviewDefinitionPtr& Definition() const { return m_definition; }

    int GetRowCount() const;
    bool MarkRow(int row, bool marked);
    std::vector<TAVHost::ObjectId> GetMarkedEntities() const;

private:
    TAVUi::CControl* m_control = nullptr;
    CPreviewDefinitionPtr m_definition;
};

}  // namespace TAVGis::Preview
