#include "host/support/HostTest.h"

#include <sys/wait.h>

#include <cstdio>
#include <fstream>

namespace hosttest {

Result Shell(const std::string& command) {
    Result r;
    FILE* p = ::popen((command + " 2>&1").c_str(), "r");
    if (!p) return r;
    char buf[4096];
    std::size_t n;
    while ((n = std::fread(buf, 1, sizeof buf, p)) > 0) r.output.append(buf, n);
    const int status = ::pclose(p);
    r.code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return r;
}

Result Sewercalc(const std::string& args) {
    return Shell(std::string("'") + SEWER_HOST_PATH + "' " + args);
}

std::string Bytes(const std::filesystem::path& p) {
    std::ifstream in(p, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

void Write(const std::filesystem::path& p, const std::string& text) {
    std::ofstream out(p, std::ios::binary | std::ios::trunc);
    out << text;
}

}  // namespace hosttest
