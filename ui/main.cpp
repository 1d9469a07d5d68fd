// The program entry: the application, its three windows and the event loop.
#include <QApplication>
#include <QIcon>
#include <memory>

#include "platform/application.h"
#include "platform/exception.h"
#include "ui/About.h"
#include "ui/DebugUnit.h"
#include "ui/MainUnit.h"
#include "ui/app_identity.h"

namespace {

// An error that escapes an event handler is shown in an error box and the
// program goes on with the next event, instead of unwinding through the
// event loop.
class TApplication : public QApplication {
  public:
    using QApplication::QApplication;

    bool notify(QObject* receiver, QEvent* event) override {
        try {
            return QApplication::notify(receiver, event);
        } catch (const Exception& error) {
            ShowException(error);
            return false;
        }
    }
};

}  // namespace

int main(int argc, char** argv) {
    TApplication application(argc, argv);
    SetApplicationTitle("Fourfall");
    // Lets the desktop match the windows to the installed menu entry and
    // icon; when installed, the icon theme has the program's icon.
    QGuiApplication::setApplicationName("Fourfall");
    QGuiApplication::setDesktopFileName(kApplicationId);
    QGuiApplication::setWindowIcon(QIcon::fromTheme("fourfall"));
    // The windows live for the whole run and go before the application does.
    std::unique_ptr<TfrmFourfall> mainWindow;
    std::unique_ptr<TfrmDebug> debugWindow;
    std::unique_ptr<TAboutBox> aboutBox;
    try {
        // The first window made is the main one; closing it ends the program.
        mainWindow = std::make_unique<TfrmFourfall>();
        frmFourfall = mainWindow.get();
        debugWindow = std::make_unique<TfrmDebug>();
        frmDebug = debugWindow.get();
        aboutBox = std::make_unique<TAboutBox>();
        AboutBox = aboutBox.get();
        frmFourfall->show();
        QApplication::exec();
    } catch (const Exception& error) {
        ShowException(error);
    }
    return 0;
}
