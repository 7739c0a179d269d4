// SPDX-License-Identifier: GPL-3.0-or-later
#include "exercise/Muw.h"

#include "common/FileDialogs.h"
#include "common/ScaleToScreen.h"

#include <QFileDialog>

TForm_MuW *Form_MuW = nullptr;

TForm_MuW::TForm_MuW(QWidget *parent) : ModalForm(parent)
{
    setObjectName(QStringLiteral("Form_MuW"));
    Timer_GesamtZeit.setObjectName(QStringLiteral("Timer_GesamtZeit"));
    connect(&Timer_GesamtZeit, &QTimer::timeout, this, &TForm_MuW::Timer_GesamtZeitTimer);
    SaveDialog_Muw = FileDialogs::CreateResultsSaveDialog(this);
    SaveDialog_Muw->setObjectName(QStringLiteral("SaveDialog_Muw"));
    OpenDialog_MuW = FileDialogs::CreateResultsOpenDialog(this);
    OpenDialog_MuW->setObjectName(QStringLiteral("OpenDialog_MuW"));
    FormCreate();
}

void TForm_MuW::FormCreate()
{
    ScaleToScreen(this);
}

void TForm_MuW::Timer_GesamtZeitTimer()
{
}

void TForm_MuW::HideSettingsControls()
{
}

void TForm_MuW::ShowSettingsControls()
{
}
