#pragma once
// TsuiMainMenu: the frame's menu bar with owner-drawn drop-down menus in the XP look:
// a white popup with a grey band on the left, 21-pixel items, 5-pixel separators, the
// selected item boxed in blue, the access keys underlined and the default item bold.

#include <QMenuBar>
#include <functional>

class TsuiMainMenu : public QMenuBar {
    Q_OBJECT
  public:
    explicit TsuiMainMenu(QWidget* parent = nullptr);

    // A drop-down menu at the end of the bar; "&File" underlines the F.
    QMenu* AddMenu(const QString& caption);
    // An item at the end of `menu`, running `onClick` when chosen.
    static QAction* AddItem(QMenu* menu, const QString& caption,
                            std::function<void()> onClick = {});

    // Gives any popup menu the look of the skin (menus made by AddMenu have it).
    static void StyleMenu(QMenu* menu);
};
