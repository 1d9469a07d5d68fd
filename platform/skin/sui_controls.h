#pragma once
// The skinned controls: a group box, a drop-down list, a push button and a read-only
// memo, painted in the XP look with the colours of the skin. Each is a plain Qt widget
// underneath, so it is used through the usual Qt interface.

#include <QComboBox>
#include <QGroupBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStringList>

// A group box with a thin rounded border and its caption in blue. Its text colour is
// passed on to the labels inside it, as a parent's font is; give a child its own
// palette to keep it from following.
class TsuiGroupBox : public QGroupBox {
    Q_OBJECT
  public:
    explicit TsuiGroupBox(QWidget* parent = nullptr);
    explicit TsuiGroupBox(const QString& caption, QWidget* parent = nullptr);

    QColor BorderColor() const { return borderColor_; }
    void SetBorderColor(const QColor& color);
    QColor FontColor() const;
    void SetFontColor(const QColor& color);

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    QColor borderColor_;
};

// A drop-down list of fixed-height items that the user picks from and cannot type into.
class TsuiComboBox : public QComboBox {
    Q_OBJECT
  public:
    explicit TsuiComboBox(QWidget* parent = nullptr);

    QColor BorderColor() const { return borderColor_; }
    void SetBorderColor(const QColor& color);
    QColor ArrowColor() const { return arrowColor_; }
    void SetArrowColor(const QColor& color);
    QColor ButtonColor() const { return buttonColor_; }
    void SetButtonColor(const QColor& color);
    int ItemHeight() const { return itemHeight_; }

    void showPopup() override;
    void hidePopup() override;

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    QColor borderColor_, arrowColor_, buttonColor_;
    int itemHeight_;
    bool popupShown_ = false;
};

// A push button with the rounded XP face: an orange glow under the mouse, a blue one
// when it is the default or has the focus.
class TsuiButton : public QPushButton {
    Q_OBJECT
  public:
    explicit TsuiButton(QWidget* parent = nullptr);
    explicit TsuiButton(const QString& caption, QWidget* parent = nullptr);

  protected:
    void paintEvent(QPaintEvent* event) override;
};

// A read-only memo whose lines behave like a list of strings: AddLine("") on an empty
// memo gives one empty line, which QPlainTextEdit::appendPlainText alone would drop.
// Use Clear/AddLine/Lines rather than the text edit's own clear/append.
class TsuiMemo : public QPlainTextEdit {
    Q_OBJECT
  public:
    explicit TsuiMemo(QWidget* parent = nullptr);

    void Clear();
    void AddLine(const QString& line);
    QStringList Lines() const;

    void SetColor(const QColor& color);        // the background
    void SetBorderColor(const QColor& color);  // the one-pixel frame
    void SetFontColor(const QColor& color);

  private:
    bool hasLines_ = false;
};
