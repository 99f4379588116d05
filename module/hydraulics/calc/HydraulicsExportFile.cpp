#include "module/hydraulics/calc/HydraulicsExportFile.h"

#include <cmath>
#include <filesystem>
#include <fstream>
#include <optional>

#include "module/data/SectionData.h"
#include "platform/gis/CodePage.h"
#include "platform/gis/DataRW.h"
#include "platform/gis/ModuleConfiguration.h"
#include "platform/host/AtomicFile.h"
#include "platform/host/Document.h"
#include "platform/host/NumberText.h"
#include "platform/network/PipeManager.h"
#include "platform/sewage/CatchmentAreaManager.h"

using TAVGis::Data::CDataBox;
using TAVGis::Data::CDataRW;
using TAVGis::Topology::CSectionPtr;

namespace {

constexpr double kLitresPerCubicMetre = 1000.0;
constexpr int kTerrainFlag = 1;

// "%.Nf"; a value that is not finite (an older drawing may hold one, a sum may overflow) is written as an
// empty field, never as "inf" or "nan".
std::string Fixed(double value, int decimals) {
    return std::isfinite(value) ? TAVHost::NumberText::Fixed(value, decimals) : std::string();
}

// An accessor value: empty when missing (null or the sentinel).
std::optional<double> Missing(const char* name, const CSectionPtr& s) {
    const double v = CSectionData::GetSectionValue(name, s);
    if (v == kMissingValue) return std::nullopt;
    return v;
}

// A stored value: empty only when nothing is stored.
std::optional<double> Stored(const char* name, const CSectionPtr& s) {
    CDataBox box;
    CDataRW::Read(name, s, box, 0, {});
    if (box.IsNull()) return std::nullopt;
    return box.ToDouble();
}

// The texts below are fixed-point with `decimals` decimals.
std::string Text(const std::optional<double>& v, int decimals) {
    return v ? Fixed(*v, decimals) : std::string();
}

// A catchment-style value: shown only above 0.
std::string Positive(double v, int decimals) {
    return v > 0.0 ? Fixed(v, decimals) : std::string();
}
// A sum shown unless it is 0.
std::string NonZero(double v, int decimals) {
    return v != 0.0 ? Fixed(v, decimals) : std::string();
}

std::string CatchmentNames(const CSectionPtr& s, int kind) {
    std::vector<TAVGis::Topology::CCatchmentAreaPtr> list;
    TAVGis::Sewage::CCatchmentAreaManager::GetInstance()->GetCABySection(s, list, kind);
    std::string out;
    bool first = true;
    for (const auto& a : list) {
        if (!a) continue;
        if (!first) out += "-";
        out += a->GetName();
        first = false;
    }
    return out;
}

double CatchmentArea(const CSectionPtr& s, int kind) {
    double area = 0.0;  // ha
    TAVGis::Sewage::CCatchmentAreaManager::GetInstance()->GetCATotalArea(s, area, kind);
    return area;
}

}  // namespace

std::string CHydraulicsExportFile::Header() {
    std::string h;
    for (int i = 1; i <= kFieldCount; ++i) {
        if (i > 1) h += ";";
        h += std::to_string(i);
    }
    return h;
}

