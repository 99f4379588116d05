#include "support/TestSupport.h"

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "platform/gis/DataRW.h"
#include "platform/gis/SystemManager.h"
#include "platform/network/TopologyMultiStorage.h"

namespace testsupport {

int RecordingHostUi::RunModal(TAVUi::CAdUiBaseDialog& dialog) {
    ++modalRuns;
    modalTemplates.push_back(dialog.TemplateId());
    if (!drivers.empty()) {
        auto driver = std::move(drivers.front());
        drivers.pop_front();
        driver(dialog);
    }
    if (!dialog.IsEnded()) dialog.OnCancel();
    return dialog.Result();
}

std::vector<std::string> RecordingHostUi::Pick(const TAVHost::PickRequest& request) {
    pickRequests.push_back(request);
    if (onPick) onPick(request);
    if (picks.empty()) return {};
    auto p = picks.front();
    picks.pop_front();
    return p;
}

std::optional<std::string> RecordingHostUi::GetFile(const TAVHost::FileRequest&) {
    if (files.empty()) return std::nullopt;
    auto f = files.front();
    files.pop_front();
    return f;
}

std::optional<int> RecordingHostUi::ChooseColor(int, bool) {
    if (colors.empty()) return std::nullopt;
    auto c = colors.front();
    colors.pop_front();
    return c;
}

namespace {
// Each test's per-user files (the workspace store and what lies beside it) go to a scratch folder of its
// own, never to the home folder of the person running the tests.
std::filesystem::path g_configDir;
int g_configCount = 0;
}  // namespace

void DrawingTest::SetUp() {
    g_configDir = std::filesystem::temp_directory_path() /
                  ("tavx_test_config_" + std::to_string(::getpid()) + "_" + std::to_string(++g_configCount));
    std::filesystem::remove_all(g_configDir);
    ::setenv("TAVX_CONFIG_DIR", g_configDir.c_str(), 1);
    doc = &acDocManagerPtr()->NewDocument("Test.gpkg");
    system = TAVGis::System::CSystemManager::AddSystem("town", 0);
    TAVGis::System::CSystemManager::SetActiveSystem(system);
    m_uiScope.emplace(ui);
}

void DrawingTest::TearDown() {
    m_uiScope.reset();
    acDocManagerPtr()->CloseDocument(*doc);
    doc = nullptr;
    std::error_code ec;
    std::filesystem::remove_all(g_configDir, ec);
    ::unsetenv("TAVX_CONFIG_DIR");
}

TAVGis::Topology::CTopologyStorage& DrawingTest::Topo() {
    return TAVGis::Topology::TopologyOf(*doc);
}

TAVGis::Topology::CNodePtr DrawingTest::Node(const std::string& name, double x, double y,
                                             std::optional<double> terrain) {
    return Topo().AddNode(name, x, y, system, terrain);
}

TAVGis::Topology::CSectionPtr DrawingTest::Section(const std::string& name, const std::string& from,
                                                   const std::string& to) {
    auto a = Topo().FindNodeByName(from);
    if (!a) a = Node(from, 10.0 * static_cast<double>(Topo().Nodes().size()), 0.0);
    auto b = Topo().FindNodeByName(to);
    if (!b) b = Node(to, 10.0 * static_cast<double>(Topo().Nodes().size()), 5.0);
    return Topo().AddSection(name, a, b, system);
}

void DrawingTest::Set(const std::string& entity, const std::string& attribute,
                      const TAVGis::Data::CDataBox& value) {
    auto e = Topo().FindEntityByName(entity);
    ASSERT_TRUE(e) << entity;
    ASSERT_TRUE(TAVGis::Data::CDataRW::Write(attribute, e, value)) << entity << " " << attribute;
}

std::optional<double> DrawingTest::Get(const std::string& entity, const std::string& attribute) {
    auto e = Topo().FindEntityByName(entity);
    if (!e) return std::nullopt;
    TAVGis::Data::CDataBox box;
    TAVGis::Data::CDataRW::Read(attribute, e, box);
    if (box.IsNull()) return std::nullopt;
    return box.ToDouble();
}

std::optional<std::string> DrawingTest::GetText(const std::string& entity, const std::string& attribute) {
    auto e = Topo().FindEntityByName(entity);
    if (!e) return std::nullopt;
    TAVGis::Data::CDataBox box;
    TAVGis::Data::CDataRW::Read(attribute, e, box);
    if (box.IsNull()) return std::nullopt;
    return box.ToString();
}

std::string ReadTextFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

}  // namespace testsupport
