// SPDX-License-Identifier: GPL-3.0-or-later
#include "disturbance/Ringe.h"

#include "common/ScaleToScreen.h"

TForm_Ringe *Form_Ringe = nullptr;

TForm_Ringe::TForm_Ringe(QWidget *parent) : ModalForm(parent)
{
    setObjectName(QStringLiteral("Form_Ringe"));
    FormCreate();
}

void TForm_Ringe::FormCreate()
{
    ScaleToScreen(this);
}

void RunRingsTask()
{
}
