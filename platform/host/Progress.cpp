#include "platform/host/Progress.h"

#include "platform/host/HostUi.h"

namespace TAVHost {
namespace {
constexpr std::size_t kReports = 100;  // one report per whole per cent
}

CProgress::CProgress(std::string what, std::size_t total) : m_what(std::move(what)), m_total(total) {
    Report();
}

CProgress::~CProgress() {
    GetHostUi().EndProgress();
}

void CProgress::Report() {
    GetHostUi().ShowProgress(m_what, m_done < m_total ? m_done : m_total, m_total);
    // The next whole per cent after the steps done so far.
    const std::size_t step = m_total / kReports;
    m_next = step == 0 ? m_done + 1 : (m_done / step + 1) * step;
}

}  // namespace TAVHost
