#pragma once
// CTopologyStorage: the network of a drawing: nodes, sections and catchment areas, found by GUID or name,
// with the flow topology (sections in and out at each node).
//
// Decisions:
// - Entities get dense indices in creation order; adjacency is kept per node as lists of section indices,
//   so in/out queries cost O(degree) and the previous-sections walk O(upstream size).
// - Section names are looked up case-insensitively, node names exactly ("1" and "001" are different).
// - Each entity gets a drawing entity (a point for a node, a polyline for a section, a polygon for a
//   catchment area) on the layers "SEWER_NODES", "SEWER_SECTIONS" and "SEWER_CATCHMENTS".
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "platform/gis/GisDrawingData.h"
#include "platform/network/CatalogItem.h"
#include "platform/network/CatchmentArea.h"
#include "platform/network/Section.h"

namespace TAVGis::Topology {

class CTopologyStorage {
public:
    CTopologyStorage(TAVHost::Database& db, GisDrawingData& gis) : m_db(db), m_gis(gis) {}
    CTopologyStorage(const CTopologyStorage&) = delete;
    CTopologyStorage& operator=(const CTopologyStorage&) = delete;

    // Creates a node; an empty guid gets a new one. Throws std::invalid_argument for a duplicate name or
    // guid.
    CNodePtr AddNode(const std::string& name, double x, double y, const System::CGisSystemPtr& system,
                     std::optional<double> terrain = std::nullopt, const std::string& guid = {},
                     TAVHost::ObjectId objectId = TAVHost::kNullObjectId);
    CSectionPtr AddSection(const std::string& name, const CNodePtr& start, const CNodePtr& end,
                           const System::CGisSystemPtr& system, std::vector<TAVHost::Point2d> vertices = {},
                           const std::string& guid = {}, TAVHost::ObjectId objectId = TAVHost::kNullObjectId);
    CCatchmentAreaPtr AddCatchmentArea(const std::string& name, const System::CGisSystemPtr& system,
                                       std::vector<TAVHost::Point2d> polygon = {},
                                       const std::string& guid = {},
                                       TAVHost::ObjectId objectId = TAVHost::kNullObjectId);

    // Room for this many more entities of each kind, so that reading a large drawing does not grow the
    // lists and name and GUID maps step by step.
    void Reserve(std::size_t nodes, std::size_t sections, std::size_t catchments);

    CSectionPtr GetSectionByGuid(const std::string& guid) const;
    CNodePtr GetNodeByGuid(const std::string& guid) const;
    CEntityPtr GetEntityByGuid(const std::string& guid) const;
    CSectionPtr FindSectionByName(const std::string& name) const;
    CNodePtr FindNodeByName(const std::string& name) const;
    CCatchmentAreaPtr FindCatchmentByName(const std::string& name) const;
    // A section, node or catchment area by name (sections first).
    CEntityPtr FindEntityByName(const std::string& name) const;
    CEntityPtr GetEntityByObjectId(TAVHost::ObjectId id) const;

    const std::vector<CNodePtr>& Nodes() const { return m_nodes; }
    const std::vector<CSectionPtr>& Sections() const { return m_sections; }
    const std::vector<CCatchmentAreaPtr>& CatchmentAreas() const { return m_catchments; }
    // Catchment areas draining into a section.
    std::vector<CCatchmentAreaPtr> CatchmentAreasOf(const std::string& sectionGuid) const;
    void LinkCatchment(const CCatchmentAreaPtr& area, const std::string& sectionGuid);

    std::vector<CSectionPtr> SectionsEndingAt(const CNode& node) const;
    std::vector<CSectionPtr> SectionsStartingAt(const CNode& node) const;
    std::vector<CSectionPtr> PreviousSections(const CSection& section) const;

    TAVHost::Database& Db() { return m_db; }

private:
    static std::string Lower(const std::string& s);
    TAVHost::Database& m_db;
    GisDrawingData& m_gis;
    std::vector<CNodePtr> m_nodes;
    std::vector<CSectionPtr> m_sections;
    std::vector<CCatchmentAreaPtr> m_catchments;
    std::vector<std::vector<int>> m_inAtNode;   // node index -> sections ending there
    std::vector<std::vector<int>> m_outAtNode;  // node index -> sections starting there
    std::unordered_map<std::string, CEntityPtr> m_byGuid;
    std::unordered_map<std::string, int> m_sectionByLowerName;
    std::unordered_map<std::string, int> m_nodeByName;
    std::unordered_map<std::string, int> m_catchmentByName;
    std::unordered_map<TAVHost::ObjectId, CEntityPtr> m_byObjectId;
    std::unordered_map<std::string, std::vector<int>> m_catchmentsBySection;
};

// The network data a drawing keeps.
class NetworkDrawingData : public TAVHost::DocumentExtension {
public:
    static constexpr const char* kKey = "network";
    NetworkDrawingData() = default;
    CTopologyStorage& Topology(TAVHost::Document& doc);
    CTopologyStorage* Existing() { return m_topology.get(); }

    std::map<std::string, Data::CCatalogPtr> catalogs;  // catalogues of the drawing by name
    int transactionDepth = 0;
    long transactionsBegun = 0;
    long transactionsEnded = 0;
    long transactionsAborted = 0;

private:
    std::unique_ptr<CTopologyStorage> m_topology;
};

// The topology of a drawing (created on first use).
CTopologyStorage& TopologyOf(TAVHost::Document& doc);

}  // namespace TAVGis::Topology
