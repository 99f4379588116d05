// The manager's tree of calculators, groups and parameter sets, and what survives a rebuild.
#include "module/manager/FlowCalculatorTree.h"

#include <gtest/gtest.h>

#include "platform/gis/ModuleConfiguration.h"
#include "support/TestSupport.h"

namespace {

using Kind = CFlowCalculatorTree::Kind;
using TAVGis::Data::CDataBox;
using TAVGis::Sewage::CFlowCalculatorManager;
using TAVGis::Sewage::SectionList;

class FlowCalculatorTreeTest : public testsupport::DrawingTest {
protected:
    const std::map<std::string, TAVGis::Sewage::IFlowCalculatorPtr>& Registry() {
        return CFlowCalculatorManager::GetInstance()->GetRegisteredFlowCalculators();
    }
    TAVGis::Sewage::IFlowCalculator* Calc(const char* name) {
        return CFlowCalculatorManager::GetInstance()->GetFlowCalculator(name).get();
    }
};

TEST_F(FlowCalculatorTreeTest, NoCalculatorsGiveAnEmptyTree) {
    CFlowCalculatorTree tree;
    tree.Rebuild({}, {});
    EXPECT_TRUE(tree.Roots().empty());
    tree.Select({0, 0});
    EXPECT_EQ(tree.ActiveCalculator(), nullptr);
    EXPECT_EQ(tree.Images(), (std::vector<std::string>{"IDI_CALCULATOR", "TAV_IDI_TOPOLOGYTREE"}));
}

TEST_F(FlowCalculatorTreeTest, GroupsCalculatorsAndSetsSurviveARebuild) {
    auto s1 = Section("S1", "A", "B");
    auto s2 = Section("S2", "B", "C");
    auto s3 = Section("S3", "C", "D");
    const SectionList all{s1, s2, s3};
    CFlowCalculatorTree tree;
    tree.Rebuild(Registry(), all);
    // Two groups (rain first: "001_RAIN_ITP" sorts first), each with its calculator, collapsed, no sets.
    ASSERT_EQ(tree.Roots().size(), 2u);
    EXPECT_EQ(tree.Roots()[0].text, TAVGis::CModuleConfiguration::GetMsg(14007));
    EXPECT_EQ(tree.Roots()[1].text, TAVGis::CModuleConfiguration::GetMsg(14008));
    for (const auto& g : tree.Roots()) {
        EXPECT_TRUE(g.expanded);
        ASSERT_EQ(g.children.size(), 1u);
        EXPECT_FALSE(g.children[0].expanded);
        EXPECT_TRUE(g.children[0].children.empty());
    }
    const auto images = tree.Images();

    // Two ISKI runs with different sets; the user expands the rain calculator and selects ISKI.
    auto* iski = Calc("002_WASTE_ISKI");
    auto a = iski->CreateCalculationParameters();
    auto b = iski->CreateCalculationParameters();
    b->GetProperties().GetPropertyExByTag("WATER_CONSUMPTION")->SetHiddenValue(CDataBox(150.0));
    ASSERT_EQ(iski->RunCalculation({s1, s2}, a, true, true, nullptr), 1);
    ASSERT_EQ(iski->RunCalculation({s3}, b, true, true, nullptr), 1);
    tree.SetExpanded({0, 0}, true);
    tree.Select({1, 0});
    EXPECT_EQ(tree.ActiveCalculator(), iski);
    tree.Rebuild(Registry(), all);

    EXPECT_TRUE(tree.Roots()[0].children[0].expanded);  // expanded by the user, kept
    const auto& iskiNode = tree.Roots()[1].children[0];
    EXPECT_TRUE(iskiNode.expanded);  // it has sets now
    ASSERT_EQ(iskiNode.children.size(), 2u);
    EXPECT_EQ(iskiNode.children[0].text, "Configuration 1 (2 sections)");
    EXPECT_EQ(iskiNode.children[1].text, "Configuration 2 (1 sections)");
    EXPECT_EQ(iskiNode.children[1].image, CFlowCalculatorTree::kSetImage);
    EXPECT_EQ(tree.Selected(), (std::vector<std::size_t>{1, 0}));  // the active calculator is selected again
    EXPECT_EQ(tree.Images(), images);                              // no icon added twice

    // A set node: its calculator is the parent's, and its sections are exactly the set's.
    tree.Select({1, 0, 1});
    EXPECT_EQ(tree.ActiveCalculator(), iski);
    SectionList sections;
    iski->GetSectionsForCalculationParameters(tree.SelectedNode()->parameters, sections);
    EXPECT_EQ(sections, (SectionList{s3}));
    EXPECT_EQ(tree.SelectedNode()->parameters->GetProperties().GetDouble("WATER_CONSUMPTION", 0.0), 150.0);

    // A group node has no calculator.
    tree.Select({0});
    EXPECT_EQ(tree.ActiveCalculator(), nullptr);
    iski->ResetSourceData(all);
}

}  // namespace
