#include "tests/module/support/TestDialog.h"

#include <stdexcept>

#include "module/app/ModuleResources.h"
#include "platform/host/Document.h"
#include "support/TestSupport.h"

namespace testsupport {

ModuleResources::ModuleResources() {
    acDocManagerPtr()->pushResourceHandle(TavxModuleInstance());
}
ModuleResources::~ModuleResources() {
    acDocManagerPtr()->popResourceHandle();
}

namespace {

const TAVHost::ResourceModule& TestResources() {
    static const TAVHost::ResourceModule resources{
        "tests_module",
        {{"TestDialog.dlg",
          "DIALOG 9900 IDD_TEST_STATE \"State\" 200 120\n"
          "CONTROL 9901 check IDC_TEST_CHECK \"Check\" 5 5 60 12\n"
          "CONTROL 9902 radio IDC_TEST_RADIO_A \"A\" 5 20 30 12 group=abc\n"
          "CONTROL 9903 radio IDC_TEST_RADIO_B \"B\" 40 20 30 12 group=abc\n"
          "CONTROL 9904 radio IDC_TEST_RADIO_C \"C\" 75 20 30 12 group=abc\n"
          "CONTROL 9905 combo IDC_TEST_COMBO \"\" 5 35 80 60\n"
          "CONTROL 9906 edit IDC_TEST_NUMBER \"\" 5 50 60 12\n"
          "CONTROL 9907 edit IDC_TEST_TEXT \"\" 5 65 120 12\n"
          "CONTROL 9908 combo IDC_TEST_CONFIG \"\" 5 80 80 60 dropdown=1\n"
          "CONTROL 1 button IDOK \"OK\" 90 100 50 14\n"
          "END\n"}}};
    return resources;
}

}  // namespace

TestDialog::TestDialog() : CAdUiBaseDialog(IDD_TEST_STATE) {
    acDocManagerPtr()->pushResourceHandle(&TestResources());
    const bool created = Create(nullptr);
    acDocManagerPtr()->popResourceHandle();
    if (!created) throw std::logic_error("the test dialog template is missing");
}

}  // namespace testsupport
