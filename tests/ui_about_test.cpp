#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QPlainTextEdit>
#include <QScreen>
#include <QTest>
#include <QTimer>
#include <QWindow>
#include <functional>

#include "platform/skin/sui_controls.h"
#include "platform/skin/sui_form.h"
#include "ui/About.h"
#include "ui/DebugUnit.h"

namespace {

const QColor kNavy(0, 0, 128), kPurple(128, 0, 128), kBlue(0, 0, 255);

QColor LinkColor(const TAboutBox& box) {
    return box.URLLabel->palette().color(QPalette::WindowText);
}

struct AboutFixture : ::testing::Test {
    std::vector<QUrl> opened;
    std::unique_ptr<TAboutBox> box;

    AboutFixture() {
        TAboutBox::SetUrlOpener([this](const QUrl& url) { opened.push_back(url); });
        box = std::make_unique<TAboutBox>();
    }
    ~AboutFixture() override { TAboutBox::SetUrlOpener({}); }

    // Shows the box modally, runs `whileShown` inside its loop, and returns the box's
    // result. A box that stays open is closed after a while so the test fails, not hangs.
    int ShowModalAnd(std::function<void()> whileShown) {
        QTimer act, guard;
        act.setSingleShot(true);
        guard.setSingleShot(true);
        QObject::connect(&act, &QTimer::timeout, [&] { whileShown(); });
        QObject::connect(&guard, &QTimer::timeout, [&] {
            ADD_FAILURE() << "the About box stayed open";
            box->done(99);
        });
        act.start(0);
        guard.start(5000);
        return box->ShowModal();
    }

    QWidget* KeyTarget() const { return box->focusWidget() ? box->focusWidget() : box.get(); }
};

TEST_F(AboutFixture, LayoutAndVersionText) {
    // The version comes from the build; the design has 0.1.
    EXPECT_EQ(VersionText, "0.1");
    EXPECT_EQ(box->size(), QSize(236, 200));
    EXPECT_EQ(box->suiForm1->Caption(), "About");
    EXPECT_EQ(box->suiForm1->MenuBarHeight(), 0);
    EXPECT_EQ(box->Panel1->geometry(), QRect(8, 34, 217, 119));
    EXPECT_EQ(box->OKButton->geometry(), QRect(79, 168, 75, 25));
    EXPECT_TRUE(box->OKButton->isDefault());
    EXPECT_EQ(box->ProductName->text(), "Fourfall");
    EXPECT_EQ(box->URLLabel->width(), 137);
    EXPECT_TRUE(box->URLLabel->font().underline());
    EXPECT_FALSE(box->ProgramIcon->pixmap().isNull());
    for (int showing = 0; showing < 2; ++showing) {
        const int result = ShowModalAnd([&] {
            EXPECT_EQ(box->lblVersion->text(), "Version: 0.1");
            EXPECT_EQ(QApplication::activeModalWidget(), box.get());
            box->OKButton->click();
        });
        EXPECT_EQ(result, TAboutBox::kResultOk);
    }
}

TEST_F(AboutFixture, LinkTurnsPurpleWhilePressedAndBlueForGoodAfterRelease) {
    EXPECT_EQ(LinkColor(*box), kNavy);
    QTest::mousePress(box->URLLabel, Qt::LeftButton);
    EXPECT_EQ(LinkColor(*box), kPurple);
    EXPECT_TRUE(opened.empty());
    QTest::mouseRelease(box->URLLabel, Qt::LeftButton);
    EXPECT_EQ(LinkColor(*box), kBlue);
    ASSERT_EQ(opened.size(), 1u);
    EXPECT_EQ(opened[0], QUrl(kWebAddress));

    // The right button works as the left one, and each release opens the page once.
    QTest::mousePress(box->URLLabel, Qt::RightButton);
    EXPECT_EQ(LinkColor(*box), kPurple);
    QTest::mouseRelease(box->URLLabel, Qt::RightButton);
    EXPECT_EQ(LinkColor(*box), kBlue);
    EXPECT_EQ(opened.size(), 2u);

    // The colour is kept across showings.
    ShowModalAnd([&] { box->OKButton->click(); });
    ShowModalAnd([&] {
        EXPECT_EQ(LinkColor(*box), kBlue);
        box->OKButton->click();
    });
    EXPECT_EQ(opened.size(), 2u);
}

TEST_F(AboutFixture, OkEnterAndCloseButtonGiveTheirResultsAndEscapeIsIgnored) {
    struct Row {
        const char* how;
        std::function<void()> close;
        int result;
    } rows[] = {
        {"OK", [&] { QTest::mouseClick(box->OKButton, Qt::LeftButton); }, TAboutBox::kResultOk},
        {"Enter", [&] { QTest::keyClick(KeyTarget(), Qt::Key_Return); }, TAboutBox::kResultOk},
        {"close button", [&] { box->suiForm1->TitleButton(TitleButtonKind::Close)->click(); },
         TAboutBox::kResultCancel},
        {"Escape, then OK",
         [&] {
             QTest::keyClick(KeyTarget(), Qt::Key_Escape);
             EXPECT_TRUE(box->isVisible()) << "Escape closed the box";
             box->OKButton->click();
         },
         TAboutBox::kResultOk},
    };
    for (const Row& r : rows) {
        EXPECT_EQ(ShowModalAnd(r.close), r.result) << r.how;
        EXPECT_FALSE(box->isVisible()) << r.how;
    }
}

// The box is made without a parent, as the program entry makes it, yet it belongs to
// the main window it is opened from: transient for it and blocking it, while still
// centred on the screen rather than on that window.
TEST_F(AboutFixture, IsTransientForAndModalToTheMainWindowAndCentredOnTheScreen) {
    QWidget main;
    main.setGeometry(10, 10, 400, 300);
    main.show();
    QApplication::setActiveWindow(&main);
    ShowModalAnd([&] {
        ASSERT_NE(box->windowHandle(), nullptr);
        EXPECT_EQ(box->windowHandle()->transientParent(), main.windowHandle());
        EXPECT_TRUE(QApplication::activeModalWidget() == box.get());
        EXPECT_NE(box->windowModality(), Qt::NonModal);
        const QRect screen = QApplication::primaryScreen()->availableGeometry();
        EXPECT_LE((box->geometry().center() - screen.center()).manhattanLength(), 1);
        box->OKButton->click();
    });
}

TEST_F(AboutFixture, LinkCaptionNamesTheSiteItOpens) {
    EXPECT_TRUE(box->URLLabel->text().contains(QUrl(kWebAddress).host()));
}

TEST(DebugWindow, IsNeverShownAndItsMemoStaysEmpty) {
    TfrmDebug debug;
    EXPECT_EQ(debug.windowTitle(), "frmDebug");
    QApplication::processEvents();
    EXPECT_FALSE(debug.isVisible());
    EXPECT_TRUE(debug.Memo1->toPlainText().isEmpty());
    EXPECT_FALSE(debug.Memo1->isReadOnly());
}

}  // namespace
