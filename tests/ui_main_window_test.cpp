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
#include <filesystem>
#include <fstream>
#include <memory>

#include "engine/evaluate.h"
#include "engine/search.h"
#include "ui/board_geometry.h"
#include "game_test_support.h"
#include "platform/application.h"
#include "platform/paint_box.h"
#include "platform/skin/sui_controls.h"
#include "platform/skin/sui_form.h"
#include "ui/About.h"
#include "ui/MainUnit.h"

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
            full.Stones[(column / 2 + row) % 2][column] |= 1 << row;
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

}  // namespace
