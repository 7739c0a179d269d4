// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/Info.h"

#include "common/ScaleToScreen.h"

TForm_Info *Form_Info = nullptr;

TForm_Info::TForm_Info(QWidget *parent) : ModalForm(parent)
{
    setObjectName(QStringLiteral("Form_Info"));
    FormCreate();
}

void TForm_Info::FormCreate()
{
    ScaleToScreen(this);
}
