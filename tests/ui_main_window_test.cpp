// The main window on the offscreen platform: start-up, the user's input, the
// computer's answers, resizing, missing images and the blinking four.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QMenu>
#include <QMouseEvent>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QWheelEvent>
#include <QWindow>
#include <filesystem>
#include <fstream>
#include <memory>

#include "engine/evaluate.h"
#include "engine/search.h"
#include "game_test_support.h"
#include "platform/application.h"
#include "platform/paint_box.h"
#include "platform/skin/sui_controls.h"
#include "platform/skin/sui_form.h"
#include "ui/About.h"
#include "ui/MainUnit.h"
#include "ui/board_geometry.h"
#include "ui/column_marker.h"

namespace {

namespace fs = std::filesystem;
using game_test::ScriptedClock;
using game_test::ScriptedRandom;

struct Message {
    TMessageKind kind;
    std::string caption, text;
};

// Runs in `dir` while it lives, and goes back to where it was afterwards.
class CurrentDir {
  public:
    explicit CurrentDir(const fs::path& dir) : saved_(fs::current_path()) { fs::current_path(dir); }
    ~CurrentDir() { fs::current_path(saved_); }

  private:
    fs::path saved_;
};

class MainWindowTest : public ::testing::Test {
  protected:
    ScriptedClock clock;
    ScriptedRandom random;
    std::vector<Message> messages;
    std::unique_ptr<TfrmFourfall> window;
    int searches = 0;
    // Runs inside each search, before the engine, standing in for what the
    // user does while the computer thinks.
    std::function<void()> duringSearch;

    MainWindowTest() {
        SetMessageSink(
            [this](TMessageKind kind, const std::string& caption, const std::string& text) {
                messages.push_back({kind, caption, text});
            });
    }
    ~MainWindowTest() override {
        window.reset();
        SetMessageSink({});
    }

    // Makes and shows the window with the images of `dir` (the repository's
    // by default), with the level box's search at the level it shows.
    void Open(const fs::path& dir = FOURFALL_SOURCE_DIR) {
        CurrentDir here(dir);
        window = std::make_unique<TfrmFourfall>(TGameServices{&clock, &random});
        frmFourfall = window.get();
        window->Timer1->stop();  // blinks are started by hand below
        window->Game.Search = [this](TPosition& position, int level) {
            ++searches;
            if (duringSearch) duringSearch();
            return SearchRoot(position, level);
        };
        window->show();
        QApplication::processEvents();
    }

    // A left click in the middle of a column of the board as it is shown.
    void ClickColumn(int column) {
        const int W = window->Bitmaps.bmpBoard->Width();
        const int x =
            BoardOffset(window->pboxMain->Width(), W) + CellLeft(W, column) + CellTileSize(W) / 2;
        QTest::mouseClick(window->pboxMain, Qt::LeftButton, {}, QPoint(x, 200));
    }

    // The user picks an item of a combo box with the keyboard.
    static void Pick(QComboBox* box, int index) {
        while (box->currentIndex() < index) QTest::keyClick(box, Qt::Key_Down);
        while (box->currentIndex() > index) QTest::keyClick(box, Qt::Key_Up);
    }

    QStringList Memo() const { return window->memoThink->Lines(); }
    const TPosition& Position() const { return window->Game.Position; }

