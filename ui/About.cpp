#include "ui/About.h"

#include <QApplication>
#include <QDesktopServices>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QRadialGradient>
#include <QScreen>
#include <QWindow>

#include "platform/skin/skin_theme.h"
#include "platform/skin/sui_controls.h"
#include "platform/skin/sui_form.h"
#include "ui/app_identity.h"

const QString VersionText = QString::fromLatin1(kVersionNumber);
TAboutBox* AboutBox = nullptr;

namespace {

const QColor kLinkNavy(0, 0, 128);
const QColor kLinkPurple(128, 0, 128);
const QColor kLinkBlue(0, 0, 255);
const QColor kBevelShadow(172, 168, 153);
const QColor kBevelLight(255, 255, 255);

TAboutBox::UrlOpener& Opener() {
    static TAboutBox::UrlOpener opener;
    return opener;
}

// A panel with a lowered outer bevel and a raised inner one, which together read as
// a thin groove around the picture and the texts.
class TBevelPanel : public QFrame {
  public:
    using QFrame::QFrame;

  protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        const QRect r = rect().adjusted(0, 0, -1, -1);
        const auto bevel = [&p](const QRect& b, const QColor& topLeft, const QColor& bottomRight) {
            p.setPen(topLeft);
            p.drawLine(b.topLeft(), b.topRight());
            p.drawLine(b.topLeft(), b.bottomLeft());
            p.setPen(bottomRight);
            p.drawLine(b.bottomLeft(), b.bottomRight());
            p.drawLine(b.topRight(), b.bottomRight());
        };
        bevel(r, kBevelShadow, kBevelLight);
        bevel(r.adjusted(1, 1, -1, -1), kBevelLight, kBevelShadow);
    }
};

// The program's picture: a corner of the golden board with a red four on the diagonal,
// drawn at 150 x 150 and scaled down by the label that shows it.
QPixmap ProgramPicture() {
    constexpr int kSize = 150;
    QPixmap pm(kSize, kSize);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);

    const QRectF board(6, 6, kSize - 12, kSize - 12);
    QLinearGradient body(board.topLeft(), board.bottomRight());
    body.setColorAt(0, QColor(252, 212, 80));
    body.setColorAt(1, QColor(200, 140, 20));
    p.setPen(QPen(QColor(140, 95, 10), 3));
    p.setBrush(body);
    p.drawRoundedRect(board, 16, 16);

    // Four by four holes; 'r' and 'b' mark the stones, the red four on the diagonal.
    static const char* const kRows[4] = {"...r", "..rb", ".rbb", "rbrb"};
    const qreal pitch = board.width() / 4;
    const qreal radius = pitch * 0.36;
    for (int row = 0; row < 4; ++row) {
        for (int col = 0; col < 4; ++col) {
            const QPointF c(board.left() + pitch * (col + 0.5), board.top() + pitch * (row + 0.5));
            const char cell = kRows[row][col];
            QRadialGradient stone(c - QPointF(radius / 3, radius / 3), radius * 1.3);
            if (cell == 'r') {
                stone.setColorAt(0, QColor(255, 150, 140));
                stone.setColorAt(0.5, QColor(220, 30, 20));
                stone.setColorAt(1, QColor(140, 0, 0));
            } else if (cell == 'b') {
                stone.setColorAt(0, QColor(170, 200, 255));
                stone.setColorAt(0.5, QColor(30, 60, 210));
                stone.setColorAt(1, QColor(10, 20, 110));
            } else {
                // An empty hole shows the navy of the board area behind it.
                stone.setColorAt(0, QColor(0, 40, 90));
                stone.setColorAt(1, QColor(0, 64, 128));
            }
            p.setPen(QPen(QColor(0, 25, 90), 1.5));
            p.setBrush(stone);
            p.drawEllipse(c, radius, radius);
        }
    }
    return pm;
}

}  // namespace

