// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "common/ModalForm.h"

class TForm_Name : public ModalForm
{
    Q_OBJECT

public:
    explicit TForm_Name(QWidget *parent = nullptr);


private:
    void FormCreate();
};

extern TForm_Name *Form_Name;

// Shows the name dialog while no name has been entered.
void RequestPlayerName();
