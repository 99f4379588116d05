// The drawing file: round trips of everything a drawing holds, hostile and damaged files refused without
// being touched, a save killed midway leaving the previous drawing, the GeoPackage layout GIS tools read.
#include "platform/store/DrawingFile.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <random>
#include <set>
#include <thread>

#include "platform/gis/DataConfiguration.h"
#include "platform/gis/DataRW.h"
#include "platform/gis/GisDrawingData.h"
#include "platform/gis/SystemManager.h"
#include "platform/host/UndoJournal.h"
#include "platform/network/TopologyStorage.h"
#include "platform/store/GpkgGeometry.h"
#include "support/TestSupport.h"
#include "testing/DrawingDump.h"
#include "testing/NetworkGenerator.h"

namespace {

namespace fs = std::filesystem;
using TAVGis::Data::CDataBox;
using TAVGis::Store::CDrawingFile;
using TAVGis::Store::CDrawingFileError;
using TAVGis::Store::CGpkgGeometry;

const std::string kHostile = "O'Brien \"Main\"; DROP TABLE sections;--";

std::string Bytes(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

void WriteBytes(const fs::path& p, const std::string& bytes) {
    std::ofstream out(p, std::ios::binary | std::ios::trunc);
    out << bytes;
}

// What a shell command prints, errors included.
std::string Output(const std::string& command) {
    std::string out;
    if (FILE* p = ::popen((command + " 2>&1").c_str(), "r")) {
        char buf[512];
        while (std::fgets(buf, sizeof buf, p)) out += buf;
        ::pclose(p);
    }
    return out;
}

std::string Sqlite(const fs::path& db, const std::string& sql) {
    return Output("sqlite3 '" + db.string() + "' \"" + sql + "\"");
}

std::set<std::string> FilesIn(const fs::path& dir) {
    std::set<std::string> names;
    for (const auto& e : fs::directory_iterator(dir)) names.insert(e.path().filename().string());
    return names;
}

CDataBox Read(TAVHost::Document& d, const std::string& entity, const std::string& attribute) {
    CDataBox box;
    TAVGis::Data::CDataRW::Read(attribute, TAVGis::Topology::TopologyOf(d).FindEntityByName(entity), box);
    return box;
}

class DrawingFileTest : public testsupport::DrawingTest {
protected:
    void SetUp() override {
        DrawingTest::SetUp();
        dir = fs::temp_directory_path() / ("drawingfile_test_" + std::to_string(::getpid()));
        fs::create_directories(dir);
    }
    void TearDown() override {
        std::error_code ec;
        fs::remove_all(dir, ec);
        DrawingTest::TearDown();
    }

    // A drawing that uses every kind of thing a drawing holds, names with SQL metacharacters included.
    void BuildRichDrawing() {
        auto& config = TAVGis::Data::CDataConfiguration::GetInstance();
        config.AddDefinition(TAVGis::Data::kEntitySection, "TEST_STORE_COUNT", TAVGis::Data::ValueType::Int);
        config.AddDefinition(TAVGis::Data::kEntitySection, "TEST_STORE_NOTE", TAVGis::Data::ValueType::Text);
        config.AddDefinition(TAVGis::Data::kEntityCatchment, "name",
                             TAVGis::Data::ValueType::Text);  // clashes
        auto other = TAVGis::System::CSystemManager::AddSystem(kHostile, 3);
        auto a = Node("A", 100.5, 200.25, 210.0);
        auto b = Node(kHostile, 150.0, 180.0);
        auto c = Node("1", 190.0, 170.0, 205.5);
        auto d = Node("001", 195.0, 171.0);
        auto s1 = Topo().AddSection("S1", a, b, system, {{120.0, 199.0}, {130.0, 190.125}});
        s1->SetLevels(208.0, 207.5);
        auto s2 = Topo().AddSection("s-2 \"quoted\"", b, c, other);
        s2->SetLevels(std::nullopt, 206.0);
        Topo().AddSection("S3", c, d, system);
        Set("S1", "FLOW_TOTAL", CDataBox(0.0123456789012345));
        Set("S1", "PIPE_REF", CDataBox(kHostile));
        Set("S1", "TEST_STORE_COUNT", CDataBox(42));
        Set("s-2 \"quoted\"", "TEST_STORE_NOTE", CDataBox(std::string("line1\nline2;'x'")));
        Set("s-2 \"quoted\"", "SECTION_SLOPE", CDataBox(-1000000.0));
        Set(kHostile, "MAIN_SECT_OUT", CDataBox(s2->GetGuid()));
        auto area = Topo().AddCatchmentArea("CA 1", system, {{0, 0}, {10, 0}, {10, 10}});
        area->kind = 2;
        area->areaHa = 1.25;
        area->densityInhabPerHa = 80;
        area->runoffCoefficient = 0.45;
        Topo().LinkCatchment(area, s1->GetGuid());
        auto bare = Topo().AddCatchmentArea("no outline", system);
        bare->kind = 4;
        ASSERT_TRUE(TAVGis::Data::CDataRW::Write("name", bare, CDataBox(kHostile)));

        auto& db = doc->Db();
        db.RegisterApp("ACH_FLOW");
        db.RegisterApp(kHostile);
        auto* e1 = db.GetEntity(s1->GetObjectId());
        e1->layer = "PIPES'old";
        e1->colorIndex = 3;
        e1->xdata["ACH_FLOW"] = {
            {1000, std::string("set; one")}, {1040, 2.5}, {1070, std::int32_t{-7}}, {1002, {}}};
        e1->xdata[kHostile] = {{1000, kHostile}};
        auto& text = db.AddEntity(TAVHost::GeometryKind::Polyline, {{1, 2}, {3, 4}}, "NOTES");
        text.colorIndex = 7;
        text.xdata["ACH_FLOW"] = {{1000, std::string("on a plain entity")}};
        auto& dict = db.GetOrCreateDictionary("TAVX_LSD2");
        dict["DLG_A"] = {TAVHost::kDictCodeText, std::string("x\"y';--")};
        dict["DLG_B"] = {TAVHost::kDictCodeDouble, 1.0 / 3.0};
        dict[kHostile] = {TAVHost::kDictCodeInt16, std::int16_t{-32768}};
        db.GetOrCreateDictionary("EMPTY");

        auto& net =
            doc->Extension<TAVGis::Topology::NetworkDrawingData>(TAVGis::Topology::NetworkDrawingData::kKey);
        TAVGis::Data::CCatalogPtr cat(new TAVGis::Data::CCatalog("PIPE"));
        net.catalogs["PIPE"] = cat;
        TAVGis::Data::CCatalogItemPtr g2(new TAVGis::Data::CCatalogItem("{G2}", "Zeta group"));
        TAVGis::Data::CCatalogItemPtr g1(new TAVGis::Data::CCatalogItem("{G1}", kHostile));
        cat->AddRootItem(g2);  // order kept, not sorted
        cat->AddRootItem(g1);
        for (int k = 3; k >= 1; --k) {
            TAVGis::Data::CCatalogItemPtr p(
                new TAVGis::Data::CCatalogItem("{P" + std::to_string(k) + "}", "DN " + std::to_string(k)));
            p->SetProperty("DN", CDataBox(100.0 * k));
            p->SetProperty("TYPE_ID", CDataBox(std::string("PVC")));
            cat->AddItem(g2, p);
        }
        TAVGis::Data::CCatalogItemPtr deep(new TAVGis::Data::CCatalogItem("{D}", "deep"));
        deep->SetProperty("LIST", CDataBox(std::vector<std::string>{"a", "b,\"c\""}));
        deep->SetProperty("COUNT", CDataBox(5));
        cat->AddItem(cat->FindItem("{P2}"), deep);
        net.catalogs["EMPTY"] = TAVGis::Data::CCatalogPtr(new TAVGis::Data::CCatalog("EMPTY"));

        auto& gis = TAVGis::GisData(*doc);
        gis.settings["DEFAULT_ZOOM"] = CDataBox(2.5);
        gis.settings["ZOOM_ONOFF"] = CDataBox(0);
        gis.settings[kHostile] = CDataBox(kHostile);
        gis.settings["NOTHING"] = CDataBox();
        gis.settings["LIST"] = CDataBox(std::vector<std::string>{"x", ""});
    }

    fs::path dir;
};

TEST_F(DrawingFileTest, RoundTripKeepsEverythingTheDrawingHolds) {
    BuildRichDrawing();
    const std::string before = testsupport::DumpDrawing(*doc);
    const fs::path file = dir / "rich'; drop.gpkg";
    CDrawingFile::Save(*doc, file);
    EXPECT_FALSE(fs::exists(CDrawingFile::SavingPath(file)));

    auto back = CDrawingFile::Open(file);
    EXPECT_EQ(back->Name(), "rich'; drop.gpkg");
    EXPECT_EQ(fs::path(back->Path()), fs::absolute(file).lexically_normal());
    EXPECT_EQ(testsupport::DumpDrawing(*back), before);
    // New entities continue after the highest object id read back.
    const auto next = back->Db().AddEntity(TAVHost::GeometryKind::Point, {{0, 0}}, "0").id;
    doc->Db().ForEachEntity([&](const TAVHost::DbEntity& e) { EXPECT_LT(e.id, next); });

    // A second save of the read drawing gives the same drawing again.
    const fs::path again = dir / "again.gpkg";
    CDrawingFile::Save(*back, again);
    EXPECT_EQ(testsupport::DumpDrawing(*CDrawingFile::Open(again)), testsupport::DumpDrawing(*back));
}

TEST_F(DrawingFileTest, EmptyDrawingRoundTrips) {
    const fs::path file = dir / "empty.gpkg";
    CDrawingFile::Save(*doc, file);
    auto back = CDrawingFile::Open(file);
    EXPECT_EQ(testsupport::DumpDrawing(*back), testsupport::DumpDrawing(*doc));
}

TEST_F(DrawingFileTest, FileIsAGeoPackageWithThreeFeatureLayers) {
    BuildRichDrawing();
    const fs::path file = dir / "layers.gpkg";
    CDrawingFile::Save(*doc, file);
    EXPECT_EQ(Sqlite(file, "PRAGMA application_id"), "1196444487\n");
    EXPECT_EQ(Sqlite(file, "PRAGMA user_version"), "10300\n");
    EXPECT_EQ(Sqlite(file, "SELECT table_name, data_type, srs_id FROM gpkg_contents ORDER BY table_name"),
              "catchment_areas|features|-1\nnodes|features|-1\nsections|features|-1\n");
    EXPECT_EQ(
        Sqlite(file, "SELECT table_name, geometry_type_name FROM gpkg_geometry_columns ORDER BY table_name"),
        "catchment_areas|POLYGON\nnodes|POINT\nsections|LINESTRING\n");
    EXPECT_EQ(Sqlite(file, "SELECT srs_id FROM gpkg_spatial_ref_sys ORDER BY srs_id"), "-1\n0\n4326\n");
    // Attributes are plain columns a GIS tool shows; the clashing catchment attribute got its own column.
    EXPECT_EQ(
        Sqlite(file, "SELECT name, FLOW_TOTAL, TEST_STORE_COUNT FROM sections WHERE FLOW_TOTAL IS NOT NULL"),
        "S1|0.0123456789012345|42\n");
    EXPECT_EQ(Sqlite(file, "SELECT column_name FROM tav_attribute_definitions WHERE entity_type = 3"),
              "attr_name\n");
    // The layer extent covers the nodes.
    EXPECT_EQ(Sqlite(file, "SELECT min_x, max_y FROM gpkg_contents WHERE table_name = 'nodes'"),
              "100.5|200.25\n");
    EXPECT_EQ(Sqlite(file, "PRAGMA integrity_check"), "ok\n");
}

TEST_F(DrawingFileTest, OgrinfoReadsTheLayers) {
    if (std::system("command -v ogrinfo > /dev/null 2>&1") != 0) GTEST_SKIP() << "gdal-bin is not installed";
    BuildRichDrawing();
    const fs::path file = dir / "ogr.gpkg";
    CDrawingFile::Save(*doc, file);
    const std::string bytes = Bytes(file);
    auto ogrinfo = [&](const std::string& args) {
        return Output("ogrinfo -ro " + args + " '" + file.string() + "'");
    };
    const std::string all = ogrinfo("");
    EXPECT_NE(all.find("1: nodes (Point)"), std::string::npos) << all;
    EXPECT_NE(all.find("2: sections (Line String)"), std::string::npos) << all;
    EXPECT_NE(all.find("3: catchment_areas (Polygon)"), std::string::npos) << all;
    EXPECT_EQ(all.find("Warning"), std::string::npos) << all;
    EXPECT_EQ(all.find("ERROR"), std::string::npos) << all;
    const std::string sections = ogrinfo("-so -al");
    EXPECT_NE(sections.find("Feature Count: 3\n"), std::string::npos) << sections;
    EXPECT_NE(sections.find("FLOW_TOTAL: Real"), std::string::npos) << sections;
    const std::string s1 = ogrinfo("-sql \"SELECT * FROM sections WHERE name = 'S1'\"");
    EXPECT_NE(s1.find("LINESTRING (100.5 200.25,120"), std::string::npos) << s1;
    EXPECT_NE(s1.find("190.125,150"), std::string::npos) << s1;
    EXPECT_NE(s1.find("FLOW_TOTAL (Real) = 0.0123456789012345"), std::string::npos) << s1;
    EXPECT_EQ(Bytes(file), bytes);
}

// Every file that is not a whole drawing of a known schema is refused, and neither it nor its folder changes.
TEST_F(DrawingFileTest, ForeignDamagedAndNewerFilesAreRefusedUntouched) {
    BuildRichDrawing();
    const fs::path good = dir / "good.gpkg";
    CDrawingFile::Save(*doc, good);
    const std::string goodBytes = Bytes(good);
    std::mt19937 rng(7);
    std::string random(8192, '\0');
    for (auto& ch : random) ch = static_cast<char>(rng() & 0xFF);

    struct Case {
        const char* name;
        std::function<void(const fs::path&)> make;
        const char* message;
    };
    const std::vector<Case> cases = {
        {"empty", [](const fs::path& p) { WriteBytes(p, ""); }, "is empty"},
        {"text", [](const fs::path& p) { WriteBytes(p, "node A 0 0\n"); }, "not a drawing"},
        {"random", [&](const fs::path& p) { WriteBytes(p, random); }, "not a drawing"},
        {"sqlite header then garbage",
         [&](const fs::path& p) { WriteBytes(p, goodBytes.substr(0, 100) + random.substr(0, 4096 - 100)); },
         "drawing"},
        {"truncated half",
         [&](const fs::path& p) { WriteBytes(p, goodBytes.substr(0, goodBytes.size() / 2)); }, "truncated"},
        {"truncated header", [&](const fs::path& p) { WriteBytes(p, goodBytes.substr(0, 60)); }, "truncated"},
        {"other database",
         [](const fs::path& p) { Sqlite(p, "CREATE TABLE t(x); INSERT INTO t VALUES ('a');"); },
         "not a drawing"},
        {"newer schema",
         [&](const fs::path& p) {
             WriteBytes(p, goodBytes);
             Sqlite(p, "UPDATE tav_metadata SET value = '99' WHERE key = 'schema_version'");
         },
         "newer version"},
        {"section to a missing node",
         [&](const fs::path& p) {
             WriteBytes(p, goodBytes);
             Sqlite(p, "UPDATE sections SET start_node_guid = 'x'' OR 1=1' WHERE name = 'S1'");
         },
         "refers to a node"},
        {"broken geometry",
         [&](const fs::path& p) {
             WriteBytes(p, goodBytes);
             Sqlite(p, "UPDATE nodes SET geom = x'47500003FFFFFFFF' WHERE name = 'A'");
         },
         "geometry"},
        {"duplicate object id",
         [&](const fs::path& p) {
             WriteBytes(p, goodBytes);
             Sqlite(
                 p,
                 "UPDATE sections SET object_id = (SELECT object_id FROM nodes LIMIT 1) WHERE name = 'S1'");
         },
         "damaged"},
        {"write-ahead log mode",
         [&](const fs::path& p) {
             WriteBytes(p, goodBytes);
             Sqlite(p, "PRAGMA journal_mode = WAL;");
         },
         "journal mode"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const fs::path sub = dir / c.name;
        fs::create_directories(sub);
        const fs::path file = sub / "drawing.gpkg";
        c.make(file);
        const std::string bytes = Bytes(file);
        const auto files = FilesIn(sub);
        try {
            CDrawingFile::Open(file);
            ADD_FAILURE() << "opened";
        } catch (const CDrawingFileError& e) {
            EXPECT_NE(std::string(e.what()).find(c.message), std::string::npos) << e.what();
            EXPECT_NE(std::string(e.what()).find(file.string()), std::string::npos) << e.what();
        }
        EXPECT_EQ(Bytes(file), bytes);
        EXPECT_EQ(FilesIn(sub), files);
    }
    EXPECT_THROW(CDrawingFile::Open(dir / "missing.gpkg"), CDrawingFileError);
    EXPECT_THROW(CDrawingFile::Open(dir), CDrawingFileError);
}

// A value that cannot be read is left empty with one warning line; the rest of the drawing opens.
TEST_F(DrawingFileTest, UnreadableValuesAreLeftEmptyWithOneWarning) {
    BuildRichDrawing();
    const fs::path good = dir / "good.gpkg";
    CDrawingFile::Save(*doc, good);
    const std::size_t sections = Topo().Sections().size();
    struct Case {
        const char* name;
        const char* sql;
        const char* warning;
    };
    const std::vector<Case> cases = {
        {"a dictionary entry whose number was not finite when written",
         "UPDATE tav_dictionary_entries SET value = NULL WHERE rowid = (SELECT min(rowid) FROM "
         "tav_dictionary_entries)",
         "of dictionary"},
        {"text in a number column", "UPDATE sections SET FLOW_TOTAL = 'lots' WHERE name = 'S1'",
         "attribute FLOW_TOTAL"},
        {"binary data in a text column", "UPDATE sections SET PIPE_REF = x'00ff' WHERE name = 'S1'",
         "attribute PIPE_REF"},
        {"a setting of the wrong type",
         "UPDATE tav_settings SET value_type = 'int', value = 'x' WHERE rowid = (SELECT min(rowid) FROM "
         "tav_settings)",
         "setting "},
    };
    std::vector<std::string> warnings;
    CDrawingFile::SetWarningHandler([&](const std::string& line) { warnings.push_back(line); });
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        warnings.clear();
        const fs::path file = dir / (std::string(c.name) + ".gpkg");
        fs::copy_file(good, file, fs::copy_options::overwrite_existing);
        ASSERT_EQ(Sqlite(file, c.sql), "");
        std::unique_ptr<TAVHost::Document> opened;
        ASSERT_NO_THROW(opened = CDrawingFile::Open(file));
        ASSERT_NO_THROW(CDrawingFile::ReadAllColumns(*opened));
        ASSERT_EQ(warnings.size(), 1u);
        EXPECT_NE(warnings[0].find(c.warning), std::string::npos) << warnings[0];
        EXPECT_NE(warnings[0].find("1 value cannot be read and is left empty"), std::string::npos)
            << warnings[0];
        EXPECT_EQ(TAVGis::Topology::TopologyOf(*opened).Sections().size(), sections);
        EXPECT_EQ(Read(*opened, "S1", "TEST_STORE_COUNT").ToInt(), 42);
    }
    CDrawingFile::SetWarningHandler(nullptr);
}

TEST_F(DrawingFileTest, FailedSaveLeavesTheTargetAlone) {
    const fs::path file = dir / "keep.gpkg";
    CDrawingFile::Save(*doc, file);
    const std::string bytes = Bytes(file);
    // The temporary file cannot be created where a folder of that name stands.
    fs::create_directories(CDrawingFile::SavingPath(file) / "blocker");
    Node("N", 1, 2);
    EXPECT_THROW(CDrawingFile::Save(*doc, file), CDrawingFileError);
    EXPECT_EQ(Bytes(file), bytes);
    EXPECT_THROW(CDrawingFile::Save(*doc, dir / "no such folder" / "x.gpkg"), CDrawingFileError);
}

// A save killed at any moment leaves the previous drawing, and the next save works.
TEST_F(DrawingFileTest, KillDuringSaveLeavesThePreviousDrawing) {
    TAVGis::Bench::NetworkOptions options;
    options.sections = 20000;
    options.shape = TAVGis::Bench::NetworkShape::Divisions;
    TAVGis::Bench::GenerateNetwork(Topo(), system, options);
    const fs::path file = dir / "big.gpkg";
    CDrawingFile::Save(*doc, file);
    const std::string previous = testsupport::DumpDrawing(*CDrawingFile::Open(file));

    for (const auto& s : Topo().Sections()) Set(s->GetName(), "FLOW_TOTAL", CDataBox(99.0));
    Node("after", 5, 5);
    const fs::path saving = CDrawingFile::SavingPath(file);
    int killedMidway = 0;
    for (int delayMs : {0, 20, 80}) {
        fs::remove(saving);
        pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            try {
                CDrawingFile::Save(*doc, file);
            } catch (...) {
            }
            ::_exit(0);
        }
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
        while (!fs::exists(saving) && std::chrono::steady_clock::now() < deadline)
            std::this_thread::sleep_for(std::chrono::microseconds(200));
        std::this_thread::sleep_for(std::chrono::milliseconds(delayMs));
        ::kill(child, SIGKILL);
        int status = 0;
        ::waitpid(child, &status, 0);
        if (WIFSIGNALED(status)) ++killedMidway;
        EXPECT_EQ(testsupport::DumpDrawing(*CDrawingFile::Open(file)), previous) << "delay " << delayMs;
    }
    EXPECT_GT(killedMidway, 0) << "no save was interrupted; the drawing is too small to catch one";
    CDrawingFile::Save(*doc, file);
    EXPECT_FALSE(fs::exists(saving));
    EXPECT_EQ(testsupport::DumpDrawing(*CDrawingFile::Open(file)), testsupport::DumpDrawing(*doc));
}

// ---- saving in place: a drawing saved to the file it came from writes only what changed ----

ino_t Inode(const fs::path& p) {
    struct stat st {};
    return ::stat(p.c_str(), &st) == 0 ? st.st_ino : 0;
}

TAVGis::Topology::CEntityPtr EntityOf(TAVHost::Document& d, const std::string& name) {
    return TAVGis::Topology::TopologyOf(d).FindEntityByName(name);
}

void Write(TAVHost::Document& d, const std::string& entity, const std::string& attribute,
           const CDataBox& value) {
    ASSERT_TRUE(TAVGis::Data::CDataRW::Write(attribute, EntityOf(d, entity), value))
        << entity << " " << attribute;
}

TAVHost::DbEntity& DbEntityOf(TAVHost::Document& d, const std::string& name) {
    return *d.Db().GetEntity(EntityOf(d, name)->GetObjectId());
}

TAVHost::DbEntity& PlainEntity(TAVHost::Document& d) {
    TAVHost::DbEntity* found = nullptr;
    d.Db().ForEachEntity([&](const TAVHost::DbEntity& e) {
        if (e.layer == "NOTES") found = d.Db().GetEntity(e.id);
    });
    return *found;
}

// An opened drawing reads an attribute column when a session first uses it: from the file as it was opened
// or last saved here, never from a file another program has changed since.
TEST_F(DrawingFileTest, AttributeColumnsAreReadOnFirstUseFromTheFileAsItWas) {
    BuildRichDrawing();
    const fs::path file = dir / "lazy.gpkg";
    CDrawingFile::Save(*doc, file);

    // Changed and saved in place before the other columns were read: they are read from the saved file.
    auto opened = CDrawingFile::Open(file);
    Write(*opened, "S3", "FLOW_TOTAL", CDataBox(0.75));
    const ino_t inode = Inode(file);
    CDrawingFile::Save(*opened, file);
    ASSERT_EQ(Inode(file), inode);
    EXPECT_EQ(Read(*opened, "S1", "PIPE_REF").ToString(), kHostile);
    EXPECT_EQ(Read(*opened, "S1", "TEST_STORE_COUNT").ToInt(), 42);
    EXPECT_DOUBLE_EQ(Read(*opened, "S1", "FLOW_TOTAL").ToDouble(), 0.0123456789012345);
    EXPECT_EQ(testsupport::DumpDrawing(*opened), testsupport::DumpDrawing(*CDrawingFile::Open(file)));
    Write(*opened, "S3", "FLOW_TOTAL", CDataBox(0.0));
    CDrawingFile::Save(*opened, file);

    // Another program writes the file (here: without changing its size) while it is open.
    auto stale = CDrawingFile::Open(file);
    EXPECT_EQ(Read(*stale, "S1", "PIPE_REF").ToString(), kHostile);  // read before the other write
    Sqlite(file, "UPDATE sections SET TEST_STORE_COUNT = 43 WHERE name = 'S1'");
    const std::string foreign = Bytes(file);
    for (int attempt = 0; attempt < 2; ++attempt) {
        try {
            Read(*stale, "S1", "TEST_STORE_COUNT");
            ADD_FAILURE() << "read a value of a file changed by another program";
        } catch (const CDrawingFileError& e) {
            EXPECT_NE(std::string(e.what()).find("changed by another program"), std::string::npos)
                << e.what();
        }
    }
    EXPECT_EQ(Read(*stale, "S1", "PIPE_REF").ToString(), kHostile);  // what was read stays
    // Saving it would write values it never read: refused, the other program's change kept.
    EXPECT_THROW(CDrawingFile::Save(*stale, file), CDrawingFileError);
    EXPECT_THROW(CDrawingFile::Save(*stale, dir / "elsewhere.gpkg"), CDrawingFileError);
    EXPECT_EQ(Bytes(file), foreign);
    EXPECT_FALSE(fs::exists(dir / "elsewhere.gpkg"));
    auto fresh = CDrawingFile::Open(file);
    EXPECT_EQ(Read(*fresh, "S1", "TEST_STORE_COUNT").ToInt(), 43);

    // All read before the other program's write, and changed here: saving over it is refused all the same
    // (it would lose the other change); saving under another name works.
    CDrawingFile::ReadAllColumns(*fresh);
    Sqlite(file, "UPDATE sections SET TEST_STORE_COUNT = 44 WHERE name = 'S1'");
    const std::string other = Bytes(file);
    Write(*fresh, "S3", "FLOW_TOTAL", CDataBox(2.0));
    try {
        CDrawingFile::Save(*fresh, file);
        ADD_FAILURE() << "saved over another program's change";
    } catch (const CDrawingFileError& e) {
        EXPECT_NE(std::string(e.what()).find("changed by another program"), std::string::npos) << e.what();
    }
    EXPECT_EQ(Bytes(file), other);
    CDrawingFile::Save(*fresh, dir / "mine.gpkg");
    EXPECT_DOUBLE_EQ(Read(*CDrawingFile::Open(dir / "mine.gpkg"), "S3", "FLOW_TOTAL").ToDouble(), 2.0);
}

// Every change of an opened drawing, saved back to its file: the file then holds exactly the drawing,
// written in place (same file) or rewritten whole where the change needs it; other tools' tables kept.
TEST_F(DrawingFileTest, SaveToTheOpenedFileWritesTheChangesInPlace) {
    BuildRichDrawing();
    struct Case {
        const char* what;
        std::function<void(TAVHost::Document&)> change;
        bool inPlace;
    };
    const std::vector<Case> cases = {
        {"attribute values",
         [](TAVHost::Document& d) {
             Write(d, "S1", "FLOW_TOTAL", CDataBox(7.5));
             Write(d, "S1", "PIPE_REF", CDataBox());
             Write(d, "S3", "TEST_STORE_NOTE", CDataBox(kHostile));
             Write(d, "1", "MAIN_SECT_OUT", CDataBox(std::string("x")));
             Write(d, "CA 1", "name", CDataBox(std::string("renamed")));
         },
         true},
        {"whole columns rewritten, as a calculation over the network does (one value left out)",
         [](TAVHost::Document& d) {
             double v = 1.0;
             for (const auto& s : TAVGis::Topology::TopologyOf(d).Sections()) {
                 Write(d, s->GetName(), "FLOW_TOTAL", CDataBox(v += 0.25));
                 Write(d, s->GetName(), "FLOW_TRANSIT", CDataBox(v * 2));
             }
             Write(d, "S1", "FLOW_TRANSIT", CDataBox());
         },
         true},
        {"a dictionary entry and a new dictionary",
         [](TAVHost::Document& d) {
             d.Db().SetDictionaryEntry("TAVX_LSD2", "DLG_B", {TAVHost::kDictCodeDouble, 2.5});
             d.Db().SetDictionaryEntry("NEW'DICT", "K", {TAVHost::kDictCodeInt16, std::int16_t{3}});
         },
         true},
        {"extended data and a registered application",
         [](TAVHost::Document& d) {
             d.Db().RegisterApp("NEW_APP");
             d.Db().SetXData(DbEntityOf(d, "S1"), "ACH_FLOW", {{1000, std::string("changed")}});
             d.Db().SetXData(DbEntityOf(d, "S3"), "NEW_APP", {{1040, 1.5}});
             d.Db().SetXData(PlainEntity(d), "ACH_FLOW", {{1070, std::int32_t{9}}});
         },
         true},
        {"settings, the active system and a catalogue",
         [](TAVHost::Document& d) {
             auto& gis = TAVGis::GisData(d);
             gis.settings["DEFAULT_ZOOM"] = CDataBox(4.0);
             gis.settings.erase("NOTHING");
             gis.activeSystem = gis.systems.back();
             auto& net = d.Extension<TAVGis::Topology::NetworkDrawingData>(
                 TAVGis::Topology::NetworkDrawingData::kKey);
             net.catalogs["PIPE"]->FindItem("{P2}")->SetProperty("DN", CDataBox(250.0));
         },
         true},
        {"levels, catchment values, layer and colour",
         [](TAVHost::Document& d) {
             TAVGis::Topology::TopologyOf(d).FindSectionByName("S3")->SetLevels(1.0, 0.5);
             TAVGis::Topology::TopologyOf(d).FindCatchmentByName("CA 1")->areaHa = 9.5;
             DbEntityOf(d, "S1").layer = "NEW LAYER";
             DbEntityOf(d, "1").colorIndex = 5;
             PlainEntity(d).points.push_back({7, 8});
         },
         true},
        {"an added node",
         [](TAVHost::Document& d) {
             TAVGis::Topology::TopologyOf(d).AddNode("added", 1, 2, TAVGis::GisData(d).systems.front());
         },
         false},
        {"a new attribute definition",
         [](TAVHost::Document& d) {
             TAVGis::Data::CDataConfiguration::GetInstance().AddDefinition(
                 TAVGis::Data::kEntitySection, "TEST_STORE_LATE", TAVGis::Data::ValueType::Double);
             Write(d, "S1", "TEST_STORE_LATE", CDataBox(1.25));
         },
         false},
    };
    int n = 0;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const fs::path file = dir / ("case " + std::to_string(++n) + ".gpkg");
        CDrawingFile::Save(*doc, file);
        Sqlite(file, "CREATE TABLE other_tool(x TEXT); INSERT INTO other_tool VALUES ('kept');");
        auto opened = CDrawingFile::Open(file);
        const std::string before = testsupport::DumpDrawing(*opened);
        c.change(*opened);
        const std::string changed = testsupport::DumpDrawing(*opened);
        ASSERT_NE(changed, before);
        const ino_t inode = Inode(file);
        CDrawingFile::Save(*opened, file);
        EXPECT_EQ(Inode(file) == inode, c.inPlace);
        EXPECT_EQ(testsupport::DumpDrawing(*CDrawingFile::Open(file)), changed);
        EXPECT_EQ(Sqlite(file, "SELECT x FROM other_tool"), "kept\n");  // other tools' tables stay
        EXPECT_EQ(Sqlite(file, "PRAGMA integrity_check"), "ok\n");
        // Saved again without a change, the file stays as it is; a later change is written in place.
        const std::string bytes = Bytes(file);
        CDrawingFile::Save(*opened, file);
        EXPECT_EQ(Bytes(file), bytes);
        Write(*opened, "S3", "FLOW_TOTAL", CDataBox(0.5));
        const ino_t rewritten = Inode(file);
        CDrawingFile::Save(*opened, file);
        EXPECT_EQ(Inode(file), rewritten);
        EXPECT_EQ(testsupport::DumpDrawing(*CDrawingFile::Open(file)), testsupport::DumpDrawing(*opened));
        EXPECT_EQ(FilesIn(dir).count(file.filename().string() + "-journal"), 0u);
    }
}

