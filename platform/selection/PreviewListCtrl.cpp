#include "platform/selection/PreviewListCtrl.h"

#include "platform/gis/DataRW.h"
#include "platform/gis/ModuleConfiguration.h"
#include "platform/host/NumberText.h"
#include "platform/network/TopologyMultiStorage.h"

namespace TAVGis::Preview {

namespace {
constexpr int kShownDigits = 6;

std::string CellText(const Data::CDataBox& box) {
    if (box.IsNull()) return {};
    if (box.IsDouble()) return TAVHost::NumberText::General(box.ToDouble(), kShownDigits);
    return box.ToString();
}
}  // namespace

bool CPreviewListCtrl::Create(TAVUi::CAdUiBaseDialog& dialog, int placeholderId) {
    m_control = dialog.GetDlgItem(placeholderId);
    if (!m_control) return false;
    m_control->kind = TAVUi::ControlKind::List;
    Clear();
    return true;
}

void CPreviewListCtrl::Clear() {
    m_definition.reset();
    if (!m_control) return;
    m_control->DeleteAllItems();
    m_control->columns.clear();
}

void CPreviewListCtrl::ShowPreview(const CPreviewDefinitionPtr& definition,
                                   const std::vector<TAVHost::ObjectId>& ids) {
    Clear();
    if (!m_control || !definition) return;
    m_definition = definition;
    m_control->InsertColumn(0, CModuleConfiguration::GetMsg(kMsgNameHeader), kNameColumnWidth);
    for (const auto& column : definition->GetColumns())
        m_control->InsertColumn(static_cast<int>(m_control->columns.size()), column, kValueColumnWidth);
    auto* topo = Topology::CTopologyMultiStorage::GetInstance()->GetTopology();
    if (!topo) return;
    const auto& columns = definition->GetColumns();
    m_control->rows.reserve(ids.size());
    Data::CDataBox box;
    for (TAVHost::ObjectId id : ids) {
        const auto entity = topo->GetEntityByObjectId(id);
        if (!entity || entity->GetEntityType() != definition->GetEntityType()) continue;
        TAVUi::ListRow row;
        row.data = static_cast<std::uintptr_t>(id);
        row.cells.reserve(columns.size() + 1);
        row.cells.push_back({entity->GetName(), std::nullopt, std::nullopt});
        for (const auto& attribute : columns) {
            Data::CDataRW::Read(attribute, static_cast<const Data::CAttributeHolder&>(*entity), box);
            row.cells.push_back({CellText(box), std::nullopt, std::nullopt});
        }
        m_control->rows.push_back(std::move(row));
    }
}

int CPreviewListCtrl::GetRowCount() const {
    return m_control ? m_control->GetItemCount() : 0;
}

bool CPreviewListCtrl::MarkRow(int row, bool marked) {
    if (!m_control || row < 0 || row >= GetRowCount()) return false;
    m_control->rows[static_cast<std::size_t>(row)].selected = marked;
    return true;
}

std::vector<TAVHost::ObjectId> CPreviewListCtrl::GetMarkedEntities() const {
    std::vector<TAVHost::ObjectId> out;
    if (!m_control) return out;
    for (const auto& r : m_control->rows)
        if (r.selected) out.push_back(static_cast<TAVHost::ObjectId>(r.data));
    return out;
}

}  // namespace TAVGis::Preview
