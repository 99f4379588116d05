#pragma once
// Dialog templates: a dialog's controls with id, kind, symbolic name, default caption and position, read
// from the text resources of a module (files ending in ".dlg"). A template file holds one or more dialogs:
//
//   DIALOG 222 IDD_FLOW_MAIN "Flow calculation" 400 300
//   CONTROL 1 button IDOK "OK" 280 270 50 14
//   CONTROL 283 tab IDC_TAB "" 5 5 390 260
//   CONTROL 224 radio IDC_RADIO_DIAMETER "Minimum diameter" 10 10 80 12 group=mode
//   END
//
// Kinds: button, check, radio, edit, static, group, combo, list, tree, tab, placeholder, selection, bitmap.
// Options after the position are key=value words: group=NAME joins radios into one group (a radio without
// it joins the group of the radio before it), dropdown=1 gives a combo an edit field.
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "platform/host/ResourceModule.h"

namespace TAVUi {

enum class ControlKind {
    Button,
    Check,
    Radio,
    Edit,
    Static,
    Group,
    Combo,
    List,
    Tree,
    Tab,
    Placeholder,
    Selection,
    Bitmap
};

const char* ControlKindName(ControlKind kind);
std::optional<ControlKind> ParseControlKind(const std::string& word);

struct ControlTemplate {
    int id = 0;
    ControlKind kind = ControlKind::Static;
    std::string name;
    std::string caption;
    int x = 0, y = 0, width = 0, height = 0;
    std::map<std::string, std::string> options;
};

struct DialogTemplate {
    int id = 0;
    std::string name;
    std::string caption;
    int width = 0, height = 0;
    std::vector<ControlTemplate> controls;
    const ControlTemplate* FindControl(int id) const;
    const ControlTemplate* FindControl(const std::string& name) const;
};

// Parses template files; throws std::runtime_error naming the file and line of a malformed line.
std::vector<DialogTemplate> ParseDialogTemplates(const std::string& text, const std::string& fileName);

// Every dialog template of a module's resources, parsed once per module.
const std::map<int, DialogTemplate>& DialogTemplatesOf(HINSTANCE module);
// The template with that id in the given module, or null.
const DialogTemplate* FindDialogTemplate(HINSTANCE module, int id);

}  // namespace TAVUi
