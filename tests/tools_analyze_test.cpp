#include <gtest/gtest.h>

#include <cerrno>
#include <sstream>
#include <streambuf>
#include <string>
#include <system_error>
#include <vector>

#include "engine/evaluate.h"
#include "tools/analyze/analyzer.h"
#include "tools/analyze/sequence.h"

namespace {

constexpr const char* kDrawnGame = "442761225377252342545563474175371666631311";

struct Outcome {
    int status;
    std::string out, err;
};

Outcome Analyze(const std::vector<std::string>& args, const std::string& input) {
    std::istringstream in(input);
    std::ostringstream out, err;
    const int status = RunAnalyzer(args, in, out, err);
    return {status, out.str(), err.str()};
}

// The output with the last field of each line, the microseconds, checked to
// be a number and then dropped; "?" marks a line whose last field is not.
std::string WithoutTimes(const std::string& out) {
    std::string result;
    std::size_t start = 0;
    while (start < out.size()) {
        std::size_t end = out.find('\n', start);
        if (end == std::string::npos) end = out.size();
        const std::string line = out.substr(start, end - start);
        const std::size_t space = line.rfind(' ');
        const std::string last = space == std::string::npos ? "" : line.substr(space + 1);
        const bool number =
            !last.empty() && last.find_first_not_of("0123456789") == std::string::npos;
        result += number ? line.substr(0, space) : "?" + line;
        result += '\n';
        start = end + 1;
    }
    return result;
}

// The column field (the second) of each output line.
std::string Columns(const std::string& out) {
    std::string columns;
    std::size_t line = 0;
    while (line < out.size()) {
        const std::size_t space = out.find(' ', line);
        if (space == std::string::npos) break;
        columns += out[space + 1];
        line = out.find('\n', space);
        if (line == std::string::npos) break;
        ++line;
    }
    return columns;
}

}  // namespace

TEST(ParseSequence, AcceptsColumnsEmptyBoardAndSurroundingBlanks) {
    struct Row {
        const char* line;
        const char* text;
        int moveCount;
    } rows[] = {
        {"", "-", 0},
        {"-", "-", 0},
        {"  -\r", "-", 0},
        {"\r", "-", 0},
        {" \r\t\r", "-", 0},
        {"4", "4", 1},
        {"3344", "3344", 4},
        {" \t3344 \r", "3344", 4},
        {kDrawnGame, kDrawnGame, 42},
    };
    for (const Row& r : rows) {
        const SequenceResult result = ParseSequence(r.line);
        ASSERT_TRUE(result.ok) << "'" << r.line << "': " << result.error;
        EXPECT_EQ(result.text, r.text);
        EXPECT_EQ(result.position.MoveCount, r.moveCount);
        EXPECT_TRUE(IsValidPosition(result.position));
    }
    const SequenceResult moves = ParseSequence("4453");
    EXPECT_EQ(moves.position.Stones[Red][3], 1);
    EXPECT_EQ(moves.position.Stones[Blue][3], 2);
    EXPECT_EQ(moves.position.Stones[Red][4], 1);
    EXPECT_EQ(moves.position.Stones[Blue][2], 1);
}

TEST(ParseSequence, RefusesWithAReason) {
    struct Row {
        std::string line;
        const char* reason;
    } rows[] = {
        {"12x", "'x' at position 3 is not a column 1 to 7"},
        {"0", "'0' at position 1 is not a column 1 to 7"},
        {"8", "'8' at position 1 is not a column 1 to 7"},
        {"33 44", "byte 0x20 at position 3 is not a column 1 to 7"},
        {"3\x01", "byte 0x01 at position 2 is not a column 1 to 7"},
        {"4\xff", "byte 0xFF at position 2 is not a column 1 to 7"},
        {"-4", "'-' at position 1 is not a column 1 to 7"},
        {"1111111", "column 1 is full at move 7"},
        {"124444444", "column 4 is full at move 9"},
        {std::string(kDrawnGame) + "4", "43 moves, more than the 42 cells of the board"},
        {std::string(500, '1'), "500 moves, more than the 42 cells of the board"},
        {"1212121", "four in a row already stands after move 7"},
        {"12121212", "four in a row already stands after move 7"},
        {"1122334", "four in a row already stands after move 7"},
        // Positions count the line as written, blanks in front included.
        {" 4 4", "byte 0x20 at position 3 is not a column 1 to 7"},
        {"\t\t12x", "'x' at position 5 is not a column 1 to 7"},
        {"  -4", "'-' at position 3 is not a column 1 to 7"},
        {"- -", "'-' at position 1 is not a column 1 to 7"},
        {"\r4", "byte 0x0D at position 1 is not a column 1 to 7"},
        {"44\r4", "byte 0x0D at position 3 is not a column 1 to 7"},
        // A bad byte far past the 42nd move still wins over the move count.
        {std::string(1000, '1') + "x", "'x' at position 1001 is not a column 1 to 7"},
        {std::string(1000, '1') + " \r ", "1000 moves, more than the 42 cells of the board"},
    };
    const std::int32_t total = TotalMoves;
    for (const Row& r : rows) {
        const SequenceResult result = ParseSequence(r.line);
        EXPECT_FALSE(result.ok) << r.line;
        EXPECT_EQ(result.error, r.reason) << r.line;
    }
    EXPECT_EQ(TotalMoves, total);
}

