// A long random session on the real main window, offscreen: board clicks
// anywhere (also beside the board and on full columns), New Game, Take Back,
// the user's picks in the three boxes, the keys of the window's key table
// and Tab, resizes from 0 x 0 to 3000 x 2000, timer ticks, and input that
// arrives while the computer thinks. After every
// step the game and the window must still be sound.
//
// FOURFALL_SOAK_STEPS sets the steps per seed (the default keeps the test
// suite quick; `make soak` runs many more), FOURFALL_SOAK_SEED runs one seed
// instead of the default ones. A failure names the seed and the step and
// lists the last actions, so it can be replayed with those two variables.

#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QTest>
#include <QTimer>
#include <algorithm>
#include <cerrno>
#include <chrono>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <deque>
#include <exception>
#include <filesystem>
#include <memory>
#include <optional>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "engine/evaluate.h"
#include "engine/position.h"
#include "engine/search.h"
#include "game/computer_move.h"
#include "game_test_support.h"
#include "platform/application.h"
#include "platform/paint_box.h"
#include "platform/skin/sui_controls.h"
#include "ui/MainUnit.h"
#include "ui/board_geometry.h"
#include "ui/column_marker.h"

namespace {

namespace fs = std::filesystem;
using game_test::BoardFull;
using game_test::OnePlyAfter;
using game_test::Played;
using game_test::SamePosition;
using game_test::ScriptedClock;
using game_test::Snapshot;

constexpr long kDefaultSteps = 2000;
constexpr unsigned kDefaultSeeds[] = {1u, 2u, 3u, 20240611u};
constexpr int kSidePanelWidth = 185;  // the side panel keeps this width
constexpr int kControlsTop = 47;      // title and menu bars above the panels
constexpr int kMinimumSize = 300;
constexpr int kMaxMemoLines = 4;  // the search info: blank, score, speed, moves

// A positive whole number from the environment, `fallback` when unset, and
// nothing when it is set to anything else.
std::optional<long> PositiveFromEnvironment(const char* name, long fallback) {
    const char* text = std::getenv(name);
    if (text == nullptr || *text == '\0') return fallback;
    char* end = nullptr;
    errno = 0;
    const long value = std::strtol(text, &end, 10);
    if (errno != 0 || *end != '\0' || value <= 0 || value > UINT_MAX) return std::nullopt;
    return value;
}

// The seeds are listed before any test runs; a bad FOURFALL_SOAK_SEED keeps
// the default ones, and the test then says what was wrong.
std::vector<unsigned> SoakSeeds() {
    const long seed = PositiveFromEnvironment("FOURFALL_SOAK_SEED", 0).value_or(0);
    if (seed > 0) return {static_cast<unsigned>(seed)};
    return {std::begin(kDefaultSeeds), std::end(kDefaultSeeds)};
}

// The program's chance, drawn from the session's own generator so a seed
// replays the same games.
class SeededRandom : public RandomGenerator {
  public:
    explicit SeededRandom(std::mt19937& rng) : rng_(rng) {}
    int Draw() override { return std::uniform_int_distribution<int>(0, INT_MAX)(rng_); }

  private:
    std::mt19937& rng_;
};

bool FourStands(const TPosition& p) { return HasFour(p, Red) || HasFour(p, Blue); }

// Runs in `dir` while it lives, and goes back to where it was afterwards.
class CurrentDir {
  public:
    explicit CurrentDir(const fs::path& dir) : saved_(fs::current_path()) { fs::current_path(dir); }
    ~CurrentDir() { fs::current_path(saved_); }

  private:
    fs::path saved_;
};

class Soak {
  public:
    Soak(unsigned seed, long steps) : seed_(seed), steps_(steps), rng_(seed), random_(rng_) {
        current_ = this;
        previousHandler_ = qInstallMessageHandler(&Soak::QtMessage);
        SetMessageSink([this](TMessageKind, const std::string& caption, const std::string& text) {
            Fault("a message box appeared: " + caption + ": " + text);
        });
        {
            CurrentDir here(FOURFALL_SOURCE_DIR);
            window_ = std::make_unique<TfrmFourfall>(TGameServices{&clock_, &random_});
            frmFourfall = window_.get();
            // Ticks are given by the steps below, so a seed replays exactly.
            window_->Timer1->stop();
            window_->FlashWait = [this](std::uint32_t) { Blink(); };
            window_->Game.Search = [this](TPosition& position, int level) {
                return Search(position, level);
            };
            window_->show();
            QApplication::processEvents();
        }
    }