    // The colour at the middle of a cell of the composed board.
    TColor CellCentre(int column, int row) const {
        const int W = window->Bitmaps.bmpBoard->Width();
        const int half = CellTileSize(W) / 2;
        return window->Bitmaps.bmpBoard->Pixel(CellLeft(W, column) + half, CellTop(W, row) + half);
    }
    TColor TileCentre(const TBitmap& tile) const {
        return tile.Pixel(tile.Width() / 2, tile.Height() / 2);
    }
};

TEST_F(MainWindowTest, StartsWithTheDefaultsAndNoComputerMove) {
    Open();
    QSignalSpy colourPicks(window->cboxColour, &QComboBox::activated);
    QSignalSpy outputPicks(window->cboxThinkOutput, &QComboBox::activated);
    EXPECT_EQ(window->cboxLevel->currentText(), "4");
    EXPECT_EQ(window->cboxColour->currentText(), "Red");
    EXPECT_EQ(window->cboxThinkOutput->currentText(), "Chatterbox");
    EXPECT_EQ(Memo(), (QStringList{"", "Let the games begin!"}));
    EXPECT_EQ(window->lblTurn->text(), "Your Move");
    EXPECT_EQ(Position().MoveCount, 0);
    EXPECT_EQ(window->Game.GameState, kInPlay);
    EXPECT_EQ(searches, 0);
    EXPECT_TRUE(messages.empty());

    // Selecting from code, as the defaults are, never starts the computer.
    window->cboxColour->setCurrentIndex(1);
    window->cboxThinkOutput->setCurrentIndex(1);
    QApplication::processEvents();
    EXPECT_EQ(searches, 0);
    EXPECT_EQ(Memo(), (QStringList{"", "Let the games begin!"}));
    EXPECT_EQ(colourPicks.count(), 0);
    EXPECT_EQ(outputPicks.count(), 0);
}

TEST_F(MainWindowTest, StoredLayoutAtTheOpeningSize) {
    Open();
    EXPECT_EQ(window->size(), QSize(646, 566));
    EXPECT_EQ(window->windowTitle(), "Fourfall");
    EXPECT_EQ(window->suiForm1->ClientTop(), 47);
    EXPECT_EQ(window->Panel1->geometry(), QRect(461, 47, 185, 519));
    EXPECT_EQ(window->Panel4->geometry(), QRect(0, 47, 461, 519));
    EXPECT_EQ(window->pboxMain->geometry(), QRect(0, 0, 461, 519));
    EXPECT_EQ(window->GroupBox1->geometry(), QRect(5, 5, 175, 40));
    EXPECT_EQ(window->lblTurn->geometry(), QRect(3, 16, 169, 21));
    EXPECT_EQ(window->GroupBox3->geometry(), QRect(5, 61, 175, 152));
    EXPECT_EQ(window->cboxLevel->geometry(), QRect(80, 16, 89, 22));
    EXPECT_EQ(window->cboxColour->geometry(), QRect(80, 40, 89, 22));
    EXPECT_EQ(window->cboxThinkOutput->geometry(), QRect(80, 64, 89, 22));
    EXPECT_EQ(window->Shape1->geometry(), QRect(32, 98, 113, 1));
    EXPECT_EQ(window->BitBtn1->geometry(), QRect(8, 112, 75, 25));
    EXPECT_EQ(window->BitBtn2->geometry(), QRect(93, 112, 75, 25));
    EXPECT_EQ(window->GroupBox2->geometry(), QRect(5, 229, 175, 285));
    EXPECT_EQ(window->memoThink->geometry(), QRect(3, 16, 169, 266));
    EXPECT_TRUE(window->memoThink->isReadOnly());
    EXPECT_EQ(window->GroupBox2->title(), "Think Output");
    EXPECT_EQ(window->Timer1->interval(), 1000);
    EXPECT_EQ(window->File1->title(), "&File");
    EXPECT_EQ(window->Exit1->text(), "E&xit");
    EXPECT_EQ(window->File1->defaultAction(), window->Exit1);
    EXPECT_EQ(window->About1->text(), "&About");
    QStringList levels;
    for (int i = 0; i < window->cboxLevel->count(); ++i) levels << window->cboxLevel->itemText(i);
    EXPECT_EQ(levels, (QStringList{"1", "2", "3", "4", "5", "6", "7", "8", "9", "10"}));
    EXPECT_EQ(window->cboxThinkOutput->itemText(1), "Search info");
    // The board panel's colour shows around the board.
    const QImage shot = window->grab().toImage();
    EXPECT_EQ(shot.pixelColor(10, 60), QColor(0, 64, 128));
    EXPECT_EQ(window->Bitmaps.bmpBoard->Width(), 414);
    EXPECT_EQ(window->Bitmaps.bmpBoard->Height(), 343);
}

TEST_F(MainWindowTest, AClickDropsTheUsersStoneAndTheComputerAnswers) {
    Open();
    ClickColumn(3);
    EXPECT_EQ(searches, 1);
    EXPECT_EQ(Position().MoveCount, 2);
    EXPECT_EQ(Position().Stones[Red][3], 1);
    EXPECT_NE(window->Game.HistoryCount, 0);
    EXPECT_EQ(window->Game.ComputerSide, Blue);
    EXPECT_EQ(window->lblTurn->text(), "Your Move");
    // The board shows both stones.
    EXPECT_EQ(CellCentre(3, 0), TileCentre(*window->Bitmaps.bmpRedStone));
    int blueStones = 0;
    for (int column = 0; column < kColumns; ++column) {
        if (CellCentre(column, Position().Stones[Blue][column] == 2 ? 1 : 0) ==
            TileCentre(*window->Bitmaps.bmpBlueStone))
            ++blueStones;
    }
    EXPECT_EQ(blueStones, 1);
}

TEST_F(MainWindowTest, NewGameAsBlueLetsTheComputerOpen) {
    Open();
    ClickColumn(0);
    window->cboxColour->setCurrentIndex(1);  // from code: nothing happens yet
    EXPECT_EQ(searches, 1);
    QTest::mouseClick(window->BitBtn1, Qt::LeftButton);
    EXPECT_EQ(searches, 2);
    EXPECT_EQ(Position().MoveCount, 1);
    EXPECT_EQ(window->Game.ComputerSide, Red);
    EXPECT_EQ(Position().SideToMove, Blue);
    EXPECT_EQ(window->Game.HistoryCount, 1);
}

TEST_F(MainWindowTest, PickingTheOtherColourMidGameHandsItToTheComputer) {
    Open();
    ClickColumn(2);
    ASSERT_EQ(Position().MoveCount, 2);
    Pick(window->cboxColour, 1);  // the user now plays Blue; Red is to move
    EXPECT_EQ(searches, 2);
    EXPECT_EQ(Position().MoveCount, 3);
    EXPECT_EQ(window->Game.ComputerSide, Red);
    Pick(window->cboxColour, 0);  // back to Red while Blue is to move
    EXPECT_EQ(searches, 3);
    EXPECT_EQ(Position().MoveCount, 4);
    EXPECT_EQ(window->Game.ComputerSide, Blue);
    // Picking the colour that is to move does nothing.
    ASSERT_EQ(Position().SideToMove, Red);
    window->cboxColour->setCurrentIndex(1);
    Pick(window->cboxColour, 0);
    EXPECT_EQ(searches, 3);
    EXPECT_EQ(Position().MoveCount, 4);
}

TEST_F(MainWindowTest, ThinkOutputPickResetsTheMemo) {
    Open();
    Pick(window->cboxThinkOutput, 1);
    EXPECT_TRUE(Memo().isEmpty());
    ClickColumn(3);
    ASSERT_EQ(Memo().size(), 4);
    EXPECT_TRUE(Memo()[1].startsWith("Score: "));
    Pick(window->cboxThinkOutput, 0);
    EXPECT_EQ(Memo(), (QStringList{"", "Let the games begin!"}));
}

TEST_F(MainWindowTest, TakeBackRemovesTheUsersMoveAndTheReply) {
    Open();
    ClickColumn(1);
    ClickColumn(1);
    ASSERT_EQ(Position().MoveCount, 4);
    QTest::mouseClick(window->BitBtn2, Qt::LeftButton);
    EXPECT_EQ(Position().MoveCount, 2);
    EXPECT_EQ(window->Game.HistoryCount, 2);
    QTest::mouseClick(window->BitBtn2, Qt::LeftButton);
    EXPECT_EQ(Position().MoveCount, 0);
    EXPECT_EQ(searches, 2);  // Take Back never starts the computer
    for (int column = 0; column < kColumns; ++column)
        EXPECT_EQ(CellCentre(column, 0), TileCentre(*window->Bitmaps.bmpHole));
}

TEST_F(MainWindowTest, ClicksMadeWhileTheComputerThinksAreDropped) {
    Open();
    // While the search runs, the user clicks on the board and on Take Back;
    // the window system delivers those clicks only after the search.
    duringSearch = [this] {
        const QPoint at(40, 200);
        const QPointF global = window->pboxMain->mapToGlobal(QPointF(at));
        QCoreApplication::postEvent(
            window->pboxMain, new QMouseEvent(QEvent::MouseButtonPress, QPointF(at), global,
                                              Qt::LeftButton, Qt::LeftButton, Qt::NoModifier));
        QCoreApplication::postEvent(window->pboxMain,
                                    new QMouseEvent(QEvent::MouseButtonRelease, QPointF(at), global,
                                                    Qt::LeftButton, Qt::NoButton, Qt::NoModifier));
        const QPointF inButton(10, 10);
        QCoreApplication::postEvent(
            window->BitBtn2, new QMouseEvent(QEvent::MouseButtonPress, inButton,
                                             window->BitBtn2->mapToGlobal(inButton), Qt::LeftButton,
                                             Qt::LeftButton, Qt::NoModifier));
        QCoreApplication::postEvent(
            window->BitBtn2, new QMouseEvent(QEvent::MouseButtonRelease, inButton,
                                             window->BitBtn2->mapToGlobal(inButton), Qt::LeftButton,
                                             Qt::NoButton, Qt::NoModifier));
    };
    ClickColumn(3);
    QApplication::processEvents();
    EXPECT_EQ(searches, 1);
    EXPECT_EQ(Position().MoveCount, 2);
    EXPECT_EQ(window->Game.HistoryCount, 2);
    EXPECT_EQ(Position().Stones[Red][0] | Position().Stones[Blue][0],
              window->Game.History[1].Stones[Red][0] | window->Game.History[1].Stones[Blue][0]);

    // Once the computer has moved, the window takes clicks again.
    duringSearch = nullptr;
    ClickColumn(6);
    EXPECT_EQ(Position().MoveCount, 4);
    QTest::mouseClick(window->BitBtn2, Qt::LeftButton);
    EXPECT_EQ(Position().MoveCount, 2);
}

TEST_F(MainWindowTest, ClicksQueuedBehindTheClickThatStartsTheComputerAreDropped) {
    Open();
    window->cboxColour->setCurrentIndex(1);  // New Game lets the computer open
    // Two quick clicks on New Game wait in the queue, and then the label
    // changes, as when the user's last stone has won: its relayout and repaint
    // wait behind the clicks, so the computer's turn, started by the first
    // click from inside the queue's delivery, posts nothing new. The second
    // click was made before the search and must not act once the computer
    // has opened.
    for (int click = 0; click < 2; ++click) {
        for (const QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease}) {
            const QPointF at(10, 10);
            QCoreApplication::postEvent(
                window->BitBtn1,
                new QMouseEvent(type, at, window->BitBtn1->mapToGlobal(at), Qt::LeftButton,
                                type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton,
                                Qt::NoModifier));
        }
    }
    window->SetTurnText(kYouWonText);
    QApplication::processEvents();
    QApplication::processEvents();
    EXPECT_EQ(searches, 1);
    EXPECT_EQ(Position().MoveCount, 1);
    EXPECT_EQ(window->Game.HistoryCount, 1);
    EXPECT_EQ(Position().SideToMove, Blue);
}

