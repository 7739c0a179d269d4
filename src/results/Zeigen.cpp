// SPDX-License-Identifier: GPL-3.0-or-later
#include "results/Zeigen.h"

#include "common/ScaleToScreen.h"

TForm_zeigen *Form_zeigen = nullptr;

TForm_zeigen::TForm_zeigen(QWidget *parent) : ModalForm(parent)
{
    setObjectName(QStringLiteral("Form_zeigen"));
    FormCreate();
}

void TForm_zeigen::FormCreate()
{
    ScaleToScreen(this);
}

void FillIndividualResult()
{
}

void ShowIndividualResult()
{
}
