// CPipeManager on the sample pipe series (examples/catalogue/pipe_series.csv) loaded into a drawing's
// "PIPE" catalogue, plus small hand-made groups for ordering, ties and missing values.
#include "platform/network/PipeManager.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <limits>
#include <string>
#include <vector>

#include "support/TestSupport.h"
#include "testing/TestPipeCatalogue.h"

namespace {

using TAVGis::Data::CCatalogItemPtr;
using TAVGis::Data::CPipeManager;

constexpr const char* kSn8 = "PVC-U SN8 EN 1401";
constexpr const char* kSn4 = "PVC-U SN4 EN 1401";
constexpr const char* kConcrete = "Concrete EN 1916";
constexpr const char* kClay = "Vitrified clay EN 295";

class PipeManagerTest : public testsupport::DrawingTest {
protected:
    void SetUp() override {
        DrawingTest::SetUp();
        rows = testpipes::ReadPipeSeries();
        catalog = testpipes::LoadPipeCatalogue(rows);
    }

    std::vector<double> InnerDiameters(const std::vector<CCatalogItemPtr>& pipes) const {
        std::vector<double> out;
        for (const auto& p : pipes) out.push_back(pipes_->GetInnerDiameter(p));
        return out;
    }

    CCatalogItemPtr Group(const std::string& name) const {
        for (const auto& g : catalog->GetRootItems())
            if (g->GetName() == name) return g;
        return {};
    }

    CPipeManager* pipes_ = CPipeManager::GetInstance();
    std::vector<testpipes::SPipeRow> rows;
    TAVGis::Data::CCatalogPtr catalog;
};

TEST_F(PipeManagerTest, GroupsAndPipesOfTheSampleSeries) {
    std::vector<CCatalogItemPtr> groups{CCatalogItemPtr()};  // replaced, not appended to
    ASSERT_EQ(pipes_->GetPipeGroups(groups, 1), 4);
    ASSERT_EQ(groups.size(), 4u);
    EXPECT_EQ(groups[0]->GetName(), kSn8);
    EXPECT_EQ(groups[1]->GetName(), kSn4);
    EXPECT_EQ(groups[2]->GetName(), kConcrete);
    EXPECT_EQ(groups[3]->GetName(), kClay);

    std::size_t total = 0;
    for (const auto& group : groups) {
        std::vector<CCatalogItemPtr> list;
        const int n = pipes_->GetSortedPipesForGroupGUID(group->GetGUID(), list, 1);
        EXPECT_EQ(n, static_cast<int>(list.size()));
        total += list.size();
        for (std::size_t i = 1; i < list.size(); ++i)
            EXPECT_LT(pipes_->GetInnerDiameter(list[i - 1]), pipes_->GetInnerDiameter(list[i]))
                << group->GetName();
    }
    EXPECT_EQ(total, rows.size());

    // Every row's values come back through the manager, by the pipe's GUID.
    for (const auto& group : groups)
        for (const auto& item : group->GetSubItems()) {
            auto pipe = pipes_->GetPipe(item->GetGUID());
            ASSERT_EQ(pipe, item);
            const auto row = std::find_if(rows.begin(), rows.end(),
                                          [&](const auto& r) { return r.name == item->GetName(); });
            ASSERT_NE(row, rows.end());
            EXPECT_EQ(pipes_->GetInnerDiameter(pipe), row->dInnerMm);
            EXPECT_EQ(pipes_->GetPipeRoughness(pipe), row->dRoughnessMm);
            EXPECT_EQ(pipes_->GetPipeTypeID(pipe), row->typeId);
        }
}

TEST_F(PipeManagerTest, PipeByInnerDiameter) {
    struct SCase {
        const char* group;
        double dDiameterMm;
        int flag;
        double dExpectedMm;  // 0: none
    };
    const SCase cases[] = {
        {kSn8, 150.6, 1, 150.6},   // exactly a catalogue diameter
        {kSn8, 150.61, 1, 188.2},  // just above it: the next one
        {kSn8, 150.59, 1, 150.6},  // just below it
        {kSn8, 1.0, 1, 103.6},     // below the series: its smallest
        {kSn8, -5.0, 1, 103.6},
        {kSn8, 593.2, 1, 593.2},   // the largest
        {kSn8, 593.21, 1, 0.0},    // above the series
        {kSn4, 150.61, 1, 152.0},  // the group named, not another group with the same DN
        {kConcrete, 1001.0, 1, 1200.0},
        {kClay, 201.0, 1, 250.0},
        {kSn8, 235.4, 0, 235.4},  // other flags: the equal one only
        {kSn8, 235.5, 0, 0.0},
        {kSn8, 200.0, 0, 0.0},                 // nominal, not inner
        {"pvc-u sn8 en 1401", 150.6, 1, 0.0},  // names are exact
        {"no such group", 150.6, 1, 0.0},
        {kSn8, std::numeric_limits<double>::quiet_NaN(), 1, 0.0},
    };
    for (const SCase& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.group << " " << c.dDiameterMm << " flag " << c.flag);
        const auto pipe = pipes_->GetPipeByInnerDiameter(c.group, c.dDiameterMm, c.flag);
        if (c.dExpectedMm == 0.0) {
            EXPECT_FALSE(pipe);
            continue;
        }
        ASSERT_TRUE(pipe);
        EXPECT_EQ(pipes_->GetInnerDiameter(pipe), c.dExpectedMm);
        EXPECT_EQ(pipe->GetParentItem()->GetName(), c.group);
    }
}