TEST_F(MainWindowTest, TheWindowSnapsBackTo300) {
    Open();
    window->resize(250, 400);
    QApplication::processEvents();
    EXPECT_EQ(window->size(), QSize(300, 400));
    window->resize(300, 120);
    QApplication::processEvents();
    EXPECT_EQ(window->size(), QSize(300, 300));
    window->resize(300, 301);
    QApplication::processEvents();
    EXPECT_EQ(window->size(), QSize(300, 301));
    // The board is scaled for the paint box the smallest window leaves.
    EXPECT_EQ(window->pboxMain->size(), QSize(300 - 185, 301 - 47));
    EXPECT_EQ(window->Bitmaps.bmpBoard->Width(), BoardBitmapWidth(115, 254));
    window->resize(900, 700);
    QApplication::processEvents();
    EXPECT_EQ(window->pboxMain->size(), QSize(715, 653));
    EXPECT_EQ(window->GroupBox2->geometry(), QRect(5, 229, 175, 653 - 229 - 5));
    EXPECT_EQ(window->Bitmaps.bmpBoard->Width(), BoardBitmapWidth(715, 653));
}

TEST_F(MainWindowTest, HelpAboutIsModalAndFileExitCloses) {
    Open();
    // Without an About box the item does nothing.
    window->About1->trigger();
    TAboutBox box;
    AboutBox = &box;
    bool modal = false;
    QTimer::singleShot(0, [&] {
        modal = QApplication::activeModalWidget() == &box;
        box.OKButton->click();
    });
    window->About1->trigger();
    AboutBox = nullptr;
    EXPECT_TRUE(modal);
    EXPECT_FALSE(box.isVisible());

    ClickColumn(3);
    window->Exit1->trigger();
    EXPECT_FALSE(window->isVisible());
}

