// SPDX-License-Identifier: GPL-3.0-or-later
#include "disturbance/Stoeren.h"

#include "common/ScaleToScreen.h"

TForm_Stoeren_Vorgabe *Form_Stoeren_Vorgabe = nullptr;

TForm_Stoeren_Vorgabe::TForm_Stoeren_Vorgabe(QWidget *parent) : ModalForm(parent)
{
    setObjectName(QStringLiteral("Form_Stoeren_Vorgabe"));
    FormCreate();
}

void TForm_Stoeren_Vorgabe::FormCreate()
{
    ScaleToScreen(this);
}

void ChooseDisturbanceRounds()
{
}

bool ShowCapitalsPresentation()
{
    return true;
}

void RunDisturbance()
{
}
