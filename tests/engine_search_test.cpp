#include <gtest/gtest.h>

#include "engine/search.h"

namespace {
TPosition FromColumns(const char* moves) {
    TPosition p;
    ClearPosition(p);
    for (const char* m = moves; *m; ++m) MakeMove(p, *m - '1');
    return p;
}
}  // namespace

TEST(Search, WorkedThreeOpenAtBothEnds) {
    InitBitCount();
    struct Row { int level, score, column, total; } rows[] = {
        {1, 11, 4, -1}, {2, 0, 1, 37}, {3, 29998, 1, 85}, {4, 29998, 1, 208}};
    for (const Row& r : rows) {
        TPosition p = FromColumns("3344");
        TPosition before = p;
        TotalMoves = 0;
        EXPECT_EQ(SearchRoot(p, r.level), r.score) << "level " << r.level;
        if (r.total >= 0) EXPECT_EQ(TotalMoves, r.total) << "level " << r.level;
        MakeMove(before, r.column);
        EXPECT_EQ(0, std::memcmp(&p, &before, sizeof p)) << "level " << r.level;
    }
}
