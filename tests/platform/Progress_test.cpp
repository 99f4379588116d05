// Progress of long work: a bounded number of reports whatever the size of the work, rising, complete at the
// end, and ended once.
#include "platform/host/Progress.h"

#include <gtest/gtest.h>

#include "support/TestSupport.h"

namespace {

TEST(ProgressTest, ReportsAreFewRisingAndComplete) {
    struct Case {
        std::size_t total;
        std::size_t steps;  // Advance calls, one step each
    };
    for (const Case c : {Case{0, 0}, Case{1, 1}, Case{7, 7}, Case{100, 100}, Case{201, 201},
                         Case{200000, 200000}, Case{1000, 400}}) {
        testsupport::RecordingHostUi ui;
        TAVHost::ScopedHostUi scope(ui);
        {
            TAVHost::CProgress progress("work", c.total);
            for (std::size_t i = 0; i < c.steps; ++i) progress.Advance();
            EXPECT_EQ(ui.progressEnded, 0);
        }
        ASSERT_FALSE(ui.progress.empty()) << c.total;
        EXPECT_LE(ui.progress.size(), 102u) << c.total;
        EXPECT_EQ(ui.progress.front().done, 0u) << c.total;
        for (std::size_t i = 1; i < ui.progress.size(); ++i)
            EXPECT_LT(ui.progress[i - 1].done, ui.progress[i].done) << c.total;
        EXPECT_EQ(ui.progress.back().done, c.steps) << c.total;  // complete work is reported complete
        EXPECT_EQ(ui.progress.back().total, c.total);
        EXPECT_EQ(ui.progressEnded, 1) << c.total;
    }
}

}  // namespace