// A copy of the images in a temporary folder, with one file spoilt.
class BrokenImagesTest : public MainWindowTest {
  protected:
    QTemporaryDir dir;
    fs::path Images() const { return fs::path(dir.path().toStdString()) / "images"; }

    void CopyImages() {
        fs::create_directories(Images());
        for (const char* name : kBoardImageFiles)
            fs::copy_file(fs::path(FOURFALL_SOURCE_DIR) / "images" / name, Images() / name);
    }

    void ExpectReinstallMessageAndClose() {
        ASSERT_EQ(messages.size(), 1u);
        EXPECT_EQ(messages[0].kind, TMessageKind::Information);
        EXPECT_EQ(messages[0].text, "Please re-install Fourfall!");
        // The show handler still set up the game and the defaults.
        EXPECT_EQ(window->lblTurn->text(), "Your Move");
        EXPECT_EQ(window->cboxLevel->currentText(), "4");
        EXPECT_EQ(Memo(), (QStringList{"", "Let the games begin!"}));
        EXPECT_FALSE(window->isVisible());
    }
};

TEST_F(BrokenImagesTest, AMissingImageSaysReinstallOnceAndCloses) {
    CopyImages();
    fs::remove(Images() / "borderB.bmp");
    Open(dir.path().toStdString());
    ExpectReinstallMessageAndClose();
    // The images before it were loaded, the ones after it were not tried.
    EXPECT_EQ(window->Bitmaps.imgBorderR->Width(), 13);
    EXPECT_EQ(window->Bitmaps.imgBorderB->Width(), 0);
    EXPECT_EQ(window->Bitmaps.imgBorderRB->Width(), 0);
    EXPECT_EQ(window->Bitmaps.imgBorderLB->Width(), 0);
}

