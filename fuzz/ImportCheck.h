#pragma once
// What every importer fuzz target requires of a model read from any bytes: a refused text leaves the model
// empty; every name and text value is valid UTF-8 (nothing else may enter a drawing); every number is
// finite.
#include <cmath>
#include <optional>
#include <string>
#include <variant>

#include "platform/store/ImportModel.h"
#include "platform/store/ImportText.h"

namespace fuzzcheck {

inline void Require(bool condition) {
    if (!condition) __builtin_trap();
}

inline void Text(const std::string& text) {
    Require(TAVGis::Store::ImportText::IsValidUtf8(text));
}

inline void Number(const std::optional<double>& value) {
    Require(!value || std::isfinite(*value));
}

inline void Point(const TAVGis::Store::SImportPoint& p) {
    Require(std::isfinite(p.x) && std::isfinite(p.y));
}

template <class Properties>
void Values(const Properties& properties) {
    for (const auto& [key, value] : properties) {
        Text(key);
        if (const auto* text = std::get_if<std::string>(&value)) Text(*text);
        if (const auto* number = std::get_if<double>(&value)) Require(std::isfinite(*number));
    }
}

inline void Model(const TAVGis::Store::SImportStatus& status, const TAVGis::Store::SImportNetwork& net) {
    if (!status.Ok()) {
        Require(net.nodes.empty() && net.sections.empty() && net.catchments.empty());
        Require(!status.message.empty());
        return;
    }
    for (const auto& n : net.nodes) {
        Text(n.name);
        if (n.position) Point(*n.position);
        Number(n.invertElevation);
        Number(n.maxDepth);
        Number(n.terrainHeight);
        Values(n.properties);
    }
    for (const auto& s : net.sections) {
        Text(s.name);
        Text(s.fromNode);
        Text(s.toNode);
        for (const auto& v : s.vertices) Point(v);
        Number(s.length);
        Number(s.diameter);
        Number(s.roughness);
        Number(s.levelStart);
        Number(s.levelEnd);
        Values(s.properties);
    }
    for (const auto& c : net.catchments) {
        Text(c.name);
        Number(c.area);
        Number(c.runoffCoefficient);
        Number(c.inhabitantDensity);
        Values(c.properties);
    }
}

}  // namespace fuzzcheck