    ~Soak() {
        window_.reset();
        SetMessageSink({});
        qInstallMessageHandler(previousHandler_);
        current_ = nullptr;
    }

    void Run() {
        const auto start = std::chrono::steady_clock::now();
        Check();
        for (step_ = 0; step_ < steps_ && faults_.empty(); ++step_) {
            try {
                Act();
            } catch (const std::exception& error) {
                Fault(std::string("exception: ") + error.what());
            } catch (...) {
                Fault("an exception that is no std::exception");
            }
            if (faults_.empty()) Check();
        }
        const double seconds =
            std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        if (!faults_.empty()) {
            std::ostringstream out;
            out << "seed " << seed_ << ", step " << step_ - 1 << ": " << faults_.front()
                << "\nreplay: FOURFALL_SOAK_SEED=" << seed_ << " FOURFALL_SOAK_STEPS=" << step_
                << "\nlast actions, oldest first:";
            for (const std::string& action : recent_) out << "\n  " << action;
            ADD_FAILURE() << out.str();
            return;
        }
        std::printf(
            "seed %u: %ld steps in %.2f s, %d searches, %d games ended, %d blinks, "
            "%d resizes, %d keys, %d inputs posted during searches\n",
            seed_, steps_, seconds, searches_, ended_games_, blinks_, resizes_, keys_,
            posted_inputs_);
        // A long session that never plays or ends a game has tested little.
        if (steps_ >= 500) {
            EXPECT_GT(searches_, steps_ / 10) << "seed " << seed_;
            EXPECT_GT(ended_games_, 0) << "seed " << seed_;
        }
    }

  private:
    int Next(int n) { return std::uniform_int_distribution<int>(0, n - 1)(rng_); }
    bool Chance(int percent) { return Next(100) < percent; }

    void Note(std::string action) {
        recent_.push_back("#" + std::to_string(step_) + " " + std::move(action));
        if (recent_.size() > 40) recent_.pop_front();
    }

    void Fault(const std::string& what) { faults_.push_back(what); }

    // Qt's own warnings go into the action list, where they show what a
    // step did. The offscreen platform cannot shape windows and says so on
    // every resize; that one is left out.
    static void QtMessage(QtMsgType, const QMessageLogContext&, const QString& message) {
        if (current_ == nullptr || message.contains("does not support setting window masks"))
            return;
        current_->Note("Qt says: " + message.toStdString());
    }

    TfrmFourfall& W() { return *window_; }
    TGame& G() { return window_->Game; }

    // --- The actions ------------------------------------------------------------

    void Act() {
        stepStart_ = G().Position;
        searchesThisStep_ = 0;
        const bool inPlay = G().GameState == kInPlay;
        const int roll = Next(100);
        if (Chance(15)) {
            PressKey();
        } else if (roll < 42) {
            ReleaseOnBoard();
        } else if (roll < 50) {
            PressButton(W().BitBtn1, "New Game");
        } else if (roll < 60) {
            PressButton(W().BitBtn2, "Take Back");
        } else if (roll < 67) {
            PickColour();
        } else if (roll < 72) {
            PickLevel();
        } else if (roll < 76) {
            Pick(W().cboxThinkOutput, Next(2), "think output");
        } else if (roll < 83) {
            Resize();
        } else if (roll < 88) {
            Note("Timer1Timer");
            W().Timer1Timer();
        } else if (roll < 91) {
            RunTimer();
        } else if (roll < 94) {
            Note("processEvents");
            QApplication::processEvents();
        } else if (roll < 98) {
            InputBeforeTheComputersTurn();
        } else {
            // Time passes: now and then the tick count wraps around.
            clock_.now = Chance(50) ? 0xFFFFFFF0u + static_cast<std::uint32_t>(Next(8))
                                    : clock_.now + static_cast<std::uint32_t>(Next(5000));
            Note("clock at " + std::to_string(clock_.now));
        }
        if (inPlay && G().GameState != kInPlay) ++ended_games_;
    }

