#include "engine/solver.h"

#include <algorithm>
#include <bit>
#include <cassert>

namespace {

// How many positions pass between two looks at the stop flag and progress.
constexpr std::uint64_t kPollMask = (1u << 16) - 1;

// Columns from the centre outwards: central stones take part in more lines,
// so among equally promising moves the central ones are tried first.
constexpr int kCentreFirst[kColumns] = {3, 2, 4, 1, 5, 0, 6};

// Up to seven moves, kept sorted by falling score; a move added with the same
// score as earlier ones goes after them.
// Each move comes with the table key of the position it leads to.
struct TMoveList {
    std::uint64_t move[kColumns];
    std::uint64_t key[kColumns];
    int column[kColumns];
    int score[kColumns];
    int size = 0;

    void Add(std::uint64_t m, std::uint64_t k, int c, int s) {
        int i = size++;
        for (; i > 0 && score[i - 1] < s; --i) {
            move[i] = move[i - 1];
            key[i] = key[i - 1];
            column[i] = column[i - 1];
            score[i] = score[i - 1];
        }
        move[i] = m;
        key[i] = k;
        column[i] = c;
        score[i] = s;
    }
};

// Above this many empty cells a position's subtree is large enough that
// looking up all its children in the table first pays for the lookups.
constexpr int kChildLookupEmpty = 16;

// When the board fills up column by column, the side that moved first gets
// the cells of rows 1, 3 and 5 counted from the bottom, the other side those
// of rows 2, 4 and 6; a threat on one's own kind of row is the one that
// tends to decide the game, so it counts half as much again.
constexpr std::uint64_t kFirstMoverRows = solver_bits::kBottomRow * 0b010101;
constexpr std::uint64_t kSecondMoverRows = solver_bits::kBottomRow * 0b101010;
// Above any count of threats, so the table's move always goes first.
constexpr int kTableMoveBonus = 128;

}  // namespace

int ValueToScore(int value, int empty) {
    if (value > 0) return (empty + 1) / 2 - (value + 1) / 2 + 1;
    if (value < 0) return -(empty / 2 - (-value) / 2 + 1);
    return 0;
}

int ScoreToValue(int score, int empty) {
    if (score > 0) return 2 * ((empty + 1) / 2 - (score - 1)) - 1;
    if (score < 0) return -2 * (empty / 2 - (-score - 1));
    return 0;
}

TSolver::TSolver(std::size_t tableBytes) : table_(tableBytes) {}

void TSolver::Poll() {
    if (stop_ != nullptr && stop_->load(std::memory_order_relaxed)) stopped_ = true;
    if (progress_ != nullptr && !stopped_) {
        const TSolveProgress progress{nodes_, ScoreToValue(rootLower_, rootEmpty_),
                                      ScoreToValue(rootUpper_, rootEmpty_)};
        progress_(progressContext_, progress);
    }
}

