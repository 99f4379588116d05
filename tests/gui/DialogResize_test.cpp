// Resizing a dialog's window: a dialog without anchors keeps its template layout however large its window
// grows and never gets smaller than its template; a dialog that anchors its controls and states a minimum
// tracking size below its template shrinks to that minimum and no further, its controls following.
#include <gtest/gtest.h>

#include <QApplication>
#include <map>

#include "GuiTestSupport.h"
#include "platform/host/Document.h"
#include "platform/ui/DialogTemplate.h"
#include "platform/ui/XTPResize.h"

namespace {

void ResizeTo(QWidget& window, int width, int height) {
    window.resize(width, height);
    QApplication::processEvents();
}

TEST(DialogResize, EveryTemplateWithoutAnchorsKeepsItsLayoutAndItsTemplateSizeAsTheMinimum) {
    const auto& templates = TAVUi::DialogTemplatesOf(guitest::Module().Resources());
    ASSERT_GE(templates.size(), 19u);
    acDocManagerPtr()->pushResourceHandle(guitest::Module().Resources());
    for (const auto& [id, t] : templates) {
        SCOPED_TRACE(id);
        TAVUi::CAdUiBaseDialog dialog(id);
        ASSERT_TRUE(dialog.Create(nullptr));
        SewerGui::DialogWindow window(dialog);
        window.show();
        QApplication::processEvents();
        SewerGui::DialogView& view = window.View();
        const QSize templateSize = view.Place(0, 0, t.width, t.height).size();
        EXPECT_EQ(view.minimumSize(), templateSize);
        std::map<int, QRect> before;
        for (const auto& c : t.controls) before[c.id] = view.WidgetFor(c.id)->geometry();
        const int widthBefore = view.width();
        ResizeTo(window, window.width() + 300, window.height() + 200);
        EXPECT_EQ(view.width(), widthBefore + 300);
        for (const auto& c : t.controls) EXPECT_EQ(view.WidgetFor(c.id)->geometry(), before[c.id]) << c.name;
        ResizeTo(window, 50, 50);
        EXPECT_EQ(view.size(), templateSize);
        for (const auto& c : t.controls) EXPECT_EQ(view.WidgetFor(c.id)->geometry(), before[c.id]) << c.name;
        window.hide();
    }
    acDocManagerPtr()->popResourceHandle();
}

// A list that grows both ways and an OK button that keeps to the bottom right corner, in a dialog that may
// shrink to 150 x 80 units from its 200 x 100.
constexpr int kList = 9951, kOk = 1;
const TAVHost::ResourceModule kResources{"tests_gui",
                                         {{"Anchored.dlg",
                                           "DIALOG 9950 IDD_ANCHORED \"Anchored\" 200 100\n"
                                           "CONTROL 9951 list IDC_LIST \"\" 5 5 190 70\n"
                                           "CONTROL 1 button IDOK \"OK\" 145 80 50 14\n"
                                           "END\n"}}};

class Anchored : public TAVUi::CAdUiBaseDialog, public TAVUi::CXTPResize {
public:
    Anchored() : CAdUiBaseDialog(9950) {}
    bool OnInitDialog() override {
        CAdUiBaseDialog::OnInitDialog();
        Init(*this);
        SetMinTrackSize(150, 80);
        SetResize(kList, TAVUi::SZ_STRETCH_BOTH);
        SetResize(kOk, TAVUi::SZ_BOTTOM_RIGHT);
        return true;
    }
    void OnSize(int width, int height) override { Size(width, height); }
    TAVUi::ControlRect ItemRect(int id) const override { return RectOf(id); }
    TAVUi::DialogSize MinTrackSize() const override { return {MinWidth(), MinHeight()}; }
};

TEST(DialogResize, AnAnchoredDialogShrinksToItsMinimumTrackingSizeAndNoFurther) {
    acDocManagerPtr()->pushResourceHandle(&kResources);
    Anchored dialog;
    const bool created = dialog.Create(nullptr);
    acDocManagerPtr()->popResourceHandle();
    ASSERT_TRUE(created);
    SewerGui::DialogWindow window(dialog);
    window.show();
    QApplication::processEvents();
    SewerGui::DialogView& view = window.View();
    const QSize minimum = view.Place(0, 0, 150, 80).size();
    EXPECT_EQ(view.minimumSize(), minimum);
    ResizeTo(window, 10, 10);
    ASSERT_EQ(view.size(), minimum);
    EXPECT_EQ(dialog.Width(), 150);
    EXPECT_EQ(dialog.Height(), 80);
    // 50 units narrower and 20 lower than the template: the list is 140 x 50, OK at (95, 60).
    EXPECT_EQ(view.WidgetFor(kList)->geometry(), view.Place(5, 5, 140, 50));
    EXPECT_EQ(view.WidgetFor(kOk)->geometry(), view.Place(95, 60, 50, 14));
    // OK stays inside the window.
    EXPECT_LE(view.WidgetFor(kOk)->geometry().right(), view.width());
    EXPECT_LE(view.WidgetFor(kOk)->geometry().bottom(), view.height());
    window.hide();
}

}  // namespace
