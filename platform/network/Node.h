#pragma once
// CNode: a point of the network (manhole, junction, outlet) with plan coordinates and a terrain height.
#include <optional>

#include "platform/network/Entity.h"

namespace TAVGis::Topology {

class CNode : public CEntity {
public:
    CNode(Data::CAttributeStore* store, CTopologyStorage* owner, std::string guid, std::string name,
          System::CGisSystemPtr system, TAVHost::ObjectId objectId, int index, double x, double y,
          std::optional<double> terrain)
        : CEntity(Data::kEntityNode, store, owner, std::move(guid), std::move(name), std::move(system),
                  objectId, index),
          m_x(x),
          m_y(y),
          m_terrain(terrain) {}

    double X() const { return m_x; }  // m
    double Y() const { return m_y; }  // m
    // Terrain height (m); false when the node has none. The flag is passed through unchanged.
    bool GetTerrainHeight(double& height, int flag = 1) const;
    const std::optional<double>& TerrainHeight() const { return m_terrain; }
    void SetTerrainHeight(std::optional<double> h) { m_terrain = h; }

private:
    double m_x;
    double m_y;
    std::optional<double> m_terrain;
};

using CNodePtr = boost::shared_ptr<CNode>;

}  // namespace TAVGis::Topology
