// The function-trace log: its line format, nesting, markers, values, failed verifications, and nothing at
// all with logging off.
#include "module/manager/FunctionTrace.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "platform/sessions/LogEngine.h"
#include "support/TestSupport.h"

namespace {

using TAVGis::Logging::CLogEngine;

class FunctionTraceTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_path = (std::filesystem::temp_directory_path() / "function_trace_test.log").string();
        std::filesystem::remove(m_path);
        m_wasOn = CLogEngine::GetLoggingOnOff();
        m_oldPath = CLogEngine::GetLogFileFullPath();
    }
    void TearDown() override {
        CLogEngine::SetLogging(m_wasOn, m_oldPath);
        std::filesystem::remove(m_path);
    }
    std::vector<std::string> Lines() {
        std::vector<std::string> out;
        if (!std::filesystem::exists(m_path)) return out;
        std::istringstream in(testsupport::ReadTextFile(m_path));
        for (std::string l; std::getline(in, l);) out.push_back(l);
        return out;
    }
    static void Inner() {
        FunctionTrace trace("/src/module/Inner.cpp", 7, "Inner");
        FunctionTrace::Marker("/src/module/Inner.cpp", 9);
        FunctionTrace::Value("/src/module/Inner.cpp", 10, "pRV", "0x1");
        EXPECT_FALSE(FunctionTrace::Verify(false, "pRV != nullptr", "/src/module/Inner.cpp", 11));
        EXPECT_TRUE(FunctionTrace::Verify(true, "never written", "/src/module/Inner.cpp", 12));
    }
    static void Outer() {
        FunctionTrace trace("C:\\src\\Outer.cpp", 42, "CDlg::OnBnClickedBtnRun");
        Inner();
        FunctionTrace::Marker("C:\\src\\Outer.cpp", 44);
    }
    std::string m_path;
    bool m_wasOn = false;
    std::string m_oldPath;
};

TEST_F(FunctionTraceTest, PrefixFormat) {
    EXPECT_EQ(FunctionTrace::Prefix("09:05:01", "/a/b/File.cpp", 42, "Run"),
              "[09:05:01] File.cpp                        (00042): [Run             ], ");
    // Longer names are not cut.
    EXPECT_EQ(
        FunctionTrace::Prefix("23:59:59", "X.cpp", 123456, "CDlgFlowCalculationsManager::RefreshTree"),
        "[23:59:59] X.cpp                           (123456): [CDlgFlowCalculationsManager::RefreshTree], ");
}

TEST_F(FunctionTraceTest, NestedLinesWithLoggingOn) {
    CLogEngine::SetLogging(true, m_path);
    Outer();
    const std::vector<std::string> expected = {
        "Outer.cpp *\\(00042\\): \\[CDlg::OnBnClickedBtnRun\\], Entering function , CDlg::OnBnClickedBtnRun",
        "Inner.cpp *\\(00007\\): \\[Inner *\\], Entering function , Inner",
        "Inner.cpp *\\(00009\\): \\[Inner *\\], Marker",
        "Inner.cpp *\\(00010\\): \\[Inner *\\], 'pRV = '0x1'",
        "Inner.cpp *\\(00011\\): \\[Inner *\\], Failed verification:  'pRV != nullptr'",
        "Inner.cpp *\\(00007\\): \\[Inner *\\], Exiting function , Inner",
        "Outer.cpp *\\(00044\\): \\[CDlg::OnBnClickedBtnRun\\], Marker",
        "Outer.cpp *\\(00042\\): \\[CDlg::OnBnClickedBtnRun\\], Exiting function , CDlg::OnBnClickedBtnRun",
    };
    const auto lines = Lines();
    ASSERT_EQ(lines.size(), expected.size());
    for (std::size_t i = 0; i < lines.size(); ++i)
        EXPECT_TRUE(
            std::regex_match(lines[i], std::regex("\\[[0-2][0-9]:[0-5][0-9]:[0-6][0-9]\\] " + expected[i])))
            << lines[i];
}

TEST_F(FunctionTraceTest, NothingWrittenWithLoggingOffOrAboveTheThreshold) {
    CLogEngine::SetLogging(false, m_path);
    Outer();
    EXPECT_FALSE(std::filesystem::exists(m_path));
    CLogEngine::SetLogging(true, m_path);
    {
        FunctionTrace deep("Deep.cpp", 1, "Deep", FunctionTrace::kThreshold + 1);
        FunctionTrace::Marker("Deep.cpp", 2);  // the stack holds nothing: no function named
    }
    const auto lines = Lines();
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_NE(lines[0].find("[                ], Marker"), std::string::npos) << lines[0];
}

}  // namespace
