#pragma once
// FunctionTrace: the function-trace log of the flow calculations manager and the Turkish and ISKI
// waste-water dialogs. A FunctionTrace made at the entry of a function writes an entry line and, when it
// goes out of scope, an exit line, while logging is on (CLogEngine::GetLoggingOnOff) and its level is at
// most the threshold (3). Lines are appended to CLogEngine::GetLogFileFullPath, one per line:
//   "[HH:MM:SS] " file name (no folder) left-aligned in 32, "(" line as 5 digits zero-filled "): [" function
//   left-aligned in 16 "], " and the message:
//     entry    "Entering function , <function>"      exit   "Exiting function , <function>"
//     marker   "Marker"                               value  "'<name> = '<value>'"
//     failed   "Failed verification:  '<text>'"
//     message  the text as given (for example "Calculation...")
// Entry and exit lines carry the line where the trace was made. Markers, values and verifications carry the
// file and line where they stand and the function on top of the trace stack (empty when none). With logging
// off nothing is written and nothing is pushed.
#include <string>

class FunctionTrace {
public:
    static constexpr int kDefaultLevel = 3;
    static constexpr int kThreshold = 3;

    FunctionTrace(const char* file, int line, const char* function, int level = kDefaultLevel);
    ~FunctionTrace();
    FunctionTrace(const FunctionTrace&) = delete;
    FunctionTrace& operator=(const FunctionTrace&) = delete;

    static void Marker(const char* file, int line);
    static void Value(const char* file, int line, const std::string& name, const std::string& value);
    // A line with a plain text, such as the step a handler is at.
    static void Message(const char* file, int line, const std::string& text);
    // Writes a failed-verification line when the condition is false and tracing is on; returns the condition.
    static bool Verify(bool condition, const char* text, const char* file, int line);

    // The prefix of a line (exposed for the tests): time as "HH:MM:SS".
    static std::string Prefix(const std::string& time, const char* file, int line,
                              const std::string& function);

private:
    static void Write(const char* file, int line, const std::string& function, const std::string& message);
    bool m_active = false;
    std::string m_function;
    const char* m_file;
    int m_line;
};

#define TRACE_FUNCTION() FunctionTrace functionTrace_(__FILE__, __LINE__, __func__)
#define TRACE_MARKER() FunctionTrace::Marker(__FILE__, __LINE__)
#define TRACE_MESSAGE(text) FunctionTrace::Message(__FILE__, __LINE__, text)
#define TRACE_VALUE(name, value) FunctionTrace::Value(__FILE__, __LINE__, name, value)
#define TRACE_VERIFY(condition) FunctionTrace::Verify((condition), #condition, __FILE__, __LINE__)