TEST_F(BrokenImagesTest, ACorruptImageSaysReinstallOnceAndCloses) {
    CopyImages();
    std::ofstream(Images() / "board.bmp", std::ios::trunc) << "BM this is no picture";
    Open(dir.path().toStdString());
    ExpectReinstallMessageAndClose();
    EXPECT_EQ(window->Bitmaps.imgRedStone->Width(), 0);
}

TEST_F(BrokenImagesTest, TheEventLoopEndsAfterTheMessage) {
    Open(dir.path().toStdString());  // no images folder at all
    ASSERT_EQ(messages.size(), 1u);
    // Shown again, as the program's start does, and then the loop runs.
    window = nullptr;
    messages.clear();
    CurrentDir here(dir.path().toStdString());
    window = std::make_unique<TfrmFourfall>(TGameServices{&clock, &random});
    QTimer guard;
    guard.setSingleShot(true);
    QObject::connect(&guard, &QTimer::timeout, [] {
        ADD_FAILURE() << "the event loop kept running";
        QApplication::exit(1);
    });
    guard.start(5000);
    window->show();
    EXPECT_EQ(QApplication::exec(), 0);
    EXPECT_EQ(messages.size(), 1u);
}

// --- The blinking four ------------------------------------------------------

// Red has four in row 0 from column 2 to 5; Blue has three on top.
TPosition RowFour() { return game_test::Played({2, 2, 3, 3, 4, 4, 5}); }

TEST_F(MainWindowTest, TheFourBlinksBlankForItsWaitAndComesBack) {
    Open();
    window->Game.Position = RowFour();
    window->Game.GameState = Red;
    window->PaintBoard();
    std::vector<std::uint32_t> waits;
    const TColor hole = TileCentre(*window->Bitmaps.bmpHole);
    const TColor red = TileCentre(*window->Bitmaps.bmpRedStone);
    const TColor blue = TileCentre(*window->Bitmaps.bmpBlueStone);
    window->FlashWait = [&](std::uint32_t ms) {
        waits.push_back(ms);
        for (int column = 2; column <= 5; ++column) EXPECT_EQ(CellCentre(column, 0), hole);
        EXPECT_EQ(CellCentre(2, 1), blue);
        EXPECT_EQ(CellCentre(4, 1), blue);
    };
    window->Timer1Timer();
    EXPECT_EQ(waits, std::vector<std::uint32_t>{150});
    for (int column = 2; column <= 5; ++column) EXPECT_EQ(CellCentre(column, 0), red);

    // Back in play (New Game, Take Back), the next tick does nothing.
    window->Game.GameState = kInPlay;
    window->Timer1Timer();
    EXPECT_EQ(waits.size(), 1u);
}

TEST_F(MainWindowTest, AFullBoardWithoutFourNeverBlinks) {
    Open();
    TPosition full;
    ClearPosition(full);
    for (int column = 0; column < kColumns; ++column) {
        for (int row = 0; row < kRows; ++row) {
            // Pairs of columns alternate, and each column alternates by row.
            auto& mask = full.Stones[(column / 2 + row) % 2][column];
            mask = static_cast<std::uint8_t>(mask | 1u << row);
        }
        full.NextBit[column] = kFullColumn;
    }
    full.MoveCount = kCells;
    ASSERT_FALSE(HasFour(full, Red));
    ASSERT_FALSE(HasFour(full, Blue));
    window->Game.Position = full;
    window->Game.GameState = kBoardFull;
    int waits = 0;
    window->FlashWait = [&](std::uint32_t) { ++waits; };
    window->Timer1Timer();
    window->Timer1Timer();
    EXPECT_EQ(waits, 0);
}

TEST_F(MainWindowTest, AWinOnTheScreenEndsTheGameAndTheTimerBlinksIt) {
    Open();
    // The four is set up directly and painted: the paint finds the end. The
    // computer has not played yet, so it counts as Red and Red's four loses.
    window->Game.Position = RowFour();
    window->PaintBoard();
    EXPECT_EQ(window->Game.GameState, Red);
    EXPECT_EQ(window->lblTurn->text(), "You`ve Lost");
    int waits = 0;
    window->FlashWait = [&](std::uint32_t) { ++waits; };
    window->Timer1->setInterval(10);
    window->Timer1->start();
    QTest::qWait(60);
    window->Timer1->stop();
    EXPECT_GE(waits, 1);
    // A click on the board is ignored once the game is over.
    ClickColumn(0);
    EXPECT_EQ(Position().MoveCount, 7);
}

