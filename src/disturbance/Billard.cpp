// SPDX-License-Identifier: GPL-3.0-or-later
#include "disturbance/Billard.h"

#include "common/ScaleToScreen.h"

TForm_Billard *Form_Billard = nullptr;

TForm_Billard::TForm_Billard(QWidget *parent) : ModalForm(parent)
{
    setObjectName(QStringLiteral("Form_Billard"));
    FormCreate();
}

void TForm_Billard::FormCreate()
{
    ScaleToScreen(this);
}

void RunBilliardTask()
{
}
