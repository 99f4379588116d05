// The undo journal behind the command boundary: attribute columns, dictionary entries, extended data and
// registered applications come back as they were, also across nested journals.
#include "platform/host/UndoJournal.h"

#include <gtest/gtest.h>

#include "platform/gis/DataRW.h"
#include "platform/host/TAVCDictionaryPtr.h"
#include "support/TestSupport.h"
#include "testing/DrawingDump.h"

namespace {

using TAVGis::Data::CDataBox;

class UndoJournalTest : public testsupport::DrawingTest {
protected:
    void SetUp() override {
        DrawingTest::SetUp();
        Section("S1", "N1", "N2");
        Section("S2", "N2", "N3");
        Set("S1", "FLOW_TOTAL", CDataBox(0.25));
        Set("S2", "PIPE_REF", CDataBox(std::string("pipe-a")));
    }
    // Changes of every kind the journal records.
    void ChangeEverything(double flow) {
        Set("S1", "FLOW_TOTAL", CDataBox(flow));
        Set("S2", "FLOW_TOTAL", CDataBox(flow));
        TAVGis::Data::CDataRW::Delete("PIPE_REF", Topo().FindSectionByName("S2"));
        CTAVCDictionaryPtr dict("TAVX_LSD2", AcDb::kForWrite);
        dctWrite(dict, "KEY", static_cast<int>(flow * 100), false, true, TAVHost::kDictCodeInt16);
        CTAVCEntityPtr entity(Topo().FindSectionByName("S1")->GetObjectId(), AcDb::kForWrite);
        entity.setXData("APP_" + std::to_string(static_cast<int>(flow * 100)), {{1000, std::string("tag")}});
    }
};

TEST_F(UndoJournalTest, RollbackRestoresEveryKindOfChange) {
    const std::string before = testsupport::DumpDrawing(*doc);
    struct Case {
        const char* what;
        int writes;  // how often the same values change inside one journal
    };
    for (const Case c : {Case{"one change", 1}, Case{"repeated changes", 3}}) {
        TAVHost::UndoJournal journal;
        for (int i = 0; i < c.writes; ++i) ChangeEverything(0.5 + i);
        ASSERT_NE(testsupport::DumpDrawing(*doc), before) << c.what;
        journal.Rollback();
        EXPECT_EQ(testsupport::DumpDrawing(*doc), before) << c.what;
    }
}

TEST_F(UndoJournalTest, NestedJournals) {
    const std::string before = testsupport::DumpDrawing(*doc);
    {
        TAVHost::UndoJournal outer;
        ChangeEverything(0.5);
        const std::string afterOuter = testsupport::DumpDrawing(*doc);
        {
            TAVHost::UndoJournal inner;
            ChangeEverything(0.75);
            inner.Rollback();  // only the inner changes go
        }
        EXPECT_EQ(testsupport::DumpDrawing(*doc), afterOuter);
        {
            TAVHost::UndoJournal inner;
            ChangeEverything(0.75);
        }  // kept, and handed to the outer journal
        ChangeEverything(1.0);
        outer.Rollback();
    }
    EXPECT_EQ(testsupport::DumpDrawing(*doc), before);
    EXPECT_EQ(TAVHost::UndoJournal::Active(), nullptr);
}

// A drawing opened inside a command did not exist before it, so nothing of it is recorded: a rollback after
// the drawing was closed again must not reach into it.
TEST_F(UndoJournalTest, ADrawingMadeWhileRecordingIsNotRecorded) {
    const std::string before = testsupport::DumpDrawing(*doc);
    TAVHost::UndoJournal journal;
    ChangeEverything(0.5);
    const std::size_t recorded = journal.Size();
    {
        auto& other = acDocManagerPtr()->NewDocument("Other.gpkg");
        acDocManagerPtr()->SetCurrent(other);
        auto& topo = TAVGis::Topology::TopologyOf(other);
        auto a = topo.AddNode("A", 0, 0, system);
        auto b = topo.AddNode("B", 10, 0, system);
        auto s = topo.AddSection("X", a, b, system);
        TAVGis::Data::CDataRW::Write("FLOW_TOTAL", s, CDataBox(1.0));
        CTAVCDictionaryPtr dict("TAVX_LSD2", AcDb::kForWrite);
        dctWrite(dict, "KEY", 3, false, true, TAVHost::kDictCodeInt16);
        acDocManagerPtr()->CloseDocument(other);
        acDocManagerPtr()->SetCurrent(*doc);
    }
    EXPECT_EQ(journal.Size(), recorded);
    journal.Rollback();
    EXPECT_EQ(testsupport::DumpDrawing(*doc), before);
}

TEST_F(UndoJournalTest, WithoutAJournalNothingIsRecordedAndChangesStay) {
    ChangeEverything(0.5);
    EXPECT_EQ(Get("S1", "FLOW_TOTAL"), 0.5);
    TAVHost::UndoJournal journal;
    journal.Rollback();  // records nothing made before it
    EXPECT_EQ(Get("S1", "FLOW_TOTAL"), 0.5);
    EXPECT_EQ(journal.Size(), 0u);
}

}  // namespace