    // A point of the paint box: mostly on the board, often in the middle of
    // a column (so columns fill up and get clicked when full), also in the
    // margins beside, above and below the board. With `beyond`, a point up
    // to 60 pixels outside the paint box: a button pressed on the board and
    // released there still reaches the paint box.
    QPoint BoardPoint(bool beyond = false) {
        const int w = W().pboxMain->width();
        const int h = W().pboxMain->height();
        if (beyond) return {Next(w + 120) - 60, Next(h + 120) - 60};
        if (Chance(40) && W().Bitmaps.Exist()) {
            const int bw = W().Bitmaps.bmpBoard->Width();
            const int x = BoardOffset(w, bw) + CellLeft(bw, Next(kColumns)) + CellTileSize(bw) / 2;
            return {std::clamp(x, 0, w - 1), Next(h)};
        }
        return {Next(w), Next(h)};
    }

    void ReleaseOnBoard() {
        // Now and then the release comes in the very tick the computer moved.
        const bool sameTick = Chance(5);
        if (sameTick) clock_.queued = {G().LastThinkTick};
        static constexpr Qt::MouseButton kButtons[] = {
            Qt::LeftButton, Qt::LeftButton, Qt::LeftButton, Qt::RightButton, Qt::MiddleButton};
        const Qt::MouseButton button = kButtons[Next(5)];
        const bool drag = Chance(20);
        const QPoint at = BoardPoint(drag && Chance(50));
        std::ostringstream what;
        what << "release at (" << at.x() << "," << at.y() << ") of " << W().pboxMain->width() << "x"
             << W().pboxMain->height() << " button " << button
             << (sameTick ? " in the computer's tick" : "");
        if (!drag) {
            Note("click, " + what.str());
            QTest::mouseClick(W().pboxMain, button, {}, at);
        } else {
            // Pressed somewhere else and dragged to the release point.
            const QPoint from = BoardPoint();
            Note("drag from (" + std::to_string(from.x()) + "," + std::to_string(from.y()) + "), " +
                 what.str());
            QTest::mousePress(W().pboxMain, button, {}, from);
            QTest::mouseRelease(W().pboxMain, button, {}, at);
        }
        clock_.queued.clear();
    }

    // A key of the window's key table, or Tab, pressed on a control of the
    // window. Ctrl+Q is left out: it ends the session.
    void PressKey() {
        static constexpr QKeyCombination kAnywhere[] = {Qt::Key_1,
                                                        Qt::Key_2,
                                                        Qt::Key_3,
                                                        Qt::Key_4,
                                                        Qt::Key_5,
                                                        Qt::Key_6,
                                                        Qt::Key_7,
                                                        Qt::CTRL | Qt::Key_N,
                                                        Qt::CTRL | Qt::Key_Z,
                                                        Qt::Key_F1,
                                                        Qt::Key_Tab};
        // On the boxes these keep their own meaning (Space opens a list, Down
        // steps the level up), so they are pressed on the board only.
        static constexpr QKeyCombination kOnTheBoard[] = {Qt::Key_Left,  Qt::Key_Right,
                                                          Qt::Key_Down,  Qt::Key_Return,
                                                          Qt::Key_Enter, Qt::Key_Space};
        QWidget* const controls[] = {W().cboxLevel, W().BitBtn1,         W().cboxColour,
                                     W().BitBtn2,   W().cboxThinkOutput, W().pboxMain};
        QWidget* control = W().pboxMain;
        QKeyCombination keys;
        if (Chance(50)) {
            keys = kOnTheBoard[Next(static_cast<int>(std::size(kOnTheBoard)))];
        } else {
            keys = kAnywhere[Next(static_cast<int>(std::size(kAnywhere)))];
            control = controls[Next(6)];
        }
        // As Tab would give it; Tab itself moves it on from there.
        if (control != QApplication::focusWidget()) control->setFocus(Qt::TabFocusReason);
        Note("key " + QKeySequence(keys).toString().toStdString() + " on " +
             control->metaObject()->className() + (G().GameState == kInPlay ? "" : ", game over"));
        QTest::keyClick(control, keys.key(), keys.keyboardModifiers());
        ++keys_;
    }

