// SPDX-License-Identifier: GPL-3.0-or-later
#include "colours/Farben.h"

#include "common/ScaleToScreen.h"

TForm_Farben *Form_Farben = nullptr;

TForm_Farben::TForm_Farben(QWidget *parent) : ModalForm(parent)
{
    setObjectName(QStringLiteral("Form_Farben"));
    FormCreate();
}

void TForm_Farben::FormCreate()
{
    ScaleToScreen(this);
}
