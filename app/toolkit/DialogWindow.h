#pragma once

#include "app/toolkit/Dialog.h"

#include <QCloseEvent>
#include <QDialog>
#include <QTimerEvent>

// The Qt window of a CDialog: turns Qt's events into the dialog's calls.
// Private to the toolkit's implementation.
class CDialogWindow : public QDialog {
public:
    CDialogWindow(CDialog& owner) : owner(owner) {}

    void EndModal(int result) { QDialog::done(result); }

    void accept() override { owner.RunCommand(IDOK); }
    void reject() override { owner.OnCancel(); }
    void done(int result) override { owner.EndDialog(result); }

protected:
    void closeEvent(QCloseEvent* event) override
    {
        event->ignore();
        owner.OnClose();
    }
    void timerEvent(QTimerEvent* event) override { owner.DeliverTimer(event->timerId()); }

private:
    CDialog& owner;
};
