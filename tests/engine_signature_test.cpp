// The bench signature: the moves counted over the fixed self-play suites of
// `fourfall-analyze --bench`. Every speed change to the search must leave
// the tree as it is, so these totals may only change together with a
// deliberate change of what the engine plays.
#include <gtest/gtest.h>

#include "tools/analyze/bench_suite.h"

TEST(BenchSignature, SuitesCountTheSameMovesAsEver) {
    struct Row {
        int level, searches;
        std::int64_t moves;
    } rows[] = {{10, 341, 343'955'482}, {8, 338, 30'192'175}};
    for (const Row& r : rows) {
        const SuiteResult result = PlaySuite(r.level);
        EXPECT_EQ(result.games, 9) << "level " << r.level;
        EXPECT_EQ(result.searches, r.searches) << "level " << r.level;
        EXPECT_EQ(result.moves, r.moves) << "level " << r.level;
    }
}