    void PressButton(QWidget* button, const char* name) {
        if (Chance(85)) {
            Note(std::string("click ") + name);
            QTest::mouseClick(button, Qt::LeftButton);
        } else {
            Note(std::string("space on ") + name);
            button->setFocus();
            QTest::keyClick(button, Qt::Key_Space);
        }
    }

    // The user picks an item: with the keys as a rule, which step through
    // the items in between; sometimes the item already shown, which only a
    // pick from the list can do.
    void Pick(QComboBox* box, int index, const char* name) {
        Note(std::string("pick ") + name + " " + std::to_string(index));
        if (index == box->currentIndex() || Chance(15)) {
            box->setCurrentIndex(index);
            emit box->activated(index);
            return;
        }
        while (box->currentIndex() < index) QTest::keyClick(box, Qt::Key_Down);
        while (box->currentIndex() > index) QTest::keyClick(box, Qt::Key_Up);
    }

    void PickColour() { Pick(W().cboxColour, Next(2), "colour"); }

    // Low levels keep the soak quick; 5 and 6 come now and then.
    void PickLevel() { Pick(W().cboxLevel, Chance(5) ? 4 + Next(2) : Next(4), "level"); }

    QSize RandomSize() {
        const int kind = Next(20);
        if (kind == 0) return {0, 0};
        if (kind <= 2) return {kMinimumSize - 10 + Next(21), kMinimumSize - 10 + Next(21)};
        if (kind == 3) return {Next(3001), Next(2001)};
        if (kind <= 5) return {Next(kMinimumSize), Next(1000)};
        return {Next(1300), Next(1000)};
    }

    void Resize() {
        const QSize size = RandomSize();
        Note("resize to " + std::to_string(size.width()) + "x" + std::to_string(size.height()));
        W().resize(size);
        QApplication::processEvents();
        ++resizes_;
        // Anything below the minimum snaps back to it.
        const QSize expected(std::max(size.width(), kMinimumSize),
                             std::max(size.height(), kMinimumSize));
        if (W().size() != expected)
            Fault("window is " + Text(W().size()) + " after a resize to " + Text(size));
    }

    // The real timer, through its signal, for a pass of the event loop.
    void RunTimer() {
        Note("Timer1 runs");
        const int interval = W().Timer1->interval();
        W().Timer1->start(0);
        QApplication::processEvents();
        QApplication::processEvents();
        W().Timer1->stop();
        W().Timer1->setInterval(interval);
    }

    // Input and other events queue up, then a click on a column starts the
    // computer, whose turn handles them before it searches: the game must
    // ignore the input there, and resizes and ticks must not upset it.
    void InputBeforeTheComputersTurn() {
        const int events = 1 + Next(4);
        std::string what = "queued before a click:";
        for (int i = 0; i < events; ++i) {
            switch (Next(5)) {
                case 0:
                case 1:
                    what += PostInput();
                    break;
                case 2: {
                    const QSize size = RandomSize();
                    QTimer::singleShot(0, window_.get(), [this, size] { W().resize(size); });
                    what += " resize to " + Text(size);
                    break;
                }
                case 3:
                    QTimer::singleShot(0, window_.get(), [this] { W().Timer1Timer(); });
                    what += " tick";
                    break;
                default: {
                    const int index = Next(2);
                    QTimer::singleShot(0, window_.get(), [this, index] {
                        W().cboxThinkOutput->setCurrentIndex(index);
                        emit W().cboxThinkOutput->activated(index);
                    });
                    what += " think output " + std::to_string(index);
                    break;
                }
            }
        }
        Note(what);
        ReleaseOnBoard();
        // When the click started no computer turn (a full column, an ended
        // game), the queue is handled here instead, as separate actions of
        // the user; any of them may lead to the computer's turn.
        if (searchesThisStep_ == 0) {
            anyStart_ = true;
            QApplication::processEvents();
            anyStart_ = false;
        }
    }

