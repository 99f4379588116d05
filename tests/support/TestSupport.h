#pragma once
// Test support: a real in-memory drawing with a sewage system, and a HostUi that records what a person
// would see and answers what a person would be asked from queues set up by the test.
#include <gtest/gtest.h>

#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/gis/DataBox.h"
#include "platform/gis/GisSystem.h"
#include "platform/host/Document.h"
#include "platform/host/HostUi.h"
#include "platform/network/TopologyStorage.h"
#include "platform/ui/AdUiBaseDialog.h"

namespace testsupport {

class RecordingHostUi : public TAVHost::HostUi {
public:
    std::vector<std::string> alerts;
    std::string printed;
    std::string clipboard;
    int modalRuns = 0;
    std::vector<int> modalTemplates;  // template ids of the dialogs run, in order
    // Drivers for the next modal dialogs, in order; a dialog without a driver is cancelled.
    std::deque<std::function<void(TAVUi::CAdUiBaseDialog&)>> drivers;
    std::deque<std::vector<std::string>> picks;
    std::deque<std::string> files;
    std::deque<std::optional<int>> colors;
    std::vector<TAVHost::PickRequest> pickRequests;
    // Called at every pick before it is answered (a test may throw from it, as from inside a handler).
    std::function<void(const TAVHost::PickRequest&)> onPick;

    void Alert(const std::string& text) override { alerts.push_back(text); }
    void Print(const std::string& text) override { printed += text; }
    int RunModal(TAVUi::CAdUiBaseDialog& dialog) override;
    std::vector<std::string> Pick(const TAVHost::PickRequest& request) override;
    std::optional<std::string> GetFile(const TAVHost::FileRequest&) override;
    std::optional<int> ChooseColor(int, bool) override;
    void SetClipboardText(const std::string& utf8) override { clipboard = utf8; }
    std::optional<std::string> GetClipboardText() override { return clipboard; }
    void SetWaitCursor(bool) override {}
    // Every progress report (what, done, total) and how many pieces of work ended.
    struct ProgressReport {
        std::string what;
        std::size_t done, total;
    };
    std::vector<ProgressReport> progress;
    int progressEnded = 0;
    void ShowProgress(const std::string& what, std::size_t done, std::size_t total) override {
        progress.push_back({what, done, total});
    }
    void EndProgress() override { ++progressEnded; }
};

// A fresh drawing with an active sewage system "town" (function 0) and a recording HostUi.
class DrawingTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    TAVGis::Topology::CTopologyStorage& Topo();
    TAVGis::Topology::CNodePtr Node(const std::string& name, double x, double y,
                                    std::optional<double> terrain = std::nullopt);
    // A section between two nodes, creating nodes that do not exist (placed along the x axis by count).
    TAVGis::Topology::CSectionPtr Section(const std::string& name, const std::string& from,
                                          const std::string& to);
    void Set(const std::string& entity, const std::string& attribute, const TAVGis::Data::CDataBox& value);
    // The stored value or std::nullopt.
    std::optional<double> Get(const std::string& entity, const std::string& attribute);
    std::optional<std::string> GetText(const std::string& entity, const std::string& attribute);

    TAVHost::Document* doc = nullptr;
    TAVGis::System::CGisSystemPtr system;
    RecordingHostUi ui;

private:
    std::optional<TAVHost::ScopedHostUi> m_uiScope;
};

// Pushes the module's resource handle for a scope (what a command does before it opens its dialog).
class ModuleResources {
public:
    ModuleResources();
    ~ModuleResources();
};

std::string ReadTextFile(const std::string& path);

}  // namespace testsupport