TEST(Analyzer, PrintsSequenceColumnScoreMovesAndMicroseconds) {
    const Outcome level3 = Analyze({"--level", "3"}, "3344\n");
    EXPECT_EQ(level3.status, 0);
    EXPECT_EQ(WithoutTimes(level3.out), "3344 2 29998 85\n");
    EXPECT_EQ(level3.err, "");

    EXPECT_EQ(WithoutTimes(Analyze({}, "3344\n").out), "3344 2 29998 208\n");
    EXPECT_EQ(WithoutTimes(Analyze({"--level=1"}, "3344\r\n").out), "3344 5 11 8\n");
    EXPECT_EQ(WithoutTimes(Analyze({"--level", "2"}, " 3344 \n").out), "3344 2 0 37\n");
}

TEST(Analyzer, FullBoardPlaysColumnZero) {
    const Outcome run = Analyze({"--level", "5"}, std::string(kDrawnGame) + "\n");
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(WithoutTimes(run.out), std::string(kDrawnGame) + " 0 0 0\n");
}

TEST(Analyzer, EmptyBoardGetsARandomFirstMoveThatTheSeedRepeats) {
    const Outcome first = Analyze({"--seed", "7", "--level", "10"}, "-\n\n-\n4\n");
    EXPECT_EQ(first.status, 0);
    const std::string columns = Columns(first.out);
    ASSERT_EQ(columns.size(), 4u) << first.out;
    for (const char c : columns) EXPECT_TRUE(c >= '3' && c <= '5') << first.out;
    const std::string moves = "- " + columns.substr(0, 1) + " 0 1\n- " + columns.substr(1, 1) +
                              " 0 1\n- " + columns.substr(2, 1) + " 0 1\n4 " +
                              columns.substr(3, 1) + " 0 1\n";
    EXPECT_EQ(WithoutTimes(first.out), moves);
    const Outcome again = Analyze({"--seed=7", "--level", "10"}, "-\n\n-\n4\n");
    EXPECT_EQ(WithoutTimes(again.out), moves);
}

TEST(Analyzer, BadLinesAreReportedAndSkipped) {
    const Outcome run =
        Analyze({}, "12x\n1111111\n3344\n1212121\n" + std::string(43, '4') + "\n-\n");
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.err,
              "line 1: 'x' at position 3 is not a column 1 to 7\n"
              "line 2: column 1 is full at move 7\n"
              "line 4: four in a row already stands after move 7\n"
              "line 5: 43 moves, more than the 42 cells of the board\n");
    ASSERT_EQ(Columns(run.out).size(), 2u) << run.out;
    const char random = Columns(run.out)[1];
    EXPECT_TRUE(random >= '2' && random <= '6') << run.out;
    EXPECT_EQ(WithoutTimes(run.out), std::string("3344 2 29998 208\n- ") + random + " 0 1\n");
}

TEST(Analyzer, LastLineWithoutNewlineIsRead) {
    EXPECT_EQ(WithoutTimes(Analyze({}, "3344").out), "3344 2 29998 208\n");
    const Outcome none = Analyze({}, "");
    EXPECT_EQ(none.status, 0);
    EXPECT_EQ(none.out, "");
}

TEST(Analyzer, BadOptionsPrintUsageAndExitTwo) {
    const std::vector<std::vector<std::string>> cases = {
        {"--level", "0"}, {"--level", "11"}, {"--level", "abc"}, {"--level", "4x"},
        {"--level"},      {"--level="},      {"--level", "-3"},  {"--seed", "-1"},
        {"--seed"},       {"--seed", "1e3"}, {"--frob"},         {"3344"},
        {"--bench=1"},    {"--help=yes"},    {"-l", "3"},
    };
    for (const auto& args : cases) {
        const Outcome run = Analyze(args, "3344\n");
        EXPECT_EQ(run.status, 2) << args[0];
        EXPECT_NE(run.err.find("usage: fourfall-analyze"), std::string::npos) << args[0];
        EXPECT_EQ(run.out, "") << args[0];
    }
}

