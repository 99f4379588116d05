#include "module/data/DialogState.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

#include "module/ui/NumericEdit.h"
#include "platform/host/Document.h"
#include "support/TestSupport.h"
#include "tests/module/support/TestDialog.h"

namespace {

using testsupport::TestDialog;
constexpr double kExact = 0.0;

class DialogStateTest : public testsupport::DrawingTest {};

TEST_F(DialogStateTest, BothWaysOfWritingStoreEveryType) {
    struct Way {
        const char* name;
        bool upgrade;  // open for reading and upgrade, or open for writing
        int expectedUpgradeStatus;
    };
    const Way ways[] = {{"upgrade", true, kEok}, {"open for write", false, kEwasOpenForWrite}};
    int round = 0;
    for (const Way& way : ways) {
        SCOPED_TRACE(way.name);
        ++round;
        {
            CDialogState state(CDialogState::kDictionary, way.upgrade ? AcDb::kForRead : AcDb::kForWrite);
            EXPECT_EQ(state.UpgradeOpen(), way.expectedUpgradeStatus);
            EXPECT_EQ(state.Write("K_INT", round), kEok);
            EXPECT_EQ(state.Write("K_DOUBLE", 2.25 * round), kEok);
            EXPECT_EQ(state.Write("K_TEXT", std::string("path/") + std::to_string(round)), kEok);
            EXPECT_EQ(state.Write("K_BOOL", true), kEok);
        }
        CDialogState state;
        EXPECT_EQ(state.GetInt("K_INT", -1), round);
        EXPECT_EQ(state.GetDouble("K_DOUBLE", -1.0), 2.25 * round);
        EXPECT_EQ(state.GetText("K_TEXT", ""), "path/" + std::to_string(round));
        EXPECT_EQ(state.GetInt("K_BOOL", 0), 1);
    }
    // Each value keeps its value code.
    const auto* dict = doc->Db().GetDictionary(CDialogState::kDictionary);
    ASSERT_NE(dict, nullptr);
    EXPECT_EQ(dict->at("K_INT").code, TAVHost::kDictCodeInt16);
    EXPECT_EQ(dict->at("K_DOUBLE").code, TAVHost::kDictCodeDouble);
    EXPECT_EQ(dict->at("K_TEXT").code, TAVHost::kDictCodeText);
}

TEST_F(DialogStateTest, ReadOnlyStoreWritesNothingAndTypesDoNotMix) {
    CDialogState readOnly;
    EXPECT_EQ(readOnly.Write("KEY", 3), kEnotOpenForWrite);
    EXPECT_EQ(readOnly.GetInt("KEY", 9), 9);

    CDialogState writer(CDialogState::kDictionary, AcDb::kForWrite);
    writer.Write("KEY", 3);
    // An entry read through another type's overload is not found: the default counts.
    EXPECT_EQ(writer.GetDouble("KEY", 4.5), 4.5);
    EXPECT_EQ(writer.GetText("KEY", "none"), "none");
    EXPECT_EQ(writer.GetInt("KEY", 9), 3);
}

TEST_F(DialogStateTest, ValuesAreKeptPerDrawingAndPerDictionary) {
    TAVHost::Document& first = *doc;
    {
        CDialogState state;
        state.UpgradeOpen();
        state.Write("DIVODORHYDRAULICS_TYPE", 2);
    }
    {
        CDialogState legacy(CDialogState::kLegacyDictionary, AcDb::kForWrite);
        legacy.Write("m_edArea", 12.5);
    }
    TAVHost::Document& second = acDocManagerPtr()->NewDocument("Second.gpkg");
    {
        CDialogState state;
        EXPECT_EQ(state.GetInt("DIVODORHYDRAULICS_TYPE", 0), 0);
        state.UpgradeOpen();
        state.Write("DIVODORHYDRAULICS_TYPE", 1);
    }
    acDocManagerPtr()->SetCurrent(first);
    CDialogState state;
    EXPECT_EQ(state.GetInt("DIVODORHYDRAULICS_TYPE", 0), 2);
    EXPECT_EQ(state.GetDouble("m_edArea", 0.0), 0.0);  // kept in the older dictionary only
    CDialogState legacy(CDialogState::kLegacyDictionary);
    EXPECT_EQ(legacy.GetDouble("m_edArea", 0.0), 12.5);
    acDocManagerPtr()->CloseDocument(second);
    acDocManagerPtr()->SetCurrent(first);
}

TEST_F(DialogStateTest, ATypedTextThatIsNotANumberIsStoredAsZero) {
    TestDialog dialog;
    dialog.Item(testsupport::IDC_TEST_NUMBER).text = "not a number";
    {
        CDialogState state;
        state.UpgradeOpen();
        state.SaveNumber(dialog, testsupport::IDC_TEST_NUMBER, "DIVODORHYDRAULICS_2_ISPUNJENOST");
        state.WriteNumberText("TAVX_FLOW_U_KOEF", "  0.75 ");
    }
    const auto* dict = doc->Db().GetDictionary(CDialogState::kDictionary);
    ASSERT_NE(dict, nullptr);
    const auto& entry = dict->at("DIVODORHYDRAULICS_2_ISPUNJENOST");
    EXPECT_EQ(entry.code, TAVHost::kDictCodeDouble);
    EXPECT_EQ(std::get<double>(entry.value), kExact);
    CDialogState state;
    EXPECT_EQ(state.GetDouble("DIVODORHYDRAULICS_2_ISPUNJENOST", 90.0), 0.0);
    EXPECT_EQ(state.GetDouble("TAVX_FLOW_U_KOEF", 0.0), 0.75);
}

// "nan", "inf" and numbers beyond the double range typed into a field are texts that are not numbers; no
// double that is not finite is ever stored, and one an older drawing holds reads as not stored.
TEST_F(DialogStateTest, ValuesThatAreNotFiniteAreNeverStored) {
    const char* typed[] = {"nan",  "-nan",     "NaN",   "nan(0x1)", "inf",
                           "-inf", "Infinity", "1e999", "-1e999",   "0x1p3"};
    {
        CDialogState state(CDialogState::kDictionary, AcDb::kForWrite);
        for (const char* text : typed) {
            SCOPED_TRACE(text);
            EXPECT_EQ(state.WriteNumberText("DIVODORHYDRAULICS_2_VISKOZITET", text), 0);
            EXPECT_EQ(state.GetDouble("DIVODORHYDRAULICS_2_VISKOZITET", 1.0), 0.0);
        }
        for (double v : {std::numeric_limits<double>::quiet_NaN(), std::numeric_limits<double>::infinity(),
                         -std::numeric_limits<double>::infinity()}) {
            EXPECT_EQ(state.Write("DIVODORHYDRAULICS_2_BRZINA", v), CDialogState::kStatusNotFinite);
        }
    }
    const auto* dict = doc->Db().GetDictionary(CDialogState::kDictionary);
    ASSERT_NE(dict, nullptr);
    EXPECT_EQ(dict->count("DIVODORHYDRAULICS_2_BRZINA"), 0u);
    {
        // What an older version may have stored.
        CTAVCDictionaryPtr raw(CDialogState::kDictionary, AcDb::kForWrite);
        dctWrite(raw, "DIVODORHYDRAULICS_2_PROMJER", std::numeric_limits<double>::quiet_NaN(), false, true,
                 TAVHost::kDictCodeDouble);
    }
    CDialogState state;
    EXPECT_EQ(state.GetDouble("DIVODORHYDRAULICS_2_PROMJER", 250.0), 250.0);
    double value = 3.0;
    EXPECT_FALSE(state.Read("DIVODORHYDRAULICS_2_PROMJER", value));
    EXPECT_EQ(value, 3.0);

    // Data exchange shows a value that is not finite as an empty field and reads "nan" as 0.
    TestDialog dialog;
    TAVUi::CDataExchange dx;
    dx.m_pDlgWnd = &dialog;
    double shown = std::numeric_limits<double>::quiet_NaN();
    dx.m_bSaveAndValidate = false;
    TAVUi::DDX_Text(&dx, testsupport::IDC_TEST_TEXT, shown);
    EXPECT_EQ(dialog.Item(testsupport::IDC_TEST_TEXT).text, "");
    dialog.Item(testsupport::IDC_TEST_TEXT).text = "-nan";
    dx.m_bSaveAndValidate = true;
    TAVUi::DDX_Text(&dx, testsupport::IDC_TEST_TEXT, shown);
    EXPECT_EQ(shown, 0.0);
}

TEST_F(DialogStateTest, ControlsAreLoadedAndSavedThroughTheStore) {
    using namespace testsupport;
    {
        // First opening in a new drawing: every control shows its default.
        TestDialog dialog;
        dialog.Item(IDC_TEST_COMBO).AddString("a");
        dialog.Item(IDC_TEST_COMBO).AddString("b");
        CNumericEdit::Attach(dialog, IDC_TEST_NUMBER, -8, 1);
        CDialogState state;
        state.LoadCheck(dialog, IDC_TEST_CHECK, "K_CHECK", 1);
        state.LoadRadio(dialog, IDC_TEST_RADIO_A, "K_RADIO", 1);
        state.LoadComboIndex(dialog, IDC_TEST_COMBO, "K_COMBO", 0);
        state.LoadNumber(dialog, IDC_TEST_NUMBER, "K_NUMBER", 1.5);
        state.LoadText(dialog, IDC_TEST_TEXT, "K_TEXT", "default.txt");
        EXPECT_EQ(dialog.Item(IDC_TEST_CHECK).checked, 1);
        EXPECT_EQ(dialog.Item(IDC_TEST_RADIO_B).checked, 1);
        EXPECT_EQ(dialog.Item(IDC_TEST_COMBO).curSel, 0);
        EXPECT_EQ(dialog.Item(IDC_TEST_NUMBER).text, "1.5");
        EXPECT_EQ(dialog.Item(IDC_TEST_TEXT).text, "default.txt");
        int kept = 7;
        EXPECT_FALSE(state.Read("K_CHECK", kept));
        EXPECT_EQ(kept, 7);
        EXPECT_EQ(doc->Db().GetDictionary(CDialogState::kDictionary), nullptr);  // reading creates nothing

        // The person changes every control; the dialog closes and saves.
        dialog.Item(IDC_TEST_CHECK).checked = 0;
        dialog.CheckRadioButton(IDC_TEST_RADIO_C);
        dialog.Item(IDC_TEST_COMBO).SetCurSel(1);
        dialog.Item(IDC_TEST_NUMBER).SetWindowText("-2.68");  // no negatives, one decimal: 2.6
        dialog.Item(IDC_TEST_TEXT).text = "out/file.txt";
        CDialogState writer;
        writer.UpgradeOpen();
        writer.SaveCheck(dialog, IDC_TEST_CHECK, "K_CHECK");
        writer.SaveRadio(dialog, IDC_TEST_RADIO_A, "K_RADIO");
        writer.SaveComboIndex(dialog, IDC_TEST_COMBO, "K_COMBO");
        writer.SaveNumber(dialog, IDC_TEST_NUMBER, "K_NUMBER");
        writer.SaveText(dialog, IDC_TEST_TEXT, "K_TEXT");
    }
    // Reopened in the same drawing: the stored values.
    TestDialog dialog;
    dialog.Item(IDC_TEST_COMBO).AddString("a");
    dialog.Item(IDC_TEST_COMBO).AddString("b");
    CDialogState state;
    state.LoadCheck(dialog, IDC_TEST_CHECK, "K_CHECK", 1);
    state.LoadRadio(dialog, IDC_TEST_RADIO_A, "K_RADIO", 1);
    state.LoadComboIndex(dialog, IDC_TEST_COMBO, "K_COMBO", 0);
    state.LoadNumber(dialog, IDC_TEST_NUMBER, "K_NUMBER", 1.5);
    state.LoadText(dialog, IDC_TEST_TEXT, "K_TEXT", "default.txt");
    EXPECT_EQ(dialog.Item(IDC_TEST_CHECK).checked, 0);
    EXPECT_EQ(dialog.Item(IDC_TEST_RADIO_A).checked + dialog.Item(IDC_TEST_RADIO_B).checked, 0);
    EXPECT_EQ(dialog.Item(IDC_TEST_RADIO_C).checked, 1);
    EXPECT_EQ(dialog.Item(IDC_TEST_COMBO).curSel, 1);
    EXPECT_EQ(dialog.Item(IDC_TEST_NUMBER).text, "2.6");
    EXPECT_EQ(dialog.Item(IDC_TEST_TEXT).text, "out/file.txt");
    EXPECT_NEAR(state.GetDouble("K_NUMBER", 0.0), 2.6, 1e-12);
}

}  // namespace