int TSolver::Negamax(const TBitBoard& board, int alpha, int beta) {
    assert(alpha < beta);
    assert(!board.CanWinNow());
    if ((++nodes_ & kPollMask) == 0) Poll();
    if (stopped_) return 0;

    // Every move that does not hand the opponent four at once; with none,
    // the opponent completes four with its next move, move 2.
    const std::uint64_t safe = board.SafeMoves();
    const int empty = board.Empty();
    if (safe == 0) return -(empty / 2);
    // With two cells left and neither side able to complete four on the
    // next move, the board fills without a four.
    if (empty <= 2) return 0;

    // Nobody completes four within the next two moves, so the opponent's
    // earliest four is move 4 and ours is move 3.
    const int lowest = -((empty - 2) / 2);
    if (alpha < lowest) {
        alpha = lowest;
        if (alpha >= beta) return alpha;
    }
    const int highest = (empty - 1) / 2;
    if (beta > highest) {
        beta = highest;
        if (alpha >= beta) return beta;
    }

    // A forced move's score is exactly the child's, which the child looks up
    // and stores itself; an entry of our own would only cost a memory access.
    if ((safe & (safe - 1)) == 0) {
        TBitBoard child = board;
        child.Play(safe);
        return -Negamax(child, -beta, -alpha);
    }

    // Mirror images share one entry; the entry's move is then mirrored too.
    const std::uint64_t key = board.Key();
    const std::uint64_t mirrored = MirroredKey(key);
    const bool flip = mirrored < key;
    const std::uint64_t tableKey = flip ? mirrored : key;
    const TTableEntry known = table_.Probe(tableKey);
    int tableMove = -1;
    if (known.found) {
        if (known.lower > alpha) {
            alpha = known.lower;
            if (alpha >= beta) return alpha;
        }
        if (known.upper < beta) {
            beta = known.upper;
            if (alpha >= beta) return beta;
        }
        if (known.move >= 0) tableMove = flip ? kColumns - 1 - known.move : known.move;
    }

    // The move that worked before first, then the moves that leave the most
    // cells where we would complete four, those on our own kind of row counting
    // more.
    TMoveList moves;
    for (const int c : kCentreFirst) {
        const std::uint64_t move = safe & solver_bits::ColumnCells(c);
        if (move == 0) continue;
        const std::uint64_t threats =
            solver_bits::FourCompletingCells(board.mine | move) & ~(board.all | move);
        const std::uint64_t goodRows = (board.stones & 1) == 0 ? kFirstMoverRows : kSecondMoverRows;
        int score = 2 * std::popcount(threats) + std::popcount(threats & goodRows);
        if (c == tableMove) score += kTableMoveBonus;
        // The child's table slot is almost never cached; ask for it now, so
        // the reads for all children overlap.
        const std::uint64_t childKey = (board.all ^ board.mine) + (board.all | move);
        const std::uint64_t childTableKey = std::min(childKey, MirroredKey(childKey));
        table_.Prefetch(childTableKey);
        moves.Add(move, childTableKey, c, score);
    }

    // A child already known to be bad enough for the opponent cuts at once.
    for (int i = 0; empty > kChildLookupEmpty && i < moves.size; ++i) {
        const TTableEntry childKnown = table_.Probe(moves.key[i]);
        if (childKnown.found && -childKnown.upper >= beta) return -childKnown.upper;
    }

    int bestColumn = -1;
    for (int i = 0; i < moves.size; ++i) {
        TBitBoard child = board;
        child.Play(moves.move[i]);
        const int score = -Negamax(child, -beta, -alpha);
        if (stopped_) return 0;
        const int storedColumn = flip ? kColumns - 1 - moves.column[i] : moves.column[i];
        if (score >= beta) {
            table_.StoreLower(tableKey, empty, score, storedColumn);
            return score;
        }
        if (score > alpha) {
            alpha = score;
            bestColumn = storedColumn;
        }
    }
    table_.StoreUpper(tableKey, empty, alpha, bestColumn);
    return alpha;
}

int TSolver::RootScore(const TBitBoard& board) {
    const int empty = board.Empty();
    int lower = -(empty / 2);
    int upper = (empty - 1) / 2;
    rootEmpty_ = empty;
    // Halve the range of possible scores with one null-window search each.
    while (lower < upper) {
        rootLower_ = lower;
        rootUpper_ = upper;
        // Most positions are near a draw, and a window at 0 is the cheapest
        // to settle there, so the sign is asked first; then the range halves.
        int probe = lower + (upper - lower) / 2;
        if (lower < 0 && upper > 0)
            probe = 0;
        else if (upper == 0)
            probe = -1;
        const int r = Negamax(board, probe, probe + 1);
        if (stopped_) return 0;
        if (r <= probe)
            upper = r;
        else
            lower = r;
    }
    return lower;
}

TSolveResult TSolver::Solve(const TPosition& position) {
    assert(IsValidPosition(position));
    table_.Clear();
    nodes_ = 1;
    stopped_ = false;
    TSolveResult result;
    const TBitBoard board = TBitBoard::FromPosition(position);
    const int empty = board.Empty();
    const std::uint64_t playable = board.Playable();
    const std::uint64_t winning = board.MyWinningCells() & playable;

    int score = 0;
    if (empty == 0)
        score = 0;
    else if (winning != 0)
        score = (empty + 1) / 2;
    else
        score = RootScore(board);
    if (stopped_) {
        result.positions = nodes_;
        return result;
    }

    // A column keeps the value when the opponent's score after it is at
    // most -score; a null window just above -score tells exactly that.
    for (int c = 0; c < kColumns; ++c) {
        const std::uint64_t move = playable & solver_bits::ColumnCells(c);
        if (move == 0) continue;
        bool keeps = false;
        if ((winning & move) != 0) {
            keeps = score == (empty + 1) / 2;
        } else if (winning == 0) {
            TBitBoard child = board;
            child.Play(move);
            if (child.CanWinNow()) {
                ++nodes_;
                keeps = score == -(empty / 2);
            } else {
                keeps = Negamax(child, -score, -score + 1) <= -score;
            }
            if (stopped_) {
                result.positions = nodes_;
                return result;
            }
        }
        if (keeps) result.bestColumns = static_cast<std::uint8_t>(result.bestColumns | 1u << c);
    }

    result.complete = true;
    result.value = ScoreToValue(score, empty);
    result.positions = nodes_;
    return result;
}
