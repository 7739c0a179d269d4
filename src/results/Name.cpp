// SPDX-License-Identifier: GPL-3.0-or-later
// The player-name dialog.
#include "results/Name.h"

#include "common/Accessibility.h"
#include "common/Controls.h"
#include "common/ScaleToScreen.h"
#include "common/SharedState.h"
#include "results/Zeigen.h"
#include "shell/Kr_progr.h"

#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>

TForm_Name *Form_Name = nullptr;

TForm_Name::TForm_Name(QWidget *parent) : ModalForm(parent)
{
    setObjectName(QStringLiteral("Form_Name"));
    resize(300, 140);
    SetBackgroundColour(this, GridCellColor);

    Label_Name_Aufforderung = new QLabel(QStringLiteral("Gib bitte Deinen Namen ein:"), this);
    Label_Name_Aufforderung->setObjectName(QStringLiteral("Label_Name_Aufforderung"));
    Label_Name_Aufforderung->setAlignment(Qt::AlignCenter);
    SetTextColour(Label_Name_Aufforderung, Qt::white);
    Label_Name_Aufforderung->setGeometry(10, 15, 280, 20);

    Edit_Namen = new QLineEdit(this);
    Edit_Namen->setObjectName(QStringLiteral("Edit_Namen"));
    Edit_Namen->setMaxLength(PlayerNameLength);
    Edit_Namen->setGeometry(75, 48, 150, 24);
    Edit_Namen->installEventFilter(this);
    NameAfterLabel(Label_Name_Aufforderung, Edit_Namen);
    connect(Edit_Namen, &QLineEdit::textChanged, this, &TForm_Name::Edit_NamenChange);

    But_ok = new QPushButton(StandardIconWhenNeeded(QStyle::SP_DialogOkButton),
                             QStringLiteral("OK"), this);
    But_ok->setObjectName(QStringLiteral("But_ok"));
    But_ok->setDefault(true);
    But_ok->setGeometry(110, 95, 80, 28);
    connect(But_ok, &QPushButton::clicked, this, &QDialog::accept);

    // Every way of ending the dialog sets the main window's caption.
    connect(this, &QDialog::finished, this, &TForm_Name::FormClose);
    Edit_Namen->setFocus();
    FormCreate();
}

void TForm_Name::FormCreate()
{
    ScaleToScreen(this);
    UseDialogBorder();
    setCentredOnScreen(true);
}

void TForm_Name::Edit_NamenChange(const QString &text)
{
    // An emptied field keeps the last name that stood in it.
    if (!text.isEmpty())
        PlayerName = text.left(PlayerNameLength);
}

bool TForm_Name::Edit_NamenKeyPress(int key)
{
    if ((key != Qt::Key_Return && key != Qt::Key_Enter) || Edit_Namen->text().isEmpty())
        return false;
    CloseWithOk();
    return true;
}

bool TForm_Name::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == Edit_Namen && event->type() == QEvent::KeyPress &&
        Edit_NamenKeyPress(static_cast<QKeyEvent *>(event)->key()))
        return true;
    return ModalForm::eventFilter(watched, event);
}

void TForm_Name::FormActivate()
{
    Edit_Namen->setFocus();
}

void TForm_Name::FormClose()
{
    Form_Prgr->setWindowTitle(PlayerName.text());
}

void RequestPlayerName()
{
    if (PlayerName.text() == NoPlayerName)
        Form_Name->ShowModal();
}
