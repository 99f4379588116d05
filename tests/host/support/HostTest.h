#pragma once
// What the host's tests share: sewercalc run as a person runs it, and file contents.
#include <filesystem>
#include <string>

namespace hosttest {

struct Result {
    int code = -1;
    std::string output;  // stdout and stderr
};

// Runs sewercalc with the arguments (a shell command line after the program's name).
Result Sewercalc(const std::string& args);
// Runs a shell command; its output with errors.
Result Shell(const std::string& command);

std::string Bytes(const std::filesystem::path& p);
void Write(const std::filesystem::path& p, const std::string& text);

}  // namespace hosttest
