// What a dialog tells a host that resizes its window, when it anchors nothing: every control keeps its
// template rectangle at any size, and there is no minimum of its own.
#include "platform/ui/AdUiBaseDialog.h"

#include <gtest/gtest.h>

#include "platform/host/Document.h"
#include "platform/ui/DialogTemplate.h"

namespace {

const TAVHost::ResourceModule kResources{"tests_platform",
                                         {{"Plain.dlg",
                                           "DIALOG 9960 IDD_PLAIN \"Plain\" 200 100\n"
                                           "CONTROL 9961 list IDC_LIST \"\" 5 5 190 70\n"
                                           "CONTROL 9962 edit IDC_EDIT \"\" 5 80 60 12\n"
                                           "CONTROL 1 button IDOK \"OK\" 145 80 50 14\n"
                                           "END\n"}}};

TEST(DialogResizeDefaults, ControlsKeepTheirTemplateRectanglesAtAnySizeWithoutAMinimum) {
    TAVUi::CAdUiBaseDialog dialog(9960);
    // Before the controls exist there is nothing to place.
    EXPECT_EQ(dialog.ItemRect(9961), TAVUi::ControlRect{});
    acDocManagerPtr()->pushResourceHandle(&kResources);
    const bool created = dialog.Create(nullptr);
    acDocManagerPtr()->popResourceHandle();
    ASSERT_TRUE(created);
    EXPECT_EQ(dialog.MinTrackSize(), TAVUi::DialogSize{});
    const struct {
        int id;
        TAVUi::ControlRect rect;
    } controls[] = {{9961, {5, 5, 190, 70}}, {9962, {5, 80, 60, 12}}, {TAVUi::IDOK, {145, 80, 50, 14}}};
    for (const auto& [width, height] : {std::pair{200, 100}, std::pair{500, 400}, std::pair{20, 10}}) {
        dialog.OnSize(width, height);
        for (const auto& c : controls) EXPECT_EQ(dialog.ItemRect(c.id), c.rect) << c.id << " at " << width;
    }
    EXPECT_EQ(dialog.ItemRect(12345), TAVUi::ControlRect{});
}

}  // namespace
