#pragma once
// Shared by the tests of the single-pipe calculations: rows of the published full-bore table for drain pipes
// that tests/platform/PipeHydraulics_test.cpp cites ("Calculation of Drain Pipes Flow Rate & Velocity from
// 300mm dia. To 900mm dia. for Concrete Pipe and Vitrified Clay Pipe on Full Capacity", Colebrook-White
// with ks 0.6 mm, reproduced with a viscosity of 1.01e-6 m2/s), and a drawing whose pipe catalogue holds the
// table's diameters as one group. Tolerances as there: Q 0.15 % (the table's constants 2.5 and 3.7 against
// 2.51 and 3.71), v 0.007 m/s. A slope found for a tabulated flow is within 0.4 % of the table's (the flow
// grows with about the square root of the slope).
#include <map>
#include <string>
#include <vector>

#include "testing/TestPipeCatalogue.h"
#include "tests/support/TestSupport.h"

namespace draintable {

struct Row {
    double diameterMm;
    double gradientOneIn;  // the slope is 1 in n
    double velocity;       // m/s, full bore
    double flowLps;        // l/s, full bore
    double SlopePerMille() const { return 1000.0 / gradientOneIn; }
};

inline constexpr Row kRows[] = {{600, 250, 1.54, 434.1},
                                {900, 150, 2.56, 1625.9},
                                {375, 60, 2.34, 258.7},
                                {450, 200, 1.43, 228.0},
                                {300, 200, 1.11, 78.3}};
constexpr double kViscosity = 1.01e-6;  // m2/s
constexpr double kRoughnessMm = 0.6;
constexpr double kFlowTolerance = 0.0015;     // share of the flow
constexpr double kVelocityTolerance = 0.007;  // m/s
constexpr double kSlopeTolerance = 0.004;     // share of the slope
constexpr double kSectionLength = 100.0;      // m

inline void PrintTo(const Row& row, std::ostream* os) {
    *os << "D " << row.diameterMm << " mm, 1 in " << row.gradientOneIn;
}

// The table's pipes as the group "Table" (type "TABLE"), and a section S1 of 100 m.
class DrainTableTest : public testsupport::DrawingTest {
protected:
    void SetUp() override {
        DrawingTest::SetUp();
        std::vector<testpipes::SPipeRow> rows;
        for (double d : {300.0, 375.0, 450.0, 600.0, 750.0, 900.0})
            rows.push_back(
                {"Table", "DN " + std::to_string(static_cast<int>(d)), d, d, kRoughnessMm, "TABLE"});
        auto catalog = testpipes::LoadPipeCatalogue(rows);
        group = catalog->GetRootItems().front();
        for (const auto& p : group->GetSubItems())
            pipeOf[static_cast<int>(p->GetProperty("DI").ToDouble())] = p;
        Node("A", 0, 0, 100.0);
        Node("B", 60, 80, 99.0);
        Section("S1", "A", "B");
    }

    const TAVGis::Data::CCatalogItemPtr& Pipe(double diameterMm) {
        return pipeOf.at(static_cast<int>(diameterMm));
    }

    TAVGis::Data::CCatalogItemPtr group;
    std::map<int, TAVGis::Data::CCatalogItemPtr> pipeOf;  // by inner diameter, mm
};

}  // namespace draintable
