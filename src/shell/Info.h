// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "common/ModalForm.h"

class TForm_Info : public ModalForm
{
    Q_OBJECT

public:
    explicit TForm_Info(QWidget *parent = nullptr);


private:
    void FormCreate();
};

extern TForm_Info *Form_Info;
