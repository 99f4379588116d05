#pragma once
// CLogEngine: the platform's trace log. Logging is switched on by the environment variable TAVX_LOG_FILE
// (the file the lines go to) or by SetLogging.
#include <string>

namespace TAVGis::Logging {

class CLogEngine {
public:
    static bool GetLoggingOnOff();
    static std::string GetLogFileFullPath();
    static void SetLogging(bool on, const std::string& path);
};

}  // namespace TAVGis::Logging
