// The pipe catalogue CSV: the bundled series become groups and pipes with their properties; a re-import
// keeps GUIDs; a malformed file changes nothing and names its line.
#include "platform/store/PipeCatalogCsv.h"

#include <gtest/gtest.h>

#include "platform/network/CatalogManager.h"
#include "platform/network/TopologyStorage.h"
#include "support/TestSupport.h"
#include "testing/DrawingDump.h"

namespace {

using TAVGis::Store::CPipeCatalogCsv;

const std::string kExample = std::string(SEWER_SOURCE_DIR) + "/examples/catalogue/pipe_series.csv";

class PipeCatalogCsvTest : public testsupport::DrawingTest {
protected:
    TAVGis::Data::CCatalogPtr Pipe() {
        return TAVGis::Data::CCatalogManager::GetInstance()->GetCatalog("PIPE");
    }
};

TEST_F(PipeCatalogCsvTest, BundledSeriesBecomeGroupsAndPipes) {
    auto r = CPipeCatalogCsv::ReadFile(kExample, *doc);
    ASSERT_TRUE(r.ok) << r.error;
    EXPECT_EQ(r.groups, 4u);
    EXPECT_EQ(r.pipes, 40u);
    EXPECT_EQ(r.pipesAdded, 40u);
    EXPECT_TRUE(r.warnings.empty());
    auto cat = Pipe();
    ASSERT_TRUE(cat);
    ASSERT_EQ(cat->GetRootItems().size(), 4u);
    const auto& pvc = cat->GetRootItems()[0];
    EXPECT_EQ(pvc->GetName(), "PVC-U SN8 EN 1401");
    EXPECT_EQ(pvc->GetProperty("TYPE_ID").ToString(), "PVC-U-SN8");
    ASSERT_EQ(pvc->GetSubItems().size(), 9u);
    const auto& p250 = pvc->GetSubItems()[4];
    EXPECT_EQ(p250->GetName(), "PVC-U SN8 DN/OD 250 x 7.3");
    EXPECT_EQ(p250->GetProperty("DN").ToDouble(), 250.0);
    EXPECT_EQ(p250->GetProperty("DI").ToDouble(), 235.4);
    EXPECT_EQ(p250->GetProperty("KB").ToDouble(), 0.75);
    EXPECT_EQ(p250->GetProperty("TYPE_ID").ToString(), "PVC-U-SN8");
    EXPECT_EQ(p250->GetParentItem(), pvc);
    EXPECT_EQ(cat->FindItem(p250->GetGUID()), p250);
    EXPECT_EQ(cat->GetRootItems()[3]->GetName(), "Vitrified clay EN 295");
}

TEST_F(PipeCatalogCsvTest, ReimportUpdatesInPlaceAndGuidsAreStable) {
    ASSERT_TRUE(CPipeCatalogCsv::ReadFile(kExample, *doc).ok);
    const std::string first = testsupport::DumpDrawing(*doc);
    auto r = CPipeCatalogCsv::ReadFile(kExample, *doc);
    EXPECT_EQ(r.pipesAdded, 0u);
    EXPECT_EQ(r.groupsAdded, 0u);
    EXPECT_EQ(r.pipesUpdated, 40u);
    EXPECT_EQ(testsupport::DumpDrawing(*doc), first);
    // Another drawing gets the same GUIDs; different names give different GUIDs.
    TAVHost::Document other("other.gpkg");
    ASSERT_TRUE(CPipeCatalogCsv::ReadFile(kExample, other).ok);
    auto& cats =
        other.Extension<TAVGis::Topology::NetworkDrawingData>(TAVGis::Topology::NetworkDrawingData::kKey)
            .catalogs;
    EXPECT_EQ(cats["PIPE"]->GetRootItems()[1]->GetSubItems()[2]->GetGUID(),
              Pipe()->GetRootItems()[1]->GetSubItems()[2]->GetGUID());
    EXPECT_NE(CPipeCatalogCsv::ItemGuid("a", "bc"), CPipeCatalogCsv::ItemGuid("ab", "c"));
}

TEST_F(PipeCatalogCsvTest, QuotedFieldsAndCommentsAreRead) {
    const std::string text = std::string("# comment\r\n\r\n") + CPipeCatalogCsv::kHeader +
                             "\r\n\"Group, with comma\",\"Pipe \"\"A\"\"\", 200 ,190.2,1.5,T1\r\n";
    auto r = CPipeCatalogCsv::ReadText(text, *doc);
    ASSERT_TRUE(r.ok) << r.error;
    auto pipe = Pipe()->GetRootItems().at(0)->GetSubItems().at(0);
    EXPECT_EQ(Pipe()->GetRootItems()[0]->GetName(), "Group, with comma");
    EXPECT_EQ(pipe->GetName(), "Pipe \"A\"");
    EXPECT_EQ(pipe->GetProperty("DI").ToDouble(), 190.2);
    EXPECT_EQ(pipe->GetProperty("KB").ToDouble(), 1.5);
}

TEST_F(PipeCatalogCsvTest, MalformedFilesChangeNothing) {
    const std::string h = std::string(CPipeCatalogCsv::kHeader) + "\n";
    const std::string ok = "G,P1,200,190,0.75,T\n";
    struct Case {
        std::string text;
        std::size_t line;
        const char* message;
    };
    const std::vector<Case> cases = {
        {"", 0, "no header"},
        {"group,name\n" + ok, 1, "expected the header"},
        {h + ok + "G,P2,200,190,0.75\n", 3, "expected 6 fields"},
        {h + ok + "G,P2,-200,190,0.75,T\n", 3, "nominal_diameter_mm"},
        {h + ok + "G,P2,200,abc,0.75,T\n", 3, "inner_diameter_mm"},
        {h + ok + "G,P2,200,190,nan,T\n", 3, "roughness_kb_mm"},
        {h + ok + "G,\"P2,200,190,0.75,T\n", 3, "not closed"},
        {h + ok + ok, 3, "listed twice"},
        {h + ",P2,200,190,0.75,T\n", 2, "need names"},
        {h + "G,P2,200,900,0.75,T\n", 2, "twice the nominal"},
        {h + "G,P2,200,190,0.75,T\n\xFF\n", 3, "not UTF-8"},
        {h + "G,P2,200,190,0.75,T\rG,P\xC3,200,190,0.75,T\r", 3, "not UTF-8"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        auto r = CPipeCatalogCsv::ReadText(c.text, *doc);
        EXPECT_FALSE(r.ok);
        EXPECT_EQ(r.line, c.line);
        EXPECT_NE(r.error.find(c.message), std::string::npos) << r.error;
        EXPECT_FALSE(Pipe());
    }
    auto missing = CPipeCatalogCsv::ReadFile("/nonexistent/pipes.csv", *doc);
    EXPECT_FALSE(missing.ok);
    EXPECT_FALSE(missing.error.empty());
}

}  // namespace
