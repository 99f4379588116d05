#include "platform/sessions/LogEngine.h"

#include <cstdlib>
#include <optional>

namespace TAVGis::Logging {
namespace {
struct State {
    std::optional<bool> on;
    std::string path;
};
State& S() {
    static State s;
    return s;
}
std::string EnvPath() {
    const char* p = std::getenv("TAVX_LOG_FILE");
    return p ? p : "";
}
}  // namespace

bool CLogEngine::GetLoggingOnOff() {
    return S().on ? *S().on : !EnvPath().empty();
}
std::string CLogEngine::GetLogFileFullPath() {
    return S().on ? S().path : EnvPath();
}
void CLogEngine::SetLogging(bool on, const std::string& path) {
    S().on = on;
    S().path = path;
}

}  // namespace TAVGis::Logging
