#pragma once
// CFlowComponentsTab: what the transit and the total tab of the flow main dialog have in common. Each
// shows one check box per flow component of its calculation, in the calculation's order of summation,
// and keeps the ticks in the drawing's dialog state (0 or 1 per key, 0 when nothing is stored). Select
// all and clear all tick or untick every box; the calculate button is enabled while at least one box is
// ticked (the enable rule, applied on every tick, after loading, select all and clear all).
#include <algorithm>
#include <array>
#include <span>
#include <string_view>
#include <vector>

#include "module/flow/calc/FlowComponentSum.h"
#include "platform/ui/AcUiTabChildDialog.h"

// One component's check box: its control, the key its tick is kept under, the catalogue message of its
// label, and the attribute the calculation adds for it (only to check that the rows line up).
struct FlowComponentControl {
    int checkId;
    const char* stateKey;
    int labelMsg;
    const char* attribute;
};

// True when the dialog's rows and the calculation's components are the same attributes in the same order.
template <std::size_t N>
constexpr bool RowsLineUp(const std::array<FlowComponentControl, N>& controls,
                          const std::array<FlowComponent, N>& components) {
    for (std::size_t i = 0; i < N; ++i)
        if (std::string_view(controls[i].attribute) != std::string_view(components[i].attribute))
            return false;
    return true;
}

class CFlowComponentsTab : public TAVUi::CAcUiTabChildDialog {
public:
    // The common controls of a components tab.
    struct Controls {
        int group;
        int selectAll;
        int clearAll;
        int calculate;
        int status;
    };

    void DoDataExchange(TAVUi::CDataExchange* pDX) override;

    // Reads the ticks from the drawing, shows them and applies the enable rule.
    void LoadState();
    // Takes the check boxes into the ticks and writes every key.
    void SaveState();

protected:
    CFlowComponentsTab(int templateId, std::span<const FlowComponentControl> rows, const Controls& controls);

    // Icons, the group, calculate and component texts, the tooltips, and the status line's look.
    void SetUpControls(const char* calculateIcon, int calculateMsg);
    // The ticks as the calculation's flags.
    template <class Flags>
    Flags TicksAs() const {
        Flags flags{};
        std::copy_n(m_ticks.begin(), std::min(flags.size(), m_ticks.size()), flags.begin());
        return flags;
    }
    // The status line: cleared when a calculation starts, the completion message when it wrote.
    void ClearStatus();
    void ShowWritten();

private:
    void OnComponentClicked();
    void SetAll(int value);
    void ApplyEnableRule();

    std::span<const FlowComponentControl> m_rows;
    Controls m_controls;
    std::vector<int> m_ticks;
};