    // Posts one input event of the kind the user makes, to be delivered when
    // the event loop next runs. Returns its description.
    // With `afterSearch`, also keys that go through the shortcut lookup, as
    // typed keys do: the window's keys and the menu's access key, which
    // must be dropped too. (Before the computer's turn they would act, and
    // Alt+F would leave the File menu open.)
    std::string PostInput(bool afterSearch = false) {
        auto click = [](QWidget* target, QPoint at) {
            const QPointF local(at);
            const QPointF global = target->mapToGlobal(local);
            QCoreApplication::postEvent(
                target, new QMouseEvent(QEvent::MouseButtonPress, local, global, Qt::LeftButton,
                                        Qt::LeftButton, Qt::NoModifier));
            QCoreApplication::postEvent(
                target, new QMouseEvent(QEvent::MouseButtonRelease, local, global, Qt::LeftButton,
                                        Qt::NoButton, Qt::NoModifier));
        };
        auto key = [](QWidget* target, int code) {
            QCoreApplication::postEvent(target,
                                        new QKeyEvent(QEvent::KeyPress, code, Qt::NoModifier));
            QCoreApplication::postEvent(target,
                                        new QKeyEvent(QEvent::KeyRelease, code, Qt::NoModifier));
        };
        const int up = Next(2) == 0 ? Qt::Key_Up : Qt::Key_Down;
        if (afterSearch && Chance(40)) {
            static constexpr QKeyCombination kTyped[] = {Qt::Key_3,
                                                         Qt::Key_7,
                                                         Qt::CTRL | Qt::Key_Z,
                                                         Qt::CTRL | Qt::Key_N,
                                                         Qt::ALT | Qt::Key_F,
                                                         Qt::ALT | Qt::Key_H,
                                                         Qt::Key_Space};
            const QKeyCombination keys = kTyped[Next(static_cast<int>(std::size(kTyped)))];
            QWidget* target = Chance(50) ? static_cast<QWidget*>(W().pboxMain) : W().cboxLevel;
            QMetaObject::invokeMethod(
                window_.get(),
                [target, keys] { QTest::keyClick(target, keys.key(), keys.keyboardModifiers()); },
                Qt::QueuedConnection);
            return " typed " + QKeySequence(keys).toString().toStdString();
        }
        switch (Next(6)) {
            case 0:
            case 1: {
                const QPoint at = BoardPoint();
                click(W().pboxMain, at);
                return " board click (" + std::to_string(at.x()) + "," + std::to_string(at.y()) +
                       ")";
            }
            case 2:
                click(W().BitBtn1, {10, 10});
                return " New Game";
            case 3:
                click(W().BitBtn2, {10, 10});
                return " Take Back";
            case 4:
                key(W().cboxColour, up);
                return " colour key";
            default:
                // Only down the list, so queued keys keep the level low.
                key(W().cboxLevel, Qt::Key_Up);
                return " level key";
        }
    }

    // --- The computer's turn and the blink -------------------------------------

