#pragma once
// Shared by the hydraulics tests: a drawing with a small pipe catalogue and the run settings the automatic
// dimensioning would build for one of its groups.
#include <map>
#include <string>
#include <vector>

#include "module/hydraulics/calc/AutomaticDimensioning.h"
#include "platform/network/PipeManager.h"
#include "platform/sewage/SewageHydraulics.h"
#include "support/TestSupport.h"
#include "testing/TestPipeCatalogue.h"

namespace hydraulicstest {

constexpr double kViscosity = 1.31e-6;  // m2/s
constexpr double kRoughnessMm = 0.5;

// Group "PVC" (type "PVC-U") with inner diameters 150 to 500 mm and group "CONCRETE" (type "BETON"), all
// with a roughness of 0.5 mm.
class CatalogueTest : public testsupport::DrawingTest {
protected:
    void SetUp() override {
        DrawingTest::SetUp();
        std::vector<testpipes::SPipeRow> rows;
        const std::pair<const char*, double> pvcPipes[] = {{"PVC 160", 150.0}, {"PVC 200", 200.0},
                                                           {"PVC 250", 250.0}, {"PVC 315", 300.0},
                                                           {"PVC 400", 400.0}, {"PVC 500", 500.0}};
        for (const auto& [name, d] : pvcPipes) rows.push_back({"PVC", name, d, d, kRoughnessMm, "PVC-U"});
        for (double d : {600.0, 800.0})
            rows.push_back(
                {"CONCRETE", "DN " + std::to_string(static_cast<int>(d)), d, d, kRoughnessMm, "BETON"});
        auto catalog = testpipes::LoadPipeCatalogue(rows);
        pvc = catalog->GetRootItems()[0];
        concrete = catalog->GetRootItems()[1];
        const auto* pm = TAVGis::Data::CPipeManager::GetInstance();
        for (const auto& group : catalog->GetRootItems())
            for (const auto& pipe : group->GetSubItems()) pipesByDiameter[pm->GetInnerDiameter(pipe)] = pipe;
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
