#pragma once
// CStandardRODlg: the Romanian-standard sub-dialog: which kind of area (0 sensitive, 1 other) and three
// coefficients m: for sensitive areas, and for other areas with a rain of at most 40 minutes and of more
// than 40 minutes. A calculation that needs them opens it modally:
//     CStandardRODlg dlg;
//     dlg.m_nChoice = current;                 // the radio the dialog opens with
//     if (dlg.DoModal() == TAVUi::IDOK) { use dlg.m_nChoice, dlg.m_dSensitive, dlg.m_dOtherShort,
//                                          dlg.m_dOtherLong; }
// The three fields (1 whole digit, 4 decimals, no negatives) always open with 1, 0.8 and 0.9, whatever the
// members held; OK copies them and the radio choice into the members and closes; Cancel leaves the members
// as they were. The choice enables or disables nothing. The dialog keeps no state of its own.
#include "module/res/StandardRODlgIds.h"
#include "platform/ui/AdUiBaseDialog.h"

class CNumericEdit;

class CStandardRODlg : public TAVUi::CAdUiBaseDialog, public StandardRODlgIds {
public:
    static constexpr double kDefaultSensitive = 1.0;
    static constexpr double kDefaultOtherShort = 0.8;  // T <= 40 min
    static constexpr double kDefaultOtherLong = 0.9;   // T > 40 min

    CStandardRODlg();

    bool OnInitDialog() override;
    void OnOK() override;

    int m_nChoice = 0;  // 0 sensitive areas, 1 other areas
    double m_dSensitive = kDefaultSensitive;
    double m_dOtherShort = kDefaultOtherShort;
    double m_dOtherLong = kDefaultOtherLong;

private:
    CNumericEdit* m_sensitive = nullptr;
    CNumericEdit* m_otherShort = nullptr;
    CNumericEdit* m_otherLong = nullptr;
};
