// The drawing subcommands of sewercalc, run as a person runs them: import, info, show, set, export and run
// against drawing files; failures exit non-zero with a clear message and leave the drawing as it was.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>

#include "host/support/HostTest.h"

namespace {

namespace fs = std::filesystem;

using hosttest::Bytes;
using hosttest::Result;
using hosttest::Sewercalc;
using hosttest::Write;

class DrawingCommandsTest : public ::testing::Test {
protected:
    void SetUp() override {
        dir = fs::temp_directory_path() / ("drawing_commands_" + std::to_string(::getpid()) + "_" +
                                           ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::create_directories(dir);
        drawing = dir / "net.gpkg";
    }
    void TearDown() override {
        std::error_code ec;
        fs::remove_all(dir, ec);
    }
    std::string D() const { return "'" + drawing.string() + "'"; }
    void ImportSmall() {
        auto r = Sewercalc("import " + D() + " '" + std::string(SEWER_SOURCE_DIR) +
                           "/tests/data/store/small_us.inp'");
        ASSERT_EQ(r.code, 0) << r.output;
    }

    fs::path dir, drawing;
};

TEST_F(DrawingCommandsTest, ImportCreatesTheDrawingAndInfoCountsIt) {
    auto r =
        Sewercalc("import " + D() + " '" + std::string(SEWER_SOURCE_DIR) + "/tests/data/store/small_us.inp'");
    ASSERT_EQ(r.code, 0) << r.output;
    EXPECT_NE(r.output.find("sections added: 4\n"), std::string::npos) << r.output;
    EXPECT_NE(r.output.find("not supported, skipped [PUMPS]: 1\n"), std::string::npos) << r.output;
    r = Sewercalc("import " + D() + " '" + std::string(SEWER_SOURCE_DIR) +
                  "/examples/catalogue/pipe_series.csv'");
    ASSERT_EQ(r.code, 0) << r.output;
    EXPECT_NE(r.output.find("pipes: 40 (40 new, 0 updated)"), std::string::npos) << r.output;
    r = Sewercalc("info " + D());
    ASSERT_EQ(r.code, 0) << r.output;
    for (const char* line : {"systems: 1\n", "active system: net\n", "nodes: 5\n", "sections: 4\n",
                             "catchment areas: 2\n", "pipe groups: 4\n", "pipes: 40\n"})
        EXPECT_NE(r.output.find(line), std::string::npos) << line << r.output;
}

TEST_F(DrawingCommandsTest, SetThenShowInBothFormats) {
    ImportSmall();
    auto r = Sewercalc("set " + D() + " FLOW_TOTAL=0.25 PIPE_REF='{X, \"y\"}' --section P2 'pipe a'");
    ASSERT_EQ(r.code, 0) << r.output;
    EXPECT_NE(r.output.find("set 2 attribute(s) on 2 section(s)"), std::string::npos) << r.output;
    r = Sewercalc("set " + D() + " FLOW_TOTAL= --section P2");  // removes the value
    ASSERT_EQ(r.code, 0) << r.output;
    r = Sewercalc("show " + D() + " --attr FLOW_TOTAL PIPE_REF PIPE_DIA_IN --format csv");
    ASSERT_EQ(r.code, 0) << r.output;
    EXPECT_EQ(r.output,
              "section,FLOW_TOTAL,PIPE_REF,PIPE_DIA_IN\n"
              "Pipe A,0.25,\"{X, \"\"y\"\"}\",0.4572\n"
              "P2,,\"{X, \"\"y\"\"}\",0.6096\n"
              "P3,,,\n"
              "P4,,,0.9144\n");
    r = Sewercalc("show " + D() + " --attr FLOW_TOTAL");
    ASSERT_EQ(r.code, 0) << r.output;
    EXPECT_EQ(r.output, "section  FLOW_TOTAL\nPipe A         0.25\nP2\nP3\nP4\n");
}

TEST_F(DrawingCommandsTest, BadRequestsFailAndLeaveTheDrawing) {
    ImportSmall();
    const std::string before = Bytes(drawing);
    struct Case {
        std::string args;
        int code;
        const char* message;
    };
    const std::vector<Case> cases = {
        {"set " + D() + " NO_SUCH_ATTR=1", 2, "sections have no attribute 'NO_SUCH_ATTR'"},
        {"set " + D() + " FLOW_TOTAL=abc", 2, "'abc' is not a number"},
        {"set " + D() + " FLOW_TOTAL=1 --section nosuch", 2, "no section 'nosuch'"},
        {"set " + D() + " FLOW_TOTAL", 2, "is not ATTRIBUTE=VALUE"},
        {"show " + D() + " --attr NOPE", 2, "sections have no attribute 'NOPE'"},
        {"show " + D() + " --attr FLOW_TOTAL --format xml", 105, "xml"},
        {"import " + D() + " '" + (dir / "x.txt").string() + "'", 2, "unknown kind of file"},
        {"import " + D() + " '" + (dir / "missing.inp").string() + "'", 2, "missing.inp"},
        {"info '" + (dir / "none.gpkg").string() + "'", 2, "no such drawing"},
        {"export '" + (dir / "none.gpkg").string() + "' '" + (dir / "o.geojson").string() + "'", 2,
         "no such drawing"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.args);
        auto r = Sewercalc(c.args);
        EXPECT_EQ(r.code, c.code) << r.output;
        EXPECT_NE(r.output.find(c.message), std::string::npos) << r.output;
        EXPECT_EQ(Bytes(drawing), before);
    }
    EXPECT_FALSE(fs::exists(dir / "none.gpkg"));
}

TEST_F(DrawingCommandsTest, RunSavesOnlyAfterASuccessfulScript) {
    ImportSmall();
    const std::string before = Bytes(drawing);
    Write(dir / "fails.sc", "attr P2 FLOW_TOTAL 5\nexpect-attr P2 FLOW_TOTAL 6\n");
    Write(dir / "broken.sc", "attr P2 FLOW_TOTAL 5\nnode\n");
    Write(dir / "good.sc", "attr P2 FLOW_TOTAL 5\nexpect-attr P2 FLOW_TOTAL 5\n");
    auto r = Sewercalc("run " + D() + " '" + (dir / "fails.sc").string() + "'");
    EXPECT_EQ(r.code, 1) << r.output;
    EXPECT_EQ(Bytes(drawing), before);
    r = Sewercalc("run " + D() + " '" + (dir / "broken.sc").string() + "'");
    EXPECT_EQ(r.code, 2) << r.output;
    EXPECT_EQ(Bytes(drawing), before);
    r = Sewercalc("run " + D() + " '" + (dir / "good.sc").string() + "' --dry-run");
    EXPECT_EQ(r.code, 0) << r.output;
    EXPECT_EQ(Bytes(drawing), before);
    r = Sewercalc("run " + D() + " '" + (dir / "good.sc").string() + "'");
    EXPECT_EQ(r.code, 0) << r.output;
    r = Sewercalc("show " + D() + " --attr FLOW_TOTAL --format csv");
    EXPECT_NE(r.output.find("P2,5\n"), std::string::npos) << r.output;
    // A new drawing is created by a successful run, not by a dry run.
    const fs::path fresh = dir / "fresh.gpkg";
    Write(dir / "build.sc", "system town 0 active\nnode A 0 0\nnode B 10 0\nsection S A B\n");
    r = Sewercalc("run '" + fresh.string() + "' '" + (dir / "build.sc").string() + "' --dry-run");
    EXPECT_EQ(r.code, 0) << r.output;
    EXPECT_FALSE(fs::exists(fresh));
    r = Sewercalc("run '" + fresh.string() + "' '" + (dir / "build.sc").string() + "'");
    EXPECT_EQ(r.code, 0) << r.output;
    EXPECT_NE(Sewercalc("info '" + fresh.string() + "'").output.find("sections: 1\n"), std::string::npos);
}

TEST_F(DrawingCommandsTest, HostileFileIsRefusedByEveryCommand) {
    Write(drawing, "this is not a drawing\n");
    Write(dir / "ok.sc", "echo hi\n");
    for (const std::string& args :
         {"info " + D(), "show " + D() + " --attr FLOW_TOTAL", "set " + D() + " FLOW_TOTAL=1",
          "run " + D() + " '" + (dir / "ok.sc").string() + "'",
          "import " + D() + " '" + std::string(SEWER_SOURCE_DIR) + "/tests/data/store/small_us.inp'"}) {
        SCOPED_TRACE(args);
        auto r = Sewercalc(args);
        EXPECT_EQ(r.code, 2) << r.output;
        EXPECT_NE(r.output.find("is not a drawing"), std::string::npos) << r.output;
        EXPECT_EQ(Bytes(drawing), "this is not a drawing\n");
    }
}

TEST_F(DrawingCommandsTest, ExportWritesGeoJson) {
    ImportSmall();
    const fs::path out = dir / "out.geojson";
    auto r = Sewercalc("export " + D() + " '" + out.string() + "'");
    ASSERT_EQ(r.code, 0) << r.output;
    EXPECT_NE(r.output.find("exported 5 nodes, 4 sections, 2 catchment areas"), std::string::npos)
        << r.output;
    auto json = nlohmann::json::parse(Bytes(out));
    EXPECT_EQ(json["features"].size(), 11u);
    EXPECT_EQ(json["features"][5]["properties"]["name"], "Pipe A");
}

TEST_F(DrawingCommandsTest, EverySubcommandHasHelp) {
    for (const char* sub : {"run", "import", "export", "info", "show", "set"}) {
        SCOPED_TRACE(sub);
        auto r = Sewercalc(std::string(sub) + " --help");
        EXPECT_EQ(r.code, 0) << r.output;
        EXPECT_NE(r.output.find("DRAWING"), std::string::npos) << r.output;
    }
    // "help", "--help" and no subcommand print the same help of the whole program.
    const auto full = Sewercalc("--help");
    ASSERT_EQ(full.code, 0) << full.output;
    for (const char* sub : {"set", "import", "dialog"})
        EXPECT_NE(full.output.find(sub), std::string::npos) << full.output;
    for (const char* args : {"help", ""}) {
        const auto r = Sewercalc(args);
        EXPECT_EQ(r.code, 0) << args;
        EXPECT_EQ(r.output, full.output) << args;
    }
}

}  // namespace
