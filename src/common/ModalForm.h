// SPDX-License-Identifier: GPL-3.0-or-later
// The base of the program's modal windows: showing, ending with a result, caption and border.
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
    // Each showing places the window in the middle of the screen, whatever window opened it.
    void setCentredOnScreen(bool centred) { m_centred = centred; }
    // Dialog border: the window keeps its present size and has no minimise or maximise button.
    void UseDialogBorder();

protected:
    // The window became the active window / stopped being it.
    virtual void FormActivate() {}
    virtual void FormDeactivate() {}
    // The player asked to close the window (close box); false keeps it open.
    virtual bool FormCloseQuery() { return true; }
    // The window is being closed by the player.
    virtual void FormClose() {}

    bool event(QEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    // Escape does not end the window unless a subclass says so.
    void keyPressEvent(QKeyEvent *event) override;

private:
    void showCaption();

    bool m_maximized = false;
    bool m_centred = false;
    bool m_fixedBorder = false;
    bool m_focusFramesDrawn = false;
};

// The window flags of a dialog of fixed size: title and close button only.
void UseFixedDialogFlags(QWidget *dialog);
