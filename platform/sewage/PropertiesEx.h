#pragma once
// CPropertyEx and CPropertiesEx: a named parameter list. Each property has a tag (its key), a display
// name, and a hidden value (a CDataBox) that a calculation reads and a dialog sets by tag.
//
// A list is written to text and read back (ToText / FromText) so a calculator can tag sections with the
// parameters they were calculated with: one line per property, "TAG<TAB>TYPE<TAB>VALUE", the type one of
// n (null), d (double, "%.17g"), i (int), s (text), l (list; its elements follow as further tab-separated
// fields). Tabs and line ends inside texts are stored as spaces (a parameter text holds neither).
#include <boost/shared_ptr.hpp>
#include <string>
#include <vector>

#include "platform/gis/DataBox.h"

namespace TAVGis::Data {

class CPropertyEx {
public:
    CPropertyEx(std::string tag, std::string name, CDataBox value)
        : m_tag(std::move(tag)), m_name(std::move(name)), m_value(std::move(value)) {}
    const std::string& GetTag() const { return m_tag; }
    const std::string& GetName() const { return m_name; }
    const CDataBox& GetHiddenValue() const { return m_value; }
    void SetHiddenValue(const CDataBox& value) { m_value = value; }

private:
    std::string m_tag;
    std::string m_name;
    CDataBox m_value;
};
using CPropertyExPtr = boost::shared_ptr<CPropertyEx>;

class CPropertiesEx {
public:
    // Appends a property (a tag that exists already is replaced in place).
    CPropertyExPtr Add(const std::string& tag, const std::string& name, const CDataBox& value);
    // The property with the tag, or an empty pointer.
    CPropertyExPtr GetPropertyExByTag(const std::string& tag) const;
    const std::vector<CPropertyExPtr>& Items() const { return m_items; }

    // The value by tag as a number; `fallback` when the tag is missing, null or not a number.
    double GetDouble(const std::string& tag, double fallback) const;
    int GetInt(const std::string& tag, int fallback) const;
    std::string GetText(const std::string& tag) const;

    std::string ToText() const;
    // Sets the values of the tags the text names that exist in this list; false on a malformed line
    // (nothing is changed then).
    bool FromText(const std::string& text);
    // Same tags, same values.
    bool SameValues(const CPropertiesEx& other) const;

private:
    std::vector<CPropertyExPtr> m_items;
};

}  // namespace TAVGis::Data
