#include "platform/host/Editor.h"

#include <cmath>
#include <cstdarg>
#include <cstdio>

#include "platform/host/Document.h"
#include "platform/host/HostUi.h"

void acedAlert(const std::string& text) {
    TAVHost::GetHostUi().Alert(text);
}

void acutPrintf(const char* format, ...) {
    va_list args;
    va_start(args, format);
    va_list copy;
    va_copy(copy, args);
    int n = std::vsnprintf(nullptr, 0, format, copy);
    va_end(copy);
    std::string text;
    if (n > 0) {
        text.resize(static_cast<std::size_t>(n) + 1);
        std::vsnprintf(text.data(), text.size(), format, args);
        text.resize(static_cast<std::size_t>(n));
    }
    va_end(args);
    TAVHost::GetHostUi().Print(text);
}

void acedRedraw(const TAVHost::ObjectId* id, int mode) {
    auto* doc = acDocManagerPtr()->curDocument();
    if (!doc) return;
    auto& ed = doc->Editor();
    ++ed.redrawCount;
    ed.lastRedrawMode = mode;
    if (mode == kRedrawUnhighlight) {
        if (id)
            ed.highlighted.erase(*id);
        else
            ed.highlighted.clear();
    }
}

void acedUpdateDisplay() {
    if (auto* doc = acDocManagerPtr()->curDocument()) ++doc->Editor().updateDisplayCount;
}

void acedRefreshView() {
    if (auto* doc = acDocManagerPtr()->curDocument()) ++doc->Editor().viewRefreshCount;
}

void acedHighlightEntity(TAVHost::ObjectId id, int colorIndex) {
    auto* doc = acDocManagerPtr()->curDocument();
    if (!doc) return;
    if (colorIndex == 0)
        doc->Editor().highlighted.erase(id);
    else
        doc->Editor().highlighted[id] = colorIndex;
}

bool acedGetVar(const std::string& name, std::string& value) {
    auto* doc = acDocManagerPtr()->curDocument();
    if (!doc) return false;
    if (name == "DWGNAME") {
        value = doc->Name();
        return true;
    }
    return false;
}

int acedGetFileD(const std::string& title, const std::string& defaultName, const std::string& extension,
                 int flags, std::string& result) {
    auto chosen = TAVHost::GetHostUi().GetFile({title, defaultName, extension, flags});
    if (!chosen) return RTCAN;
    result = *chosen;
    return RTNORM;
}

bool acedSetColorDialog(int& colorIndex, bool allowMetaColor, int) {
    auto chosen = TAVHost::GetHostUi().ChooseColor(colorIndex, allowMetaColor);
    if (!chosen) return false;
    colorIndex = *chosen;
    return true;
}

RgbColor acedGetRGB(int index) {
    // The standard 256-colour palette: 1-9 named colours, 10-249 hues in steps of 15 degrees with five
    // brightness levels each in a saturated and a pale variant, 250-255 greys.
    static const RgbColor named[10] = {{0, 0, 0},       {255, 0, 0},    {255, 255, 0}, {0, 255, 0},
                                       {0, 255, 255},   {0, 0, 255},    {255, 0, 255}, {255, 255, 255},
                                       {128, 128, 128}, {192, 192, 192}};
    if (index >= 0 && index <= 9) return named[index];
    if (index >= 250 && index <= 255) {
        static const std::uint8_t greys[6] = {51, 91, 132, 173, 214, 255};
        std::uint8_t g = greys[index - 250];
        return {g, g, g};
    }
    if (index < 10 || index > 255) return {0, 0, 0};
    const double hue = (index / 10 - 1) * 15.0;
    const int variant = index % 10;
    static const double value[5] = {1.0, 0.8, 0.6, 0.5, 0.3};
    const double v = value[variant / 2];
    const double s = (variant % 2 == 0) ? 1.0 : 0.5;
    const double c = v * s;
    const double hp = hue / 60.0;
    const double x = c * (1 - std::fabs(std::fmod(hp, 2.0) - 1));
    double r = 0, g = 0, b = 0;
    if (hp < 1)
        r = c, g = x;
    else if (hp < 2)
        r = x, g = c;
    else if (hp < 3)
        g = c, b = x;
    else if (hp < 4)
        g = x, b = c;
    else if (hp < 5)
        r = x, b = c;
    else
        r = c, b = x;
    const double m = v - c;
    auto to8 = [](double t) { return static_cast<std::uint8_t>(std::lround(t * 255.0)); };
    return {to8(r + m), to8(g + m), to8(b + m)};
}
