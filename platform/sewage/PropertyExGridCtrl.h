#pragma once
// CPropertyExGridCtrl: the property grid of a parameter list (CPropertiesEx), created in the area of a
// placeholder control of a dialog. The placeholder becomes a report list of three columns (headers: messages
// 14103, 1257 and 14105): the property's name, its value as text and its kind ("number", "integer", "text",
// "list", empty for no value); one row per property in the list's order. The value cells are edited in
// place (an editable list, so a desktop host shows the grid as a table with editable value cells and a
// script edits a row by its name).
//
// The grid shows the caller's list, not a copy (SetDataToShow takes a shared pointer): an accepted edit is
// written into the property at once, then the change callback (CCallbackItemUpdated) is called, so a run
// that reads the same list sees the edited value.
//
// What a person types is checked before anything changes:
//   - a number property takes a decimal number as the project's one number parser reads it
//     (TAVHost::NumberText::ParseWhole: "." as the decimal point, no "nan", "inf" or out-of-range values);
//   - an integer property takes a whole number within the range of an int;
//   - a text property takes any text; a list property takes its elements separated by ";";
//   - a property without a value takes the text as a number when it is one, else as a text.
// A refused text leaves the property and the cell as they were and alerts with message 14101 (not a
// number) or 14102 (not a whole number), naming the property and the text.
//
// Numbers are shown with the precision set by SetDoubleValuePrecision ("%.Nf", 6 decimals by default).
// The tool bar and the help pane of the vendor's grid have no headless counterpart; their switches are
// kept as state.
#include <boost/shared_ptr.hpp>
#include <memory>
#include <string>
#include <vector>

#include "platform/sewage/PropertiesEx.h"
#include "platform/ui/EditableList.h"

namespace TAVGis::Data {

class CCallbackItemUpdated {
public:
    virtual ~CCallbackItemUpdated() = default;
    // A person changed the value of a property in the grid; the list already holds the new value.
    virtual void OnItemUpdated(const CPropertyExPtr& property) = 0;
};

class CPropertyExGridCtrl : public TAVUi::CEditableList {
public:
    static constexpr int kNameColumn = 0;
    static constexpr int kValueColumn = 1;
    static constexpr int kKindColumn = 2;
    static constexpr int kDefaultPrecision = 6;
    static constexpr int kMsgNotANumber = 14101;
    static constexpr int kMsgNotAWholeNumber = 14102;

    // Creates the grid in the placeholder `placeholderId` of the dialog (the control becomes the grid's
    // list); null when the dialog has no such control.
    static CPropertyExGridCtrl* CreatePropertyGrid(TAVUi::CAdUiBaseDialog& dialog, int placeholderId);
    // The grid behind a control, or null.
    static CPropertyExGridCtrl* Of(const TAVUi::CControl& control);

    // The list shown (shared with the caller); null shows an empty grid. The rows are rebuilt.
    void SetDataToShow(const boost::shared_ptr<CPropertiesEx>& data);
    const boost::shared_ptr<CPropertiesEx>& GetDataToShow() const { return m_data; }
    void SetDoubleValuePrecision(int decimals);
    int GetDoubleValuePrecision() const { return m_precision; }
    void ShowToolBar(bool show) { m_toolBar = show; }
    void ShowHelp(bool show) { m_help = show; }
    bool IsToolBarShown() const { return m_toolBar; }
    bool IsHelpShown() const { return m_help; }
    void SetCallbackUpdate(CCallbackItemUpdated* callback) { m_callback = callback; }

    // Rebuilds the rows from the list (properties added or removed since are shown); the argument is the
    // vendor grid's flags and is not used.
    void UpdateGridData(int flags = 0);
    // Rewrites the value and kind cells of the rows shown from the list's current values.
    void Refresh();

    // The row of the property with that display name (or, when no name matches, that tag), or -1.
    int FindRow(const std::string& nameOrTag) const;
    // The property of a row, or null.
    CPropertyExPtr PropertyAt(int row) const;
    // A person types a value for the property (by name or tag); false when there is no such property or the
    // text is refused (see above).
    bool SetPropertyValue(const std::string& nameOrTag, const std::string& text);

    std::string ValueText(const CDataBox& value) const;
    static const char* KindName(const CDataBox& value);

protected:
    bool AcceptEdit(int row, int column, std::string& text) override;
    void EditCommitted(int row, int column) override;

private:
    // The box a typed text gives for a property holding `current`; false (with the message number) when
    // refused.
    bool Parse(const CDataBox& current, const std::string& text, CDataBox& result, int& refusal) const;

    boost::shared_ptr<CPropertiesEx> m_data;
    std::vector<CPropertyExPtr> m_rowProperties;
    CCallbackItemUpdated* m_callback = nullptr;
    int m_precision = kDefaultPrecision;
    bool m_toolBar = true;
    bool m_help = true;
};

}  // namespace TAVGis::Data
