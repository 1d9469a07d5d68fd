#include "platform/skin/skin_style.h"

#include <QApplication>
#include <QMenu>
#include <QPainter>
#include <QStyleFactory>
#include <QStyleOptionMenuItem>

#include "platform/skin/skin_outline.h"
#include "platform/skin/skin_theme.h"

namespace skin {
namespace {

constexpr int kTextIndent = 8;     // between the left band and an item's text
constexpr int kRightPadding = 32;  // room for a submenu arrow after the text
constexpr int kBarItemPadding = 7;

// The left band of a popup, in the coordinates of the menu widget.
QRect StripeRect(const QWidget* menu, int panelWidth) {
    return QRect(panelWidth, panelWidth, kMenuBarWidth, menu->height() - 2 * panelWidth);
}

QFont ItemFont(const QStyleOptionMenuItem& item) {
    QFont font = item.font;
    if (item.menuItemType == QStyleOptionMenuItem::DefaultItem) font.setBold(true);
    return font;
}

void DrawSelectionBox(QPainter* p, const QRect& r) {
    p->fillRect(r, kMenuSelected);
    DrawOutline(*p, r, kMenuSelectedBorder);
}

void DrawMenuItem(const QStyleOptionMenuItem& item, QPainter* p) {
    const QRect r = item.rect;
    p->fillRect(r, kMenuColor);
    p->fillRect(QRect(r.left(), r.top(), kMenuBarWidth, r.height()), kMenuBarStripe);

    if (item.menuItemType == QStyleOptionMenuItem::Separator) {
        const int y = r.top() + r.height() / 2;
        p->setPen(kMenuSeparator);
        p->drawLine(r.left() + kMenuBarWidth + kTextIndent, y, r.right(), y);
        return;
    }

    const bool enabled = item.state & QStyle::State_Enabled;
    const bool selected = enabled && (item.state & QStyle::State_Selected);
    if (selected) DrawSelectionBox(p, r);

    if (item.checked) {
        const QRect mark(r.left() + 5, r.top() + 3, kMenuBarWidth - 10, r.height() - 6);
        p->save();
        p->setPen(kMenuSelectedBorder);
        p->setBrush(kMenuSelected);
        p->drawRect(mark.adjusted(0, 0, -1, -1));
        p->setPen(QPen(kMenuFont, 2));
        p->setRenderHint(QPainter::Antialiasing);
        const QPointF c = mark.center();
        p->drawLine(c + QPointF(-4, 0), c + QPointF(-1, 3));
        p->drawLine(c + QPointF(-1, 3), c + QPointF(4, -3));
        p->restore();
    }

    QString text = item.text;
    QString shortcut;
    if (const qsizetype tab = text.indexOf(u'\t'); tab >= 0) {
        shortcut = text.mid(tab + 1);
        text = text.left(tab);
    }
    p->save();
    p->setFont(ItemFont(item));
    p->setPen(!enabled ? kDisabledText : selected ? kMenuSelectedFont : kMenuFont);
    const QRect textRect = r.adjusted(kMenuBarWidth + kTextIndent, 0, -kRightPadding, 0);
    p->drawText(textRect, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextShowMnemonic, text);
    if (!shortcut.isEmpty()) p->drawText(textRect, Qt::AlignRight | Qt::AlignVCenter, shortcut);
    if (item.menuItemType == QStyleOptionMenuItem::SubMenu) {
        const QPoint c(r.right() - 9, r.center().y());
        const QPoint arrow[3] = {c + QPoint(-2, -4), c + QPoint(-2, 4), c + QPoint(2, 0)};
        p->setPen(Qt::NoPen);
        p->setBrush(enabled ? kMenuFont : kDisabledText);
        p->drawPolygon(arrow, 3);
    }
    p->restore();
}

void DrawMenuBarItem(const QStyleOptionMenuItem& item, QPainter* p) {
    p->fillRect(item.rect, kMenuBarColor);
    const bool enabled = item.state & QStyle::State_Enabled;
    const bool hot = enabled && (item.state & (QStyle::State_Selected | QStyle::State_Sunken));
    if (hot) DrawSelectionBox(p, item.rect.adjusted(0, 1, 0, -1));
    p->save();
    p->setFont(item.font);
    p->setPen(!enabled ? kDisabledText : hot ? kMenuSelectedFont : kMenuFont);
    p->drawText(item.rect, Qt::AlignCenter | Qt::TextShowMnemonic, item.text);
    p->restore();
}

}  // namespace

TsuiStyle::TsuiStyle() : QProxyStyle(QStyleFactory::create(QStringLiteral("Fusion"))) {}

TsuiStyle* TsuiStyle::Instance() {
    // Kept for the whole process: windows that live to the end of the program may still
    // be using it after the application object is gone.
    static TsuiStyle* const style = new TsuiStyle;
    return style;
}

void TsuiStyle::drawPrimitive(PrimitiveElement element, const QStyleOption* option,
                              QPainter* painter, const QWidget* widget) const {
    switch (element) {
        case PE_PanelMenu:
            painter->fillRect(option->rect, kMenuColor);
            if (widget) {
                const int pw = pixelMetric(PM_MenuPanelWidth, option, widget);
                painter->fillRect(StripeRect(widget, pw), kMenuBarStripe);
            }
            return;
        case PE_FrameMenu:
            DrawOutline(*painter, option->rect, kMenuBorder);
            return;
        case PE_PanelMenuBar:
            painter->fillRect(option->rect, kMenuBarColor);
            return;
        default:
            QProxyStyle::drawPrimitive(element, option, painter, widget);
    }
}

void TsuiStyle::drawControl(ControlElement element, const QStyleOption* option, QPainter* painter,
                            const QWidget* widget) const {
    switch (element) {
        case CE_MenuItem:
            if (const auto* item = qstyleoption_cast<const QStyleOptionMenuItem*>(option)) {
                DrawMenuItem(*item, painter);
                return;
            }
            break;
        case CE_MenuEmptyArea:
            painter->fillRect(option->rect, kMenuColor);
            if (widget) {
                const int pw = pixelMetric(PM_MenuPanelWidth, option, widget);
                painter->fillRect(option->rect & StripeRect(widget, pw), kMenuBarStripe);
            }
            return;
        case CE_MenuBarItem:
            if (const auto* item = qstyleoption_cast<const QStyleOptionMenuItem*>(option)) {
                DrawMenuBarItem(*item, painter);
                return;
            }
            break;
        case CE_MenuBarEmptyArea:
            painter->fillRect(option->rect, kMenuBarColor);
            return;
        default:
            break;
    }
    QProxyStyle::drawControl(element, option, painter, widget);
}

QSize TsuiStyle::sizeFromContents(ContentsType type, const QStyleOption* option, const QSize& size,
                                  const QWidget* widget) const {
    if (const auto* item = qstyleoption_cast<const QStyleOptionMenuItem*>(option)) {
        if (type == CT_MenuItem) {
            if (item->menuItemType == QStyleOptionMenuItem::Separator) {
                return QSize(kMenuBarWidth + 2 * kTextIndent, kMenuSeparatorHeight);
            }
            const QFontMetrics fm(ItemFont(*item));
            QString text = item->text;
            int extra = 0;
            if (const qsizetype tab = text.indexOf(u'\t'); tab >= 0) {
                extra = 24 + fm.horizontalAdvance(text.mid(tab + 1));
                text = text.left(tab);
            }
            const int width = fm.horizontalAdvance(QString(text).remove(u'&'));
            // Short menus are kept to a comfortable width, as on the desktop.
            constexpr int kMinimumWidth = 110;
            return QSize(std::max(kMenuBarWidth + kTextIndent + width + extra + kRightPadding,
                                  kMinimumWidth),
                         kMenuItemHeight);
        }
        if (type == CT_MenuBarItem) {
            const QFontMetrics fm(item->font);
            const int width = fm.horizontalAdvance(QString(item->text).remove(u'&'));
            return QSize(width + 2 * kBarItemPadding, kMenuBarHeight);
        }
    }
    return QProxyStyle::sizeFromContents(type, option, size, widget);
}

int TsuiStyle::pixelMetric(PixelMetric metric, const QStyleOption* option,
                           const QWidget* widget) const {
    switch (metric) {
        case PM_MenuPanelWidth:
            return 1;
        case PM_MenuHMargin:
        case PM_MenuVMargin:
        case PM_MenuBarPanelWidth:
        case PM_MenuBarItemSpacing:
        case PM_MenuBarVMargin:
        case PM_MenuBarHMargin:
        case PM_MenuDesktopFrameWidth:
            return 0;
        case PM_SubMenuOverlap:
            return -1;
        default:
            return QProxyStyle::pixelMetric(metric, option, widget);
    }
}

int TsuiStyle::styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                         QStyleHintReturn* returnData) const {
    switch (hint) {
        case SH_UnderlineShortcut:
        case SH_MenuBar_AltKeyNavigation:
        case SH_MenuBar_MouseTracking:
        case SH_Menu_MouseTracking:
        case SH_ComboBox_ListMouseTracking:
            return 1;
        case SH_ComboBox_Popup:
        case SH_Menu_Scrollable:
        case SH_Menu_FadeOutOnHide:
        case SH_Widget_Animate:
        case SH_Widget_Animation_Duration:
            return 0;
        default:
            return QProxyStyle::styleHint(hint, option, widget, returnData);
    }
}

}  // namespace skin