    int Search(TPosition& position, int level) {
        ++searches_;
        // A search runs only on a game in play, right after the computer's
        // snapshot, with the label saying so.
        if (G().GameState != kInPlay) Fault("search with GameState " + Text(G().GameState));
        if (!IsValidPosition(position)) Fault("search on an invalid position");
        if (FourStands(position)) Fault("search with a four on the board");
        if (BoardFull(position)) Fault("search on a full board");
        if (!G().ComputerMoveRunning()) Fault("search outside the computer's turn");
        if (G().HistoryCount < 1 || G().HistoryCount > kHistorySlots ||
            !SamePosition(Snapshot(G(), G().HistoryCount - 1), position))
            Fault("search without the computer's snapshot");
        if (W().lblTurn->text() != kThinkingText)
            Fault("label \"" + W().lblTurn->text().toStdString() + "\" during the search");
        if (level != LevelFromText(W().cboxLevel->currentText().toStdString()) || level < 1 ||
            level > 6)
            Fault("search at level " + std::to_string(level));
        if (G().ComputerSide != position.SideToMove)
            Fault("search for the side to move, but ComputerSide is " + Text(G().ComputerSide));
        // One user action starts at most one computer turn, from where the
        // action left the game: unchanged (a colour pick), a new game, or
        // the user's stone. Anything else means input the game should have
        // ignored was played while the computer's turn ran.
        if (++searchesThisStep_ > 1) Fault("a second search in one step");
        if (!anyStart_ && !SamePosition(position, stepStart_) && position.MoveCount != 0 &&
            !OnePlyAfter(stepStart_, position))
            Fault("search on a position " + Text(position.MoveCount) +
                  " stones deep after a step that began at " + Text(stepStart_.MoveCount));

        // Now and then the user clicks and types while the computer thinks.
        // The window receives that input only after the search and must
        // drop it: neither the game nor the boxes may change.
        const bool postInput = Chance(12);
        if (postInput) {
            std::string what = "during the search:";
            for (int i = 1 + Next(3); i > 0; --i) what += PostInput(true);
            Note(what);
            ++posted_inputs_;
        }
        const int score = SearchRoot(position, level);
        if (postInput) {
            dropped_ = DroppedInput{position, W().cboxColour->currentIndex(),
                                    W().cboxLevel->currentIndex()};
        }
        return score;
    }

    void Blink() {
        ++blinks_;
        if (G().GameState == kInPlay) Fault("the four blinks in a game in play");
        if (!FourStands(G().Position)) Fault("a blink without a four");
    }

    // --- The checks after every step --------------------------------------------

    void Check() {
        const TGame& game = G();
        const TPosition& p = game.Position;
        if (!IsValidPosition(p)) return Fault("invalid position");
        if (game.HistoryCount < 0 || game.HistoryCount > kHistorySlots)
            return Fault("HistoryCount " + Text(game.HistoryCount));
        // One snapshot per ply of the current line of play.
        if (game.HistoryCount != p.MoveCount)
            return Fault("HistoryCount " + Text(game.HistoryCount) + " with " + Text(p.MoveCount) +
                         " stones");
        if (game.HistoryCount > 0) {
            if (!SamePosition(game.History[0], Played({})))
                return Fault("the first snapshot is not the empty board");
            for (int i = 0; i + 1 < game.HistoryCount; ++i) {
                if (!OnePlyAfter(Snapshot(game, i), Snapshot(game, i + 1)))
                    return Fault("snapshot " + Text(i + 1) + " is not one ply after " + Text(i));
            }
            if (!OnePlyAfter(Snapshot(game, game.HistoryCount - 1), p))
                return Fault("the position is not one ply after the last snapshot");
        }
        switch (game.GameState) {
            case kInPlay:
                if (FourStands(p)) return Fault("in play with a four on the board");
                if (BoardFull(p)) return Fault("in play on a full board");
                break;
            case Red:
            case Blue:
                if (!HasFour(p, game.GameState)) return Fault("won without a four");
                break;
            case kBoardFull:
                if (!BoardFull(p)) return Fault("board full with free cells");
                break;
            default:
                return Fault("GameState " + Text(game.GameState));
        }
        if (game.ComputerMoveRunning()) return Fault("the computer's turn is still running");
        if (game.ComputerSide != Red && game.ComputerSide != Blue)
            return Fault("ComputerSide " + Text(game.ComputerSide));

        // Once a step is over the computer is not thinking, so "Thinking..."
        // would be a label left behind.
        const QString label = W().lblTurn->text();
        if (label != kYourMoveText && label != kYouWonText && label != kYouLostText)
            return Fault("label \"" + label.toStdString() + "\"");
        const QStringList memo = W().memoThink->Lines();
        if (memo.size() > kMaxMemoLines || (!memo.isEmpty() && !memo.front().isEmpty()))
            return Fault("think memo \"" + memo.join("|").toStdString() + "\"");
        if (W().cboxLevel->currentIndex() < 0 || W().cboxColour->currentIndex() < 0 ||
            W().cboxThinkOutput->currentIndex() < 0)
            return Fault("a box with nothing selected");

        if (!W().isVisible()) return Fault("the window has closed");
        if (QWidget* popup = QApplication::activePopupWidget())
            return Fault(std::string("a popup is open: ") + popup->metaObject()->className());
        if (QApplication::activeModalWidget() != nullptr) return Fault("a modal window is open");

        // The window, its paint box and the board bitmap agree on the size.
        const QSize size = W().size();
        if (size.width() < kMinimumSize || size.height() < kMinimumSize)
            return Fault("window below the minimum: " + Text(size));
        const QSize box = W().pboxMain->size();
        if (box != QSize(size.width() - kSidePanelWidth, size.height() - kControlsTop))
            return Fault("paint box " + Text(box) + " in a window " + Text(size));
        const int boardWidth = BoardBitmapWidth(box.width(), box.height());
        const QSize board(W().Bitmaps.bmpBoard->Width(), W().Bitmaps.bmpBoard->Height());
        if (board != QSize(boardWidth, BoardBitmapHeight(boardWidth)))
            return Fault("board bitmap " + Text(board) + " for a paint box " + Text(box));

        // The keyboard's marker shows only while the keyboard is in use, and
        // only in the margin above the board.
        const TColumnMarker* marker = W().ColumnMarker();
        if (marker->isVisible()) {
            if (!W().KeyboardInUse()) return Fault("the column marker shows after mouse use");
            if (marker->geometry().bottom() >= BoardOffset(box.height(), board.height()))
                return Fault("the column marker reaches into the board");
        }

        if (dropped_) {
            if (!SamePosition(p, dropped_->position))
                return Fault("input made during the search moved a stone afterwards");
            if (W().cboxColour->currentIndex() != dropped_->colour ||
                W().cboxLevel->currentIndex() != dropped_->level)
                return Fault("keys typed during the search changed a box afterwards");
            dropped_.reset();
        }
    }

