#pragma once
// CModuleConfiguration: the message catalogue, the global settings, icons by name and the highlight colour.
//
// Decisions:
// - The catalogue ships as resource files (platform/gis/res/messages/*.txt, "NUMBER<TAB>text" per line)
//   embedded at build time; every text is unique, so a text shown in an alert can be traced to its number.
// - A number without a text gives "[message N]", so a missing text is visible rather than blank.
// - Global settings are read from the drawing first, then from the platform defaults: DEFAULT_ZOOM 1.5,
//   ZOOM_ONOFF 1, MARK_COLOR_1 1 (red). DEFAULT_PATH has no platform default (its readers use their own).
// - Icons are known by name; GetIcon gives a non-null handle for a non-empty name.
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace TAVGis {

struct IconHandle {
    std::string name;
    explicit operator bool() const { return !name.empty(); }
};

class CModuleConfiguration {
public:
    static std::string GetMsg(int id);
    static bool HasMsg(int id);
    // The number of a catalogue text, when the text is one of the catalogue's.
    static std::optional<int> FindMsgNumber(const std::string& text);
    static std::vector<std::pair<int, std::string>> AllMessages();

    static IconHandle GetIcon(const std::string& name);
    // The colour index used to highlight entities (global setting MARK_COLOR_1).
    static int GetHighlightColor();

    // Global settings by key; non-zero when found.
    static int GetGSValueDouble(const std::string& key, double& value);
    static int GetGSValueInt(const std::string& key, int& value);
    static int GetGSValueString(const std::string& key, std::string& value);
    // Stores a setting in the current drawing.
    static void SetGSValue(const std::string& key, const std::string& value);
};

}  // namespace TAVGis
