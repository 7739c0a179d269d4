// SPDX-License-Identifier: GPL-3.0-or-later
#include "exercise/Muw_zahl.h"

#include "common/ScaleToScreen.h"

TForm_MuW_Zahlen *Form_MuW_Zahlen = nullptr;

TForm_MuW_Zahlen::TForm_MuW_Zahlen(QWidget *parent) : ModalForm(parent)
{
    setObjectName(QStringLiteral("Form_MuW_Zahlen"));
    FormCreate();
}

void TForm_MuW_Zahlen::FormCreate()
{
    ScaleToScreen(this);
}