// A save to another path writes that file whole and leaves the opened one as it was.
TEST_F(DrawingFileTest, SaveToAnotherPathRewritesWhole) {
    BuildRichDrawing();
    const fs::path file = dir / "from.gpkg";
    CDrawingFile::Save(*doc, file);
    const std::string bytes = Bytes(file);
    auto opened = CDrawingFile::Open(file);
    Write(*opened, "S1", "FLOW_TOTAL", CDataBox(3.0));
    const fs::path other = dir / "to.gpkg";
    CDrawingFile::Save(*opened, other);
    EXPECT_EQ(Bytes(file), bytes);
    EXPECT_EQ(testsupport::DumpDrawing(*CDrawingFile::Open(other)), testsupport::DumpDrawing(*opened));
    // The drawing now belongs to the new file: the next change is written there in place.
    Write(*opened, "S1", "FLOW_TOTAL", CDataBox(4.0));
    const ino_t inode = Inode(other);
    CDrawingFile::Save(*opened, other);
    EXPECT_EQ(Inode(other), inode);
    EXPECT_EQ(testsupport::DumpDrawing(*CDrawingFile::Open(other)), testsupport::DumpDrawing(*opened));
    EXPECT_EQ(Bytes(file), bytes);
}

// A failed command taken back after a save that wrote its changes: the next save writes the restored
// values, so the file holds the drawing as it is.
TEST_F(DrawingFileTest, RolledBackCommandIsSavedAsRestored) {
    BuildRichDrawing();
    const fs::path file = dir / "undo.gpkg";
    CDrawingFile::Save(*doc, file);
    auto opened = CDrawingFile::Open(file);
    const std::string original = testsupport::DumpDrawing(*opened);
    {
        TAVHost::UndoJournal journal;
        Write(*opened, "S1", "FLOW_TOTAL", CDataBox(99.0));
        Write(*opened, "S3", "TEST_STORE_COUNT", CDataBox(5));
        opened->Db().SetDictionaryEntry("TAVX_LSD2", "DLG_A", {TAVHost::kDictCodeText, std::string("new")});
        opened->Db().SetXData(DbEntityOf(*opened, "S1"), "ACH_FLOW", {{1000, std::string("new")}});
        CDrawingFile::Save(*opened, file);
        ASSERT_EQ(Sqlite(file, "SELECT FLOW_TOTAL FROM sections WHERE name = 'S1'"), "99.0\n");
        journal.Rollback();
    }
    ASSERT_EQ(testsupport::DumpDrawing(*opened), original);
    const ino_t inode = Inode(file);
    CDrawingFile::Save(*opened, file);
    EXPECT_EQ(Inode(file), inode);
    EXPECT_EQ(testsupport::DumpDrawing(*CDrawingFile::Open(file)), original);
}

