#pragma once
// dlg_proracun_pojedinacni: the individual section calculation page of the hydraulic calculation dialog.
// For now the page holds what the dialog hands over (the selected sections, the current section and its
// index) and keeps its stored settings so that the dialog writes them back unchanged; navigation and the
// result groups are not built yet, so their updates do nothing.
#include <string>
#include <vector>

#include "platform/host/TAVCDictionaryPtr.h"
#include "platform/network/Section.h"
#include "platform/ui/AcUiTabChildDialog.h"

class dlg_proracun_pojedinacni : public TAVUi::CAcUiTabChildDialog {
public:
    static constexpr int IDD = 203;

    static constexpr int IDC_RADIO_MIN_DIAMETER = 100;
    static constexpr int IDC_COMBO_GROUP = 254;
    static constexpr int IDC_COMBO_PIPE_OR_PRECISION = 260;
    static constexpr int IDC_EDIT_VISCOSITY = 336;

    static constexpr double kDefaultViscosity = 1.31e-6;  // m2/s

    dlg_proracun_pojedinacni() : CAcUiTabChildDialog(IDD) {}

    bool OnInitDialog() override;
    void DoDataExchange(TAVUi::CDataExchange* pDX) override;

    // Hand-over from the hydraulic calculation dialog.
    std::vector<TAVGis::Topology::CSectionPtr>& SectionList() { return m_sections; }
    void SetCurrentIndex(int index) { m_currentIndex = index; }
    int CurrentIndex() const { return m_currentIndex; }
    void SetCurrentSection(const TAVGis::Topology::CSectionPtr& s) { m_currentSection = s; }
    const TAVGis::Topology::CSectionPtr& CurrentSection() const { return m_currentSection; }
    void UpdateNavigation() {}
    void RecalculateAll() {}

    // Writes the page's settings (after the controls were pulled), in the dialog's order.
    void WriteState(CTAVCDictionaryPtr& dict);

    int Mode() const { return m_nType; }
    int PipeGroupIndex() const { return m_nPipeGroup; }
    int PrecisionIndex() const { return m_nPrecision; }
    double Viscosity() const { return m_dViscosity; }

private:
    std::vector<TAVGis::Topology::CSectionPtr> m_sections;
    TAVGis::Topology::CSectionPtr m_currentSection;
    int m_currentIndex = -1;

    int m_nType = 0;
    int m_nPipeGroup = 0;
    int m_nPrecision = 0;
    double m_dViscosity = kDefaultViscosity;
};