// --- Keyboard play -----------------------------------------------------------

// The user's stone lies in `column`, the computer has answered once.
void ExpectRedInColumnAndAnAnswer(const TPosition& p, int column) {
    EXPECT_EQ(p.MoveCount, 2);
    EXPECT_EQ(p.Stones[Red][column] & 1, 1) << "column " << column;
    int blue = 0;
    for (int c = 0; c < kColumns; ++c) blue += p.Stones[Blue][c] != 0;
    EXPECT_EQ(blue, 1);
}

TEST_F(MainWindowTest, TheLevelBoxHasTheFirstFocusAndDigitsStillPlay) {
    Open();
    ASSERT_EQ(QApplication::focusWidget(), window->cboxLevel);
    // The level box would take "2" as type-ahead; the digit plays instead.
    QTest::keyClick(window->cboxLevel, Qt::Key_2);
    ExpectRedInColumnAndAnAnswer(Position(), 1);
    EXPECT_EQ(window->cboxLevel->currentText(), "4");
    EXPECT_EQ(searches, 1);
}

TEST_F(MainWindowTest, EachDigitPlaysItsColumnFromAnyControl) {
    Open();
    const std::vector<QWidget*> controls = {
        window->cboxLevel,       window->BitBtn1,  window->cboxColour, window->BitBtn2,
        window->cboxThinkOutput, window->pboxMain, window->cboxLevel};
    for (int column = 0; column < kColumns; ++column) {
        SCOPED_TRACE(::testing::Message() << "digit " << column + 1);
        QWidget* control = controls[static_cast<std::size_t>(column)];
        control->setFocus();
        window->Game.NewGame();
        // The keypad's digits count as well.
        const Qt::KeyboardModifiers keypad = column % 2 ? Qt::KeypadModifier : Qt::NoModifier;
        QTest::keyClick(control, static_cast<Qt::Key>(Qt::Key_1 + column), keypad);
        ExpectRedInColumnAndAnAnswer(Position(), column);
        EXPECT_EQ(window->ChosenColumn(), column);
    }
    // An 8, a 0 or a digit with Ctrl play nothing.
    window->Game.NewGame();
    window->pboxMain->setFocus();
    QTest::keyClick(window->pboxMain, Qt::Key_8);
    QTest::keyClick(window->pboxMain, Qt::Key_0);
    QTest::keyClick(window->pboxMain, Qt::Key_3, Qt::ControlModifier);
    EXPECT_EQ(Position().MoveCount, 0);
    EXPECT_EQ(window->cboxLevel->currentText(), "4");
    EXPECT_EQ(window->cboxColour->currentText(), "Red");
}

TEST_F(MainWindowTest, TabReachesTheBoardWhereArrowsChooseAndDropKeysPlay) {
    Open();
    EXPECT_FALSE(window->ColumnMarker()->isVisible());
    // Level, New Game, Colour, Take Back, Think Output, then the board.
    for (int i = 0; i < 5; ++i) QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    ASSERT_EQ(QApplication::focusWidget(), window->pboxMain);
    EXPECT_TRUE(window->ColumnMarker()->isVisible());
    EXPECT_EQ(window->ChosenColumn(), 3);

    struct Step {
        Qt::Key key;
        int chosen;
        int stones;  // on the board afterwards
    };
    const Step steps[] = {
        {Qt::Key_Left, 2, 0},  {Qt::Key_Left, 1, 0},  {Qt::Key_Left, 0, 0},   {Qt::Key_Left, 0, 0},
        {Qt::Key_Down, 0, 2},  {Qt::Key_Right, 1, 2}, {Qt::Key_Return, 1, 4}, {Qt::Key_Right, 2, 4},
        {Qt::Key_Enter, 2, 6}, {Qt::Key_Right, 3, 6}, {Qt::Key_Space, 3, 8},  {Qt::Key_Right, 4, 8},
        {Qt::Key_Right, 5, 8}, {Qt::Key_Right, 6, 8}, {Qt::Key_Right, 6, 8},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(::testing::Message() << "key " << step.key);
        QTest::keyClick(window->pboxMain, step.key);
        EXPECT_EQ(window->ChosenColumn(), step.chosen);
        EXPECT_EQ(Position().MoveCount, step.stones);
        EXPECT_EQ(QApplication::focusWidget(), window->pboxMain);
    }
    for (int column = 0; column <= 3; ++column)
        EXPECT_NE(Position().Stones[Red][column], 0) << "column " << column;
    EXPECT_EQ(window->cboxLevel->currentText(), "4");
}