// An in-place save killed at any moment leaves a drawing that opens with all the old values or all the
// new ones.
TEST_F(DrawingFileTest, KillDuringSaveInPlaceLeavesOldOrNewValues) {
    TAVGis::Bench::NetworkOptions options;
    options.sections = 2000;
    options.shape = TAVGis::Bench::NetworkShape::Divisions;
    TAVGis::Bench::GenerateNetwork(Topo(), system, options);
    doc->Db().SetDictionaryEntry("TAVX_LSD2", "STATE", {TAVHost::kDictCodeText, std::string("old")});
    const fs::path file = dir / "big.gpkg";
    CDrawingFile::Save(*doc, file);
    const std::string oldBytes = Bytes(file);
    const auto& flow = *TAVGis::Data::CDataConfiguration::GetInstance().GetDataDefinition(
        TAVGis::Data::kEntitySection, "FLOW_TOTAL");
    // Sections holding the new flow, and whether the dictionary says so.
    auto state = [&](TAVHost::Document& d) {
        std::size_t changed = 0;
        for (const auto& s : TAVGis::Topology::TopologyOf(d).Sections()) {
            CDataBox box;
            s->AttributeStore()->Get(flow, s->AttributeRow(), box);
            changed += !box.IsNull() && box.ToDouble() == 99.0;
        }
        const auto& entry = d.Db().GetDictionary("TAVX_LSD2")->at("STATE");
        return std::make_pair(changed, std::get<std::string>(entry.value) == "new");
    };
    std::chrono::microseconds took{0};  // from the fork to the end of the child
    auto saveInChild = [&](const std::function<void(pid_t)>& whileSaving) {
        WriteBytes(file, oldBytes);
        auto opened = CDrawingFile::Open(file);
        for (const auto& s : TAVGis::Topology::TopologyOf(*opened).Sections())
            ASSERT_TRUE(TAVGis::Data::CDataRW::Write("FLOW_TOTAL", s, CDataBox(99.0)));
        opened->Db().SetDictionaryEntry("TAVX_LSD2", "STATE", {TAVHost::kDictCodeText, std::string("new")});
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            try {
                CDrawingFile::Save(*opened, file);
            } catch (...) {
                ::_exit(1);
            }
            ::_exit(Inode(file) == 0 ? 1 : 0);
        }
        const auto forked = std::chrono::steady_clock::now();
        whileSaving(child);
        int status = 0;
        ::waitpid(child, &status, 0);
        took =
            std::chrono::duration_cast<std::chrono::microseconds>(std::chrono::steady_clock::now() - forked);
    };
    // How long an uninterrupted save takes.
    saveInChild([](pid_t) {});
    const auto uninterrupted = took;
    ASSERT_EQ(state(*CDrawingFile::Open(file)), std::make_pair(Topo().Sections().size(), true));

    std::mt19937 random(12345);
    int old = 0, whole = 0;
    for (int k = 0; k < 10; ++k) {
        const auto delay =
            std::chrono::microseconds(std::uniform_int_distribution<long>(0, uninterrupted.count())(random));
        saveInChild([&](pid_t child) {
            std::this_thread::sleep_for(delay);
            ::kill(child, SIGKILL);
        });
        const auto got = state(*CDrawingFile::Open(file));
        EXPECT_FALSE(fs::exists(dir / "big.gpkg-journal"));
        if (got == std::make_pair(std::size_t{0}, false))
            ++old;
        else if (got == std::make_pair(Topo().Sections().size(), true))
            ++whole;
        else
            ADD_FAILURE() << "a mixture after " << delay.count() << " us: " << got.first << " new flows";
        EXPECT_EQ(Sqlite(file, "PRAGMA integrity_check"), "ok\n");
    }
    EXPECT_GT(old, 0) << "no save was interrupted; the drawing is too small to catch one";
}

