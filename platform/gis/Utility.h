#pragma once
// CUtility: small shared helpers of the GIS core.
#include <string>
#include <vector>

namespace TAVGis::Utility {

class CUtility {
public:
    // Rounds to the given number of decimals, halves away from zero.
    static double RoundDouble(double value, int digits);
    // Splits a text at every separator; empty pieces are kept.
    static void SplitString(const std::string& text, std::vector<std::string>& parts,
                            const std::string& separator);
    static void Delay(int milliseconds);
};

}  // namespace TAVGis::Utility
