#include "platform/network/TopologyStorage.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdint>
#include <random>
#include <stdexcept>
#include <unordered_set>

#include "platform/gis/DataConfiguration.h"

namespace TAVGis::Topology {

// Version-4 GUIDs from a per-thread 64-bit generator seeded once from the system's entropy: one system
// call per thread instead of one per GUID, which matters when a network of 200,000 sections is built.
std::string NewGuid() {
    static thread_local std::mt19937_64 gen{[] {
        std::random_device rd;
        std::seed_seq seq{rd(), rd(), rd(), rd(), rd(), rd(), rd(), rd()};
        return std::mt19937_64(seq);
    }()};
    std::uint64_t hi = gen(), lo = gen();
    hi = (hi & 0xFFFFFFFFFFFF0FFFull) | 0x0000000000004000ull;  // version 4
    lo = (lo & 0x3FFFFFFFFFFFFFFFull) | 0x8000000000000000ull;  // RFC 4122 variant
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string out = "{00000000-0000-0000-0000-000000000000}";
    int pos = 1;
    auto put = [&](std::uint64_t v, int nibbles) {
        for (int i = nibbles - 1; i >= 0; --i) {
            if (out[static_cast<std::size_t>(pos)] == '-') ++pos;
            out[static_cast<std::size_t>(pos++)] = kHex[(v >> (4 * i)) & 0xF];
        }
    };
    put(hi, 16);
    put(lo, 16);
    return out;
}

bool CNode::GetTerrainHeight(double& height, int) const {
    if (!m_terrain) return false;
    height = *m_terrain;
    return true;
}

CSection::CSection(Data::CAttributeStore* store, CTopologyStorage* owner, std::string guid, std::string name,
                   System::CGisSystemPtr system, TAVHost::ObjectId objectId, int index, CNodePtr start,
                   CNodePtr end, std::vector<TAVHost::Point2d> vertices)
    : CEntity(Data::kEntitySection, store, owner, std::move(guid), std::move(name), std::move(system),
              objectId, index),
      m_start(std::move(start)),
      m_end(std::move(end)),
      m_vertices(std::move(vertices)),
      m_length(0.0) {
    TAVHost::Point2d prev{m_start->X(), m_start->Y()};
    auto add = [&](const TAVHost::Point2d& p) {
        m_length += std::hypot(p.x - prev.x, p.y - prev.y);
        prev = p;
    };
    for (const auto& v : m_vertices) add(v);
    add({m_end->X(), m_end->Y()});
}

std::optional<double> CSection::GetGivenLength() const {
    static const Data::CDataDefinition* const def =
        Data::CDataConfiguration::GetInstance().GetDataDefinition(Data::kEntitySection, "SECTION_LENGTH");
    const Data::CAttributeStore* store = AttributeStore();
    if (!def || !store || !store->Has(*def, AttributeRow())) return std::nullopt;
    Data::CDataBox box;
    store->Get(*def, AttributeRow(), box);
    const double length = box.ToDouble();  // m
    if (!(length > 0.0)) return std::nullopt;
    return length;
}

double CSection::GetLength2D() const {
    return GetGivenLength().value_or(m_length);
}

std::vector<CSectionPtr> CSection::GetSectionsIn() const {
    return Owner()->SectionsEndingAt(*m_start);
}
std::vector<CSectionPtr> CSection::GetSectionsOut() const {
    return Owner()->SectionsStartingAt(*m_end);
}
std::vector<CSectionPtr> CSection::GetPreviousSections() const {
    return Owner()->PreviousSections(*this);
}

bool CSection::GetLevelLineAtNode(const std::string& nodeGuid, double& level) const {
    const std::optional<double>* l = nullptr;
    if (m_start && m_start->GetGuid() == nodeGuid)
        l = &m_levelStart;
    else if (m_end && m_end->GetGuid() == nodeGuid)
        l = &m_levelEnd;
    if (!l || !*l) return false;
    level = **l;
    return true;
}

std::string CTopologyStorage::Lower(const std::string& s) {
    std::string r(s);
    for (auto& c : r) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return r;
}

CNodePtr CTopologyStorage::AddNode(const std::string& name, double x, double y,
                                   const System::CGisSystemPtr& system, std::optional<double> terrain,
                                   const std::string& guid, TAVHost::ObjectId objectId) {
    if (m_nodeByName.count(name)) throw std::invalid_argument("a node named '" + name + "' already exists");
    std::string g = guid.empty() ? NewGuid() : guid;
    if (m_byGuid.count(g)) throw std::invalid_argument("GUID " + g + " is already used");
    auto& ent = objectId
                    ? m_db.AddEntityWithId(objectId, TAVHost::GeometryKind::Point, {{x, y}}, "SEWER_NODES")
                    : m_db.AddEntity(TAVHost::GeometryKind::Point, {{x, y}}, "SEWER_NODES");
    int index = static_cast<int>(m_nodes.size());
    CNodePtr node(new CNode(&m_gis.nodeStore, this, g, name, system, ent.id, index, x, y, terrain));
    m_nodes.push_back(node);
    m_inAtNode.emplace_back();
    m_outAtNode.emplace_back();
    m_byGuid.emplace(g, node);
    m_nodeByName.emplace(name, index);
    m_byObjectId.emplace(ent.id, node);
    return node;
}

CSectionPtr CTopologyStorage::AddSection(const std::string& name, const CNodePtr& start, const CNodePtr& end,
                                         const System::CGisSystemPtr& system,
                                         std::vector<TAVHost::Point2d> vertices, const std::string& guid,
                                         TAVHost::ObjectId objectId) {
    if (!start || !end || start->Owner() != this || end->Owner() != this)
        throw std::invalid_argument("section '" + name + "' needs two nodes of this network");
    if (m_sectionByLowerName.count(Lower(name)))
        throw std::invalid_argument("a section named '" + name + "' already exists");
    std::string g = guid.empty() ? NewGuid() : guid;
    if (m_byGuid.count(g)) throw std::invalid_argument("GUID " + g + " is already used");
    std::vector<TAVHost::Point2d> pts;
    pts.reserve(vertices.size() + 2);
    pts.push_back({start->X(), start->Y()});
    pts.insert(pts.end(), vertices.begin(), vertices.end());
    pts.push_back({end->X(), end->Y()});
    auto& ent = objectId ? m_db.AddEntityWithId(objectId, TAVHost::GeometryKind::Polyline, std::move(pts),
                                                "SEWER_SECTIONS")
                         : m_db.AddEntity(TAVHost::GeometryKind::Polyline, std::move(pts), "SEWER_SECTIONS");
    int index = static_cast<int>(m_sections.size());
    CSectionPtr s(new CSection(&m_gis.sectionStore, this, g, name, system, ent.id, index, start, end,
                               std::move(vertices)));
    m_sections.push_back(s);
    m_outAtNode[static_cast<std::size_t>(start->Index())].push_back(index);
    m_inAtNode[static_cast<std::size_t>(end->Index())].push_back(index);
    m_byGuid.emplace(g, s);
    m_sectionByLowerName.emplace(Lower(name), index);
    m_byObjectId.emplace(ent.id, s);
    return s;
}

CCatchmentAreaPtr CTopologyStorage::AddCatchmentArea(const std::string& name,
                                                     const System::CGisSystemPtr& system,
                                                     std::vector<TAVHost::Point2d> polygon,
                                                     const std::string& guid, TAVHost::ObjectId objectId) {
    if (m_catchmentByName.count(name))
        throw std::invalid_argument("a catchment area named '" + name + "' already exists");
    std::string g = guid.empty() ? NewGuid() : guid;
    if (m_byGuid.count(g)) throw std::invalid_argument("GUID " + g + " is already used");
    auto& ent =
        objectId ? m_db.AddEntityWithId(objectId, TAVHost::GeometryKind::Polygon, polygon, "SEWER_CATCHMENTS")
                 : m_db.AddEntity(TAVHost::GeometryKind::Polygon, polygon, "SEWER_CATCHMENTS");
    int index = static_cast<int>(m_catchments.size());
    CCatchmentAreaPtr a(new CCatchmentArea(&m_gis.catchmentStore, this, g, name, system, ent.id, index));
    a->polygon = std::move(polygon);
    m_catchments.push_back(a);
    m_byGuid.emplace(g, a);
    m_catchmentByName.emplace(name, index);
    m_byObjectId.emplace(ent.id, a);
    return a;
}

void CTopologyStorage::LinkCatchment(const CCatchmentAreaPtr& area, const std::string& sectionGuid) {
    if (!area) return;
    if (!area->sectionGuid.empty()) std::erase(m_catchmentsBySection[area->sectionGuid], area->Index());
    area->sectionGuid = sectionGuid;
    if (!sectionGuid.empty()) m_catchmentsBySection[sectionGuid].push_back(area->Index());
}

std::vector<CCatchmentAreaPtr> CTopologyStorage::CatchmentAreasOf(const std::string& sectionGuid) const {
    std::vector<CCatchmentAreaPtr> out;
    auto it = m_catchmentsBySection.find(sectionGuid);
    if (it != m_catchmentsBySection.end())
        for (int i : it->second) out.push_back(m_catchments[static_cast<std::size_t>(i)]);
    return out;
}

void CTopologyStorage::Reserve(std::size_t nodes, std::size_t sections, std::size_t catchments) {
    const std::size_t entities = m_byGuid.size() + nodes + sections + catchments;
    m_nodes.reserve(m_nodes.size() + nodes);
    m_sections.reserve(m_sections.size() + sections);
    m_catchments.reserve(m_catchments.size() + catchments);
    m_inAtNode.reserve(m_inAtNode.size() + nodes);
    m_outAtNode.reserve(m_outAtNode.size() + nodes);
    m_byGuid.reserve(entities);
    m_byObjectId.reserve(entities);
    m_nodeByName.reserve(m_nodeByName.size() + nodes);
    m_sectionByLowerName.reserve(m_sectionByLowerName.size() + sections);
    m_catchmentByName.reserve(m_catchmentByName.size() + catchments);
    m_db.Reserve(m_db.EntityCount() + nodes + sections + catchments);
}

CSectionPtr CTopologyStorage::GetSectionByGuid(const std::string& guid) const {
    auto it = m_byGuid.find(guid);
    if (it == m_byGuid.end() || it->second->GetEntityType() != Data::kEntitySection) return {};
    return boost::static_pointer_cast<CSection>(it->second);
}

CNodePtr CTopologyStorage::GetNodeByGuid(const std::string& guid) const {
    auto it = m_byGuid.find(guid);
    if (it == m_byGuid.end() || it->second->GetEntityType() != Data::kEntityNode) return {};
    return boost::static_pointer_cast<CNode>(it->second);
}

CEntityPtr CTopologyStorage::GetEntityByGuid(const std::string& guid) const {
    auto it = m_byGuid.find(guid);
    return it == m_byGuid.end() ? CEntityPtr() : it->second;
}

CSectionPtr CTopologyStorage::FindSectionByName(const std::string& name) const {
    auto it = m_sectionByLowerName.find(Lower(name));
    return it == m_sectionByLowerName.end() ? CSectionPtr()
                                            : m_sections[static_cast<std::size_t>(it->second)];
}

CNodePtr CTopologyStorage::FindNodeByName(const std::string& name) const {
    auto it = m_nodeByName.find(name);
    return it == m_nodeByName.end() ? CNodePtr() : m_nodes[static_cast<std::size_t>(it->second)];
}

CCatchmentAreaPtr CTopologyStorage::FindCatchmentByName(const std::string& name) const {
    auto it = m_catchmentByName.find(name);
    return it == m_catchmentByName.end() ? CCatchmentAreaPtr()
                                         : m_catchments[static_cast<std::size_t>(it->second)];
}

CEntityPtr CTopologyStorage::FindEntityByName(const std::string& name) const {
    if (auto s = FindSectionByName(name)) return s;
    if (auto n = FindNodeByName(name)) return n;
    if (auto c = FindCatchmentByName(name)) return c;
    return {};
}

CEntityPtr CTopologyStorage::GetEntityByObjectId(TAVHost::ObjectId id) const {
    auto it = m_byObjectId.find(id);
    return it == m_byObjectId.end() ? CEntityPtr() : it->second;
}

std::vector<CSectionPtr> CTopologyStorage::SectionsEndingAt(const CNode& node) const {
    std::vector<CSectionPtr> out;
    for (int i : m_inAtNode[static_cast<std::size_t>(node.Index())])
        out.push_back(m_sections[static_cast<std::size_t>(i)]);
    return out;
}

std::vector<CSectionPtr> CTopologyStorage::SectionsStartingAt(const CNode& node) const {
    std::vector<CSectionPtr> out;
    for (int i : m_outAtNode[static_cast<std::size_t>(node.Index())])
        out.push_back(m_sections[static_cast<std::size_t>(i)]);
    return out;
}

std::vector<CSectionPtr> CTopologyStorage::PreviousSections(const CSection& section) const {
    std::vector<CSectionPtr> out;
    std::vector<char> seen(m_sections.size(), 0);
    seen[static_cast<std::size_t>(section.Index())] = 1;  // a loop back to the section itself is not upstream
    std::vector<int> frontier;
    for (int i : m_inAtNode[static_cast<std::size_t>(section.GetStartingNode()->Index())])
        frontier.push_back(i);
    std::size_t head = 0;
    while (head < frontier.size()) {
        int i = frontier[head++];
        if (seen[static_cast<std::size_t>(i)]) continue;
        seen[static_cast<std::size_t>(i)] = 1;
        const auto& s = m_sections[static_cast<std::size_t>(i)];
        out.push_back(s);
        for (int j : m_inAtNode[static_cast<std::size_t>(s->GetStartingNode()->Index())])
            if (!seen[static_cast<std::size_t>(j)]) frontier.push_back(j);
    }
    return out;
}

CTopologyStorage& NetworkDrawingData::Topology(TAVHost::Document& doc) {
    if (!m_topology) m_topology = std::make_unique<CTopologyStorage>(doc.Db(), GisData(doc));
    return *m_topology;
}

CTopologyStorage& TopologyOf(TAVHost::Document& doc) {
    return doc.Extension<NetworkDrawingData>(NetworkDrawingData::kKey).Topology(doc);
}

}  // namespace TAVGis::Topology