std::vector<std::string> CHydraulicsExportFile::Fields(const CSectionPtr& s) {
    if (!s || !s->GetStartingNode() || !s->GetEndingNode()) return {};
    using namespace TAVGis::Topology;
    std::vector<std::string> f(kFieldCount);
    auto at = [&f](int field) -> std::string& { return f[static_cast<std::size_t>(field - 1)]; };
    const auto& start = s->GetStartingNode();
    const auto& end = s->GetEndingNode();

    at(1) = s->GetName();
    at(2) = CatchmentNames(s, kCatchmentTotal);
    at(4) = start->GetName();
    at(5) = end->GetName();
    {
        std::string names;
        bool first = true;
        for (const auto& up : s->GetSectionsIn()) {
            if (!up) continue;
            if (!first) names += "-";
            names += up->GetName();
            first = false;
        }
        at(6) = names;
    }
    at(7) = Positive(CatchmentArea(s, kCatchmentTotal), 5);
    at(8) = Text(Missing("FLOW_IDF_AREA_CORRECTED_SECT", s), 5);
    at(9) = Text(Missing("FLOW_IDF_AREA_CORRECTED_TOTAL", s), 5);
    const auto industrial = Missing("FLOW_WASTE_IND", s);
    at(10) = industrial ? Fixed(*industrial * kLitresPerCubicMetre, 4) : std::string();
    const double household =
        Missing("FLOW_WASTE_HOME", s).value_or(0.0) + Missing("FLOW_FOREIGN", s).value_or(0.0);
    const double field11 = household * kLitresPerCubicMetre;
    at(11) = NonZero(field11, 4);
    at(12) = NonZero(field11 + industrial.value_or(0.0) * kLitresPerCubicMetre, 4);
    at(14) = Text(Missing("FLOW_IDF_INTENSITY", s), 4);
    at(15) = Text(Missing("FLOW_RAIN_IDF", s), 4);
    at(16) = Text(Missing("FLOW_TOTAL", s), 4);
    at(17) = s->GetName();
    at(18) = Fixed(s->GetLength2D(), 4);
    at(19) = Text(Stored("SECTION_SLOPE", s), 4);
    {
        CDataBox ref;
        CDataRW::Read("PIPE_REF", s, ref, 0, {});
        const auto* pm = TAVGis::Data::CPipeManager::GetInstance();
        auto pipe = ref.IsNull() ? TAVGis::Data::CCatalogItemPtr() : pm->GetPipe(ref.ToString());
        if (pipe) {
            at(20) = pm->GetPipeTypeID(pipe);
            at(21) = NonZero(pm->GetInnerDiameter(pipe), 4);
            at(22) = NonZero(pm->GetPipeRoughness(pipe), 4);
        }
    }
    std::optional<double> levelStart;
    double level = 0.0;  // m
    if (s->GetLevelLineAtNode(start->GetGuid(), level)) levelStart = level;
    at(23) = Text(levelStart, 4);
    if (s->GetLevelLineAtNode(end->GetGuid(), level)) at(24) = Fixed(level, 4);
    double terrain = 0.0;  // m
    if (start->GetTerrainHeight(terrain, kTerrainFlag)) at(25) = Fixed(terrain, 4);
    const auto filling = Stored("FILLING_HEIGHT", s);
    if (filling && levelStart) at(26) = Fixed(*filling + *levelStart, 4);
    at(27) = Text(Stored("VELOCITY_FULLFILLED", s), 4);
    at(28) = Text(Stored("FLOW_FULLFILLED", s), 4);
    at(29) = Text(Stored("VELOCITY_PARTIALFILLED", s), 4);
    at(30) = Text(Missing("FLOW_INTIME", s), 4);
    at(31) = Text(Missing("FLOW_IDF_TIME", s), 4);
    at(32) = Text(Missing("FLOW_IDF_MJ_TIME", s), 4);
    at(33) = Text(Missing("FLOW_IDF_CONC_TIME", s), 4);
    at(34) = Text(Stored("FLOW_PERCENT", s), 4);
    at(35) = Positive(CatchmentArea(s, kCatchmentHousehold), 4);
    {
        double density = 0.0;  // inhabitants/ha
        TAVGis::Sewage::CCatchmentAreaManager::GetInstance()->GetCAAverageDensityInhab(s, density);
        at(36) = Positive(density, 4);
    }
    at(37) = CatchmentNames(s, kCatchmentHousehold);
    at(38) = Positive(CatchmentArea(s, kCatchmentIndustrial), 4);
    at(39) = CatchmentNames(s, kCatchmentIndustrial);
    return f;
}

void CHydraulicsExportFile::WriteTo(std::ostream& out, const std::vector<CSectionPtr>& sections) {
    using TAVGis::Utility::CCodePage;
    out << kLineEnd << CCodePage::ToAnsi(Header());
    for (const auto& s : sections) {
        const auto fields = Fields(s);
        if (fields.empty()) continue;
        std::string line;
        for (std::size_t i = 0; i < fields.size(); ++i) {
            if (i) line += ';';
            line += fields[i];
        }
        out << kLineEnd << CCodePage::ToAnsi(line);
    }
    out << kLineEnd << kLineEnd;
    for (int n = kFirstLegendMessage; n <= kLastLegendMessage; ++n) {
        if (n > kFirstLegendMessage) out << kLineEnd;
        out << CCodePage::ToAnsi(TAVGis::CModuleConfiguration::GetMsg(n));
    }
}

bool CHydraulicsExportFile::Write(const std::string& path, const std::vector<CSectionPtr>& sections) {
    std::vector<std::filesystem::path> protect;
    if (auto* doc = acDocManagerPtr()->curDocument(); doc && !doc->Path().empty())
        protect.push_back(doc->Path());
    std::string error;
    return TAVHost::WriteFileAtomically(
        path, [&sections](std::ostream& out) { WriteTo(out, sections); }, error, protect);
}