TEST(Analyzer, HelpExplainsOptionsAndOutput) {
    const Outcome run = Analyze({"--help"}, "3344\n");
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.err, "");
    for (const char* word : {"usage: fourfall-analyze", "--level N", "--seed S", "--bench",
                             "line N: reason", "microseconds", "Exit status"})
        EXPECT_NE(run.out.find(word), std::string::npos) << word;
}

TEST(Analyzer, AcceptsEveryLevelFromOneToTen) {
    for (int level = 1; level <= 10; ++level) {
        const Outcome run = Analyze({"--level", std::to_string(level)}, "3344\n");
        EXPECT_EQ(run.status, 0) << level;
        EXPECT_EQ(run.out.rfind("3344 ", 0), 0u) << level;
    }
}

namespace {

// A stream buffer that hands out `input` and then fails as a broken disk or a
// directory does.
class FailingReadBuf : public std::streambuf {
  public:
    explicit FailingReadBuf(std::string input) : input_(std::move(input)) {
        setg(input_.data(), input_.data(), input_.data() + input_.size());
    }

  protected:
    int_type underflow() override {
        throw std::system_error(EIO, std::generic_category(), "cannot read the input");
    }

  private:
    std::string input_;
};

// A stream buffer that takes `room` bytes and then refuses, as a full disk
// does, either by throwing or by reporting failure the standard way.
class FullWriteBuf : public std::streambuf {
  public:
    FullWriteBuf(std::size_t room, bool throws) : room_(room), throws_(throws) {}

    std::string written;

  protected:
    int_type overflow(int_type ch) override {
        if (written.size() >= room_) {
            if (throws_)
                throw std::system_error(ENOSPC, std::generic_category(), "cannot write the output");
            return traits_type::eof();
        }
        written += traits_type::to_char_type(ch);
        return ch;
    }

  private:
    std::size_t room_;
    bool throws_;
};

}  // namespace

TEST(Analyzer, ReadAndWriteErrorsStopWithOneMessageAndStatusThree) {
    struct Row {
        const char* name;
        std::size_t room;  // output bytes that fit
        bool throws;
        bool readFails;
        const char* message;
    } rows[] = {
        {"full output, reported with its reason", 0, true, false,
         "fourfall-analyze: cannot write the output: No space left on device\n"},
        {"full output after the first line", 20, true, false,
         "fourfall-analyze: cannot write the output: No space left on device\n"},
        {"output that only says it failed", 0, false, false,
         "fourfall-analyze: cannot write the output\n"},
        {"input that cannot be read", 1000, true, true,
         "fourfall-analyze: cannot read the input: Input/output error\n"},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        FailingReadBuf failing("3344\n4453\n");
        std::istringstream plain("3344\n4453\n4444\n3333\n");
        std::istream failingIn(&failing);
        std::istream& in = r.readFails ? failingIn : plain;
        FullWriteBuf full(r.room, r.throws);
        std::ostream out(&full);
        std::ostringstream err;
        EXPECT_EQ(RunAnalyzer({"--level", "2"}, in, out, err), kExitIoError);
        EXPECT_EQ(err.str(), r.message);
        if (r.readFails) {
            // What was read before the error is still answered.
            EXPECT_EQ(Columns(full.written).size(), 2u) << full.written;
        }
    }
}

TEST(Analyzer, HelpAndBenchReportAFullOutputToo) {
    FullWriteBuf full(10, true);
    std::ostream out(&full);
    std::istringstream in;
    std::ostringstream err;
    EXPECT_EQ(RunAnalyzer({"--help"}, in, out, err), kExitIoError);
    EXPECT_EQ(err.str(), "fourfall-analyze: cannot write the output: No space left on device\n");
}

TEST(Analyzer, OptionValuesAreQuotedOnOneLine) {
    struct Row {
        std::vector<std::string> args;
        const char* message;
    } rows[] = {
        {{"--level", "1\n2"}, "level must be a number from 1 to 10, not '1\\x0A2'"},
        {{"--seed=x'y"}, "seed must be a number from 0 to 4294967295, not 'x\\x27y'"},
        {{"--fr\xC3\xB6\x62"}, "unknown argument '--fr\\xC3\\xB6b'"},
        {{"a\\b\r"}, "unknown argument 'a\\x5Cb\\x0D'"},
    };
    for (const Row& r : rows) {
        const Outcome run = Analyze(r.args, "");
        EXPECT_EQ(run.status, kExitUsage);
        EXPECT_EQ(run.err.substr(0, run.err.find('\n')),
                  std::string("fourfall-analyze: ") + r.message);
    }
}