// A writer killed after SQLite spilled some of its pages into the file leaves a hot journal: opening the
// drawing rolls it back, and so does a whole save before it renames the new file into place, so the journal
// never reaches the new drawing.
TEST_F(DrawingFileTest, InterruptedWriteIsRolledBackBeforeOpeningOrSaving) {
    BuildRichDrawing();
    const fs::path file = dir / "hot.gpkg";
    const fs::path journal = dir / "hot.gpkg-journal";
    for (const bool saveWhole : {false, true}) {
        SCOPED_TRACE(saveWhole ? "save whole" : "open");
        CDrawingFile::Save(*doc, file);
        const std::string saved = testsupport::DumpDrawing(*doc);
        Output(
            "sqlite3 '" + file.string() +
            "' \"PRAGMA cache_size = 2; BEGIN; UPDATE sections SET FLOW_TOTAL = 123; CREATE TABLE junk(x); "
            "WITH RECURSIVE c(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM c WHERE i < 3000) INSERT INTO junk "
            "SELECT randomblob(1000) FROM c;\" '.system kill -9 $PPID'");
        ASSERT_TRUE(fs::exists(journal));
        if (saveWhole) {
            Node("after the kill", 1, 1);
            Set("S1", "FLOW_TOTAL", CDataBox(55.0));
            CDrawingFile::Save(*doc, file);
        }
        EXPECT_EQ(testsupport::DumpDrawing(*CDrawingFile::Open(file)),
                  saveWhole ? testsupport::DumpDrawing(*doc) : saved);
        EXPECT_FALSE(fs::exists(journal));
        EXPECT_EQ(Sqlite(file, "SELECT count(*) FROM sqlite_master WHERE name = 'junk'"), "0\n");
        EXPECT_EQ(Sqlite(file, "PRAGMA integrity_check"), "ok\n");
    }
}

