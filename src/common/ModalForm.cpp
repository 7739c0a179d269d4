// SPDX-License-Identifier: GPL-3.0-or-later
// The base of the program's modal windows: showing, ending with a result, caption and border.
#include "common/ModalForm.h"

#include "common/Controls.h"
#include "common/ScaleToScreen.h"

#include <QCloseEvent>
#include <QKeyEvent>
#include <QWindow>

ModalForm::ModalForm(QWidget *parent) : QDialog(parent) {}

int ModalForm::ShowModal()
{
    if (m_maximized)
        setWindowState(windowState() | Qt::WindowMaximized);
    return exec();
}

void ModalForm::CloseWithOk()
{
    if (isVisible() && result() != QDialog::Accepted)
        done(QDialog::Accepted);
}

void ModalForm::UseDialogBorder()
{
    UseFixedDialogFlags(this);
    setFixedSize(size());
    m_fixedBorder = true;
}

void UseFixedDialogFlags(QWidget *dialog)
{
    // Customised: only the hints named here, so no minimise or maximise button is asked for.
    dialog->setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                           Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
}

bool ModalForm::event(QEvent *event)
{
    if (event->type() == QEvent::WindowActivate)
        FormActivate();
    else if (event->type() == QEvent::WindowDeactivate)
        FormDeactivate();
    else if (event->type() == QEvent::WindowStateChange && m_fixedBorder && isMaximized()) {
        // A decoration that draws its maximise button anyway (Qt's own on Wayland) must not
        // stretch a dialog of fixed size.
        QMetaObject::invokeMethod(
            this, [this] { setWindowState(windowState() & ~Qt::WindowMaximized); },
            Qt::QueuedConnection);
    }
    const bool handled = QDialog::event(event);
    if (event->type() == QEvent::WindowTitleChange)
        showCaption();
    return handled;
}

void ModalForm::showEvent(QShowEvent *event)
{
    if (!m_focusFramesDrawn) {
        UseVisibleFocusFrames(this);
        m_focusFramesDrawn = true;
    }
    if (m_centred)
        CentreOnScreen(this);
    showCaption();
    QDialog::showEvent(event);
}

// The platform shows the program's name in place of an empty caption; a blank keeps the
// caption empty, while windowTitle() stays empty for the program itself.
void ModalForm::showCaption()
{
    if (QWindow *handle = windowHandle())
        handle->setTitle(windowTitle().isEmpty() ? QStringLiteral(" ") : windowTitle());
}

void ModalForm::closeEvent(QCloseEvent *event)
{
    if (!FormCloseQuery()) {
        event->ignore();
        return;
    }
    FormClose();
    QDialog::closeEvent(event);
}

void ModalForm::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Escape) {
        event->ignore();
        return;
    }
    QDialog::keyPressEvent(event);
}
