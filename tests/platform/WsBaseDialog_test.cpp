#include "platform/sessions/WsBaseDialog.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <vector>

#include "support/TestSupport.h"

namespace {

namespace fs = std::filesystem;
using TAVGis::Data::CDataBox;
using TAVGis::Workspace::CWsBaseDialog;

constexpr const char* kDialog = "DLG_ITP_CALC";

// Sets an environment variable for the test and restores it afterwards.
class EnvironmentVariable {
public:
    EnvironmentVariable(const char* name, const std::optional<std::string>& value) : m_name(name) {
        if (const char* old = std::getenv(name)) m_old = old;
        Set(value);
    }
    ~EnvironmentVariable() { Set(m_old); }
    void Set(const std::optional<std::string>& value) {
        if (value)
            ::setenv(m_name, value->c_str(), 1);
        else
            ::unsetenv(m_name);
    }

private:
    const char* m_name;
    std::optional<std::string> m_old;
};

class WsBaseDialogTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::string pattern = (fs::temp_directory_path() / "wsstore.XXXXXX").string();
        ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
        m_dir = pattern;
        m_env.emplace(CWsBaseDialog::kConfigDirVariable, m_dir.string());
    }
    void TearDown() override {
        m_env.reset();
        std::error_code ec;
        fs::remove_all(m_dir, ec);
    }
    fs::path File() const { return m_dir / CWsBaseDialog::kFileName; }
    fs::path Backup() const {
        return m_dir / (std::string(CWsBaseDialog::kFileName) + CWsBaseDialog::kBackupSuffix);
    }
    void WriteFile(const fs::path& path, const std::string& bytes) {
        std::ofstream out(path, std::ios::binary);
        out << bytes;
    }
    std::vector<std::string> DirectoryNames() const {
        std::vector<std::string> names;
        for (const auto& e : fs::directory_iterator(m_dir)) names.push_back(e.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }

    fs::path m_dir;
    std::optional<EnvironmentVariable> m_env;
};

TEST_F(WsBaseDialogTest, MissingFileGivesTheDefaults) {
    const CDataBox defaults[] = {CDataBox(1.5), CDataBox(3), CDataBox("curve.idf"), CDataBox(),
                                 CDataBox(std::vector<std::string>{"a"})};
    for (const auto& d : defaults) EXPECT_EQ(CWsBaseDialog::GetStateValue(kDialog, "IPTCALC_X", d), d);
    EXPECT_FALSE(fs::exists(File()));  // reading creates nothing
}

TEST_F(WsBaseDialogTest, ValuesKeepTheirTypePerDialogAndKey) {
    const std::pair<const char*, CDataBox> values[] = {
        {"IPTCALC_DOUBLE", CDataBox(2.0)},
        {"IPTCALC_FRACTION", CDataBox(0.1)},
        {"IPTCALC_INT", CDataBox(-4)},
        {"IPTCALC_TEXT", CDataBox("C:\\rain\\curve \"A\".txt")},
        {"IPTCALC_LIST", CDataBox(std::vector<std::string>{"1.5", "x", ""})},
        {"IPTCALC_UTF8", CDataBox("\xC5\xA0"
                                  "abac")},
    };
    for (const auto& [key, box] : values) ASSERT_TRUE(CWsBaseDialog::SetStateValue(kDialog, key, box)) << key;
    ASSERT_TRUE(CWsBaseDialog::SetStateValue("OTHER_DLG", "IPTCALC_INT", CDataBox(99)));
    for (const auto& [key, box] : values) {
        const CDataBox stored = CWsBaseDialog::GetStateValue(kDialog, key, CDataBox());
        EXPECT_EQ(stored, box) << key;
    }
    EXPECT_TRUE(CWsBaseDialog::GetStateValue(kDialog, "IPTCALC_DOUBLE", CDataBox()).IsDouble());
    EXPECT_EQ(CWsBaseDialog::GetStateValue("OTHER_DLG", "IPTCALC_INT", CDataBox()), CDataBox(99));
    EXPECT_EQ(CWsBaseDialog::GetStateValue("OTHER_DLG", "IPTCALC_TEXT", CDataBox(7)), CDataBox(7));

    // A null box removes the key; the default is back.
    ASSERT_TRUE(CWsBaseDialog::SetStateValue(kDialog, "IPTCALC_INT", CDataBox()));
    EXPECT_EQ(CWsBaseDialog::GetStateValue(kDialog, "IPTCALC_INT", CDataBox(5)), CDataBox(5));
}

