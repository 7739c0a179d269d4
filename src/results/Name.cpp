// SPDX-License-Identifier: GPL-3.0-or-later
#include "results/Name.h"

#include "common/ScaleToScreen.h"

TForm_Name *Form_Name = nullptr;

TForm_Name::TForm_Name(QWidget *parent) : ModalForm(parent)
{
    setObjectName(QStringLiteral("Form_Name"));
    FormCreate();
}

void TForm_Name::FormCreate()
{
    ScaleToScreen(this);
}

void RequestPlayerName()
{
}
