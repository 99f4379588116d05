#include "platform/store/NetworkImporter.h"

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <sstream>

#include "platform/gis/DataConfiguration.h"
#include "platform/gis/GisDrawingData.h"
#include "platform/host/Progress.h"
#include "platform/network/TopologyStorage.h"
#include "platform/store/ImportText.h"

namespace TAVGis::Store {
namespace {

using Data::CDataBox;
using Data::ValueType;

constexpr const char* kPipeDiameterAttribute = "PIPE_DIA_IN";    // m
constexpr const char* kGivenLengthAttribute = "SECTION_LENGTH";  // m

std::vector<TAVHost::Point2d> ToPoints(const std::vector<SImportPoint>& pts) {
    std::vector<TAVHost::Point2d> out;
    out.reserve(pts.size());
    for (const auto& p : pts) out.push_back({p.x, p.y});
    return out;
}

std::optional<double> AsNumber(const ImportValue& v) {
    if (const auto* d = std::get_if<double>(&v)) return *d;
    return ImportText::ParseNumber(std::get<std::string>(v));
}

class Mapper {
public:
    Mapper(TAVHost::Document& doc, System::CGisSystemPtr system, SNetworkImportResult& r)
        : m_topo(Topology::TopologyOf(doc)), m_gis(GisData(doc)), m_system(std::move(system)), m_r(r) {}

    void Message(std::string text) {
        ++m_r.messageCount;
        if (m_r.messages.size() < CNetworkImporter::kMaxMessages) m_r.messages.push_back(std::move(text));
    }

    // Writes the properties that name attributes; the names in `own` were used for the element's fields.
    void WriteProperties(const ImportProperties& props, const Topology::CEntity& e,
                         std::initializer_list<const char*> own) {
        auto& config = Data::CDataConfiguration::GetInstance();
        auto& store = m_gis.StoreFor(e.GetEntityType());
        for (const auto& [name, value] : props) {
            bool isOwn = false;
            for (const char* o : own) isOwn = isOwn || name == o;
            if (isOwn) continue;
            const auto* def = config.GetDataDefinition(e.GetEntityType(), name);
            if (!def) {
                ++m_r.unmappedProperties[name];
                continue;
            }
            CDataBox box;
            if (const auto* d = std::get_if<double>(&value))
                box = def->GetValueType() == ValueType::Text ? CDataBox(ImportText::FormatNumber(*d))
                                                             : CDataBox(*d);
            else
                box = CDataBox(std::get<std::string>(value));
            if (store.Set(*def, e.AttributeRow(), box)) {
                ++m_r.attributesWritten;
            } else {
                ++m_r.valuesRejected;
                Message(e.GetName() + ": " + name + " '" + box.ToString() + "' is not a number");
            }
        }
    }

    // The property "guid" when it is a text no entity of the drawing uses yet; else empty (a new GUID).
    std::string FreeGuid(const ImportProperties& props) const {
        auto it = props.find("guid");
        if (it == props.end()) return {};
        const auto* g = std::get_if<std::string>(&it->second);
        if (!g || g->empty() || m_topo.GetEntityByGuid(*g)) return {};
        return *g;
    }

    std::optional<double> OwnNumber(const ImportProperties& props, const char* name,
                                    const std::string& element) {
        auto it = props.find(name);
        if (it == props.end()) return std::nullopt;
        auto v = AsNumber(it->second);
        if (!v) {
            ++m_r.valuesRejected;
            Message(element + ": " + name + " is not a number");
        }
        return v;
    }

    void Nodes(const std::vector<SImportNode>& nodes) {
        TAVHost::CProgress progress("importing nodes", nodes.size());
        for (const auto& n : nodes) {
            progress.Advance();
            if (m_topo.FindNodeByName(n.name)) {
                ++m_r.nodesReused;
                continue;
            }
            if (!n.position) {
                ++m_r.nodesWithoutPosition;
                Message("node '" + n.name + "' has no coordinates and is not imported");
                continue;
            }
            auto terrain = n.terrainHeight;
            auto fromProps = OwnNumber(n.properties, "terrain_height", "node '" + n.name + "'");
            if (!terrain) terrain = fromProps;
            auto node = m_topo.AddNode(n.name, n.position->x, n.position->y, m_system, terrain,
                                       FreeGuid(n.properties));
            ++m_r.nodesAdded;
            WriteProperties(n.properties, *node, {"terrain_height", "guid", "entity", "system"});
        }
    }

