#pragma once
// CUpstreamVisit: the upstream-first visit of the automatic dimensioning. Visiting a section first visits
// each of its upstream sections (CSection::GetSectionsIn, in the order returned, empty entries skipped),
// then hands the section itself to the callback. Nothing records the visited sections: a section upstream
// of several downstream paths is handed over once per path.
//
// Decisions:
// - The visit runs on an explicit stack, so a chain of any length needs no call-stack depth.
// - A section already on the current path (a cycle through upstream links) is not entered again; on
//   networks without cycles the order is the one of the plain recursive visit.
// - The on-path marks are indexed by the sections' dense topology index, so a check costs O(1).
#include <functional>
#include <vector>

#include "platform/network/Section.h"

class CUpstreamVisit {
public:
    using Callback = std::function<void(const TAVGis::Topology::CSectionPtr&)>;

    // Visits the root and everything upstream of it.
    void Visit(const TAVGis::Topology::CSectionPtr& root, const Callback& onSection);
    // The number of sections not entered again because they were on the current path (cycles met).
    long CyclesCut() const { return m_cyclesCut; }

private:
    struct Frame {
        TAVGis::Topology::CSectionPtr section;
        std::vector<TAVGis::Topology::CSectionPtr> upstream;
        std::size_t next = 0;
    };
    bool OnPath(const TAVGis::Topology::CSection& s) const;
    void Mark(const TAVGis::Topology::CSection& s, bool on);

    std::vector<Frame> m_stack;
    std::vector<char> m_onPath;  // by section index
    long m_cyclesCut = 0;
};
