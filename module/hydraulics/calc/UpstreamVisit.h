#pragma once
// CUpstreamVisit: the upstream-first visit of the automatic dimensioning. Visiting a section first visits
// each of its upstream sections (CSection::GetSectionsIn, in the order returned, empty entries skipped),
// then hands the section itself to the callback. One visit object hands every section over at most once:
// a section reached again, by another downstream path of the same root or from a later root, is not
// entered again, so one object is used for a whole run and a new run takes a new object.
//
// Decisions:
// - A section is handed over the first time the walk reaches it, after its upstream sections. On networks
//   without divisions that is the order of the plain recursive visit; with divisions (and no cycles) it is
//   that order with every repetition left out. The visit costs O(sections + links) however the network
//   divides.
// - The visit runs on an explicit stack, so a chain of any length needs no call-stack depth.
// - A section already on the current path (a cycle through upstream links) is not entered again.
// - The marks are indexed by the sections' dense topology index, so a check costs O(1).
// - A section counts as handed over from the moment its callback is called. A callback that throws
//   leaves no section marked as on the path; the sections handed over so far stay handed over.
#include <functional>
#include <vector>

#include "platform/network/Section.h"

class CUpstreamVisit {
public:
    using Callback = std::function<void(const TAVGis::Topology::CSectionPtr&)>;

    // Visits the root and everything upstream of it that this object has not handed over yet.
    void Visit(const TAVGis::Topology::CSectionPtr& root, const Callback& onSection);
    // The number of sections not entered again because they were on the current path (cycles met).
    long CyclesCut() const { return m_cyclesCut; }

private:
    enum State : char { kUnseen = 0, kOnPath = 1, kHanded = 2 };
    struct Frame {
        TAVGis::Topology::CSectionPtr section;
        std::vector<TAVGis::Topology::CSectionPtr> upstream;
        std::size_t next = 0;
    };
    State StateOf(const TAVGis::Topology::CSection& s) const;
    void Set(const TAVGis::Topology::CSection& s, State state);

    std::vector<Frame> m_stack;
    std::vector<char> m_state;  // by section index
    long m_cyclesCut = 0;
};
