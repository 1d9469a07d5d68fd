#include "ui/DebugUnit.h"

#include <QPlainTextEdit>
#include <QVBoxLayout>

#include "platform/skin/skin_theme.h"

TfrmDebug* frmDebug = nullptr;

TfrmDebug::TfrmDebug(QWidget* owner) : QWidget(owner, Qt::Window) {
    setWindowTitle(QStringLiteral("frmDebug"));
    setFont(skin::WindowFont());
    // The client area of a 544 x 375 window with an ordinary frame.
    setGeometry(206, 107, 536, 348);
    Memo1 = new QPlainTextEdit(this);
    auto* fill = new QVBoxLayout(this);
    fill->setContentsMargins(0, 0, 0, 0);
    fill->addWidget(Memo1);
}

void TfrmDebug::FormShow() {
    raise();
    activateWindow();
}

void TfrmDebug::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    FormShow();
}
