#pragma once
// CProgress: the progress of one piece of long work (an import, opening or saving a drawing, a calculation
// over the whole network), reported to the HostUi, which shows it as it can (a terminal line, a progress
// bar). Advance() costs O(1); the HostUi hears of it at most about a hundred times (every whole per cent),
// and always when the work is complete; EndProgress follows once, when the scope ends.
#include <cstddef>
#include <string>

namespace TAVHost {

class CProgress {
public:
    CProgress(std::string what, std::size_t total);
    ~CProgress();
    CProgress(const CProgress&) = delete;
    CProgress& operator=(const CProgress&) = delete;

    void Advance(std::size_t steps = 1) {
        m_done += steps;
        if (m_done >= m_next || m_done == m_total) Report();
    }
    std::size_t Done() const { return m_done; }

private:
    void Report();

    std::string m_what;
    std::size_t m_total;
    std::size_t m_done = 0;
    std::size_t m_next = 0;  // the step count at which the HostUi hears next
};

}  // namespace TAVHost