// Geometry blobs as other GIS tools write them: either byte order, any envelope, Z and M ordinates.
TEST(GpkgGeometryTest, DecodesForeignBlobsAndRejectsMalformedOnes) {
    auto le = [](std::string& s, const void* p, std::size_t n) { s.append(static_cast<const char*>(p), n); };
    auto be = [](std::string& s, const void* p, std::size_t n) {
        const auto* b = static_cast<const char*>(p);
        for (std::size_t i = n; i-- > 0;) s += b[i];
    };
    auto blob = [&](bool bigEndian, int envelopeCode, std::uint32_t type,
                    const std::vector<double>& ordinates, std::uint32_t count, bool polygon) {
        auto put = bigEndian ? std::function<void(std::string&, const void*, std::size_t)>(be)
                             : std::function<void(std::string&, const void*, std::size_t)>(le);
        std::string s = "GP";
        s += '\0';
        s += static_cast<char>((envelopeCode << 1) | (bigEndian ? 0 : 1));
        std::int32_t srs = 4326;
        put(s, &srs, 4);
        static const int doubles[] = {0, 4, 6, 6, 8};
        for (int i = 0; i < doubles[envelopeCode]; ++i) {
            double z = 0;
            put(s, &z, 8);
        }
        s += static_cast<char>(bigEndian ? 0 : 1);
        put(s, &type, 4);
        if (polygon) {
            std::uint32_t rings = 1;
            put(s, &rings, 4);
        }
        if (type % 1000 != 1) put(s, &count, 4);
        for (double d : ordinates) put(s, &d, 8);
        return s;
    };
    using P = TAVHost::Point2d;
    struct Case {
        const char* name;
        std::string data;
        CGpkgGeometry::EType type;
        bool ok;
        std::vector<P> points;
    };
    const std::vector<Case> cases = {
        {"point little endian",
         blob(false, 1, 1, {1.5, -2.5}, 0, false),
         CGpkgGeometry::EType::Point,
         true,
         {{1.5, -2.5}}},
        {"point big endian no envelope",
         blob(true, 0, 1, {3, 4}, 0, false),
         CGpkgGeometry::EType::Point,
         true,
         {{3, 4}}},
        {"line Z",
         blob(false, 2, 1002, {0, 0, 9, 1, 1, 9}, 2, false),
         CGpkgGeometry::EType::LineString,
         true,
         {{0, 0}, {1, 1}}},
        {"line ZM big endian",
         blob(true, 4, 3002, {0, 1, 7, 8, 2, 3, 7, 8}, 2, false),
         CGpkgGeometry::EType::LineString,
         true,
         {{0, 1}, {2, 3}}},
        {"polygon closing point dropped",
         blob(false, 1, 3, {0, 0, 1, 0, 1, 1, 0, 0}, 4, true),
         CGpkgGeometry::EType::Polygon,
         true,
         {{0, 0}, {1, 0}, {1, 1}}},
        {"wrong type", blob(false, 1, 1, {1, 2}, 0, false), CGpkgGeometry::EType::LineString, false, {}},
        {"count beyond the data",
         blob(false, 1, 2, {0, 0}, 1000000, false),
         CGpkgGeometry::EType::LineString,
         false,
         {}},
        {"cut inside the envelope",
         blob(false, 1, 1, {1, 2}, 0, false).substr(0, 20),
         CGpkgGeometry::EType::Point,
         false,
         {}},
        {"not GP", std::string("XX\0\1\0\0\0\0", 8), CGpkgGeometry::EType::Point, false, {}},
        {"extended", std::string("GP\0\x21\0\0\0\0", 8), CGpkgGeometry::EType::Point, false, {}},
        {"bad envelope code", std::string("GP\0\x0B\0\0\0\0", 8), CGpkgGeometry::EType::Point, false, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<P> pts;
        std::string error;
        EXPECT_EQ(CGpkgGeometry::Decode(c.data.data(), c.data.size(), c.type, pts, error), c.ok) << error;
        if (c.ok) {
            EXPECT_EQ(pts, c.points);
        } else {
            EXPECT_FALSE(error.empty());
        }
    }
    // What the writer writes reads back exactly.
    const std::vector<P> ring{{0.1, 0.2}, {5, 0.2}, {5, 7.75}};
    const std::string poly = CGpkgGeometry::EncodePolygon(-1, ring);
    std::vector<P> pts;
    std::string error;
    ASSERT_TRUE(CGpkgGeometry::Decode(poly.data(), poly.size(), CGpkgGeometry::EType::Polygon, pts, error));
    EXPECT_EQ(pts, ring);
}

}  // namespace
