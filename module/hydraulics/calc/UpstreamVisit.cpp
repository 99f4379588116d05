#include "module/hydraulics/calc/UpstreamVisit.h"

#include <algorithm>

using TAVGis::Topology::CSection;
using TAVGis::Topology::CSectionPtr;

bool CUpstreamVisit::OnPath(const CSection& s) const {
    const auto i = static_cast<std::size_t>(s.Index());
    return i < m_onPath.size() && m_onPath[i] != 0;
}

void CUpstreamVisit::Mark(const CSection& s, bool on) {
    const auto i = static_cast<std::size_t>(s.Index());
    if (i >= m_onPath.size()) m_onPath.resize(i + 1, 0);
    m_onPath[i] = on ? 1 : 0;
}

void CUpstreamVisit::Visit(const CSectionPtr& root, const Callback& onSection) {
    if (!root) return;
    m_stack.clear();
    // A callback that throws leaves no marks behind for the next visit.
    struct Reset {
        CUpstreamVisit* self;
        ~Reset() {
            if (!self->m_stack.empty()) {
                self->m_stack.clear();
                std::fill(self->m_onPath.begin(), self->m_onPath.end(), 0);
            }
        }
    } reset{this};
    Mark(*root, true);
    m_stack.push_back({root, root->GetSectionsIn(), 0});
    while (!m_stack.empty()) {
        Frame& top = m_stack.back();
        if (top.next < top.upstream.size()) {
            CSectionPtr up = top.upstream[top.next++];
            if (!up) continue;
            if (OnPath(*up)) {
                ++m_cyclesCut;
                continue;
            }
            Mark(*up, true);
            auto upstream = up->GetSectionsIn();
            m_stack.push_back({std::move(up), std::move(upstream), 0});  // invalidates `top`
            continue;
        }
        CSectionPtr done = std::move(top.section);
        m_stack.pop_back();
        Mark(*done, false);
        onSection(done);
    }
}