TEST_F(WsBaseDialogTest, CorruptFileGivesDefaultsAndIsBackedUpBeforeReplacing) {
    const std::string corrupt[] = {"{\"version\": 1, \"dialogs\": {\"DLG_ITP_CALC\": {\"IPTCALC_X\": 4.5", "",
                                   "[1, 2]", "{\"dialogs\": 3}", "\xFF\xFE garbage"};
    for (const std::string& bytes : corrupt) {
        SCOPED_TRACE(bytes);
        fs::remove(Backup());
        WriteFile(File(), bytes);
        EXPECT_EQ(CWsBaseDialog::GetStateValue(kDialog, "IPTCALC_X", CDataBox(1.0)), CDataBox(1.0));
        EXPECT_FALSE(fs::exists(Backup()));  // reading does not touch it

        ASSERT_TRUE(CWsBaseDialog::SetStateValue(kDialog, "IPTCALC_Y", CDataBox(2)));
        EXPECT_EQ(testsupport::ReadTextFile(Backup().string()), bytes);
        EXPECT_EQ(CWsBaseDialog::GetStateValue(kDialog, "IPTCALC_Y", CDataBox()), CDataBox(2));
        EXPECT_EQ(CWsBaseDialog::GetStateValue(kDialog, "IPTCALC_X", CDataBox(1.0)), CDataBox(1.0));
    }
    // A valid file is not backed up on the next write.
    fs::remove(Backup());
    ASSERT_TRUE(CWsBaseDialog::SetStateValue(kDialog, "IPTCALC_Z", CDataBox(3)));
    EXPECT_FALSE(fs::exists(Backup()));
    EXPECT_EQ(CWsBaseDialog::GetStateValue(kDialog, "IPTCALC_Y", CDataBox()), CDataBox(2));
}

TEST_F(WsBaseDialogTest, ALaterCorruptFileNeverOverwritesAnEarlierBackup) {
    // Nested deeper than the store's bound: corrupt (writing it back would recurse that deep).
    const std::string deep =
        "{\"dialogs\": {}, \"x\": " + std::string(100000, '[') + std::string(100000, ']') + "}";
    const std::string corrupt[] = {"first corrupt file", deep, "third"};
    for (const std::string& bytes : corrupt) {
        WriteFile(File(), bytes);
        EXPECT_EQ(CWsBaseDialog::GetStateValue(kDialog, "IPTCALC_X", CDataBox(1.0)), CDataBox(1.0));
        ASSERT_TRUE(CWsBaseDialog::SetStateValue(kDialog, "IPTCALC_X", CDataBox(2.0)));
        EXPECT_EQ(CWsBaseDialog::GetStateValue(kDialog, "IPTCALC_X", CDataBox()), CDataBox(2.0));
    }
    EXPECT_EQ(testsupport::ReadTextFile(Backup().string()), corrupt[0]);
    EXPECT_EQ(testsupport::ReadTextFile(Backup().string() + ".1"), corrupt[1]);
    EXPECT_EQ(testsupport::ReadTextFile(Backup().string() + ".2"), corrupt[2]);
    EXPECT_EQ(DirectoryNames(), (std::vector<std::string>{"workspace.json", "workspace.json.bak",
                                                          "workspace.json.bak.1", "workspace.json.bak.2"}));
    // 32 levels are the bound: a file that deep is read.
    std::string nested = "{\"version\": 1, \"dialogs\": {\"" + std::string(kDialog) +
                         "\": {\"IPTCALC_X\": 5}}, \"n\": " + std::string(31, '[') + std::string(31, ']') +
                         "}";
    WriteFile(File(), nested);
    EXPECT_EQ(CWsBaseDialog::GetStateValue(kDialog, "IPTCALC_X", CDataBox()), CDataBox(5));
}

