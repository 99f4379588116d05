#include "module/flow/FlowStatusLine.h"

#include "platform/gis/ModuleConfiguration.h"

void CFlowStatusLine::Clear(TAVUi::CAdUiBaseDialog& dialog, int id, const TAVUi::Rgb& color) {
    Show(dialog, id, std::string(), color);
}

void CFlowStatusLine::Show(TAVUi::CAdUiBaseDialog& dialog, int id, const std::string& text,
                           const TAVUi::Rgb& color) {
    if (auto* c = dialog.GetDlgItem(id)) {
        c->SetWindowText(text);
        c->textColor = color;
        c->bold = true;
    }
}

void CFlowStatusLine::ShowWritten(TAVUi::CAdUiBaseDialog& dialog, int id) {
    Show(dialog, id, TAVGis::CModuleConfiguration::GetMsg(kMsgResultsWritten), kFlowStatusColor);
}
