#include "platform/sessions/UpdateSessions.h"

namespace TAVGis {
namespace {
int Start(UpdateSessionCounts& c) {
    ++c.open;
    ++c.started;
    return 1;
}
int Commit(UpdateSessionCounts& c) {
    if (c.open == 0) return 0;
    --c.open;
    ++c.committed;
    return 1;
}
int Cancel(UpdateSessionCounts& c) {
    if (c.open == 0) return 0;
    --c.open;
    ++c.cancelled;
    return 1;
}
}  // namespace

namespace Label {
UpdateSessionCounts& CNetworkLabelUtility::Counts() {
    static UpdateSessionCounts counts;
    return counts;
}
int CNetworkLabelUtility::StartUpdateSession(int) {
    return Start(Counts());
}
int CNetworkLabelUtility::ComitUpdateSession() {
    return Commit(Counts());
}
int CNetworkLabelUtility::CancelUpdateSession() {
    return Cancel(Counts());
}
}  // namespace Label

namespace Longitudinal {
UpdateSessionCounts& CLSEditor::Counts() {
    static UpdateSessionCounts counts;
    return counts;
}
int CLSEditor::StartUpdateSession() {
    return Start(Counts());
}
int CLSEditor::ComitUpdateSession() {
    return Commit(Counts());
}
int CLSEditor::CancelUpdateSession() {
    return Cancel(Counts());
}
}  // namespace Longitudinal

}  // namespace TAVGis
