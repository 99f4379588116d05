#pragma once
// A dialog made from a template of the tests' own resources, created (controls and OnInitDialog)
// without running it modally, so a test can drive its controls directly.
#include "platform/ui/AdUiBaseDialog.h"

namespace testsupport {

// Control ids of the test template.
enum TestDialogIds {
    IDD_TEST_STATE = 9900,
    IDC_TEST_CHECK = 9901,
    IDC_TEST_RADIO_A = 9902,
    IDC_TEST_RADIO_B = 9903,
    IDC_TEST_RADIO_C = 9904,
    IDC_TEST_COMBO = 9905,
    IDC_TEST_NUMBER = 9906,
    IDC_TEST_TEXT = 9907,
    IDC_TEST_CONFIG = 9908,
};

class TestDialog : public TAVUi::CAdUiBaseDialog {
public:
    // Pushes the test resources, creates the controls from the template, pops the resources.
    TestDialog();
};

}  // namespace testsupport
