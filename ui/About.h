#pragma once
// The About box: a picture, the product name and version, the copyright line and a
// link to the project's web site. It is created once at start-up and only hidden
// between showings, so the link keeps its colour from one showing to the next.

#include <QDialog>
#include <QUrl>
#include <functional>

class QFrame;
class QLabel;
class TsuiButton;
class TsuiForm;

// The program's version number from the build, shown as "Version: 0.1".
extern const QString VersionText;

// The project's web address, opened by the link and named by its caption.
inline constexpr char kWebAddress[] = "https://fourfall.example.org/";

class TAboutBox : public QDialog {
    Q_OBJECT
  public:
    // ShowModal's results: OK and Enter give kResultOk, the frame's close button
    // kResultCancel.
    static constexpr int kResultOk = 1;
    static constexpr int kResultCancel = 2;

    explicit TAboutBox(QWidget* owner = nullptr);

    // Shows the box modally, transient for the window it is opened from (the active
    // window, or else the visible main window), and returns how it was closed.
    int ShowModal();

    // How the link opens a web address. An empty function restores the default, the
    // desktop's URL handler; tests put a recorder here.
    using UrlOpener = std::function<void(const QUrl&)>;
    static void SetUrlOpener(UrlOpener opener);

    // Handlers of the link: any mouse button turns it purple while held; releasing the
    // button opens the web address once and turns the link blue for good.
    void URLLabelMouseDown();
    void URLLabelMouseUp();

    QFrame* Panel1 = nullptr;
    QLabel* ProgramIcon = nullptr;
    QLabel* ProductName = nullptr;
    QLabel* lblVersion = nullptr;
    QLabel* Copyright = nullptr;
    QLabel* URLLabel = nullptr;
    TsuiForm* suiForm1 = nullptr;
    TsuiButton* OKButton = nullptr;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void showEvent(QShowEvent* event) override;

  private:
    void SetLinkColor(const QColor& color);
    QWidget* OwnerWindow() const;
};

extern TAboutBox* AboutBox;
