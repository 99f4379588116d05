#pragma once
// Colouring sections by a result attribute: the values are split into classes of equal width between the
// smallest and the largest value, each class with a colour of a ramp from blue over green and yellow to
// red; sections without a value are counted apart. The legend shows each class's range and count.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace SewerGui {

struct ClassColour {
    std::uint8_t r = 0, g = 0, b = 0;
    bool operator==(const ClassColour&) const = default;
};

struct ValueClass {
    double from = 0.0;
    double to = 0.0;
    ClassColour colour;
    std::size_t count = 0;
};

struct Classification {
    std::vector<ValueClass> classes;  // empty when no value is known
    std::size_t missing = 0;          // values not known
    // The class of a value: -1 for no value, else the class whose range holds it (the last class holds its
    // upper bound, values beyond the range fall into the first or the last class).
    int ClassOf(const std::optional<double>& value) const;
    // "from - to" of a class, with four significant digits.
    std::string RangeText(std::size_t index) const;
};

// At most `classCount` classes (one class when every value is equal).
Classification Classify(const std::vector<std::optional<double>>& values, int classCount = 6);

// The ramp's colour at t in [0, 1]: blue (0), cyan, green, yellow (0.75), red (1).
ClassColour RampColour(double t);

}  // namespace SewerGui
