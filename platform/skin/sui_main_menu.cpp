#include "platform/skin/sui_main_menu.h"

#include "platform/skin/skin_style.h"
#include "platform/skin/skin_theme.h"

TsuiMainMenu::TsuiMainMenu(QWidget* parent) : QMenuBar(parent) {
    setNativeMenuBar(false);
    setStyle(skin::TsuiStyle::Instance());
    setFont(skin::WindowFont());
    setFixedHeight(skin::kMenuBarHeight);
}

QMenu* TsuiMainMenu::AddMenu(const QString& caption) {
    auto* menu = new QMenu(caption, this);
    StyleMenu(menu);
    addMenu(menu);
    return menu;
}

QAction* TsuiMainMenu::AddItem(QMenu* menu, const QString& caption, std::function<void()> onClick) {
    QAction* action = menu->addAction(caption);
    if (onClick) QObject::connect(action, &QAction::triggered, menu, std::move(onClick));
    return action;
}

void TsuiMainMenu::StyleMenu(QMenu* menu) {
    menu->setStyle(skin::TsuiStyle::Instance());
    menu->setFont(skin::WindowFont());
}
