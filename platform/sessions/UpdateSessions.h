#pragma once
// The update sessions of section labels and longitudinal profiles: a batch of writes is enclosed in a
// session so labels and profiles are refreshed once at its commit. Sessions nest; the counts tell a caller
// (and every test) how many are open, started, committed and cancelled. A cancelled session refreshes
// nothing: the writes it enclosed are being taken back.
namespace TAVGis {

struct UpdateSessionCounts {
    int open = 0;
    long started = 0;
    long committed = 0;
    long cancelled = 0;
};

namespace Label {
class CNetworkLabelUtility {
public:
    static int StartUpdateSession(int flags);
    // Commits the innermost session; 0 when none is open.
    static int ComitUpdateSession();
    // Cancels the innermost session; 0 when none is open.
    static int CancelUpdateSession();
    static UpdateSessionCounts& Counts();
};
}  // namespace Label

namespace Longitudinal {
class CLSEditor {
public:
    static int StartUpdateSession();
    static int ComitUpdateSession();
    static int CancelUpdateSession();
    static UpdateSessionCounts& Counts();
};
}  // namespace Longitudinal

}  // namespace TAVGis
