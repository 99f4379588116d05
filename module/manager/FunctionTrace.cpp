#include "module/manager/FunctionTrace.h"

#include <cstdio>
#include <ctime>
#include <fstream>
#include <vector>

#include "platform/sessions/LogEngine.h"

namespace {
std::vector<std::string>& Stack() {
    static std::vector<std::string> names;
    return names;
}

bool On(int level) {
    return level <= FunctionTrace::kThreshold && TAVGis::Logging::CLogEngine::GetLoggingOnOff();
}

std::string Now() {
    const std::time_t t = std::time(nullptr);
    std::tm local{};
    localtime_r(&t, &local);
    char buf[16];
    std::snprintf(buf, sizeof buf, "%02d:%02d:%02d", local.tm_hour, local.tm_min, local.tm_sec);
    return buf;
}

std::string Top() {
    return Stack().empty() ? std::string() : Stack().back();
}

const char* BaseName(const char* file) {
    const char* base = file;
    for (const char* p = file; *p; ++p)
        if (*p == '/' || *p == '\\') base = p + 1;
    return base;
}
}  // namespace

std::string FunctionTrace::Prefix(const std::string& time, const char* file, int line,
                                  const std::string& function) {
    const std::string head = "[" + time + "] ";
    char buf[64];
    std::snprintf(buf, sizeof buf, "(%5.5i): [", line);
    std::string name = BaseName(file), fn = function;
    if (name.size() < 32) name.append(32 - name.size(), ' ');
    if (fn.size() < 16) fn.append(16 - fn.size(), ' ');
    return head + name + buf + fn + "], ";
}

void FunctionTrace::Write(const char* file, int line, const std::string& function,
                          const std::string& message) {
    std::ofstream out(TAVGis::Logging::CLogEngine::GetLogFileFullPath(), std::ios::app);
    out << Prefix(Now(), file, line, function) << message << '\n';
}

FunctionTrace::FunctionTrace(const char* file, int line, const char* function, int level)
    : m_function(function), m_file(file), m_line(line) {
    if (!On(level)) return;
    m_active = true;
    Write(file, line, m_function, "Entering function , " + m_function);
    Stack().push_back(m_function);
}

FunctionTrace::~FunctionTrace() {
    if (!m_active) return;
    Write(m_file, m_line, m_function, "Exiting function , " + m_function);
    if (!Stack().empty()) Stack().pop_back();
}

void FunctionTrace::Marker(const char* file, int line) {
    if (On(kDefaultLevel)) Write(file, line, Top(), "Marker");
}

void FunctionTrace::Value(const char* file, int line, const std::string& name, const std::string& value) {
    if (On(kDefaultLevel)) Write(file, line, Top(), "'" + name + " = '" + value + "'");
}

void FunctionTrace::Message(const char* file, int line, const std::string& text) {
    if (On(kDefaultLevel)) Write(file, line, Top(), text);
}

bool FunctionTrace::Verify(bool condition, const char* text, const char* file, int line) {
    if (!condition && On(kDefaultLevel))
        Write(file, line, Top(), std::string("Failed verification:  '") + text + "'");
    return condition;
}
