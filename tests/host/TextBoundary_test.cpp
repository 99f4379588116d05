// Text enters a drawing as valid UTF-8 only, whatever the line ends, and importers read regular files only:
// sewercalc run against the bytes a person's tools produce.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

namespace {

namespace fs = std::filesystem;

struct Outcome {
    int code = -1;
    std::string output;
};

Outcome Sewercalc(const std::string& args) {
    const std::string cmd = std::string(SEWER_HOST_PATH) + " " + args + " 2>&1";
    Outcome r;
    FILE* p = popen(cmd.c_str(), "r");
    if (!p) return r;
    char buf[4096];
    while (fgets(buf, sizeof buf, p)) r.output += buf;
    const int status = pclose(p);
    r.code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return r;
}

std::string Bytes(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

void Write(const fs::path& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

std::string Replace(std::string text, const std::string& from, const std::string& to) {
    for (std::size_t at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size()))
        text.replace(at, from.size(), to);
    return text;
}

class TextBoundaryTest : public ::testing::Test {
protected:
    void SetUp() override {
        dir = fs::temp_directory_path() / ("text_boundary_" + std::to_string(::getpid()) + "_" +
                                           ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::create_directories(dir);
        inp = Bytes(fs::path(SEWER_SOURCE_DIR) / "tests/data/store/small_us.inp");
        ASSERT_FALSE(inp.empty());
    }
    void TearDown() override {
        std::error_code ec;
        fs::remove_all(dir, ec);
    }
    std::string Q(const fs::path& p) const { return "'" + p.string() + "'"; }

    fs::path dir;
    std::string inp;
};

// LF, CR LF and CR line ends, with and without a byte-order mark, import the same network.
TEST_F(TextBoundaryTest, EveryLineEndImportsTheSameNetwork) {
    std::string reference;
    for (const std::string bom : {"", "\xEF\xBB\xBF"}) {
        for (const std::string end : {"\n", "\r\n", "\r"}) {
            SCOPED_TRACE(::testing::PrintToString(bom + end));
            const fs::path file = dir / "net.inp";
            const fs::path drawing = dir / "net.gpkg";
            fs::remove(drawing);
            Write(file, bom + Replace(inp, "\n", end));
            const Outcome imported = Sewercalc("import " + Q(drawing) + " " + Q(file));
            ASSERT_EQ(imported.code, 0) << imported.output;
            const Outcome shown = Sewercalc("show " + Q(drawing) + " --attr SECTION_LENGTH --format csv");
            ASSERT_EQ(shown.code, 0) << shown.output;
            if (reference.empty()) reference = shown.output;
            EXPECT_EQ(shown.output, reference);
        }
    }
    EXPECT_NE(reference.find("Pipe A"), std::string::npos) << reference;
}

// Bytes that are not UTF-8 never reach the drawing: an import names the file and line, or reads the file in
// the code page when told to; `set` refuses such a value.
TEST_F(TextBoundaryTest, BytesThatAreNotUtf8AreRefusedOrReadInTheCodePage) {
    const fs::path file = dir / "cp1250.inp";
    const fs::path drawing = dir / "net.gpkg";
    Write(file, Replace(inp, "P3 ",
                        "\x8A"
                        "ibenik "));  // windows-1250 S with caron
    const Outcome refused = Sewercalc("import " + Q(drawing) + " " + Q(file));
    EXPECT_EQ(refused.code, 2);
    EXPECT_NE(refused.output.find(file.string() + ": line 28: "), std::string::npos) << refused.output;
    EXPECT_NE(refused.output.find("not UTF-8"), std::string::npos) << refused.output;
    EXPECT_FALSE(fs::exists(drawing));

    const Outcome read = Sewercalc("import --code-page " + Q(drawing) + " " + Q(file));
    ASSERT_EQ(read.code, 0) << read.output;
    const Outcome shown = Sewercalc("show " + Q(drawing) + " --attr SECTION_LENGTH --format csv");
    EXPECT_NE(shown.output.find("\xC5\xA0ibenik"), std::string::npos) << shown.output;

    const std::string before = Bytes(drawing);
    const Outcome set = Sewercalc("set " + Q(drawing) + " 'PIPE_REF=\xFF'");
    EXPECT_EQ(set.code, 2);
    EXPECT_NE(set.output.find("PIPE_REF: the value is not UTF-8 text"), std::string::npos) << set.output;
    EXPECT_EQ(Bytes(drawing), before);
}

// A device or a directory named like an import file or a script is refused at once, before anything is read.
TEST_F(TextBoundaryTest, ImportsReadRegularFilesOnly) {
    const fs::path drawing = dir / "net.gpkg";
    fs::create_symlink("/dev/zero", dir / "zero.inp");
    fs::create_directory(dir / "folder.geojson");
    fs::create_symlink("/dev/zero", dir / "zero.sc");
    for (const fs::path& source : {dir / "zero.inp", dir / "folder.geojson", dir / "zero.sc"}) {
        SCOPED_TRACE(source.string());
        const auto start = std::chrono::steady_clock::now();
        const Outcome r =
            Sewercalc((source.extension() == ".sc" ? "run - " : "import " + Q(drawing) + " ") + Q(source));
        EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(20));
        EXPECT_EQ(r.code, 2);
        EXPECT_NE(r.output.find(source.string()), std::string::npos) << r.output;
    }
}

}  // namespace
