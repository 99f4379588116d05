#pragma once
// Shared by the hydraulics tests: a drawing with a small pipe catalogue and the run settings the automatic
// dimensioning would build for one of its groups.
#include <map>
#include <string>
#include <vector>

#include "module/hydraulics/calc/AutomaticDimensioning.h"
#include "platform/network/CatalogManager.h"
#include "platform/network/PipeManager.h"
#include "platform/sewage/SewageHydraulics.h"
#include "support/TestSupport.h"

namespace hydraulicstest {

constexpr double kViscosity = 1.31e-6;  // m2/s
constexpr double kRoughnessMm = 0.5;

struct PipeSpec {
    std::string name;
    double innerMm;
};

// Group "PVC" (type "PVC-U") with inner diameters 150 to 500 mm and group "CONCRETE" (type "BETON").
class CatalogueTest : public testsupport::DrawingTest {
protected:
    void SetUp() override {
        DrawingTest::SetUp();
        auto catalog =
            TAVGis::Data::CCatalogManager::GetInstance()->GetOrCreateCatalog(TAVGis::Data::kPipeCatalogName);
        pvc = AddGroup(*catalog, "PVC", "PVC-U",
                       {{"PVC 160", 150.0},
                        {"PVC 200", 200.0},
                        {"PVC 250", 250.0},
                        {"PVC 315", 300.0},
                        {"PVC 400", 400.0},
                        {"PVC 500", 500.0}});
        concrete = AddGroup(*catalog, "CONCRETE", "BETON", {{"DN 600", 600.0}, {"DN 800", 800.0}});
    }

    TAVGis::Data::CCatalogItemPtr AddGroup(TAVGis::Data::CCatalog& catalog, const std::string& name,
                                           const std::string& type, const std::vector<PipeSpec>& specs) {
        auto group =
            TAVGis::Data::CCatalogItemPtr(new TAVGis::Data::CCatalogItem(TAVGis::Topology::NewGuid(), name));
        group->SetProperty("TYPE_ID", type);
        catalog.AddRootItem(group);
        for (const auto& p : specs) {
            auto pipe = TAVGis::Data::CCatalogItemPtr(
                new TAVGis::Data::CCatalogItem(TAVGis::Topology::NewGuid(), p.name));
            pipe->SetProperty("DN", p.innerMm);
            pipe->SetProperty("DI", p.innerMm);
            pipe->SetProperty("KB", kRoughnessMm);
            pipe->SetProperty("TYPE_ID", type);
            catalog.AddItem(group, pipe);
            pipesByDiameter[p.innerMm] = pipe;
        }
        return group;
    }

    // The settings a run builds for a group.
    DimensioningSettings Settings(int mode, int method, const TAVGis::Data::CCatalogItemPtr& group) {
        DimensioningSettings s;
        s.system = system;
        s.mode = mode;
        s.method = method;
        s.group = CAutomaticDimensioning::DescribeGroup(group);
        s.viscosity = kViscosity;
        return s;
    }

    std::string PipeGuid(double innerMm) { return pipesByDiameter.at(innerMm)->GetGUID(); }

    // An independent calculation of a pipe at a slope (fraction) for a flow (m3/s).
    TAVGis::Sewage::CSewageHydraulics Core(const std::string& section, double flow, double slope,
                                           double innerMm) {
        TAVGis::Sewage::CSewageHydraulics core;
        core.SetStrSectionGuid(Topo().FindSectionByName(section)->GetGuid());
        core.SetStrPipeGuid(PipeGuid(innerMm));
        core.SetDProtok(flow);
        core.SetDPad(slope);
        core.SetDHrapavost(kRoughnessMm / 1000.0);
        core.SetDViskozitet(kViscosity);
        EXPECT_TRUE(core.CalculateFillingHeight());
        EXPECT_TRUE(core.CalculateVelocityForPartiallyFilled());
        EXPECT_TRUE(core.CalculateHydraulicsValues());
        core.CalculateFlowTime();
        return core;
    }

    TAVGis::Data::CCatalogItemPtr pvc;
    TAVGis::Data::CCatalogItemPtr concrete;
    std::map<double, TAVGis::Data::CCatalogItemPtr> pipesByDiameter;
};

}  // namespace hydraulicstest
