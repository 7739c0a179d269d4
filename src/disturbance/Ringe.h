// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "common/ModalForm.h"
#include <QTimer>

class TForm_Ringe : public ModalForm
{
    Q_OBJECT

public:
    explicit TForm_Ringe(QWidget *parent = nullptr);

    QTimer Timer1;

private:
    void FormCreate();
};

extern TForm_Ringe *Form_Ringe;

// Shows the rings task again and again until it ends with OK.
void RunRingsTask();
