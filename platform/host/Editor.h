#pragma once
// Editor services of the host: alerts, command-line output, redraw and display update, highlighting and
// zoom, system variables, the file and colour dialogs. Everything a person would see goes through HostUi;
// the visible drawing state is kept in the current document's EditorState.
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/host/Database.h"

// Redraw modes.
constexpr int kRedrawUnhighlight = 4;

void acedAlert(const std::string& text);
// printf-style output to the host command line.
void acutPrintf(const char* format, ...) __attribute__((format(printf, 1, 2)));
// Redraws one entity or, with a null id, the whole drawing; mode 4 removes every highlight.
void acedRedraw(const TAVHost::ObjectId* id, int mode);
void acedUpdateDisplay();
// Asks the current document to refresh its view.
void acedRefreshView();
// Shows an entity in a colour index (0 removes its highlight).
void acedHighlightEntity(TAVHost::ObjectId id, int colorIndex);
// System variables; only the drawing name DWGNAME is known. Returns false for an unknown name or no drawing.
bool acedGetVar(const std::string& name, std::string& value);
// The host file dialog; returns 0 (RTNORM) when a file was chosen.
int acedGetFileD(const std::string& title, const std::string& defaultName, const std::string& extension,
                 int flags, std::string& result);
// The host colour dialog; true when the user chose a colour.
bool acedSetColorDialog(int& colorIndex, bool allowMetaColor, int currentLayerColor);

struct RgbColor {
    std::uint8_t r = 0, g = 0, b = 0;
    bool operator==(const RgbColor&) const = default;
};
// The RGB of a colour index of the 256-colour palette.
RgbColor acedGetRGB(int colorIndex);

constexpr int RTNORM = 5100;
constexpr int RTCAN = -5002;
constexpr int RTERROR = -5001;
