// SPDX-License-Identifier: GPL-3.0-or-later
#include "results/Speicher.h"

#include "common/ScaleToScreen.h"

TForm_Speich_MuW *Form_Speich_MuW = nullptr;

TForm_Speich_MuW::TForm_Speich_MuW(QWidget *parent) : ModalForm(parent)
{
    setObjectName(QStringLiteral("Form_Speich_MuW"));
    FormCreate();
}

void TForm_Speich_MuW::FormCreate()
{
    ScaleToScreen(this);
}

void OpenOverallResultsFile()
{
}

void SaveOverallResultAs()
{
}
