#include "platform/sewage/PropertyExGridCtrl.h"

#include <cmath>
#include <limits>

#include "platform/gis/ModuleConfiguration.h"
#include "platform/gis/Utility.h"
#include "platform/host/Editor.h"
#include "platform/host/NumberText.h"

namespace TAVGis::Data {

namespace {
constexpr int kNameWidth = 160, kValueWidth = 100, kKindWidth = 50;
constexpr int kMsgNameHeader = 14103, kMsgValueHeader = 1257, kMsgKindHeader = 14105;
}  // namespace

CPropertyExGridCtrl* CPropertyExGridCtrl::CreatePropertyGrid(TAVUi::CAdUiBaseDialog& dialog,
                                                             int placeholderId) {
    TAVUi::CControl* control = dialog.GetDlgItem(placeholderId);
    if (!control) return nullptr;
    auto grid = std::make_shared<CPropertyExGridCtrl>();
    control->kind = TAVUi::ControlKind::List;
    grid->Bind(&dialog, *control, grid);
    grid->SetColumns({{CModuleConfiguration::GetMsg(kMsgNameHeader), kNameWidth},
                      {CModuleConfiguration::GetMsg(kMsgValueHeader), kValueWidth},
                      {CModuleConfiguration::GetMsg(kMsgKindHeader), kKindWidth}});
    grid->SetEditableColumn(kValueColumn, true);
    return grid.get();
}

CPropertyExGridCtrl* CPropertyExGridCtrl::Of(const TAVUi::CControl& control) {
    return dynamic_cast<CPropertyExGridCtrl*>(control.behavior.get());
}

void CPropertyExGridCtrl::SetDataToShow(const boost::shared_ptr<CPropertiesEx>& data) {
    m_data = data;
    UpdateGridData(0);
}

void CPropertyExGridCtrl::SetDoubleValuePrecision(int decimals) {
    m_precision = decimals < 0 ? 0 : decimals;
    Refresh();
}

const char* CPropertyExGridCtrl::KindName(const CDataBox& value) {
    if (value.IsDouble()) return "number";
    if (value.IsInt()) return "integer";
    if (value.IsText()) return "text";
    if (value.IsList()) return "list";
    return "";
}

std::string CPropertyExGridCtrl::ValueText(const CDataBox& value) const {
    if (value.IsDouble()) return TAVHost::NumberText::Fixed(value.ToDouble(), m_precision);
    return value.ToString();
}

void CPropertyExGridCtrl::UpdateGridData(int) {
    DeleteAllRows();
    m_rowProperties.clear();
    if (!m_data) return;
    for (const auto& p : m_data->Items()) {
        if (!p) continue;
        AddRow({p->GetName(), ValueText(p->GetHiddenValue()), KindName(p->GetHiddenValue())}, false);
        m_rowProperties.push_back(p);
    }
}

void CPropertyExGridCtrl::Refresh() {
    for (int row = 0; row < static_cast<int>(m_rowProperties.size()) && row < RowCount(); ++row) {
        const CDataBox& v = m_rowProperties[static_cast<std::size_t>(row)]->GetHiddenValue();
        SetText(row, kValueColumn, ValueText(v));
        SetText(row, kKindColumn, KindName(v));
    }
}

int CPropertyExGridCtrl::FindRow(const std::string& nameOrTag) const {
    for (std::size_t i = 0; i < m_rowProperties.size(); ++i)
        if (m_rowProperties[i]->GetName() == nameOrTag) return static_cast<int>(i);
    for (std::size_t i = 0; i < m_rowProperties.size(); ++i)
        if (m_rowProperties[i]->GetTag() == nameOrTag) return static_cast<int>(i);
    return -1;
}

CPropertyExPtr CPropertyExGridCtrl::PropertyAt(int row) const {
    if (row < 0 || row >= static_cast<int>(m_rowProperties.size())) return {};
    return m_rowProperties[static_cast<std::size_t>(row)];
}

bool CPropertyExGridCtrl::SetPropertyValue(const std::string& nameOrTag, const std::string& text) {
    const int row = FindRow(nameOrTag);
    return row >= 0 && EditCell(row, kValueColumn, text);
}

bool CPropertyExGridCtrl::Parse(const CDataBox& current, const std::string& text, CDataBox& result,
                                int& refusal) const {
    if (current.IsText()) {
        result = CDataBox(text);
        return true;
    }
    if (current.IsList()) {
        std::vector<std::string> elements;
        Utility::CUtility::SplitString(text, elements, ";");
        result = CDataBox(elements);
        return true;
    }
    const auto number = TAVHost::NumberText::ParseWhole(text);
    if (current.IsInt()) {
        const bool whole = number && std::floor(*number) == *number &&
                           *number >= std::numeric_limits<int>::min() &&
                           *number <= std::numeric_limits<int>::max();
        if (!whole) {
            refusal = kMsgNotAWholeNumber;
            return false;
        }
        result = CDataBox(static_cast<int>(*number));
        return true;
    }
    if (current.IsDouble()) {
        if (!number) {
            refusal = kMsgNotANumber;
            return false;
        }
        result = CDataBox(*number);
        return true;
    }
    // No value yet: a number when the text is one, else the text (an empty text stays no value).
    if (number)
        result = CDataBox(*number);
    else if (text.empty())
        result.SetNull();
    else
        result = CDataBox(text);
    return true;
}

bool CPropertyExGridCtrl::AcceptEdit(int row, int column, std::string& text) {
    const CPropertyExPtr p = PropertyAt(row);
    if (!p || column != kValueColumn) return false;
    CDataBox value;
    int refusal = 0;
    if (!Parse(p->GetHiddenValue(), text, value, refusal)) {
        acedAlert(CModuleConfiguration::GetMsg(refusal) + " " + p->GetName() + ": \"" + text + "\"");
        return false;
    }
    p->SetHiddenValue(value);
    text = ValueText(value);
    return true;
}

void CPropertyExGridCtrl::EditCommitted(int row, int) {
    const CPropertyExPtr p = PropertyAt(row);
    if (!p) return;
    SetText(row, kKindColumn, KindName(p->GetHiddenValue()));
    if (m_callback) m_callback->OnItemUpdated(p);
}

}  // namespace TAVGis::Data
