// SPDX-License-Identifier: GPL-3.0-or-later
#include "common/ModalForm.h"

#include <QCloseEvent>
#include <QKeyEvent>

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

bool ModalForm::event(QEvent *event)
{
    if (event->type() == QEvent::WindowActivate)
        FormActivate();
    else if (event->type() == QEvent::WindowDeactivate)
        FormDeactivate();
    return QDialog::event(event);
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
