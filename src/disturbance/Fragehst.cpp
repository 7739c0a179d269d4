// SPDX-License-Identifier: GPL-3.0-or-later
#include "disturbance/Fragehst.h"

#include "common/ScaleToScreen.h"

TForm_Frage_Hst *Form_Frage_Hst = nullptr;

TForm_Frage_Hst::TForm_Frage_Hst(QWidget *parent) : ModalForm(parent)
{
    setObjectName(QStringLiteral("Form_Frage_Hst"));
    FormCreate();
}

void TForm_Frage_Hst::FormCreate()
{
    ScaleToScreen(this);
}
