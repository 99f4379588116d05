#include "platform/sessions/WsManager.h"

#include "platform/host/HostUi.h"

namespace TAVGis::Workspace {
namespace {
std::vector<std::string>& Log() {
    static std::vector<std::string> log;
    return log;
}
}  // namespace

void CWsManager::LogMessage(const std::string& text) {
    Log().push_back(text);
    TAVHost::GetHostUi().Print(text + "\n");
}
const std::vector<std::string>& CWsManager::Messages() {
    return Log();
}
void CWsManager::ClearMessages() {
    Log().clear();
}

}  // namespace TAVGis::Workspace
