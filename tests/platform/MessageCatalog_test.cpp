// The message catalogue: every text unique (an alert's text leads back to its number), every text
// non-empty, and every message number the module's sources name has a text.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <regex>
#include <set>
#include <sstream>

#include "platform/gis/ModuleConfiguration.h"

namespace {

TEST(MessageCatalogTest, TextsAreUniqueAndNotEmpty) {
    std::map<std::string, int> seen;
    std::set<int> numbers;
    for (const auto& [n, text] : TAVGis::CModuleConfiguration::AllMessages()) {
        EXPECT_TRUE(numbers.insert(n).second) << "message " << n << " defined twice";
        EXPECT_FALSE(text.empty()) << "message " << n;
        auto [it, fresh] = seen.emplace(text, n);
        EXPECT_TRUE(fresh) << "messages " << it->second << " and " << n << " share the text \"" << text
                           << "\"";
        EXPECT_EQ(TAVGis::CModuleConfiguration::FindMsgNumber(text), fresh ? n : it->second);
    }
    EXPECT_EQ(TAVGis::CModuleConfiguration::GetMsg(-12345), "[message -12345]");
    EXPECT_FALSE(TAVGis::CModuleConfiguration::HasMsg(-12345));
}

TEST(MessageCatalogTest, EveryNumberTheModuleNamesHasAText) {
    // Numbers the module passes to GetMsg directly, or names in message constants (kMsg... = N).
    const std::regex direct(R"(GetMsg\(\s*(\d+)\s*\))");
    const std::regex constant(R"(\bkMsg\w*\s*=\s*(\d+))");
    std::set<int> used;
    for (const auto& entry :
         std::filesystem::recursive_directory_iterator(std::string(SEWER_SOURCE_DIR) + "/module")) {
        if (!entry.is_regular_file()) continue;
        auto ext = entry.path().extension();
        if (ext != ".cpp" && ext != ".h") continue;
        std::ifstream in(entry.path());
        std::stringstream text;
        text << in.rdbuf();
        const std::string s = text.str();
        for (const auto* re : {&direct, &constant})
            for (std::sregex_iterator it(s.begin(), s.end(), *re), end; it != end; ++it)
                used.insert(std::stoi((*it)[1]));
    }
    ASSERT_FALSE(used.empty());
    for (int n : used)
        EXPECT_TRUE(TAVGis::CModuleConfiguration::HasMsg(n)) << "message " << n << " has no text";
}

}  // namespace
