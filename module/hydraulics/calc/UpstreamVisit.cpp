#include "module/hydraulics/calc/UpstreamVisit.h"

using TAVGis::Topology::CSection;
using TAVGis::Topology::CSectionPtr;

CUpstreamVisit::State CUpstreamVisit::StateOf(const CSection& s) const {
    const auto i = static_cast<std::size_t>(s.Index());
    return i < m_state.size() ? static_cast<State>(m_state[i]) : kUnseen;
}

void CUpstreamVisit::Set(const CSection& s, State state) {
    const auto i = static_cast<std::size_t>(s.Index());
    if (i >= m_state.size()) m_state.resize(i + 1, kUnseen);
    m_state[i] = state;
}

void CUpstreamVisit::Visit(const CSectionPtr& root, const Callback& onSection) {
    if (!root || StateOf(*root) != kUnseen) return;
    m_stack.clear();
    // A callback that throws leaves the sections still on the path unmarked for the next visit.
    struct Reset {
        CUpstreamVisit* self;
        ~Reset() {
            for (const auto& f : self->m_stack) self->Set(*f.section, kUnseen);
            self->m_stack.clear();
        }
    } reset{this};
    Set(*root, kOnPath);
    m_stack.push_back({root, root->GetSectionsIn(), 0});
    while (!m_stack.empty()) {
        Frame& top = m_stack.back();
        if (top.next < top.upstream.size()) {
            CSectionPtr up = top.upstream[top.next++];
            if (!up) continue;
            const State state = StateOf(*up);
            if (state == kHanded) continue;
            if (state == kOnPath) {
                ++m_cyclesCut;
                continue;
            }
            Set(*up, kOnPath);
            auto upstream = up->GetSectionsIn();
            m_stack.push_back({std::move(up), std::move(upstream), 0});  // invalidates `top`
            continue;
        }
        CSectionPtr done = std::move(top.section);
        m_stack.pop_back();
        Set(*done, kHanded);
        onSection(done);
    }
}
