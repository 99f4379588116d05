// The command-line host never crashes on a hostile script: every run ends with an exit code of its own
// (0 to 3), never with a signal.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <random>
#include <string>

namespace {

int RunHost(const std::string& scriptText, std::string* output = nullptr) {
    char path[] = "/tmp/sewercalc_scriptXXXXXX";
    int fd = mkstemp(path);
    if (fd < 0) return -1;
    close(fd);
    {
        std::ofstream out(path, std::ios::binary);
        out << scriptText;
    }
    std::string cmd = std::string(SEWER_HOST_PATH) + " run - " + path + " 2>&1";
    FILE* p = popen(cmd.c_str(), "r");
    std::string text;
    char buf[4096];
    while (p && fgets(buf, sizeof buf, p)) text += buf;
    int status = p ? pclose(p) : -1;
    std::remove(path);
    if (output) *output = text;
    return status;
}

TEST(HostRobustnessTest, HostileScriptsEndWithAnExitCode) {
    std::mt19937 rng(7);
    std::vector<std::string> scripts = {
        "",
        "\"unterminated",
        "close\nclick 1\nset 5 x\n",
        "system s 0 active\ncommand CalcFlowTotal\ncommand CalcFlowTotal\n",
        "system s 0 active\ncommand CalcFlowTotal\nchoose 283 99\n",
        "system s 0 active\nnode a 1e400 0\n",
        "system s 0 active\nnode a 0 0\nnode a 1 1\n",
        "system s 0 active\nnode a 0 0\nsection x a a\nprint x FLOW_TOTAL\n",
        "system s 0 active\nnode a nan 0\n",
        "system s 99999999999999999999 active\n",
        "command\nsection\nnode\nattr\nexpect-attr\n",
        "system s 0 active\ncommand fman\ntype 1 abc\nkey 1 ctrl+c\nselect 1 5\n",
        std::string(100000, 'x'),
        std::string("system s 0 active\nnode \"a\\") + std::string(1000, '"') + "\n",
    };
    for (int i = 0; i < 20; ++i) {
        std::string junk(200, ' ');
        for (auto& c : junk) c = static_cast<char>(rng() % 256);
        scripts.push_back(junk);
    }
    for (std::size_t i = 0; i < scripts.size(); ++i) {
        std::string out;
        int status = RunHost(scripts[i], &out);
        ASSERT_NE(status, -1);
        EXPECT_TRUE(WIFEXITED(status)) << "script " << i << " ended by a signal:\n" << out;
        if (WIFEXITED(status)) {
            EXPECT_LE(WEXITSTATUS(status), 3) << "script " << i << ":\n" << out;
        }
    }
}

}  // namespace
