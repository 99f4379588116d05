// The preview repository of the active system: which systems have which definitions, and the lookups.
#include <gtest/gtest.h>

#include "platform/gis/DataConfiguration.h"
#include "platform/gis/DataDefinition.h"
#include "platform/gis/ModuleConfiguration.h"
#include "platform/gis/SystemManager.h"
#include "platform/selection/RepositoryManager.h"
#include "support/TestSupport.h"

namespace {

using TAVGis::Preview::CRepositoryManager;
using TAVGis::System::CSystemManager;

class PreviewRepositoryTest : public testsupport::DrawingTest {};

TEST_F(PreviewRepositoryTest, OnlyThePreviewRepositoryOfAnActiveSystemExists) {
    struct Case {
        const char* name;
        int version;
        bool found;
    } cases[] = {{"PREVIEW", 1, true}, {"PREVIEW", 2, false}, {"preview", 1, false}, {"LABELS", 1, false}};
    for (const auto& c : cases)
        EXPECT_EQ(CRepositoryManager::GetSystemRepository(c.name, c.version) != nullptr, c.found) << c.name;
    CSystemManager::SetActiveSystem({});
    EXPECT_FALSE(CRepositoryManager::GetSystemRepository("PREVIEW", 1));
}

TEST_F(PreviewRepositoryTest, ASewageSystemHasTheFlowDefinitionsAnotherSystemNone) {
    const auto repository = CRepositoryManager::GetSystemRepository("PREVIEW", 1);
    ASSERT_TRUE(repository);
    const auto sections = repository->GetDefinitions(TAVGis::Data::kEntitySection);
    const auto nodes = repository->GetDefinitions(TAVGis::Data::kEntityNode);
    EXPECT_EQ(sections.size(), 4u);
    EXPECT_EQ(nodes.size(), 1u);
    EXPECT_EQ(repository->GetDefinitions().size(), 5u);
    // Every column is an attribute the system defines for that kind of entity, and every name is a text of
    // the catalogue.
    for (const auto& d : repository->GetDefinitions()) {
        EXPECT_EQ(repository->Find(d->GetName()), d);
        EXPECT_TRUE(TAVGis::CModuleConfiguration::FindMsgNumber(d->GetName())) << d->GetName();
        for (const auto& column : d->GetColumns()) {
            const auto* def =
                TAVGis::Data::CDataConfiguration::GetInstance().GetDataDefinition(d->GetEntityType(), column);
            EXPECT_NE(def, nullptr) << d->GetName() << " " << column;
        }
    }
    EXPECT_FALSE(repository->Find("no such preview"));
    CSystemManager::SetActiveSystem(CSystemManager::AddSystem("water", 1));
    const auto other = CRepositoryManager::GetSystemRepository("PREVIEW", 1);
    ASSERT_TRUE(other);
    EXPECT_TRUE(other->GetDefinitions().empty());
}

}  // namespace
