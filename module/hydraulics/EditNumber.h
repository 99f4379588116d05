#pragma once
// The number an edit field of the hydraulics dialogs holds: empty when the field is empty, else its text
// parsed as a decimal number (a text that is not a number counts as 0, as in every edit of the module).
#include <optional>
#include <string>

#include "platform/host/NumberText.h"

inline std::optional<double> EditNumber(const std::string& text) {
    if (text.empty()) return std::nullopt;
    return TAVHost::NumberText::ParseOrZero(text);
}
