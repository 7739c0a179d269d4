// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDialog>

// Base of every window that is shown modally and ended with a result. The windows are
// created once at start and live until the end; they are shown, hidden and ended, never
// destroyed before then.
class ModalForm : public QDialog
{
    Q_OBJECT

public:
    explicit ModalForm(QWidget *parent = nullptr);

    // Shows the window modally (maximised if so designed) and returns its result.
    int ShowModal();
    // Ends the window with OK, unless it is not shown or already ended with OK.
    void CloseWithOk();
    bool isShownModally() const { return isVisible() && isModal(); }

    void setShownMaximized(bool maximized) { m_maximized = maximized; }

protected:
    // The window became the active window / stopped being it.
    virtual void FormActivate() {}
    virtual void FormDeactivate() {}
    // The player asked to close the window (close box); false keeps it open.
    virtual bool FormCloseQuery() { return true; }
    // The window is being closed by the player.
    virtual void FormClose() {}

    bool event(QEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    // Escape does not end the window unless a subclass says so.
    void keyPressEvent(QKeyEvent *event) override;

private:
    bool m_maximized = false;
};
