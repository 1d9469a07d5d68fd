#pragma once
// The debug window: a plain window with one memo. It is created at start-up and kept
// for the whole run, but nothing shows it or writes to it.

#include <QWidget>

class QPlainTextEdit;

class TfrmDebug : public QWidget {
    Q_OBJECT
  public:
    explicit TfrmDebug(QWidget* owner = nullptr);

    // Runs when the window is shown; showing it again only brings it to the front.
    void FormShow();

    QPlainTextEdit* Memo1 = nullptr;

  protected:
    void showEvent(QShowEvent* event) override;
};

extern TfrmDebug* frmDebug;
