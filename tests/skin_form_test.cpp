#include <gtest/gtest.h>

#include <QApplication>
#include <QMenu>
#include <QScreen>
#include <QTest>
#include <memory>

#include "platform/skin/sui_form.h"
#include "platform/skin/sui_main_menu.h"

namespace {

// A main window of the stored size with its frame, a side panel and a board panel
// placed under the bars, as the game's window lays them out.
struct MainWindow {
    std::unique_ptr<QWidget> window = std::make_unique<QWidget>();
    TsuiForm* frame;
    QWidget* board;
    QWidget* side;

    MainWindow() {
        window->resize(646, 566);
        frame =
            new TsuiForm(window.get(), {.caption = "Fourfall", .hasMenu = true, .sizeable = true});
        board = new QWidget(frame);
        board->setGeometry(0, 47, 461, 519);
        side = new QWidget(frame);
        side->setGeometry(461, 47, 185, 519);
        window->show();
        QApplication::processEvents();
    }
};

struct AboutWindow {
    std::unique_ptr<QWidget> window = std::make_unique<QWidget>();
    TsuiForm* frame;

    AboutWindow() {
        window->resize(236, 200);
        frame = new TsuiForm(
            window.get(),
            {.caption = "About", .buttons = {TitleButtonKind::ControlBox, TitleButtonKind::Close}});
        window->show();
        QApplication::processEvents();
    }
};

QAction* WindowMenuAction(TsuiForm* frame, const char* name) {
    for (QAction* a : frame->WindowMenu()->actions()) {
        if (a->objectName() == name) return a;
    }
    return nullptr;
}

TEST(SkinFrame, MainWindowBarsLeaveTheControlsAtTheirStoredPlaces) {
    MainWindow m;
    EXPECT_TRUE(m.window->windowFlags() & Qt::FramelessWindowHint);
    EXPECT_EQ(m.window->size(), QSize(646, 566));
    EXPECT_EQ(m.frame->geometry(), QRect(0, 0, 646, 566));
    EXPECT_EQ(m.frame->TitleBarHeight(), 25);
    EXPECT_EQ(m.frame->MenuBarHeight(), 22);
    EXPECT_EQ(m.frame->ClientTop(), 47);
    ASSERT_NE(m.frame->Menu(), nullptr);
    EXPECT_EQ(m.frame->Menu()->geometry(), QRect(3, 25, 640, 22));
    EXPECT_EQ(m.board->geometry(), QRect(0, 47, 461, 519));
    EXPECT_EQ(m.side->geometry(), QRect(461, 47, 185, 519));
    EXPECT_EQ(m.window->windowTitle(), "Fourfall");

    m.window->resize(1200, 900);
    QApplication::processEvents();
    EXPECT_EQ(m.frame->geometry(), QRect(0, 0, 1200, 900));
    EXPECT_EQ(m.frame->Menu()->geometry(), QRect(3, 25, 1194, 22));
}

TEST(SkinFrame, ControlBoxAtTheLeftOthersFromTheRightCloseOutermost) {
    MainWindow m;
    QAbstractButton* box = m.frame->TitleButton(TitleButtonKind::ControlBox);
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(box->size(), QSize(21, 21));
    EXPECT_LT(box->x(), m.frame->CaptionRect().left());
    const TitleButtonKind fromRight[] = {TitleButtonKind::Close, TitleButtonKind::Maximize,
                                         TitleButtonKind::Minimize};
    int previousX = m.window->width();
    for (TitleButtonKind kind : fromRight) {
        QAbstractButton* b = m.frame->TitleButton(kind);
        ASSERT_NE(b, nullptr);
        EXPECT_EQ(b->size(), QSize(21, 21));
        EXPECT_LT(b->geometry().right(), previousX);
        EXPECT_GT(b->x(), m.frame->CaptionRect().right());
        EXPECT_LE(b->geometry().bottom(), m.frame->TitleBarHeight() - 1);
        previousX = b->x();
    }

    AboutWindow a;
    EXPECT_EQ(a.frame->MenuBarHeight(), 0);
    EXPECT_EQ(a.frame->ClientTop(), 25);
    EXPECT_EQ(a.frame->Menu(), nullptr);
    EXPECT_NE(a.frame->TitleButton(TitleButtonKind::Close), nullptr);
    EXPECT_EQ(a.frame->TitleButton(TitleButtonKind::Maximize), nullptr);
    EXPECT_EQ(a.frame->TitleButton(TitleButtonKind::Minimize), nullptr);
}

TEST(SkinFrame, OutlineIsRoundedAtTheCornersUnlessMaximised) {
    MainWindow m;
    const QRegion mask = m.window->mask();
    for (QPoint corner : {QPoint(0, 0), QPoint(645, 0), QPoint(0, 565), QPoint(645, 565),
                          QPoint(1, 1), QPoint(644, 564)}) {
        EXPECT_FALSE(mask.contains(corner)) << corner.x() << "," << corner.y();
    }
    for (QPoint inside : {QPoint(6, 0), QPoint(0, 6), QPoint(3, 3), QPoint(639, 0),
                          QPoint(323, 283), QPoint(642, 562)}) {
        EXPECT_TRUE(mask.contains(inside)) << inside.x() << "," << inside.y();
    }
    m.frame->ToggleMaximized();
    EXPECT_TRUE(m.window->mask().isEmpty());
}

TEST(SkinFrame, BorderStaysAboveControlsAddedLater) {
    MainWindow m;
    auto* late = new QWidget(m.window.get());
    late->setGeometry(0, 47, 646, 519);
    late->show();
    QApplication::processEvents();
    // On the border the frame's edge is hit, inside it the control.
    EXPECT_NE(m.window->childAt(1, 300), late);
    EXPECT_NE(m.window->childAt(644, 300), late);
    EXPECT_NE(m.window->childAt(300, 564), late);
    EXPECT_EQ(m.window->childAt(300, 300), late);
}

TEST(SkinFrame, MaximiseButtonAndDoubleClickToggleTheWindowSize) {
    MainWindow m;
    const QRect normal = m.window->geometry();
    const QRect screen = m.window->screen()->availableGeometry();
    m.frame->TitleButton(TitleButtonKind::Maximize)->click();
    EXPECT_TRUE(m.frame->IsMaximized());
    EXPECT_EQ(m.window->geometry(), screen);

    QTest::mouseDClick(m.frame, Qt::LeftButton, {}, QPoint(200, 10));
    EXPECT_FALSE(m.frame->IsMaximized());
    EXPECT_EQ(m.window->geometry(), normal);

    // A double click below the title bar is not on the title.
    QTest::mouseDClick(m.frame, Qt::LeftButton, {}, QPoint(200, 100));
    EXPECT_FALSE(m.frame->IsMaximized());
}

TEST(SkinFrame, CloseButtonClosesTheWindow) {
    MainWindow m;
    m.frame->TitleButton(TitleButtonKind::Close)->click();
    EXPECT_FALSE(m.window->isVisible());
}

TEST(SkinFrame, DraggingTheTitleBarMovesTheWindow) {
    MainWindow m;
    m.window->move(100, 100);
    QApplication::processEvents();
    const QPoint start = m.window->pos();
    QTest::mousePress(m.frame, Qt::LeftButton, {}, QPoint(200, 10));
    QTest::mouseMove(m.frame, QPoint(240, 30));
    QTest::mouseRelease(m.frame, Qt::LeftButton, {}, QPoint(240, 30));
    EXPECT_EQ(m.window->pos(), start + QPoint(40, 20));
    EXPECT_EQ(m.window->size(), QSize(646, 566));
}

TEST(SkinFrame, EdgesResizeOnlyASizeableWindow) {
    MainWindow m;
    QWidget* edge = m.window->childAt(645, 300);
    ASSERT_NE(edge, nullptr);
    QTest::mousePress(edge, Qt::LeftButton, {}, edge->mapFrom(m.window.get(), QPoint(645, 300)));
    QTest::mouseMove(edge, edge->mapFrom(m.window.get(), QPoint(695, 300)));
    QTest::mouseRelease(edge, Qt::LeftButton, {}, edge->mapFrom(m.window.get(), QPoint(695, 300)));
    EXPECT_EQ(m.window->size(), QSize(696, 566));

    AboutWindow a;
    EXPECT_EQ(a.frame->EdgesAt(QPoint(235, 100)), Qt::Edges());
    EXPECT_EQ(m.frame->EdgesAt(QPoint(1, 1)), Qt::LeftEdge | Qt::TopEdge);
    EXPECT_EQ(m.frame->EdgesAt(QPoint(300, 300)), Qt::Edges());
}

TEST(SkinFrame, WindowMenuOffersWhatTheWindowCanDo) {
    MainWindow m;
    AboutWindow a;
    struct Row {
        TsuiForm* frame;
        bool maximised;
        const char* name;
        bool enabled;
    } rows[] = {
        {m.frame, false, "restore", false},  {m.frame, false, "move", true},
        {m.frame, false, "size", true},      {m.frame, false, "minimise", true},
        {m.frame, false, "maximise", true},  {m.frame, false, "close", true},
        {m.frame, true, "restore", true},    {m.frame, true, "move", false},
        {m.frame, true, "maximise", false},  {a.frame, false, "size", false},
        {a.frame, false, "minimise", false}, {a.frame, false, "maximise", false},
        {a.frame, false, "move", true},      {a.frame, false, "close", true},
    };
    for (const Row& r : rows) {
        if (r.frame->IsMaximized() != r.maximised) r.frame->ToggleMaximized();
        r.frame->WindowMenu()->popup(QPoint(0, 0));
        QApplication::processEvents();
        r.frame->WindowMenu()->hide();
        QAction* action = WindowMenuAction(r.frame, r.name);
        ASSERT_NE(action, nullptr) << r.name;
        EXPECT_EQ(action->isEnabled(), r.enabled) << r.name << " maximised " << r.maximised;
    }
    EXPECT_EQ(m.frame->WindowMenu()->defaultAction(), WindowMenuAction(m.frame, "close"));

    WindowMenuAction(a.frame, "close")->trigger();
    EXPECT_FALSE(a.window->isVisible());
}

}  // namespace
