// Renders a sample skinned window, its open File menu, a combo box's list and the About
// box to PNG files. Run it under the offscreen platform or on a real display:
//   QT_QPA_PLATFORM=offscreen fourfall-skindemo /tmp/skin
// With --show it opens the sample window instead, to try the frame by hand.

#include <QAbstractItemView>
#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QMenu>
#include <QTimer>

#include "platform/skin/skin_theme.h"
#include "platform/skin/sui_controls.h"
#include "platform/skin/sui_form.h"
#include "platform/skin/sui_main_menu.h"
#include "ui/About.h"

namespace {

struct Sample {
    QWidget* window;
    TsuiForm* frame;
    QMenu* file;
    TsuiComboBox* level;
};

Sample BuildSample() {
    auto* window = new QWidget;
    window->resize(646, 566);
    window->setFont(skin::WindowFont());
    auto* frame = new TsuiForm(window, {.caption = "Fourfall", .hasMenu = true, .sizeable = true});
    QMenu* file = frame->Menu()->AddMenu("&File");
    QAction* exit = TsuiMainMenu::AddItem(file, "E&xit", [window] { window->close(); });
    file->setDefaultAction(exit);
    QMenu* help = frame->Menu()->AddMenu("&Help");
    TsuiMainMenu::AddItem(help, "&About", [] { AboutBox->ShowModal(); });

    const int top = frame->ClientTop();
    auto* board = new QWidget(frame);
    board->setGeometry(0, top, 461, 519);
    board->setAutoFillBackground(true);
    QPalette pal = board->palette();
    pal.setColor(QPalette::Window, QColor(0, 64, 128));
    board->setPalette(pal);

    auto* side = new QWidget(frame);
    side->setGeometry(461, top, 185, 519);
    side->setAutoFillBackground(true);
    pal.setColor(QPalette::Window, skin::kBtnFace);
    side->setPalette(pal);

    auto* turn = new TsuiGroupBox(side);
    turn->setGeometry(5, 5, 175, 40);
    auto* lblTurn = new QLabel("Your Move", turn);
    lblTurn->setGeometry(3, 16, 169, 21);
    lblTurn->setAlignment(Qt::AlignHCenter);
    lblTurn->setFont(skin::Font(skin::Face::Window, 10, true));
    QPalette black = lblTurn->palette();
    black.setColor(QPalette::WindowText, skin::kWindowText);
    lblTurn->setPalette(black);

    auto* box3 = new TsuiGroupBox(side);
    box3->setGeometry(5, 61, 175, 152);
    const char* labels[] = {"Level:", "Colour:", "Think Output:"};
    const QStringList items[] = {{"1", "2", "3", "4", "5", "6", "7", "8", "9", "10"},
                                 {"Red", "Blue"},
                                 {"Chatterbox", "Search info"}};
    const int current[] = {3, 0, 0};
    TsuiComboBox* level = nullptr;
    for (int i = 0; i < 3; ++i) {
        (new QLabel(labels[i], box3))->move(8, 21 + 24 * i);
        auto* combo = new TsuiComboBox(box3);
        combo->setGeometry(80, 16 + 24 * i, 89, 22);
        combo->addItems(items[i]);
        combo->setCurrentIndex(current[i]);
        if (i == 0) level = combo;
    }
    auto* rule = new QFrame(box3);
    rule->setGeometry(32, 98, 113, 1);
    rule->setStyleSheet("background: black");
    (new TsuiButton("New Game", box3))->setGeometry(8, 112, 75, 25);
    (new TsuiButton("Take Back", box3))->setGeometry(93, 112, 75, 25);

    auto* box2 = new TsuiGroupBox("Think Output", side);
    box2->setGeometry(5, 229, 175, 285);
    auto* memo = new TsuiMemo(box2);
    memo->setGeometry(3, 16, 169, 266);
    memo->SetColor(skin::kBtnFace);
    memo->SetBorderColor(skin::kBtnFace);
    memo->setFont(skin::Font(skin::Face::Window, 8, true));
    memo->AddLine("");
    memo->AddLine("Let the games begin!");
    return {window, frame, file, level};
}

void Save(QWidget* widget, const QString& path) {
    widget->grab().save(path);
    qInfo("wrote %s", qPrintable(path));
}

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const QStringList args = app.arguments();
    AboutBox = new TAboutBox;
    Sample sample = BuildSample();

    if (args.contains("--show")) {
        sample.window->show();
        return app.exec();
    }

    const QString dir = args.size() > 1 ? args.at(1) : QStringLiteral("/tmp/skin");
    QDir().mkpath(dir);
    sample.window->show();
    app.processEvents();
    Save(sample.window, dir + "/main.png");

    sample.file->popup(sample.window->mapToGlobal(QPoint(3, 47)));
    sample.file->setActiveAction(sample.file->actions().first());
    app.processEvents();
    Save(sample.file, dir + "/file-menu.png");
    sample.file->hide();

    sample.frame->WindowMenu()->popup(sample.window->mapToGlobal(QPoint(600, 25)));
    app.processEvents();
    Save(sample.frame->WindowMenu(), dir + "/window-menu.png");
    sample.frame->WindowMenu()->hide();

    sample.level->showPopup();
    app.processEvents();
    if (QWidget* list = sample.level->view()->window()) Save(list, dir + "/level-list.png");
    sample.level->hidePopup();

    sample.window->resize(300, 300);
    app.processEvents();
    Save(sample.window, dir + "/main-300.png");

    QTimer::singleShot(0, [&] {
        Save(AboutBox, dir + "/about.png");
        AboutBox->URLLabelMouseDown();
        Save(AboutBox, dir + "/about-pressed.png");
        AboutBox->done(QDialog::Accepted);
    });
    TAboutBox::SetUrlOpener([](const QUrl&) {});
    AboutBox->ShowModal();
    return 0;
}
