// Nothing a person saves is lost: one writer per drawing, other programs' tables and layers kept through
// every kind of save, output files that are never the drawing and are written whole or not at all, and
// saves that respect the file (read-only, permissions, symbolic links).
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <string>

#include "host/support/HostTest.h"
#include "platform/host/AtomicFile.h"
#include "platform/store/DrawingFileError.h"
#include "platform/store/DrawingLock.h"

namespace {

namespace fs = std::filesystem;
using hosttest::Bytes;
using hosttest::Result;
using hosttest::Sewercalc;
using hosttest::Shell;
using hosttest::Write;

class DrawingSafetyTest : public ::testing::Test {
protected:
    void SetUp() override {
        dir = fs::temp_directory_path() / ("drawing_safety_" + std::to_string(::getpid()) + "_" +
                                           ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::create_directories(dir);
        drawing = dir / "net.gpkg";
        auto r = Sewercalc("import '" + drawing.string() + "' '" + std::string(SEWER_SOURCE_DIR) +
                           "/tests/data/store/small_us.inp'");
        ASSERT_EQ(r.code, 0) << r.output;
    }
    void TearDown() override {
        std::error_code ec;
        fs::permissions(dir, fs::perms::owner_all, fs::perm_options::add, ec);
        fs::remove_all(dir, ec);
    }
    std::string Q(const fs::path& p) const { return "'" + p.string() + "'"; }
    std::string Sql(const std::string& sql) const {
        return Shell("sqlite3 " + Q(drawing) + " \"" + sql + "\"").output;
    }
    // A script that adds a node: the drawing then has to be written whole.
    fs::path AddingScript(const std::string& node) const {
        const fs::path sc = dir / (node + ".sc");
        Write(sc, "active net\nnode " + node + " 1 2\n");
        return sc;
    }
    static bool HaveProgram(const char* name) { return Shell(std::string("command -v ") + name).code == 0; }

    fs::path dir, drawing;
};

TEST_F(DrawingSafetyTest, ASecondWriterIsRefusedAtOnceAndReadersCarryOn) {
    const fs::path link = dir / "link.gpkg";
    fs::create_symlink(drawing, link);
    const std::string before = Bytes(drawing);
    {
        auto held = TAVGis::Store::CDrawingLock::Acquire(drawing);  // what a writing process holds
        for (const std::string& args :
             {"set " + Q(drawing) + " FLOW_USER=1", "set " + Q(link) + " FLOW_USER=1",
              "run " + Q(drawing) + " " + Q(AddingScript("N9")),
              "import " + Q(drawing) + " " + Q(dir / "none.csv")}) {
            SCOPED_TRACE(args);
            const Result r = Sewercalc(args);
            EXPECT_EQ(r.code, 2) << r.output;
            EXPECT_NE(r.output.find("the drawing is in use by another process"), std::string::npos)
                << r.output;
        }
        EXPECT_EQ(Bytes(drawing), before);
        const Result show = Sewercalc("show " + Q(drawing) + " --attr FLOW_USER");
        EXPECT_EQ(show.code, 0) << show.output;
        EXPECT_THROW(TAVGis::Store::CDrawingLock::Acquire(link), TAVGis::Store::CDrawingFileError);
    }
    const Result r = Sewercalc("set " + Q(drawing) + " FLOW_USER=1");
    EXPECT_EQ(r.code, 0) << r.output;
    EXPECT_FALSE(fs::exists(dir / "net.gpkg.lock"));
}

// Two writers started together, many times: whatever one reports as saved is in the drawing afterwards.
TEST_F(DrawingSafetyTest, ConcurrentWritersNeverLoseAReportedSave) {
    const std::string exe = std::string("'") + SEWER_HOST_PATH + "'";
    int saved = 0, refused = 0;
    for (int i = 1; i <= 10; ++i) {
        const std::string value = std::to_string(i) + ".5";
        const std::string a = exe + " set " + Q(drawing) + " FLOW_USER=" + value + " > " + Q(dir / "a.out") +
                              " 2>&1; echo $? > " + Q(dir / "a.rc");
        const std::string b = exe + " run " + Q(drawing) + " " + Q(AddingScript("X" + std::to_string(i))) +
                              " > " + Q(dir / "b.out") + " 2>&1; echo $? > " + Q(dir / "b.rc");
        Shell("(" + a + ") & (" + b + ") & wait");
        const int ra = std::stoi(Bytes(dir / "a.rc")), rb = std::stoi(Bytes(dir / "b.rc"));
        SCOPED_TRACE(Bytes(dir / "a.out") + Bytes(dir / "b.out"));
        // Refused only because the other one was writing.
        for (const auto& [rc, out] : {std::pair{ra, dir / "a.out"}, std::pair{rb, dir / "b.out"}}) {
            ASSERT_TRUE(rc == 0 || rc == 2);
            if (rc == 2) {
                EXPECT_NE(Bytes(out).find("in use by another process"), std::string::npos);
            }
        }
        if (ra == 0) {
            EXPECT_EQ(Sql("SELECT DISTINCT FLOW_USER FROM sections"), value + "\n");
        }
        if (rb == 0) {
            EXPECT_EQ(Sql("SELECT count(*) FROM nodes WHERE name = 'X" + std::to_string(i) + "'"), "1\n");
        }
        saved += (ra == 0) + (rb == 0);
        refused += (ra == 2) + (rb == 2);
        EXPECT_EQ(Sql("PRAGMA integrity_check"), "ok\n");
    }
    EXPECT_GT(saved, 0);
    std::printf("concurrent writers: %d saves, %d refused\n", saved, refused);
}

TEST_F(DrawingSafetyTest, OtherProgramsTablesAndLayersSurviveEverySave) {
    Sql("CREATE TABLE layer_styles (id INTEGER PRIMARY KEY, f_table_name TEXT, styleQML TEXT);"
        "INSERT INTO layer_styles VALUES (1, 'sections', '<qgis/>');"
        "CREATE TABLE survey_points (fid INTEGER PRIMARY KEY AUTOINCREMENT, geom BLOB, note TEXT);"
        "INSERT INTO survey_points (geom, note) VALUES "
        "(x'47500001FFFFFFFF0101000000000000000000F03F0000000000000040', "
        "'manhole lid');"
        "CREATE INDEX survey_note ON survey_points (note);"
        "CREATE TABLE survey_log (n INTEGER);"
        "CREATE TRIGGER survey_count AFTER INSERT ON survey_points BEGIN INSERT INTO survey_log VALUES (1); "
        "END;"
        "CREATE VIRTUAL TABLE rtree_survey_points_geom USING rtree(id, minx, maxx, miny, maxy);"
        "INSERT INTO rtree_survey_points_geom VALUES (1, 1, 1, 2, 2);"
        "INSERT INTO gpkg_contents (table_name, data_type, identifier, srs_id) VALUES ('survey_points', "
        "'features', 'survey_points', -1);"
        "INSERT INTO gpkg_geometry_columns VALUES ('survey_points', 'geom', 'POINT', -1, 0, 0);");
    const bool gdal = HaveProgram("ogr2ogr");
    if (gdal) {
        Write(dir / "wells.geojson",
              R"({"type":"FeatureCollection","features":[{"type":"Feature","properties":{"depth":12},)"
              R"("geometry":{"type":"Point","coordinates":[3,4]}}]})");
        const Result r =
            Shell("ogr2ogr -update -f GPKG " + Q(drawing) + " " + Q(dir / "wells.geojson") + " -nln wells");
        ASSERT_EQ(r.code, 0) << r.output;
    }
    auto check = [&](const char* after) {
        SCOPED_TRACE(after);
        EXPECT_EQ(Sql("SELECT styleQML FROM layer_styles"), "<qgis/>\n");
        EXPECT_EQ(Sql("SELECT note FROM survey_points"), "manhole lid\n");
        EXPECT_EQ(Sql("SELECT count(*) FROM sqlite_master WHERE name IN ('survey_note', 'survey_count')"),
                  "2\n");
        EXPECT_EQ(Sql("SELECT id, minx FROM rtree_survey_points_geom"), "1|1.0\n");
        EXPECT_EQ(Sql("SELECT data_type FROM gpkg_contents WHERE table_name = 'survey_points'"),
                  "features\n");
        EXPECT_EQ(Sql("PRAGMA integrity_check"), "ok\n");
        if (gdal) {
            const Result info = Shell("ogrinfo -ro -q " + Q(drawing));
            EXPECT_NE(info.output.find("wells"), std::string::npos) << info.output;
            EXPECT_NE(info.output.find("survey_points"), std::string::npos) << info.output;
            EXPECT_NE(info.output.find("sections"), std::string::npos) << info.output;
            const Result wells = Shell("ogrinfo -ro -q " + Q(drawing) + " wells");
            EXPECT_NE(wells.output.find("depth (Integer) = 12"), std::string::npos) << wells.output;
        }
    };
    ASSERT_EQ(Sewercalc("set " + Q(drawing) + " FLOW_USER=2").code, 0);
    check("a save in place");
    const Result whole = Sewercalc("run " + Q(drawing) + " " + Q(AddingScript("N7")));
    ASSERT_EQ(whole.code, 0) << whole.output;
    ASSERT_EQ(Sql("SELECT count(*) FROM nodes WHERE name = 'N7'"), "1\n");
    check("a whole rewrite");
}

TEST_F(DrawingSafetyTest, SavesRespectTheFile) {
    // Permissions are kept through a whole rewrite.
    fs::permissions(drawing, fs::perms::owner_read | fs::perms::owner_write, fs::perm_options::replace);
    ASSERT_EQ(Sewercalc("run " + Q(drawing) + " " + Q(AddingScript("P1"))).code, 0);
    EXPECT_EQ(fs::status(drawing).permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write);
    // A link is followed: the target is saved, the link stays a link.
    const fs::path link = dir / "link.gpkg";
    fs::create_symlink(drawing, link);
    ASSERT_EQ(Sewercalc("run " + Q(link) + " " + Q(AddingScript("P2"))).code, 0);
    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_EQ(Sql("SELECT count(*) FROM nodes WHERE name = 'P2'"), "1\n");
    // A read-only drawing is refused, and stays as it was.
    {
        fs::permissions(drawing, fs::perms::owner_read, fs::perm_options::replace);
        const std::string before = Bytes(drawing);
        for (const std::string& args :
             {"set " + Q(drawing) + " FLOW_USER=3", "run " + Q(drawing) + " " + Q(AddingScript("P3"))}) {
            const Result r = Sewercalc(args);
            EXPECT_EQ(r.code, 2) << r.output;
            EXPECT_NE(r.output.find("read-only"), std::string::npos) << r.output;
        }
        EXPECT_EQ(Bytes(drawing), before);
    }
    // A whole save killed midway leaves its temporary file; the next save removes it.
    Write(dir / "net.gpkg.saving", std::string(4096, 'x'));
    fs::permissions(drawing, fs::perms::owner_read | fs::perms::owner_write, fs::perm_options::replace);
    ASSERT_EQ(Sewercalc("set " + Q(drawing) + " FLOW_USER=4").code, 0);
    EXPECT_FALSE(fs::exists(dir / "net.gpkg.saving"));
}

TEST_F(DrawingSafetyTest, OutputFilesAreNeverTheDrawingAndAreWrittenWholeOrNotAtAll) {
    const std::string before = Bytes(drawing);
    const fs::path link = dir / "link.geojson";
    fs::create_symlink(drawing, link);
    for (const fs::path& target : {drawing, link, dir / "." / "net.gpkg"}) {
        const Result r = Sewercalc("export " + Q(drawing) + " " + Q(target));
        EXPECT_EQ(r.code, 2) << r.output;
        EXPECT_NE(r.output.find("is the drawing being worked on"), std::string::npos) << r.output;
    }
    EXPECT_EQ(Bytes(drawing), before);

    // A write that fails midway leaves the previous file and no temporary file.
    const fs::path out = dir / "out.txt";
    Write(out, "previous");
    std::string error;
    EXPECT_FALSE(TAVHost::WriteFileAtomically(
        out,
        [](std::ostream& s) {
            s << "half";
            throw std::runtime_error("disk gone");
        },
        error));
    EXPECT_NE(error.find("disk gone"), std::string::npos) << error;
    EXPECT_EQ(Bytes(out), "previous");
    EXPECT_FALSE(fs::exists(dir / "out.txt.writing"));
    // A full disk: the stream fails.
    if (fs::exists("/dev/full")) {
        EXPECT_FALSE(TAVHost::WriteFileAtomically(
            out, [](std::ostream& s) { s.setstate(std::ios::badbit); }, error));
        EXPECT_EQ(Bytes(out), "previous");
    }
    // A complete write replaces the file and keeps its permissions.
    fs::permissions(out, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read,
                    fs::perm_options::replace);
    ASSERT_TRUE(TAVHost::WriteFileAtomically(
        out, [](std::ostream& s) { s << "new"; }, error))
        << error;
    EXPECT_EQ(Bytes(out), "new");
    EXPECT_EQ(fs::status(out).permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    // A device is written, never replaced by a file.
    ASSERT_TRUE(TAVHost::WriteFileAtomically(
        "/dev/null", [](std::ostream& s) { s << "gone"; }, error))
        << error;
    struct stat null {};
    ASSERT_EQ(::stat("/dev/null", &null), 0);
    EXPECT_TRUE(S_ISCHR(null.st_mode));
    EXPECT_FALSE(fs::exists("/dev/null.writing"));
    EXPECT_FALSE(TAVHost::WriteFileAtomically(
        dir, [](std::ostream& s) { s << "x"; }, error));
    // The export itself: a stale temporary file of a killed export is replaced.
    Write(dir / "net.geojson.writing", "stale");
    const Result r = Sewercalc("export " + Q(drawing) + " " + Q(dir / "net.geojson"));
    EXPECT_EQ(r.code, 0) << r.output;
    EXPECT_EQ(Bytes(dir / "net.geojson").substr(0, 1), "{");
    EXPECT_FALSE(fs::exists(dir / "net.geojson.writing"));
}

}  // namespace
