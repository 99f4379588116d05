#pragma once
// dlg_atvFile: the export of sections and hydraulic results to a text file (CHydraulicsExportFile, which
// writes it). The person picks the sections (all sections of the active system at start) and the target path;
// on OK the path is stored in the drawing and the file written.
//
// Decisions:
// - The drawing name is DWGNAME without its extension (from the last dot on), which for a three-letter
//   extension is the name without its last four characters; a name without a dot is kept whole.
// - A file that was created but could not be written completely gets alert 4494 as well and is removed.
#include <string>
#include <vector>

#include "module/res/dlg_atvFileIds.h"
#include "platform/network/Node.h"
#include "platform/network/Section.h"
#include "platform/selection/SelectionButton.h"
#include "platform/ui/AdUiBaseDialog.h"

class dlg_atvFile : public TAVUi::CAdUiBaseDialog, public dlg_atvFileIds {
public:
    static constexpr int kTopologyType = 1;
    static constexpr int kSelectionType = 0xCE8001;
    static constexpr int kFileDialogFlags = 33;
    static constexpr const char* kFallbackFolder = "C:\\";
    static constexpr const char* kFallbackDrawingName = "temp";

    dlg_atvFile();

    bool OnInitDialog() override;
    void OnOK() override;

    const std::vector<TAVGis::Topology::CSectionPtr>& SelectedSections() const { return m_sections; }
    // The default folder (DEFAULT_PATH or "C:\") and the drawing name, as the dialog uses them.
    static std::string DefaultFolder();
    static std::string DrawingName();

private:
    void OnBrowse();
    std::intptr_t OnSelectionMade(std::intptr_t, std::intptr_t);

    std::string m_defaultFolder;
    std::vector<TAVGis::Topology::CSectionPtr> m_sections;
    std::vector<TAVGis::Topology::CNodePtr> m_otherElements;
    TAVGis::Selection::CSelectionButtonPtr m_selectButton;
};
