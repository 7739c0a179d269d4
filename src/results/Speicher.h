// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "common/ModalForm.h"

class TForm_Speich_MuW : public ModalForm
{
    Q_OBJECT

public:
    explicit TForm_Speich_MuW(QWidget *parent = nullptr);


private:
    void FormCreate();
};

extern TForm_Speich_MuW *Form_Speich_MuW;

// Settings menu "&Datei öffnen (Gesamtergebnisse)": choose a file, load it, show it.
void OpenOverallResultsFile();
// Settings menu "speichern &unter (Gesamtergebnis)".
void SaveOverallResultAs();
