#pragma once
// CFlowStatusLine: the status line of the flow dialogs: a bold label, cleared in the status colour when a
// calculation starts, showing the completion message in that colour when the last write succeeded, and
// cleared in another colour when the inputs change (black) or a new selection is made (blue).
#include <string>

#include "platform/ui/AdUiBaseDialog.h"

constexpr TAVUi::Rgb kFlowStatusColor = TAVUi::RGB(255, 91, 0);  // 0x5BFF as the host writes it
constexpr TAVUi::Rgb kFlowStatusBlack = TAVUi::RGB(0, 0, 0);
constexpr TAVUi::Rgb kFlowStatusBlue = TAVUi::RGB(0, 0, 255);
constexpr int kMsgResultsWritten = 2050;

class CFlowStatusLine {
public:
    // Empties the line and sets its colour, bold.
    static void Clear(TAVUi::CAdUiBaseDialog& dialog, int id, const TAVUi::Rgb& color);
    // Shows a text in the colour, bold.
    static void Show(TAVUi::CAdUiBaseDialog& dialog, int id, const std::string& text,
                     const TAVUi::Rgb& color);
    // Shows catalogue message 2050 in the status colour.
    static void ShowWritten(TAVUi::CAdUiBaseDialog& dialog, int id);
};
