// SPDX-License-Identifier: GPL-3.0-or-later
#include "disturbance/Stoertex.h"

#include "common/ScaleToScreen.h"

TForm_Frage_Text *Form_Frage_Text = nullptr;

TForm_Frage_Text::TForm_Frage_Text(QWidget *parent) : ModalForm(parent)
{
    setObjectName(QStringLiteral("Form_Frage_Text"));
    FormCreate();
}

void TForm_Frage_Text::FormCreate()
{
    ScaleToScreen(this);
}
