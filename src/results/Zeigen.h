// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "common/ModalForm.h"

class TForm_zeigen : public ModalForm
{
    Q_OBJECT

public:
    explicit TForm_zeigen(QWidget *parent = nullptr);


private:
    void FormCreate();
};

extern TForm_zeigen *Form_zeigen;

// Fills the individual-result window from the last game.
void FillIndividualResult();
// Fills the window and shows it modally.
void ShowIndividualResult();