TEST_F(PipeManagerTest, MinDiameterOfAPipeType) {
    struct SCase {
        const char* typeId;
        double dDiameterMm;
        double dExpectedMm;
    };
    const SCase cases[] = {
        {"PVC-U-SN8", 151.0, 188.2},
        {"PVC-U-SN8", 188.2, 188.2},
        {"PVC-U-SN8", 10.0, 103.6},
        {"PVC-U-SN4", 151.0, 152.0},
        {"B-EN1916", 300.0, 300.0},
        {"B-EN1916", 301.0, 400.0},
        {"B-EN1916", 1401.0, 1500.0},
        {"B-EN1916", 1500.5, 1500.5},  // no pipe large enough: the diameter
                                       // itself
        {"KER-EN295", 810.0, 810.0},
        {"NO-SUCH-TYPE", 300.0, 300.0},
    };
    for (const SCase& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.typeId << " " << c.dDiameterMm);
        EXPECT_EQ(pipes_->CalculateMinDiameter(c.typeId, c.dDiameterMm), c.dExpectedMm);
    }
    // A second group of the same type widens the choice: its sizes count too.
    testpipes::LoadPipeCatalogue({{"Concrete special", "Concrete DN 350", 350, 350.0, 0.75, "B-EN1916"}});
    EXPECT_EQ(pipes_->CalculateMinDiameter("B-EN1916", 301.0), 350.0);
    // The result is a diameter that the group lookup finds.
    const double dReq = pipes_->CalculateMinDiameter("PVC-U-SN4", 237.0);
    const auto pipe = pipes_->GetPipeByInnerDiameter(kSn4, dReq, 1);
    ASSERT_TRUE(pipe);
    EXPECT_EQ(pipes_->GetInnerDiameter(pipe), dReq);
    EXPECT_EQ(dReq, 237.6);
}

