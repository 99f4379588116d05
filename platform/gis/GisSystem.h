#pragma once
// A GIS system of a drawing: a named network with a function (0 is a sewage system).
#include <boost/shared_ptr.hpp>
#include <string>

namespace TAVGis::System {

constexpr int kSystemFunctionSewage = 0;

class CGisSystem {
public:
    CGisSystem(int id, std::string name, int function)
        : m_id(id), m_name(std::move(name)), m_function(function) {}
    int GetId() const { return m_id; }
    const std::string& GetName() const { return m_name; }
    int GetSystemFunction() const { return m_function; }
    void SetSystemFunction(int f) { m_function = f; }

private:
    int m_id;
    std::string m_name;
    int m_function;
};

using CGisSystemPtr = boost::shared_ptr<CGisSystem>;

}  // namespace TAVGis::System