    void Sections(const std::vector<SImportSection>& sections) {
        const auto& config = Data::CDataConfiguration::GetInstance();
        const auto* diameterDef = config.GetDataDefinition(Data::kEntitySection, kPipeDiameterAttribute);
        const auto* lengthDef = config.GetDataDefinition(Data::kEntitySection, kGivenLengthAttribute);
        TAVHost::CProgress progress("importing sections", sections.size());
        for (const auto& s : sections) {
            progress.Advance();
            if (m_topo.FindSectionByName(s.name)) {
                ++m_r.sectionsSkipped;
                Message("section '" + s.name + "' is already in the drawing and is not imported");
                continue;
            }
            auto from = m_topo.FindNodeByName(s.fromNode);
            auto to = m_topo.FindNodeByName(s.toNode);
            if (!from || !to) {
                ++m_r.sectionsSkipped;
                Message("section '" + s.name + "' is not imported: node '" + (from ? s.toNode : s.fromNode) +
                        "' could not be placed");
                continue;
            }
            auto section =
                m_topo.AddSection(s.name, from, to, m_system, ToPoints(s.vertices), FreeGuid(s.properties));
            ++m_r.sectionsAdded;
            const std::string what = "section '" + s.name + "'";
            auto start = s.levelStart ? s.levelStart : OwnNumber(s.properties, "level_start", what);
            auto end = s.levelEnd ? s.levelEnd : OwnNumber(s.properties, "level_end", what);
            section->SetLevels(start, end);
            if (s.diameter && diameterDef) {
                m_gis.sectionStore.Set(*diameterDef, section->AttributeRow(), CDataBox(*s.diameter));
                ++m_r.attributesWritten;
            }
            if (s.length && lengthDef) {
                m_gis.sectionStore.Set(*lengthDef, section->AttributeRow(), CDataBox(*s.length));
                ++m_r.attributesWritten;
            }
            if (s.roughness) ++m_r.roughnessNotKept;
            WriteProperties(s.properties, *section,
                            {"level_start", "level_end", "guid", "entity", "system", "from_node", "to_node",
                             "length_2d"});
            const double plan = section->GetPlanLength();
            if (const auto given = section->GetGivenLength();
                given && std::fabs(*given - plan) > CNetworkImporter::kLengthTolerance * plan)
                ++m_r.lengthsDiffering;
            if (!diameterDef || !m_gis.sectionStore.Has(*diameterDef, section->AttributeRow())) {
                if (m_r.withoutDiameterNames.size() < CNetworkImporter::kMaxNamesListed)
                    m_r.withoutDiameterNames.push_back(s.name);
                ++m_r.withoutDiameter;
            }
        }
    }