TAboutBox::TAboutBox(QWidget* owner) : QDialog(owner) {
    setWindowTitle(tr("About"));
    setFixedSize(236, 200);
    setFont(skin::WindowFont());
    setModal(true);

    suiForm1 =
        new TsuiForm(this, TsuiForm::Options{
                               .caption = tr("About"),
                               .buttons = {TitleButtonKind::ControlBox, TitleButtonKind::Close},
                               .hasMenu = false,
                               .sizeable = false,
                           });

    Panel1 = new TBevelPanel(suiForm1);
    Panel1->setGeometry(8, 34, 217, 119);

    ProgramIcon = new QLabel(Panel1);
    ProgramIcon->setGeometry(8, 8, 65, 65);
    ProgramIcon->setScaledContents(true);
    ProgramIcon->setPixmap(ProgramPicture());

    const auto label = [this](const QString& text, int x, int y) {
        auto* l = new QLabel(text, Panel1);
        l->move(x, y);
        l->adjustSize();
        return l;
    };
    ProductName = label(QStringLiteral("Fourfall"), 88, 16);
    lblVersion = label(QString(), 88, 32);
    Copyright = label(QStringLiteral("\u00A9 2026 the Fourfall team"), 88, 56);

    // The caption names the site the link opens, so both come from the one address.
    URLLabel = new QLabel(QStringLiteral("Visit ") + QUrl(QString::fromLatin1(kWebAddress)).host(),
                          Panel1);
    URLLabel->setFont(skin::Font(skin::Face::Window, 8, false, true));
    URLLabel->setWordWrap(true);
    URLLabel->setCursor(Qt::PointingHandCursor);
    URLLabel->setGeometry(32, 96, 137, URLLabel->heightForWidth(137));
    URLLabel->installEventFilter(this);
    SetLinkColor(kLinkNavy);

    OKButton = new TsuiButton(tr("OK"), suiForm1);
    OKButton->setGeometry(79, 168, 75, 25);
    OKButton->setDefault(true);
    connect(OKButton, &QPushButton::clicked, this, &QDialog::accept);

    setTabOrder(Panel1, OKButton);
    OKButton->setFocus();

    lblVersion->setText(QStringLiteral("Version: ") + VersionText);
    lblVersion->adjustSize();
}

int TAboutBox::ShowModal() {
    // The box is made without a parent, so the window system would tie it to the
    // application's hidden leader window; tied to the window it is opened from, the
    // window manager keeps it above that window and treats the two as one.
    if (QWidget* owner = OwnerWindow()) {
        winId();  // the native windows must exist before they can be tied
        owner->winId();
        windowHandle()->setTransientParent(owner->windowHandle());
    }
    return exec() == QDialog::Accepted ? kResultOk : kResultCancel;
}

QWidget* TAboutBox::OwnerWindow() const {
    if (parentWidget()) return parentWidget()->window();
    QWidget* active = QApplication::activeWindow();
    if (active && active != this) return active;
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (w != this && w->isVisible() && !w->isMinimized() && w->windowType() == Qt::Window) {
            return w;
        }
    }
    return nullptr;
}

void TAboutBox::SetUrlOpener(UrlOpener opener) { Opener() = std::move(opener); }

void TAboutBox::URLLabelMouseDown() { SetLinkColor(kLinkPurple); }

void TAboutBox::URLLabelMouseUp() {
    // Whether the desktop managed to open the page is not reported: the link turns
    // blue either way.
    const QUrl url(QString::fromLatin1(kWebAddress));
    if (Opener()) {
        Opener()(url);
    } else {
        QDesktopServices::openUrl(url);
    }
    SetLinkColor(kLinkBlue);
}

void TAboutBox::SetLinkColor(const QColor& color) {
    QPalette pal = URLLabel->palette();
    pal.setColor(QPalette::WindowText, color);
    URLLabel->setPalette(pal);
}

bool TAboutBox::eventFilter(QObject* watched, QEvent* event) {
    if (watched == URLLabel) {
        switch (event->type()) {
            case QEvent::MouseButtonPress:
            case QEvent::MouseButtonDblClick:  // the second press of a double click
                URLLabelMouseDown();
                return true;
            case QEvent::MouseButtonRelease:
                URLLabelMouseUp();
                return true;
            default:
                break;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void TAboutBox::keyPressEvent(QKeyEvent* event) {
    // The box has no cancel button, so Escape leaves it open.
    if (event->key() == Qt::Key_Escape) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

void TAboutBox::showEvent(QShowEvent* event) {
    if (QScreen* screen = QApplication::primaryScreen()) {
        move(screen->availableGeometry().center() - rect().center());
    }
    QDialog::showEvent(event);
}
