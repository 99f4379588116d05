#pragma once
// CWsManager: the workspace's message log, where long calculations report their progress.
#include <string>
#include <vector>

namespace TAVGis::Workspace {

class CWsManager {
public:
    // Appends a line to the log and shows it on the host command line.
    static void LogMessage(const std::string& text);
    static const std::vector<std::string>& Messages();
    static void ClearMessages();
};

}  // namespace TAVGis::Workspace
