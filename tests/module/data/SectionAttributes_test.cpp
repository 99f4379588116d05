// Section attributes: the accessor pair with its sentinel, MAIN_SECT_OUT, deletion, definitions and the
// batch write frame.
#include <gtest/gtest.h>

#include <stdexcept>

#include "module/data/SectionData.h"
#include "platform/gis/DataConfiguration.h"
#include "platform/gis/DataRW.h"
#include "platform/network/TopoEditor.h"
#include "platform/sessions/UpdateSessions.h"
#include "support/TestSupport.h"

using TAVGis::Data::CDataBox;
using TAVGis::Data::CDataRW;

namespace {

class SectionAttributesTest : public testsupport::DrawingTest {};

TEST_F(SectionAttributesTest, MissingValuesReadAsTheSentinel) {
    auto s = Section("S1", "A", "B");
    struct Case {
        const char* what;
        std::function<void()> prepare;
        double expected;
    };
    const Case cases[] = {
        {"never written", [] {}, kMissingValue},
        {"written", [&] { CSectionData::SetFLOW_TOTAL(s, 0.25); }, 0.25},
        {"zero is a value", [&] { CSectionData::SetFLOW_TOTAL(s, 0.0); }, 0.0},
        {"deleted",
         [&] {
             CSectionData::SetFLOW_TOTAL(s, 0.25);
             CDataRW::Delete("FLOW_TOTAL", s);
         },
         kMissingValue},
        {"stored sentinel", [&] { CSectionData::SetFLOW_TOTAL(s, -1000000.0); }, kMissingValue},
        {"negative value", [&] { CSectionData::SetFLOW_TOTAL(s, -0.5); }, -0.5},
    };
    for (const auto& c : cases) {
        CDataRW::Delete("FLOW_TOTAL", s);
        c.prepare();
        EXPECT_EQ(CSectionData::GetFLOW_TOTAL(s), c.expected) << c.what;
    }
    // The stored sentinel is a stored value: a direct read sees it.
    CSectionData::SetFLOW_TOTAL(s, -1000000.0);
    CDataBox box;
    CDataRW::Read("FLOW_TOTAL", s, box);
    EXPECT_TRUE(box.IsNotNull());
}

TEST_F(SectionAttributesTest, WritesNeedADefinitionForTheEntityType) {
    auto s = Section("S1", "A", "B");
    auto node = Topo().FindNodeByName("A");
    EXPECT_EQ(CSectionData::SetSectionValue("NO_SUCH_ATTRIBUTE", s, 1.0), 0);
    EXPECT_EQ(CSectionData::GetSectionValue("NO_SUCH_ATTRIBUTE", s), kMissingValue);
    EXPECT_EQ(CSectionData::SetSectionValue("FLOW_TOTAL", node, 1.0), 0)
        << "FLOW_TOTAL is a section attribute";
    EXPECT_EQ(CSectionData::SetSectionValue("FLOW_TOTAL", nullptr, 1.0), 0);
    EXPECT_EQ(CSectionData::GetSectionValue("FLOW_TOTAL", nullptr), kMissingValue);
    EXPECT_EQ(CDataRW::Write("PIPE_REF", s, CDataBox(std::string("{X}"))), 1);
    EXPECT_EQ(CDataRW::Write("FLOW_TOTAL", s, CDataBox(std::string("not a number"))), 0);
    EXPECT_EQ(CDataRW::Write("FLOW_TOTAL", s, CDataBox(std::string("0.125"))), 1);
    EXPECT_DOUBLE_EQ(CSectionData::GetFLOW_TOTAL(s), 0.125);
}

TEST_F(SectionAttributesTest, EveryVocabularyNameIsDefinedForSections) {
    const char* names[] = {"FLOW_WASTE_PER", "SPECIFIC_FLOW",  "FLOW_TRANSIT",    "FLOW_TOTAL",
                           "PIPE_REF",       "PIPE_DIA_IN",    "SECTION_SLOPE",   "FLOWTIME",
                           "TUR_KMIN_H",     "FLOW_ISKI_PEAK", "VELOCITY_PERCENT"};
    auto& config = TAVGis::Data::CDataConfiguration::GetInstance();
    for (const char* n : names)
        EXPECT_NE(config.GetDataDefinition(TAVGis::Data::kEntitySection, n), nullptr) << n;
    EXPECT_NE(config.GetDataDefinition(TAVGis::Data::kEntityNode, "MAIN_SECT_OUT"), nullptr);
    EXPECT_GE(config.Definitions(TAVGis::Data::kEntitySection).size(), 60u);
}

TEST_F(SectionAttributesTest, MainSectionOutRoundTrip) {
    auto a = Section("A", "N1", "N2");
    auto b = Section("B", "N2", "N3");
    auto node = Topo().FindNodeByName("N2");
    EXPECT_FALSE(CSectionData::GetMAIN_SECT_OUT(node)) << "nothing stored";
    EXPECT_EQ(CSectionData::SetMAIN_SECT_OUT(node, b), 1);
    EXPECT_EQ(GetText("N2", "MAIN_SECT_OUT"), b->GetGuid());
    EXPECT_EQ(CSectionData::GetMAIN_SECT_OUT(node), b);
    // Missing entity or target: nothing written, 0.
    EXPECT_EQ(CSectionData::SetMAIN_SECT_OUT(node, nullptr), 0);
    EXPECT_EQ(CSectionData::SetMAIN_SECT_OUT(nullptr, b), 0);
    EXPECT_EQ(CSectionData::GetMAIN_SECT_OUT(node), b);
    // A GUID that names no section (any more) reads as empty; so does the GUID of a node.
    Set("N2", "MAIN_SECT_OUT", CDataBox(std::string("{00000000-0000-0000-0000-000000000000}")));
    EXPECT_FALSE(CSectionData::GetMAIN_SECT_OUT(node));
    Set("N2", "MAIN_SECT_OUT", CDataBox(node->GetGuid()));
    EXPECT_FALSE(CSectionData::GetMAIN_SECT_OUT(node));
    (void)a;
}

TEST_F(SectionAttributesTest, BatchWriteFrameClosesInOrderOnEveryPath) {
    auto& labels = TAVGis::Label::CNetworkLabelUtility::Counts();
    auto& profiles = TAVGis::Longitudinal::CLSEditor::Counts();
    const auto labelsBefore = labels, profilesBefore = profiles;
    {
        CBatchWriteFrame frame;
        EXPECT_EQ(TAVGis::Topology::CTopoEditor::TransactionDepth(), 1);
        EXPECT_EQ(labels.open, labelsBefore.open + 1);
        EXPECT_EQ(profiles.open, profilesBefore.open + 1);
    }
    EXPECT_EQ(TAVGis::Topology::CTopoEditor::TransactionDepth(), 0);
    EXPECT_EQ(labels.open, labelsBefore.open);
    EXPECT_EQ(profiles.open, profilesBefore.open);
    try {
        CBatchWriteFrame frame;
        throw std::runtime_error("write failed");
    } catch (const std::runtime_error&) {
    }
    EXPECT_EQ(TAVGis::Topology::CTopoEditor::TransactionDepth(), 0);
    EXPECT_EQ(labels.open, labelsBefore.open);
    EXPECT_EQ(profiles.open, profilesBefore.open);
    // Committed on the normal path; cancelled, not committed, when an exception leaves the frame.
    EXPECT_EQ(labels.committed, labelsBefore.committed + 1);
    EXPECT_EQ(profiles.committed, profilesBefore.committed + 1);
    EXPECT_EQ(labels.cancelled, labelsBefore.cancelled + 1);
    EXPECT_EQ(profiles.cancelled, profilesBefore.cancelled + 1);
}

}  // namespace
