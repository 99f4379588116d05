#pragma once
// CNonFiniteValues: the results a calculation could not store because they are not finite numbers (a flow
// that overflows to infinity, a growth factor beyond the range of a double, an undefined NaN). No value that
// is not finite is ever stored: a calculation checks each result before it writes it, writes nothing for a
// section whose result is not finite, and records the section, the attribute and the value here; the dialog
// then shows one alert (message 3455) naming the first sections and their values, and how many more.
#include <cstddef>
#include <string>
#include <vector>

struct NonFiniteValue {
    std::string section;    // the section's name
    std::string attribute;  // the attribute that was not written
    double value = 0.0;     // +inf, -inf or NaN
};

class CNonFiniteValues {
public:
    static constexpr int kMsgNotFinite = 3455;
    static constexpr std::size_t kNamedInAlert = 5;

    // True when `value` is finite; otherwise records it and answers false.
    bool Check(const std::string& section, const std::string& attribute, double value);

    bool Empty() const { return m_values.empty(); }
    std::size_t Count() const { return m_values.size(); }
    const std::vector<NonFiniteValue>& Values() const { return m_values; }

    // Message 3455, then "S1 FLOW_TRANSIT = inf; S2 FLOW_TOTAL = NaN" for the first kNamedInAlert values
    // and "and N more" for the rest. Empty when nothing was recorded.
    std::string AlertText() const;
    // "inf", "-inf" or "NaN" (a finite value as "%g").
    static std::string ValueText(double value);

private:
    std::vector<NonFiniteValue> m_values;
};
