#include "platform/skin/sui_controls.h"

#include <QLinearGradient>
#include <QPainter>
#include <QScrollBar>
#include <QStyleOptionFocusRect>
#include <QStyledItemDelegate>
#include <QTextCursor>

#include "platform/skin/skin_outline.h"
#include "platform/skin/skin_style.h"
#include "platform/skin/skin_theme.h"

using namespace skin;

namespace {

constexpr int kComboButtonWidth = 17;

// The rows of a combo box's list: exactly the item height, the selection in XP blue.
class ComboItemDelegate : public QStyledItemDelegate {
  public:
    ComboItemDelegate(const TsuiComboBox* box)
        : QStyledItemDelegate(const_cast<TsuiComboBox*>(box)), box_(box) {}

    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex&) const override {
        return QSize(option.rect.width(), box_->ItemHeight());
    }
    void paint(QPainter* p, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override {
        const bool selected = option.state & QStyle::State_Selected;
        p->fillRect(option.rect, selected ? kHighlight : QColor(Qt::white));
        p->setFont(box_->font());
        p->setPen(selected ? kHighlightText : kWindowText);
        p->drawText(option.rect.adjusted(3, 0, -2, 0), Qt::AlignLeft | Qt::AlignVCenter,
                    index.data(Qt::DisplayRole).toString());
    }

  private:
    const TsuiComboBox* box_;
};

}  // namespace

// --- TsuiGroupBox -----------------------------------------------------------------

TsuiGroupBox::TsuiGroupBox(QWidget* parent) : TsuiGroupBox(QString(), parent) {}

TsuiGroupBox::TsuiGroupBox(const QString& caption, QWidget* parent)
    : QGroupBox(caption, parent), borderColor_(kControlBorder) {
    setFont(WindowFont());
    SetFontColor(kGroupFont);
}

void TsuiGroupBox::SetBorderColor(const QColor& color) {
    borderColor_ = color;
    update();
}

QColor TsuiGroupBox::FontColor() const { return palette().color(QPalette::WindowText); }

void TsuiGroupBox::SetFontColor(const QColor& color) {
    QPalette pal = palette();
    pal.setColor(QPalette::WindowText, color);
    setPalette(pal);
}

void TsuiGroupBox::paintEvent(QPaintEvent*) {
    QPainter p(this);
    const QFontMetrics fm(font());
    const int top = fm.height() / 2;
    const QString caption = title();
    const int textWidth =
        caption.isEmpty() ? 0 : fm.horizontalAdvance(QString(caption).remove(u'&'));
    const QRect textRect(8, 0, textWidth + 4, fm.height());

    // Leave a gap in the top line for the caption.
    p.save();
    if (textWidth > 0) p.setClipRegion(QRegion(rect()) - QRegion(textRect));
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(borderColor_, 1));
    p.setBrush(Qt::NoBrush);
    p.drawRoundedRect(QRectF(0.5, top + 0.5, width() - 1, height() - top - 1), 3, 3);
    p.restore();

    if (textWidth > 0) {
        p.setPen(isEnabled() ? FontColor() : kDisabledText);
        p.drawText(textRect, Qt::AlignCenter | Qt::TextShowMnemonic, caption);
    }
}

// --- TsuiComboBox -----------------------------------------------------------------

TsuiComboBox::TsuiComboBox(QWidget* parent)
    : QComboBox(parent),
      borderColor_(kControlBorder),
      arrowColor_(kComboArrow),
      buttonColor_(kComboButton),
      itemHeight_(kComboItemHeight) {
    setEditable(false);
    setStyle(TsuiStyle::Instance());
    setFont(WindowFont());
    setItemDelegate(new ComboItemDelegate(this));
    setAttribute(Qt::WA_Hover);
}

void TsuiComboBox::SetBorderColor(const QColor& color) {
    borderColor_ = color;
    update();
}

void TsuiComboBox::SetArrowColor(const QColor& color) {
    arrowColor_ = color;
    update();
}

void TsuiComboBox::SetButtonColor(const QColor& color) {
    buttonColor_ = color;
    update();
}

void TsuiComboBox::showPopup() {
    popupShown_ = true;
    update();
    QComboBox::showPopup();
}

void TsuiComboBox::hidePopup() {
    QComboBox::hidePopup();
    popupShown_ = false;
    update();
}

void TsuiComboBox::paintEvent(QPaintEvent*) {
    QPainter p(this);
    const QRect r = rect();
    const bool enabled = isEnabled();

    // The field and its one-pixel border.
    p.fillRect(r, enabled ? QColor(Qt::white) : kBtnFace);

    // The drop button: a raised face in the button colour with the arrow on it.
    const QRect button(r.right() - kComboButtonWidth, 1, kComboButtonWidth, r.height() - 2);
    const bool hot = underMouse() && enabled;
    QLinearGradient face(button.topLeft(), button.bottomLeft());
    if (popupShown_) {
        face.setColorAt(0, buttonColor_.darker(112));
        face.setColorAt(1, buttonColor_);
    } else {
        face.setColorAt(0, QColor(Qt::white));
        face.setColorAt(0.5, hot ? buttonColor_.lighter(104) : buttonColor_);
        face.setColorAt(1, buttonColor_.darker(hot ? 104 : 110));
    }
    p.fillRect(button, face);
    DrawVerticalLine(p, button.left(), button.top(), button.bottom(), buttonColor_.darker(135));
    // The border last, so that the button's face never covers it.
    DrawOutline(p, r, borderColor_);

    const QPoint c = button.center() + QPoint(popupShown_ ? 1 : 0, popupShown_ ? 1 : 0);
    const QPoint arrow[3] = {c + QPoint(-4, -2), c + QPoint(4, -2), c + QPoint(0, 2)};
    p.setPen(Qt::NoPen);
    p.setBrush(enabled ? arrowColor_ : kDisabledText);
    p.drawPolygon(arrow, 3);

    // The chosen item, highlighted while the box has the focus.
    const QRect text = QRect(2, 2, button.left() - 3, r.height() - 4);
    if (hasFocus() && !popupShown_ && currentIndex() >= 0) {
        p.fillRect(text, kHighlight);
        p.setPen(kHighlightText);
    } else {
        p.setPen(enabled ? kWindowText : kDisabledText);
    }
    p.setFont(font());
    p.drawText(text.adjusted(2, 0, -1, 0), Qt::AlignLeft | Qt::AlignVCenter, currentText());
}

