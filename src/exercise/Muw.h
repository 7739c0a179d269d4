// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "common/ModalForm.h"

#include <QTimer>

class QFileDialog;

class TForm_MuW : public ModalForm
{
    Q_OBJECT

public:
    explicit TForm_MuW(QWidget *parent = nullptr);

    QTimer Timer_GesamtZeit;
    QFileDialog *SaveDialog_Muw = nullptr;
    QFileDialog *OpenDialog_MuW = nullptr;

    void Timer_GesamtZeitTimer();
    void HideSettingsControls();
    void ShowSettingsControls();

private:
    void FormCreate();
};

extern TForm_MuW *Form_MuW;
