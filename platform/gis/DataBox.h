#pragma once
// CDataBox: the value box of every attribute read and write: null, or a double, an integer, a text or a
// list of texts.
#include <string>
#include <variant>
#include <vector>

namespace TAVGis::Data {

class CDataBox {
public:
    CDataBox() = default;
    CDataBox(double v) : m_value(v) {}
    CDataBox(int v) : m_value(v) {}
    CDataBox(const std::string& v) : m_value(v) {}
    CDataBox(const char* v) : m_value(std::string(v)) {}
    CDataBox(const std::vector<std::string>& v) : m_value(v) {}

    bool IsNull() const { return std::holds_alternative<std::monostate>(m_value); }
    bool IsNotNull() const { return !IsNull(); }
    bool IsDouble() const { return std::holds_alternative<double>(m_value); }
    bool IsInt() const { return std::holds_alternative<int>(m_value); }
    bool IsText() const { return std::holds_alternative<std::string>(m_value); }
    bool IsList() const { return std::holds_alternative<std::vector<std::string>>(m_value); }

    // Conversions: numbers convert between each other; a text converts to a number by decimal parsing
    // (0 when it is not a number); a null box gives 0 or an empty text.
    double ToDouble() const;
    int ToInt() const;
    std::string ToString() const;
    const std::vector<std::string>& ToList() const;
    explicit operator double() const { return ToDouble(); }
    explicit operator int() const { return ToInt(); }
    explicit operator std::string() const { return ToString(); }

    void SetValue(double v) { m_value = v; }
    void SetValue(int v) { m_value = v; }
    void SetValue(const std::string& v) { m_value = v; }
    void SetNull() { m_value = std::monostate{}; }

    bool operator==(const CDataBox&) const = default;

private:
    std::variant<std::monostate, double, int, std::string, std::vector<std::string>> m_value;
};

}  // namespace TAVGis::Data
