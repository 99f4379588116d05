#pragma once
// dlg_proracun_pojedinacni: the individual section calculation page of the hydraulic calculation dialog.
// For now the page holds what the dialog hands over (the selected sections, the current section and its
// index) and keeps its stored settings so that the dialog writes them back unchanged; its template has no
// controls yet, so it exchanges no data, and navigation and the result groups do nothing.
#include <vector>

#include "module/data/DialogState.h"
#include "module/res/dlg_proracun_pojedinacniIds.h"
#include "platform/network/Section.h"
#include "platform/ui/AcUiTabChildDialog.h"

class dlg_proracun_pojedinacni : public TAVUi::CAcUiTabChildDialog, public dlg_proracun_pojedinacniIds {
public:
    static constexpr double kDefaultViscosity = 1.31e-6;  // m2/s

    dlg_proracun_pojedinacni() : CAcUiTabChildDialog(IDD) {}

    bool OnInitDialog() override;

    // Hand-over from the hydraulic calculation dialog.
    std::vector<TAVGis::Topology::CSectionPtr>& SectionList() { return m_sections; }
    void SetCurrentIndex(int index) { m_currentIndex = index; }
    int CurrentIndex() const { return m_currentIndex; }
    void SetCurrentSection(const TAVGis::Topology::CSectionPtr& s) { m_currentSection = s; }
    const TAVGis::Topology::CSectionPtr& CurrentSection() const { return m_currentSection; }
    void UpdateNavigation() {}
    void RecalculateAll() {}

    // Writes the page's settings, in the dialog's order.
    void WriteState(CDialogState& state);

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
