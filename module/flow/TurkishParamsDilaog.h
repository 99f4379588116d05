#pragma once
// CTurkishParamsDilaog: the Turkish rain stations (CIDPTurkParams) edited by a person, opened by the rain
// dialog's station button:
//     value = CTurkishParamsDilaog::OpenITPTurParamDialog(value);
// The person adds, renames and deletes stations (a name of their own, unique ignoring case), and edits the
// chosen station's intensity-duration table: a row per point (return period, duration, intensity); a
// point is set (added, or its intensity replaced) or removed through the three fields under the table,
// or the whole table is replaced by an intensity-duration curve file (the curve file's rules, CIdfCurveFile).
// A refused edit says why in an alert (messages 14301 to 14306). OK saves the stations to the store and
// returns the chosen station's name; Cancel returns the value unchanged and keeps the store as it was.
// When the store cannot be read (alert 14309 with the file and entry) the dialog does not open, so a
// damaged file is never overwritten; when it cannot be saved (alert 14310) the value is unchanged.
//
// The dialog lives in the module, not in the sewage core: its template is one of the module's resources.
#include <string>

#include "module/res/TurkishParamsDilaogIds.h"
#include "platform/sewage/IDPTurkParams.h"
#include "platform/ui/AdUiBaseDialog.h"

class CNumericEdit;

class CTurkishParamsDilaog : public TAVUi::CAdUiBaseDialog, public TurkishParamsDilaogIds {
public:
    static std::string OpenITPTurParamDialog(const std::string& value);

    explicit CTurkishParamsDilaog(TAVGis::Sewage::CIDPTurkParams& stations);
    bool OnInitDialog() override;
    void OnOK() override;

    // The station shown ("" when there is none).
    std::string Selected() const;
    bool Saved() const { return m_saved; }

private:
    void FillStations(const std::string& select);
    void ShowTable();
    bool Refused(int result);
    void OnStationChanged();
    void OnAdd();
    void OnRename();
    void OnDelete();
    void OnRowChanged();
    void OnSetPoint();
    void OnRemovePoint();
    void OnImport();

    TAVGis::Sewage::CIDPTurkParams& m_stations;
    CNumericEdit* m_period = nullptr;
    CNumericEdit* m_duration = nullptr;
    CNumericEdit* m_intensity = nullptr;
    bool m_saved = false;
};
