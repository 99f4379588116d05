#include "module/data/ConfigSets.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "module/data/XmlDocument.h"
#include "platform/gis/CodePage.h"
#include "platform/gis/ModuleConfiguration.h"
#include "platform/host/Document.h"
#include "platform/host/TAVCDictionaryPtr.h"
#include "support/TestSupport.h"
#include "tests/module/support/TestDialog.h"

namespace {

using Status = CConfigSets::SaveStatus;
constexpr const char* kEntry = "ACH_FLOW_CONFIG_DATA";
constexpr const char* kTagApp = "ACH_PARAM_CONFIG";

CConfigSets PercentSets() {
    return CConfigSets(
        kEntry, kTagApp,
        {"potrosnja", "brStanovnika", "prirast", "period", "koefD", "koefH", "koefKP", "koefKS", "koefKU"},
        CConfigSets::NumberFormat::Fixed4);
}

const CConfigSets::Record kDefaults{150, 5000, 2, 30, 1.5, 1.5, 1.1, 1.1, 0.8};

class ConfigSetsTest : public testsupport::DrawingTest {
protected:
    std::optional<std::string> Stored(const std::string& entry = kEntry) {
        CTAVCDictionaryPtr dict(CConfigSets::kDictionary, AcDb::kForRead);
        std::string text;
        if (!dctRead(dict, entry, text)) return std::nullopt;
        return text;
    }
    void Store(const std::string& text, const std::string& entry = kEntry) {
        CTAVCDictionaryPtr dict(CConfigSets::kDictionary, AcDb::kForWrite);
        ASSERT_EQ(dctWrite(dict, entry, text), kEok);
    }
    // (unescaped name, attribute value) of every "config" element of the stored document.
    std::vector<std::pair<std::string, std::string>> Configs(const std::string& attribute) {
        std::vector<std::pair<std::string, std::string>> result;
        CXmlDocument xml;
        xml.SetDoc(Stored().value_or(""));
        if (!xml.FindElem("configs") || !xml.IntoElem()) return result;
        while (xml.FindElem("config")) result.emplace_back(xml.GetAttrib("name"), xml.GetAttrib(attribute));
        return result;
    }
    std::vector<std::string> Entries(const TAVUi::CControl& combo) {
        std::vector<std::string> texts;
        for (const auto& item : combo.items) texts.push_back(item.text);
        return texts;
    }
};

TEST_F(ConfigSetsTest, FirstSaveCreatesTheDocumentInANewDrawingOrOverABlankEntry) {
    const auto sets = PercentSets();
    for (const char* entry : {"", "  \n"}) {
        if (*entry) Store(entry);
        const auto result = sets.Save("Default", kDefaults);
        EXPECT_EQ(result.status, Status::Stored);
        EXPECT_EQ(result.name, "Default");
        EXPECT_EQ(Stored().value_or(""),
                  "<?xml version=\"1.0\" encoding=\"utf-8\" ?><configs><config name=\"Default\" "
                  "potrosnja=\"150.0000\" brStanovnika=\"5000.0000\" prirast=\"2.0000\" period=\"30.0000\" "
                  "koefD=\"1.5000\" koefH=\"1.5000\" koefKP=\"1.1000\" koefKS=\"1.1000\" "
                  "koefKU=\"0.8000\"/></configs>");
    }
    EXPECT_TRUE(ui.alerts.empty());
}

TEST_F(ConfigSetsTest, OneSaveUpdatesEveryElementOfThatNameAndNamesAreCaseSensitive) {
    // Hand-edited: two sets named "Town", one with an extra attribute, attributes in another order.
    Store(
        "<configs><config extra=\"keep &amp; me\" name=\"Town\" potrosnja=\"1.0000\"/>"
        "<config name=\"Other\" potrosnja=\"2.0000\"/><config name=\"Town\" "
        "potrosnja=\"3.0000\"/></configs>");
    const auto sets = PercentSets();
    CConfigSets::Record values = kDefaults;
    values[0] = 175.5;
    ASSERT_EQ(sets.Save("Town", values).status, Status::Stored);
    using Pairs = std::vector<std::pair<std::string, std::string>>;
    EXPECT_EQ(Configs("potrosnja"), (Pairs{{"Town", "175.5000"}, {"Other", "2.0000"}, {"Town", "175.5000"}}));
    EXPECT_EQ(Configs("extra"), (Pairs{{"Town", "keep & me"}, {"Other", ""}, {"Town", ""}}));

    // Saving twice under one name changes nothing more; another letter case adds a set.
    ASSERT_EQ(sets.Save("Town", values).status, Status::Stored);
    ASSERT_EQ(sets.Save("town", kDefaults).status, Status::Stored);
    EXPECT_EQ(Configs("potrosnja"),
              (Pairs{{"Town", "175.5000"}, {"Other", "2.0000"}, {"Town", "175.5000"}, {"town", "150.0000"}}));

    testsupport::TestDialog dialog;
    auto& combo = dialog.Item(testsupport::IDC_TEST_CONFIG);
    const auto* first = sets.LoadConfigs(combo);
    EXPECT_EQ(Entries(combo), (std::vector<std::string>{"Town", "Other", "Town", "town"}));
    EXPECT_EQ(combo.curSel, 0);
    EXPECT_EQ(combo.text, "Town");
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(*first, values);
}

TEST_F(ConfigSetsTest, TrimmedNameIsStoredAndEmptyNamesStop) {
    const auto sets = PercentSets();
    for (const char* typed : {"", "   ", "\t \r\n"}) {
        const auto result = sets.Save(typed, kDefaults);
        EXPECT_EQ(result.status, Status::EmptyName);
        EXPECT_FALSE(result.Proceed());
    }
    EXPECT_EQ(ui.alerts, std::vector<std::string>(3, TAVGis::CModuleConfiguration::GetMsg(2059)));
    EXPECT_FALSE(Stored().has_value());

    const auto result = sets.Save("  Rain set \t", kDefaults);
    EXPECT_EQ(result.status, Status::Stored);
    EXPECT_EQ(result.name, "Rain set");
    EXPECT_EQ(Configs("period"), (std::vector<std::pair<std::string, std::string>>{{"Rain set", "30.0000"}}));
}

TEST_F(ConfigSetsTest, NamesBeyondAsciiAndWithEqualsSignLoadBackAsTyped) {
    ASSERT_EQ(TAVGis::Utility::CCodePage::GetAnsiCodePage(), "WINDOWS-1250");
    struct Case {
        const char* name;
        const char* stored;  // the escaped attribute value
    };
    // Š is 0x8A and č 0xE8 in windows-1250: three escapes each.
    const Case cases[] = {{"a=b", "a=3Db"},
                          {"\xC5\xA0"
                           "abac",
                           "=EF=BE=8Aabac"},
                          {"Ko\xC4\x8D"
                           "e",
                           "Ko=EF=BF=A8e"}};
    const auto sets = PercentSets();
    for (const Case& c : cases) ASSERT_EQ(sets.Save(c.name, kDefaults).status, Status::Stored) << c.name;
    const auto configs = Configs("koefKU");
    ASSERT_EQ(configs.size(), 3u);
    for (std::size_t i = 0; i < configs.size(); ++i) EXPECT_EQ(configs[i].first, cases[i].stored);

    testsupport::TestDialog dialog;
    auto& combo = dialog.Item(testsupport::IDC_TEST_CONFIG);
    sets.LoadConfigs(combo);
    EXPECT_EQ(Entries(combo), (std::vector<std::string>{cases[0].name, cases[1].name, cases[2].name}));
    // Saving again under a loaded name updates that set instead of adding one.
    ASSERT_EQ(sets.Save(combo.items[1].text, kDefaults).status, Status::Stored);
    EXPECT_EQ(Configs("koefKU").size(), 3u);
}

TEST_F(ConfigSetsTest, NamesThatCannotBeStoredAreRefusedInsteadOfMultiplied) {
    const auto sets = PercentSets();
    ASSERT_EQ(sets.Save("Kept", kDefaults).status, Status::Stored);
    const std::string before = Stored().value();
    // Outside windows-1250 (would be stored as "?" and never match again), and control characters.
    const char* names[] = {"\xE6\x9D\xB1\xE4\xBA\xAC", "Zone \xE2\x82\xB9",
                           "a\x01"
                           "b",
                           "tab\tinside", "bad \xFF utf8"};
    for (const char* name : names) {
        for (int attempt = 0; attempt < 2; ++attempt) {
            const auto result = sets.Save(name, kDefaults);
            EXPECT_EQ(result.status, Status::UnstorableName) << name;
            EXPECT_FALSE(result.Proceed());
        }
    }
    EXPECT_EQ(Stored().value(), before);
    ASSERT_EQ(ui.alerts.size(), 2 * std::size(names));
    EXPECT_EQ(ui.alerts.front(), TAVGis::CModuleConfiguration::GetMsg(9401));
    EXPECT_TRUE(
        CConfigSets::IsStorableName("\xC5\xA0"
                                    "abac = 1"));  // Š is in the code page
}

TEST_F(ConfigSetsTest, ADocumentWithoutConfigsIsWrittenBackUnchangedAndSectionsAreStillTagged) {
    const std::string texts[] = {
        "<?xml version=\"1.0\"?><settings><config name=\"A\" potrosnja=\"1\"/></settings>",
        // Malformed: the sets must not be lost, and the dialog shows "Default".
        "<configs><config name=\"A\" potrosnja=\"1.0000\"/><config name=\"B\"></configs>",
        "<configs><config name=\"A\"/></configs><configs/>",
    };
    const auto sets = PercentSets();
    auto section = Section("S1", "N1", "N2");
    for (const std::string& text : texts) {
        SCOPED_TRACE(text);
        Store(text);
        testsupport::TestDialog dialog;
        auto& combo = dialog.Item(testsupport::IDC_TEST_CONFIG);
        EXPECT_EQ(sets.LoadConfigs(combo), nullptr);
        EXPECT_EQ(Entries(combo), std::vector<std::string>{"Default"});

        for (const char* name : {"A", "New"}) {
            const auto result = sets.Save(name, kDefaults);
            EXPECT_EQ(result.status, Status::NotStored);
            EXPECT_TRUE(result.Proceed());
            EXPECT_EQ(Stored().value(), text);
            EXPECT_TRUE(sets.Tag(section, result.name));
        }
    }
    const auto* entity = doc->Db().GetEntity(section->GetObjectId());
    ASSERT_NE(entity, nullptr);
    EXPECT_EQ(entity->xdata.at(kTagApp), (TAVHost::XDataChain{{1000, std::string("New")}}));
    EXPECT_TRUE(ui.alerts.empty());
}

TEST_F(ConfigSetsTest, RecordsComeFromTheAttributesAndBelongToTheCombo) {
    Store(
        "<configs><config name=\"Full\" home=\"0.125\" industrial=\"2.5\" koef=\"3\"/>"
        "<config name=\"Sparse\" industrial=\"abc\"/><config home=\"7\"/></configs>");
    CConfigSets sets("ACH_FLOW_CONFIG_DATA", "", {"home", "industrial", "koef"},
                     CConfigSets::NumberFormat::Fixed6);
    testsupport::TestDialog dialog;
    auto& combo = dialog.Item(testsupport::IDC_TEST_CONFIG);
    const auto* first = sets.LoadConfigs(combo);
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(*first, (CConfigSets::Record{0.125, 2.5, 3.0}));
    EXPECT_EQ(Entries(combo), (std::vector<std::string>{"Full", "Sparse", ""}));
    ASSERT_NE(CConfigSets::GetRecord(combo, 1), nullptr);
    EXPECT_EQ(*CConfigSets::GetRecord(combo, 1), (CConfigSets::Record{0.0, 0.0, 0.0}));
    EXPECT_EQ(*CConfigSets::GetRecord(combo, 2), (CConfigSets::Record{7.0, 0.0, 0.0}));
    EXPECT_EQ(CConfigSets::GetRecord(combo, 3), nullptr);
    EXPECT_EQ(CConfigSets::GetRecord(combo, -1), nullptr);

    // Refilling frees the old records; item data left over from them (or set by other code) is no
    // record.
    const std::uintptr_t stale = combo.items[0].data;
    sets.LoadConfigs(combo);
    EXPECT_EQ(combo.items.size(), 3u);
    CConfigSets::ClearCombo(combo);
    EXPECT_TRUE(combo.items.empty());
    combo.AddString("stale", stale);
    combo.AddString("foreign", 12345);
    EXPECT_EQ(CConfigSets::GetRecord(combo, 0), nullptr);
    EXPECT_EQ(CConfigSets::GetRecord(combo, 1), nullptr);

    // The text typed into the combo still goes through it.
    combo.SetWindowText("typed");
    EXPECT_EQ(combo.text, "typed");
}

TEST_F(ConfigSetsTest, NumberFormatsPerAttribute) {
    CConfigSets sets("ACH_FLOW_CONFIG_DATA_AREA_TURK", "", {"potrosnja", "peek", "koefPotrosnje"},
                     CConfigSets::NumberFormat::Fixed6);
    sets.SetFormat("koefPotrosnje", CConfigSets::NumberFormat::Integer);
    struct Case {
        const char* attribute;
        double value;
        const char* expected;
    };
    const Case cases[] = {
        {"potrosnja", 150.0, "150.000000"}, {"peek", 1.23456789, "1.234568"},
        {"peek", -0.5, "-0.500000"},        {"koefPotrosnje", 2.9, "2"},
        {"koefPotrosnje", -1.5, "-1"},      {"koefPotrosnje", 1e20, "2147483647"},
    };
    for (const Case& c : cases) EXPECT_EQ(sets.FormatValue(c.attribute, c.value), c.expected) << c.attribute;
    EXPECT_EQ(PercentSets().FormatValue("koefKU", 0.123456), "0.1235");
    EXPECT_THROW(sets.SetFormat("missing", CConfigSets::NumberFormat::Integer), std::invalid_argument);
    EXPECT_THROW(sets.Save("x", {1.0}), std::invalid_argument);
    EXPECT_THROW(CConfigSets("K", "", {"name"}), std::invalid_argument);
    EXPECT_THROW(CConfigSets("K", "", {"1bad"}), std::invalid_argument);
}

TEST_F(ConfigSetsTest, TagReplacesTheChainAndKeepsOnlyTheApplicationName) {
    auto tagged = Section("S1", "N1", "N2");
    auto untagged = Section("S2", "N2", "N3");
    auto* entity = doc->Db().GetEntity(tagged->GetObjectId());
    ASSERT_NE(entity, nullptr);
    doc->Db().RegisterApp(kTagApp);
    entity->xdata[kTagApp] = {{1000, std::string("Old")}, {1040, 2.5}, {1000, std::string("more")}};
    entity->xdata["OTHER_APP"] = {{1000, std::string("untouched")}};

    const auto sets = PercentSets();
    EXPECT_TRUE(sets.Tag(tagged, "Town"));
    EXPECT_EQ(entity->xdata.at(kTagApp), (TAVHost::XDataChain{{1000, std::string("Town")}}));
    EXPECT_EQ(entity->xdata.at("OTHER_APP"), (TAVHost::XDataChain{{1000, std::string("untouched")}}));

    const std::string app = "ACH_PARAM_CONFIG_RAIN_SIMPLE";
    CConfigSets rain("ACH_FLOW_CONFIG_DATA_RAIN_SIMPLE", app, {"intenzitet"});
    EXPECT_FALSE(doc->Db().IsAppRegistered(app));
    EXPECT_TRUE(rain.Tag(untagged, "Storm"));
    EXPECT_TRUE(doc->Db().IsAppRegistered(app));
    EXPECT_EQ(doc->Db().GetEntity(untagged->GetObjectId())->xdata.at(app),
              (TAVHost::XDataChain{{1000, std::string("Storm")}}));

    // No tag application, or an entity that cannot be opened: nothing is tagged.
    CConfigSets turkish("ACH_FLOW_CONFIG_DATA_AREA_TURK", "", {"potrosnja"});
    EXPECT_FALSE(turkish.Tag(tagged, "X"));
    EXPECT_FALSE(sets.Tag(TAVHost::ObjectId{987654}, "X"));
    EXPECT_FALSE(sets.Tag(TAVGis::Topology::CEntityPtr(), "X"));
    doc->Db().GetEntity(untagged->GetObjectId())->erased = true;
    EXPECT_FALSE(rain.Tag(untagged->GetObjectId(), "Other"));
}

}  // namespace
