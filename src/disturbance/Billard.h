// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "common/ModalForm.h"
#include <QTimer>

class TForm_Billard : public ModalForm
{
    Q_OBJECT

public:
    explicit TForm_Billard(QWidget *parent = nullptr);

    QTimer Timer2;

private:
    void FormCreate();
};

extern TForm_Billard *Form_Billard;

// Shows the billiards task again and again until it ends with OK.
void RunBilliardTask();
