// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "common/ModalForm.h"

class TForm_Farben : public ModalForm
{
    Q_OBJECT

public:
    explicit TForm_Farben(QWidget *parent = nullptr);


private:
    void FormCreate();
};

extern TForm_Farben *Form_Farben;
