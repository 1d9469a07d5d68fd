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
        frame = new TsuiForm(
            window.get(),
            {.caption = "Fourfall", .hasMenu = true, .sizeable = true, .minimumSize = {300, 300}});
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

// Window-system events (a new geometry, a state) arrive through the event loop.
template <typename Condition>
bool Eventually(Condition condition) {
    for (int i = 0; i < 200 && !condition(); ++i) QTest::qWait(5);
    return condition();
}

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
    EXPECT_TRUE(m.window->windowState() & Qt::WindowMaximized);
    // The window manager decides the exact area (a compositor's panel may take a
    // strip of it); it fills the screen's width at least.
    EXPECT_TRUE(Eventually([&] {
        return m.window->width() == screen.width() && screen.contains(m.window->geometry());
    }));

    QTest::mouseDClick(m.frame, Qt::LeftButton, {}, QPoint(200, 10));
    EXPECT_FALSE(m.frame->IsMaximized());
    EXPECT_EQ(m.window->windowState(), Qt::WindowNoState);
    EXPECT_TRUE(Eventually([&] { return m.window->geometry() == normal; }));

    // A double click below the title bar is not on the title.
    QTest::mouseDClick(m.frame, Qt::LeftButton, {}, QPoint(200, 100));
    EXPECT_FALSE(m.frame->IsMaximized());
}

// A taskbar, a shortcut or wmctrl change the window state from outside; the frame's
// button, outline and edges follow, and its restore undoes the outside maximise.
TEST(SkinFrame, FollowsWindowStatesChangedFromOutside) {
    MainWindow m;
    const QRect normal = m.window->geometry();
    auto* maximise = m.frame->TitleButton(TitleButtonKind::Maximize);
    const QImage maximiseGlyph = maximise->grab().toImage();

    for (Qt::WindowState outside : {Qt::WindowMaximized, Qt::WindowFullScreen}) {
        SCOPED_TRACE(outside == Qt::WindowMaximized ? "maximised" : "full screen");
        m.window->setWindowState(outside);
        ASSERT_TRUE(Eventually([&] { return m.window->geometry() != normal; }));
        EXPECT_TRUE(m.frame->IsMaximized());
        EXPECT_TRUE(m.window->mask().isEmpty());
        EXPECT_NE(maximise->grab().toImage(), maximiseGlyph);
        EXPECT_EQ(m.frame->EdgesAt(QPoint(1, 1)), Qt::Edges());

        // One click restores, as the button's picture promises.
        maximise->click();
        EXPECT_FALSE(m.frame->IsMaximized());
        EXPECT_TRUE(Eventually([&] { return m.window->geometry() == normal; }));
        EXPECT_FALSE(m.window->mask().isEmpty());
        EXPECT_EQ(maximise->grab().toImage(), maximiseGlyph);
    }

    // A restore from outside after the skin's own maximise.
    maximise->click();
    ASSERT_TRUE(Eventually([&] { return m.window->geometry() != normal; }));
    m.window->showNormal();
    EXPECT_FALSE(m.frame->IsMaximized());
    EXPECT_TRUE(Eventually([&] { return m.window->geometry() == normal; }));
    EXPECT_EQ(maximise->grab().toImage(), maximiseGlyph);
}

TEST(SkinFrame, MinimiseButtonMinimisesThroughTheWindowState) {
    MainWindow m;
    m.frame->TitleButton(TitleButtonKind::Minimize)->click();
    EXPECT_TRUE(m.window->windowState() & Qt::WindowMinimized);
    EXPECT_FALSE(m.frame->IsMaximized());
}

// The window manager learns the limits from the size hints, so it keeps them even
// when it resizes the window by itself; the skin's own edges keep them too.
TEST(SkinFrame, SizeableWindowHintsItsSmallestAndLargestSize) {
    MainWindow m;
    EXPECT_EQ(m.window->minimumSize(), QSize(300, 300));
    EXPECT_EQ(m.window->maximumSize(), QSize(kMaximumWindowSide, kMaximumWindowSide));
    EXPECT_GE(kMaximumWindowSide, 7680);

    // Far larger than any screen: refused, so the backing store stays bounded.
    m.window->resize(32767, 32767);
    EXPECT_EQ(m.window->size(), QSize(kMaximumWindowSide, kMaximumWindowSide));
    m.window->resize(646, 566);

    struct Row {
        QPoint from, to;  // window coordinates on the edge, and where the pointer goes
        QSize expected;
    } rows[] = {
        {{645, 300}, {-2000, 300}, {300, 566}},                 // right edge far past the left one
        {{300, 565}, {300, -2000}, {646, 300}},                 // bottom edge far past the top
        {{642, 562}, {-900, -900}, {300, 300}},                 // the corner, up and left
        {{645, 300}, {20000, 300}, {kMaximumWindowSide, 566}},  // far out to the right
    };
    for (const Row& r : rows) {
        m.window->resize(646, 566);
        QApplication::processEvents();
        QWidget* edge = m.window->childAt(r.from);
        ASSERT_NE(edge, nullptr) << r.from.x() << "," << r.from.y() << " " << m.window->width();
        const auto at = [&](QPoint p) { return edge->mapFrom(m.window.get(), p); };
        QTest::mousePress(edge, Qt::LeftButton, {}, at(r.from));
        QTest::mouseMove(edge, at(r.to));
        QTest::mouseRelease(edge, Qt::LeftButton, {}, at(r.to));
        EXPECT_EQ(m.window->size(), r.expected) << r.to.x() << "," << r.to.y();
    }

    // A window that cannot be resized keeps the fixed size its owner gave it.
    AboutWindow a;
    EXPECT_EQ(a.window->minimumSize(), QSize(0, 0));
}

TEST(SkinFrame, TitleBarDimsWhileTheWindowIsInactive) {
    MainWindow m;
    AboutWindow other;
    const QPoint middle(m.window->width() / 2, 12);
    const auto titleAt = [&] { return m.frame->grab().toImage().pixelColor(middle); };

    QApplication::setActiveWindow(m.window.get());
    ASSERT_TRUE(Eventually([&] { return m.frame->TitleActive(); }));
    const QColor active = titleAt();
    QApplication::setActiveWindow(other.window.get());
    ASSERT_TRUE(Eventually([&] { return !m.frame->TitleActive(); }));
    const QColor inactive = titleAt();
    // Washed out: lighter and less saturated than the active blue.
    EXPECT_GT(inactive.lightness(), active.lightness());
    EXPECT_LT(inactive.hsvSaturation(), active.hsvSaturation());
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

    // No slip: once the pointer has travelled far enough to count as a drag, the
    // window has moved by the whole distance from the press.
    const QPoint before = m.window->pos();
    const int step = QApplication::startDragDistance() + 2;
    QTest::mousePress(m.frame, Qt::LeftButton, {}, QPoint(200, 10));
    QTest::mouseMove(m.frame, QPoint(200 + step, 10));
    EXPECT_EQ(m.window->pos(), before + QPoint(step, 0));
    QTest::mouseRelease(m.frame, Qt::LeftButton, {}, QPoint(200 + step, 10));
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