    void Catchments(const std::vector<SImportCatchment>& catchments) {
        TAVHost::CProgress progress("importing catchment areas", catchments.size());
        for (const auto& c : catchments) {
            progress.Advance();
            if (m_topo.FindCatchmentByName(c.name)) {
                ++m_r.catchmentsSkipped;
                Message("catchment area '" + c.name + "' is already in the drawing and is not imported");
                continue;
            }
            const std::string what = "catchment area '" + c.name + "'";
            auto area =
                m_topo.AddCatchmentArea(c.name, m_system, ToPoints(c.polygon), FreeGuid(c.properties));
            ++m_r.catchmentsAdded;
            int kind = c.kind;
            if (auto k = OwnNumber(c.properties, "kind", what)) {
                if (*k == kImportCatchmentTotal || *k == kImportCatchmentHousehold ||
                    *k == kImportCatchmentIndustrial) {
                    kind = static_cast<int>(*k);
                } else {
                    ++m_r.valuesRejected;
                    Message(what + ": kind must be 1, 2 or 4");
                }
            }
            area->kind = kind;
            // An area stated in the file wins over the area of the outline.
            auto ha = OwnNumber(c.properties, "area_ha", what);
            area->areaHa = ha ? *ha : c.area.value_or(0.0);
            auto runoff = c.runoffCoefficient ? c.runoffCoefficient
                                              : OwnNumber(c.properties, "runoff_coefficient", what);
            if (runoff) area->runoffCoefficient = *runoff;
            auto density = c.inhabitantDensity ? c.inhabitantDensity
                                               : OwnNumber(c.properties, "inhabitant_density", what);
            if (density) area->densityInhabPerHa = *density;
            if (!c.section.empty()) {
                if (auto s = m_topo.FindSectionByName(c.section)) {
                    m_topo.LinkCatchment(area, s->GetGuid());
                    ++m_r.catchmentsLinked;
                } else {
                    ++m_r.catchmentsUnlinked;
                    Message(what + " drains into section '" + c.section + "', which is not in the drawing");
                }
            } else {
                ++m_r.catchmentsUnlinked;
            }
            WriteProperties(c.properties, *area,
                            {"kind", "area_ha", "runoff_coefficient", "inhabitant_density", "section", "guid",
                             "entity", "system"});
        }
    }

private:
    Topology::CTopologyStorage& m_topo;
    GisDrawingData& m_gis;
    System::CGisSystemPtr m_system;
    SNetworkImportResult& m_r;
};

}  // namespace

CNetworkImporter::CNetworkImporter(TAVHost::Document& doc, System::CGisSystemPtr system)
    : m_doc(doc), m_system(std::move(system)) {}

SNetworkImportResult CNetworkImporter::Import(SImportNetwork& network) {
    // A catchment area that names its section as a property is linked to it; the rest by their outlets.
    for (auto& c : network.catchments) {
        if (!c.section.empty()) continue;
        auto it = c.properties.find("section");
        if (it != c.properties.end())
            if (const auto* s = std::get_if<std::string>(&it->second)) c.section = *s;
    }
    ResolveCatchmentSections(network);
    SNetworkImportResult result;
    Mapper m(m_doc, m_system, result);
    m.Nodes(network.nodes);
    m.Sections(network.sections);
    m.Catchments(network.catchments);
    m_doc.Db().Touch();
    return result;
}

std::string CNetworkImporter::FormatReport(const SImportReport& read, const SNetworkImportResult& r,
                                           std::size_t maxWarnings) {
    std::ostringstream out;
    for (const auto& [kind, n] : read.imported) out << "read " << kind << ": " << n << "\n";
    for (const auto& [kind, n] : read.skipped) out << "not supported, skipped " << kind << ": " << n << "\n";
    for (const auto& [shape, n] : read.unsupportedShapes)
        out << "sections without a diameter (shape " << shape << "): " << n << "\n";
    out << "nodes added: " << r.nodesAdded << "\n";
    if (r.nodesReused) out << "nodes already in the drawing (used as they are): " << r.nodesReused << "\n";
    if (r.nodesWithoutPosition)
        out << "nodes without coordinates (not imported): " << r.nodesWithoutPosition << "\n";
    out << "sections added: " << r.sectionsAdded << "\n";
    if (r.sectionsSkipped) out << "sections not imported: " << r.sectionsSkipped << "\n";
    out << "catchment areas added: " << r.catchmentsAdded << "\n";
    if (r.catchmentsSkipped) out << "catchment areas not imported: " << r.catchmentsSkipped << "\n";
    if (r.catchmentsAdded) {
        out << "catchment areas linked to a section: " << r.catchmentsLinked << "\n";
        out << "catchment areas without a section: " << r.catchmentsUnlinked << "\n";
    }
    out << "attribute values written: " << r.attributesWritten << "\n";
    if (r.valuesRejected) out << "values rejected (wrong type): " << r.valuesRejected << "\n";
    if (r.roughnessNotKept)
        out << "Manning roughness not kept (no attribute for it): " << r.roughnessNotKept << "\n";
    if (r.lengthsDiffering)
        out << "given lengths used instead of the drawn length (differing by more than 1 %): "
            << r.lengthsDiffering << "\n";
    if (r.withoutDiameter) {
        out << "sections without a circular diameter: " << r.withoutDiameter << " (";
        for (std::size_t i = 0; i < r.withoutDiameterNames.size(); ++i)
            out << (i ? ", '" : "'") << r.withoutDiameterNames[i] << "'";
        out << (r.withoutDiameter > r.withoutDiameterNames.size() ? ", ...)\n" : ")\n");
    }
    for (const auto& [name, n] : r.unmappedProperties)
        out << "unmapped property " << name << ": " << n << "\n";
    const std::size_t warnings = read.warningCount + r.messageCount;
    out << "warnings: " << warnings << "\n";
    std::size_t shown = 0;
    for (const auto& w : read.warnings) {
        if (shown++ >= maxWarnings) break;
        out << "  " << (w.line ? "line " + std::to_string(w.line) + ": " : std::string()) << w.message
            << "\n";
    }
    for (const auto& m : r.messages) {
        if (shown++ >= maxWarnings) break;
        out << "  " << m << "\n";
    }
    if (warnings > maxWarnings) out << "  ... and " << (warnings - maxWarnings) << " more\n";
    return out.str();
}

System::CGisSystemPtr CNetworkImporter::SystemFor(TAVHost::Document& doc) {
    auto& gis = GisData(doc);
    if (gis.activeSystem) return gis.activeSystem;
    for (const auto& s : gis.systems)
        if (s->GetSystemFunction() == System::kSystemFunctionSewage) return s;
    int id = 1;
    for (const auto& s : gis.systems) id = std::max(id, s->GetId() + 1);
    std::string name = std::filesystem::path(doc.Name()).stem().string();
    if (name.empty()) name = "sewer";
    gis.systems.push_back(
        System::CGisSystemPtr(new System::CGisSystem(id, name, System::kSystemFunctionSewage)));
    gis.activeSystem = gis.systems.back();
    return gis.activeSystem;
}

}  // namespace TAVGis::Store