TEST_F(WsBaseDialogTest, WhenEveryBackupNameIsTakenTheCorruptFileStays) {
    for (int n = 0; n <= CWsBaseDialog::kMaxBackups; ++n)
        WriteFile(fs::path(Backup().string() + (n ? "." + std::to_string(n) : "")), "old backup");
    WriteFile(File(), "corrupt");
    EXPECT_FALSE(CWsBaseDialog::SetStateValue(kDialog, "IPTCALC_X", CDataBox(2.0)));
    EXPECT_EQ(testsupport::ReadTextFile(File().string()), "corrupt");
    EXPECT_EQ(testsupport::ReadTextFile(Backup().string()), "old backup");
}

TEST_F(WsBaseDialogTest, TheFileIsReplacedAsAWholeNeverRewrittenInPlace) {
    ASSERT_TRUE(CWsBaseDialog::SetStateValue(kDialog, "IPTCALC_A", CDataBox(1)));
    const std::string before = testsupport::ReadTextFile(File().string());
    // A second name for the old file: an in-place rewrite would change what it shows.
    const fs::path link = m_dir / "old-version";
    fs::create_hard_link(File(), link);
    struct stat oldStat {};
    ASSERT_EQ(::stat(File().c_str(), &oldStat), 0);

    ASSERT_TRUE(CWsBaseDialog::SetStateValue(kDialog, "IPTCALC_B", CDataBox(2)));
    struct stat newStat {};
    ASSERT_EQ(::stat(File().c_str(), &newStat), 0);
    EXPECT_NE(newStat.st_ino, oldStat.st_ino);
    EXPECT_EQ(testsupport::ReadTextFile(link.string()), before);
    EXPECT_EQ(CWsBaseDialog::GetStateValue(kDialog, "IPTCALC_A", CDataBox()), CDataBox(1));
    EXPECT_EQ(CWsBaseDialog::GetStateValue(kDialog, "IPTCALC_B", CDataBox()), CDataBox(2));
    // No temporary file is left behind.
    EXPECT_EQ(DirectoryNames(), (std::vector<std::string>{"old-version", "workspace.json"}));
}

TEST_F(WsBaseDialogTest, AFailedWriteLeavesTheOldFile) {
    ASSERT_TRUE(CWsBaseDialog::SetStateValue(kDialog, "IPTCALC_A", CDataBox(1)));
    // The store's directory is a file: nothing can be written there.
    const fs::path blocker = m_dir / "blocker";
    WriteFile(blocker, "x");
    {
        EnvironmentVariable dir(CWsBaseDialog::kConfigDirVariable, (blocker / "sub").string());
        EXPECT_FALSE(CWsBaseDialog::SetStateValue(kDialog, "IPTCALC_A", CDataBox(2)));
        EXPECT_EQ(CWsBaseDialog::GetStateValue(kDialog, "IPTCALC_A", CDataBox(0)), CDataBox(0));
    }
    if (::geteuid() != 0) {  // permissions do not stop root
        fs::permissions(m_dir, fs::perms::owner_read | fs::perms::owner_exec);
        EXPECT_FALSE(CWsBaseDialog::SetStateValue(kDialog, "IPTCALC_A", CDataBox(3)));
        fs::permissions(m_dir, fs::perms::owner_all);
    }
    EXPECT_EQ(CWsBaseDialog::GetStateValue(kDialog, "IPTCALC_A", CDataBox(0)), CDataBox(1));
}

TEST(WsBaseDialogPathTest, TheUsersConfigurationDirectory) {
    struct Case {
        std::optional<std::string> configDir;
        std::optional<std::string> xdg;
        std::optional<std::string> home;
        std::string expected;
    };
    const Case cases[] = {
        {"/tmp/override", "/x/config", "/home/u", "/tmp/override/workspace.json"},
        {std::nullopt, "/x/config", "/home/u", "/x/config/tavx/workspace.json"},
        {"", "relative/config", "/home/u", "/home/u/.config/tavx/workspace.json"},
        {std::nullopt, std::nullopt, "/home/u", "/home/u/.config/tavx/workspace.json"},
    };
    for (const Case& c : cases) {
        EnvironmentVariable configDir(CWsBaseDialog::kConfigDirVariable, c.configDir);
        EnvironmentVariable xdg("XDG_CONFIG_HOME", c.xdg);
        EnvironmentVariable home("HOME", c.home);
        EXPECT_EQ(CWsBaseDialog::StorePath().string(), c.expected);
    }
}

}  // namespace