// --- TsuiButton -------------------------------------------------------------------

TsuiButton::TsuiButton(QWidget* parent) : TsuiButton(QString(), parent) {}

TsuiButton::TsuiButton(const QString& caption, QWidget* parent) : QPushButton(caption, parent) {
    setFont(WindowFont());
    setAttribute(Qt::WA_Hover);
}

void TsuiButton::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF r = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
    const bool enabled = isEnabled();
    const bool pressed = isDown() || isChecked();
    const bool hot = enabled && underMouse();

    // Face.
    QLinearGradient face(0, 0, 0, height());
    if (!enabled) {
        face.setColorAt(0, QColor(245, 244, 234));
        face.setColorAt(1, QColor(245, 244, 234));
    } else if (pressed) {
        face.setColorAt(0, QColor(209, 204, 193));
        face.setColorAt(0.2, QColor(226, 225, 218));
        face.setColorAt(1, QColor(238, 237, 229));
    } else {
        face.setColorAt(0, QColor(255, 255, 255));
        face.setColorAt(0.6, QColor(244, 243, 238));
        face.setColorAt(0.85, QColor(236, 235, 230));
        face.setColorAt(1, QColor(214, 208, 197));
    }
    p.setPen(QPen(enabled ? QColor(0, 60, 116) : QColor(201, 199, 186), 1));
    p.setBrush(face);
    p.drawRoundedRect(r, 3, 3);

    // The glow inside the border: orange under the mouse, blue for the default button.
    if (enabled && !pressed && (hot || isDefault() || hasFocus())) {
        QLinearGradient glow(0, 0, 0, height());
        if (hot) {
            glow.setColorAt(0, QColor(255, 240, 207));
            glow.setColorAt(1, QColor(229, 151, 0));
        } else {
            glow.setColorAt(0, QColor(206, 231, 255));
            glow.setColorAt(1, QColor(105, 130, 238));
        }
        p.setPen(QPen(QBrush(glow), 2));
        p.setBrush(Qt::NoBrush);
        p.drawRoundedRect(r.adjusted(1.5, 1.5, -1.5, -1.5), 2, 2);
    }

    p.setRenderHint(QPainter::Antialiasing, false);
    const QRect textRect = rect().translated(pressed ? 1 : 0, pressed ? 1 : 0);
    p.setFont(font());
    p.setPen(enabled ? kWindowText : kDisabledText);
    p.drawText(textRect, Qt::AlignCenter | Qt::TextShowMnemonic, text());

    if (hasFocus()) {
        QStyleOptionFocusRect focus;
        focus.initFrom(this);
        focus.rect = rect().adjusted(4, 4, -4, -4);
        style()->drawPrimitive(QStyle::PE_FrameFocusRect, &focus, &p, this);
    }
}

// --- TsuiMemo ---------------------------------------------------------------------

TsuiMemo::TsuiMemo(QWidget* parent) : QPlainTextEdit(parent) {
    setReadOnly(true);
    setFont(WindowFont());
    setFrameStyle(QFrame::Box | QFrame::Plain);
    setLineWidth(1);
    setLineWrapMode(QPlainTextEdit::WidgetWidth);
    SetColor(Qt::white);
    SetBorderColor(kControlBorder);
    SetFontColor(kWindowText);
}

void TsuiMemo::Clear() {
    clear();
    hasLines_ = false;
}

void TsuiMemo::AddLine(const QString& line) {
    if (!hasLines_) {
        setPlainText(line);
        hasLines_ = true;
        return;
    }
    // A new block after the last one, even when every line so far is empty; the view
    // follows the new line when it was showing the end already.
    QScrollBar* bar = verticalScrollBar();
    const bool atEnd = bar->value() == bar->maximum();
    QTextCursor cursor(document());
    cursor.movePosition(QTextCursor::End);
    cursor.insertBlock();
    cursor.insertText(line);
    if (atEnd) bar->setValue(bar->maximum());
}

QStringList TsuiMemo::Lines() const {
    if (!hasLines_) return {};
    return toPlainText().split(u'\n');
}

void TsuiMemo::SetColor(const QColor& color) {
    QPalette pal = palette();
    pal.setColor(QPalette::Base, color);
    setPalette(pal);
}

void TsuiMemo::SetBorderColor(const QColor& color) {
    // A plain box frame is drawn in the window-text colour, which the text itself
    // does not use.
    QPalette pal = palette();
    pal.setColor(QPalette::WindowText, color);
    setPalette(pal);
}

void TsuiMemo::SetFontColor(const QColor& color) {
    QPalette pal = palette();
    pal.setColor(QPalette::Text, color);
    setPalette(pal);
}