    static std::string Text(int n) { return std::to_string(n); }
    static std::string Text(QSize s) {
        return std::to_string(s.width()) + "x" + std::to_string(s.height());
    }

    struct DroppedInput {
        TPosition position;  // as the search left it
        int colour, level;   // the boxes' indices then
    };

    static inline Soak* current_ = nullptr;
    QtMessageHandler previousHandler_ = nullptr;

    unsigned seed_;
    long steps_;
    long step_ = 0;
    std::mt19937 rng_;
    ScriptedClock clock_;
    SeededRandom random_;
    std::unique_ptr<TfrmFourfall> window_;

    std::deque<std::string> recent_;
    std::vector<std::string> faults_;
    std::optional<DroppedInput> dropped_;
    TPosition stepStart_{};
    int searchesThisStep_ = 0;
    bool anyStart_ = false;  // queued actions run one after another
    int searches_ = 0;
    int ended_games_ = 0;
    int blinks_ = 0;
    int resizes_ = 0;
    int posted_inputs_ = 0;
    int keys_ = 0;
};

class WindowSoakTest : public ::testing::TestWithParam<unsigned> {};

TEST_P(WindowSoakTest, RandomUserActionsKeepGameAndWindowSound) {
    for (const char* name : {"FOURFALL_SOAK_STEPS", "FOURFALL_SOAK_SEED"}) {
        ASSERT_TRUE(PositiveFromEnvironment(name, 1))
            << name << " must be a positive whole number, not \"" << std::getenv(name) << '"';
    }
    Soak(GetParam(), *PositiveFromEnvironment("FOURFALL_SOAK_STEPS", kDefaultSteps)).Run();
}

INSTANTIATE_TEST_SUITE_P(Seeds, WindowSoakTest, ::testing::ValuesIn(SoakSeeds()),
                         [](const ::testing::TestParamInfo<unsigned>& test) {
                             return "seed_" + std::to_string(test.param);
                         });

}  // namespace
