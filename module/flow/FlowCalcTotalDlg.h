#pragma once
// CFlowCalcTotalDlg: the total flow tab of the flow main dialog. For every section of the active system it
// adds up the ticked results (rain by intensity curves, the waste-water results, transit, own flow) and
// writes the sum as FLOW_TOTAL, the flow the pipes are dimensioned for. The ticks are kept in the drawing.
#include <array>
#include <vector>

#include "platform/network/Section.h"
#include "platform/ui/AcUiTabChildDialog.h"

// One term of the total: a check box, its state key and the attribute it adds.
struct TotalComponent {
    int checkId;
    const char* stateKey;
    const char* attribute;
    int labelMsg;
    bool typedGetter;  // read through the accessor (sentinel skipped); else a direct read, added when present
};

constexpr int kTotalComponentCount = 7;
extern const std::array<TotalComponent, kTotalComponentCount> kTotalComponents;
using TotalFlags = std::array<int, kTotalComponentCount>;

class CFlowCalcTotalDlg : public TAVUi::CAcUiTabChildDialog {
public:
    static constexpr int IDD = 221;
    static constexpr int IDC_GROUP_FLOWS = 287;
    static constexpr int IDC_BUTTON_SELECT_ALL = 279;
    static constexpr int IDC_BUTTON_CLEAR_ALL = 280;
    static constexpr int IDC_BUTTON_CALCULATE = 216;
    static constexpr int IDC_STATIC_STATUS = 286;

    CFlowCalcTotalDlg();

    bool OnInitDialog() override;
    void DoDataExchange(TAVUi::CDataExchange* pDX) override;

    void LoadState();
    void SaveState();

    // The total of one section (m3/s as stored): the ticked terms in row order, missing terms adding nothing.
    static double TotalFlow(const TAVGis::Topology::CSectionPtr& section, const TotalFlags& flags);
    // Writes FLOW_TOTAL on every section; true when the last write succeeded.
    static bool WriteTotals(const std::vector<TAVGis::Topology::CSectionPtr>& sections,
                            const TotalFlags& flags);

    const TotalFlags& Flags() const { return m_flags; }
    const std::vector<TAVGis::Topology::CSectionPtr>& Sections() const { return m_sections; }

private:
    void OnComponentClicked();
    void OnSelectAll();
    void OnClearAll();
    void OnCalculate();
    void SetAllFlags(int value);
    void ApplyEnableRule();

    TotalFlags m_flags{};
    std::vector<TAVGis::Topology::CSectionPtr> m_sections;
    std::vector<TAVGis::Topology::CNodePtr> m_nodes;  // kept with the selection; the calculation needs none
};