TEST_F(MainWindowTest, BoardKeysElsewhereKeepTheirControlsMeaning) {
    Open();
    // Down in the level box steps the level, Space on a button presses it.
    QTest::keyClick(window->cboxLevel, Qt::Key_Down);
    EXPECT_EQ(window->cboxLevel->currentText(), "5");
    window->cboxColour->setCurrentIndex(1);  // so New Game lets the computer open
    window->BitBtn1->setFocus();
    QTest::keyClick(window->BitBtn1, Qt::Key_Space);
    EXPECT_EQ(Position().MoveCount, 1);
    EXPECT_EQ(Position().SideToMove, Blue);
    EXPECT_FALSE(window->KeyboardInUse());
    EXPECT_FALSE(window->ColumnMarker()->isVisible());
}

TEST_F(MainWindowTest, TheMarkerSitsAboveTheChosenColumnOffTheBoardBitmap) {
    Open();
    const QImage before = window->Bitmaps.bmpBoard->Image();
    window->pboxMain->setFocus(Qt::TabFocusReason);
    QTest::keyClick(window->pboxMain, Qt::Key_Right);
    QApplication::processEvents();
    TColumnMarker* marker = window->ColumnMarker();
    ASSERT_TRUE(marker->isVisible());
    EXPECT_EQ(marker->parentWidget(), window->pboxMain);

    // Centred over the drawn cells of column 4, wholly in the margin above
    // the board, which starts 88 pixels down at the opening size.
    const int W = window->Bitmaps.bmpBoard->Width();
    const int centre = BoardOffset(461, W) + CellLeft(W, 4) + CellTileSize(W) / 2;
    EXPECT_LE(std::abs(marker->geometry().center().x() - centre), 1);
    EXPECT_LT(marker->geometry().bottom(), 88);
    EXPECT_GT(marker->height(), 4);
    // It shows on screen in its own colour, and the board bitmap is as the
    // board alone draws it.
    const QImage shot = window->pboxMain->grab().toImage();
    EXPECT_EQ(shot.pixelColor(marker->geometry().center().x(), marker->geometry().top() + 2),
              QColor(255, 214, 64));
    EXPECT_EQ(window->Bitmaps.bmpBoard->Image(), before);

    // Clicks on the marker reach the board: the next mouse use plays there
    // and takes the marker away.
    QTest::mouseClick(window->pboxMain, Qt::LeftButton, {}, marker->geometry().center());
    EXPECT_FALSE(marker->isVisible());
    EXPECT_FALSE(window->KeyboardInUse());
    ExpectRedInColumnAndAnAnswer(Position(), 4);

    // The wheel is a mouse use too, and a resize keeps the marker in place.
    QTest::keyClick(window->pboxMain, Qt::Key_Left);
    ASSERT_TRUE(marker->isVisible());
    window->resize(900, 700);
    QApplication::processEvents();
    const int W2 = window->Bitmaps.bmpBoard->Width();
    EXPECT_LE(std::abs(marker->geometry().center().x() -
                       (BoardOffset(715, W2) + CellLeft(W2, 3) + CellTileSize(W2) / 2)),
              1);
    QWheelEvent wheel(QPointF(10, 10), window->pboxMain->mapToGlobal(QPointF(10, 10)), {},
                      QPoint(0, -120), Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(window->pboxMain, &wheel);
    EXPECT_FALSE(marker->isVisible());
}

TEST_F(MainWindowTest, ShortcutsRunTheButtonAndMenuHandlers) {
    Open();
    // The captions carry no shortcut text.
    EXPECT_TRUE(window->Exit1->shortcut().isEmpty());
    EXPECT_TRUE(window->About1->shortcut().isEmpty());

    ClickColumn(2);
    ClickColumn(2);
    ASSERT_EQ(Position().MoveCount, 4);
    QTest::keyClick(window->cboxLevel, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(Position().MoveCount, 2);
    EXPECT_EQ(searches, 2);  // as the button: the computer does not move

    // Ctrl+N as the button: with Blue picked, the computer opens.
    window->cboxColour->setCurrentIndex(1);
    QTest::keyClick(window->cboxColour, Qt::Key_N, Qt::ControlModifier);
    EXPECT_EQ(Position().MoveCount, 1);
    EXPECT_EQ(window->Game.ComputerSide, Red);
    EXPECT_EQ(Memo().size(), 2);
    EXPECT_EQ(searches, 3);

    // F1 opens the About box modally; while it is open the main window's
    // keys do nothing.
    TAboutBox box;
    AboutBox = &box;
    bool modal = false;
    QTimer::singleShot(0, [&] {
        modal = QApplication::activeModalWidget() == &box;
        for (const QKeyCombination keys :
             {QKeyCombination(Qt::Key_4), Qt::CTRL | Qt::Key_N, Qt::CTRL | Qt::Key_Z,
              Qt::CTRL | Qt::Key_Q, QKeyCombination(Qt::Key_F1)}) {
            QTest::keyClick(window->cboxLevel, keys.key(), keys.keyboardModifiers());
        }
        QTest::keyClick(window->pboxMain, Qt::Key_Down);
        box.OKButton->click();
    });
    QTest::keyClick(window->BitBtn2, Qt::Key_F1);
    AboutBox = nullptr;
    EXPECT_TRUE(modal);
    EXPECT_FALSE(box.isVisible());
    EXPECT_EQ(Position().MoveCount, 1);
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(searches, 3);

    // The offscreen platform does not hand the activation back by itself, and
    // the hidden box, being transient for the window, still counts as active.
    window->windowHandle()->requestActivate();
    ASSERT_TRUE(QTest::qWaitFor([&] { return QApplication::activeWindow() == window.get(); }));
    QTest::keyClick(window->cboxLevel, Qt::Key_Q, Qt::ControlModifier);
    EXPECT_FALSE(window->isVisible());
}

TEST_F(MainWindowTest, KeysWhileAMenuIsOpenGoToTheMenu) {
    Open();
    bool open = false;
    QTimer::singleShot(0, [&] {
        QWidget* popup = QApplication::activePopupWidget();
        open = popup != nullptr;
        QTest::keyClick(window->cboxLevel, Qt::Key_4);
        QTest::keyClick(window->cboxLevel, Qt::Key_Z, Qt::ControlModifier);
        if (popup != nullptr) popup->close();
    });
    window->File1->exec(window->mapToGlobal(QPoint(10, 30)));
    EXPECT_TRUE(open);
    EXPECT_EQ(Position().MoveCount, 0);
    EXPECT_EQ(searches, 0);
}

TEST_F(MainWindowTest, KeysAndAccessKeysPressedDuringTheSearchAreDropped) {
    Open();
    ClickColumn(0);
    ASSERT_EQ(Position().MoveCount, 2);
    // While the search runs the user types; the keys are delivered only
    // after it, from the event queue, as the window system would.
    duringSearch = [this] {
        duringSearch = nullptr;
        QMetaObject::invokeMethod(
            window.get(),
            [this] {
                QTest::keyClick(window->cboxLevel, Qt::Key_6);
                QTest::keyClick(window->cboxLevel, Qt::Key_Z, Qt::ControlModifier);
                QTest::keyClick(window->cboxLevel, Qt::Key_N, Qt::ControlModifier);
                QTest::keyClick(window->cboxLevel, Qt::Key_Down);
                QTest::keyClick(window->cboxLevel, Qt::Key_F, Qt::AltModifier);
                QTest::keyClick(window->pboxMain, Qt::Key_Space);
            },
            Qt::QueuedConnection);
    };
    QTest::keyClick(window->cboxLevel, Qt::Key_3);
    QApplication::processEvents();
    EXPECT_EQ(searches, 2);
    EXPECT_EQ(Position().MoveCount, 4);
    EXPECT_EQ(window->cboxLevel->currentText(), "4");
    EXPECT_EQ(QApplication::activePopupWidget(), nullptr) << "a menu opened after the search";

    // Afterwards the keys work again.
    QTest::keyClick(window->cboxLevel, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(Position().MoveCount, 2);
}

TEST_F(MainWindowTest, TheWheelChangesOnlyAFocusedBox) {
    Open();
    auto turn = [](QWidget* box, int delta) {
        QWheelEvent wheel(QPointF(20, 10), box->mapToGlobal(QPointF(20, 10)), {}, QPoint(0, delta),
                          Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(box, &wheel);
    };
    ASSERT_NE(QApplication::focusWidget(), window->cboxColour);
    turn(window->cboxColour, -120);
    turn(window->cboxThinkOutput, -120);
    EXPECT_EQ(window->cboxColour->currentText(), "Red");
    EXPECT_EQ(window->cboxThinkOutput->currentText(), "Chatterbox");
    EXPECT_NE(QApplication::focusWidget(), window->cboxColour);
    EXPECT_EQ(searches, 0);

    // With the focus, the wheel picks as the keys do: Blue, and the
    // computer takes Red.
    window->cboxColour->setFocus();
    turn(window->cboxColour, -120);
    EXPECT_EQ(window->cboxColour->currentText(), "Blue");
    EXPECT_EQ(searches, 1);
    EXPECT_EQ(Position().MoveCount, 1);
}

}  // namespace
