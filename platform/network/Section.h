#pragma once
// CSection: a pipe run from its starting node to its ending node (flow runs from start to end), with
// intermediate vertices and the levels of its invert at both nodes.
//
// Length: a section drawn schematically (an imported network whose coordinates are only a sketch) keeps
// the length of the pipe as built in its attribute SECTION_LENGTH (m). GetLength2D, the length every
// calculation uses, is that given length when the section has a positive one, else the plan length
// along its vertices (GetPlanLength). A value of 0 or below is no length and is not used.
#include <optional>
#include <vector>

#include "platform/network/Node.h"

namespace TAVGis::Topology {

class CSection;
using CSectionPtr = boost::shared_ptr<CSection>;

class CSection : public CEntity {
public:
    CSection(Data::CAttributeStore* store, CTopologyStorage* owner, std::string guid, std::string name,
             System::CGisSystemPtr system, TAVHost::ObjectId objectId, int index, CNodePtr start,
             CNodePtr end, std::vector<TAVHost::Point2d> vertices);

    const CNodePtr& GetStartingNode() const { return m_start; }
    const CNodePtr& GetEndingNode() const { return m_end; }
    const std::vector<TAVHost::Point2d>& Vertices() const { return m_vertices; }
    // The length of the pipe (m): the given length (SECTION_LENGTH) when positive, else the plan length.
    double GetLength2D() const;
    // Plan length along the vertices (m).
    double GetPlanLength() const { return m_length; }
    // The positive given length (m) of SECTION_LENGTH, or std::nullopt.
    std::optional<double> GetGivenLength() const;

    // Sections ending at this section's starting node.
    std::vector<CSectionPtr> GetSectionsIn() const;
    // Sections starting at this section's ending node.
    std::vector<CSectionPtr> GetSectionsOut() const;
    // Every section upstream of this one, each once (nearest first).
    std::vector<CSectionPtr> GetPreviousSections() const;

    // Invert level (m) of the section at one of its nodes, by the node's GUID; false when unknown.
    bool GetLevelLineAtNode(const std::string& nodeGuid, double& level) const;
    void SetLevels(std::optional<double> atStart, std::optional<double> atEnd) {
        m_levelStart = atStart;
        m_levelEnd = atEnd;
    }
    const std::optional<double>& LevelAtStart() const { return m_levelStart; }
    const std::optional<double>& LevelAtEnd() const { return m_levelEnd; }

private:
    CNodePtr m_start;
    CNodePtr m_end;
    std::vector<TAVHost::Point2d> m_vertices;
    double m_length;
    std::optional<double> m_levelStart;
    std::optional<double> m_levelEnd;
};

}  // namespace TAVGis::Topology