TEST_F(PipeManagerTest, SortingTiesMissingValuesAndFlags) {
    // A group entered out of order, with a tie, a pipe without inner diameter and one without type ID.
    auto group = testpipes::NewItem("Mixed");
    group->SetProperty("TYPE_ID", std::string("MIX"));
    catalog->AddRootItem(group);
    auto p300a = testpipes::AddPipe(*catalog, group, {"", "300 a", 315, 300.0, 0.75, "MIX"});
    auto p200 = testpipes::AddPipe(*catalog, group, {"", "200", 200, 200.0, 0.75, "MIX"});
    auto noDi = testpipes::AddPipe(*catalog, group, {"", "no DI", 250, -1.0, -1.0, "MIX"});
    auto p300b = testpipes::AddPipe(*catalog, group, {"", "300 b", 315, 300.0, 1.5, ""});
    auto empty = testpipes::NewItem("Empty");
    catalog->AddRootItem(empty);

    std::vector<CCatalogItemPtr> list;
    EXPECT_EQ(pipes_->GetSortedPipesForGroupGUID(group->GetGUID(), list, 1), 3);
    EXPECT_EQ(list, (std::vector<CCatalogItemPtr>{p200, p300a, p300b}));
    EXPECT_EQ(pipes_->GetSortedPipesForGroupGUID(group->GetGUID(), list, 0), 4);
    EXPECT_EQ(list, (std::vector<CCatalogItemPtr>{noDi, p200, p300a, p300b}));
    // The first of equals wins.
    EXPECT_EQ(pipes_->GetPipeByInnerDiameter("Mixed", 250.0, 1), p300a);
    EXPECT_EQ(pipes_->GetPipeByInnerDiameter("Mixed", 300.0, 0), p300a);
    // Missing values read as 0 and never match.
    EXPECT_EQ(pipes_->GetInnerDiameter(noDi), 0.0);
    EXPECT_EQ(pipes_->GetPipeRoughness(noDi), 0.0);
    EXPECT_FALSE(pipes_->GetPipeByInnerDiameter("Mixed", 0.0, 0));
    // The type ID comes from the group when the pipe has none.
    EXPECT_EQ(pipes_->GetPipeTypeID(p300b), "MIX");
    EXPECT_EQ(pipes_->CalculateMinDiameter("MIX", 201.0), 300.0);

    // Flag 1 leaves out the group without pipes; other flags list it.
    std::vector<CCatalogItemPtr> groups;
    EXPECT_EQ(pipes_->GetPipeGroups(groups, 1), 5);
    EXPECT_EQ(groups.back(), group);
    EXPECT_EQ(pipes_->GetPipeGroups(groups, 0), 6);
    EXPECT_EQ(groups.back(), empty);
    EXPECT_EQ(pipes_->GetSortedPipesForGroupGUID(empty->GetGUID(), list, 0), 0);
    EXPECT_TRUE(list.empty());
    // A pipe's GUID is not a group, and a group's GUID is not a pipe.
    EXPECT_EQ(pipes_->GetSortedPipesForGroupGUID(p200->GetGUID(), list, 0), 0);
    EXPECT_FALSE(pipes_->GetPipe(group->GetGUID()));
    EXPECT_FALSE(pipes_->GetPipe("{00000000-0000-0000-0000-000000000000}"));
    EXPECT_FALSE(pipes_->GetPipe(""));
}

TEST_F(PipeManagerTest, NameWithNominalDiameter) {
    auto concrete = pipes_->GetPipeByInnerDiameter(kConcrete, 300.0, 0);
    auto sn8 = pipes_->GetPipeByInnerDiameter(kSn8, 103.6, 0);
    ASSERT_TRUE(concrete && sn8);
    EXPECT_EQ(pipes_->GetPipeNameWithNominalDiameter(concrete), "Concrete DN 300 DN 300");
    EXPECT_EQ(pipes_->GetPipeNameWithNominalDiameter(sn8), "PVC-U SN8 DN/OD 110 x 3.2 DN 110");
    auto odd = testpipes::AddPipe(*catalog, Group(kConcrete), {"", "Odd", 312.5, 310.0, 0.75, ""});
    EXPECT_EQ(pipes_->GetPipeNameWithNominalDiameter(odd), "Odd DN 312.5");
    auto bare = testpipes::AddPipe(*catalog, Group(kConcrete), {"", "Bare", -1.0, 310.0, 0.75, ""});
    EXPECT_EQ(pipes_->GetPipeNameWithNominalDiameter(bare), "Bare");
    EXPECT_EQ(pipes_->GetPipeNameWithNominalDiameter(CCatalogItemPtr()), "");
}

using PipeManagerWithoutCatalogue = testsupport::DrawingTest;  // a drawing without "PIPE"

TEST_F(PipeManagerWithoutCatalogue, EverythingIsNone) {
    auto* pipes = CPipeManager::GetInstance();
    std::vector<CCatalogItemPtr> list{CCatalogItemPtr()};
    EXPECT_EQ(pipes->GetPipeGroups(list, 1), 0);
    EXPECT_TRUE(list.empty());
    EXPECT_FALSE(pipes->GetPipe("{X}"));
    EXPECT_FALSE(pipes->GetPipeByInnerDiameter(kSn8, 100.0, 1));
    EXPECT_EQ(pipes->CalculateMinDiameter("PVC-U-SN8", 151.0), 151.0);
    EXPECT_EQ(pipes->GetPipeTypeID(CCatalogItemPtr()), "");
}

}  // namespace
