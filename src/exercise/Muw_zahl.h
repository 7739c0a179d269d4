// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "common/ModalForm.h"
#include <QLabel>

class TForm_MuW_Zahlen : public ModalForm
{
    Q_OBJECT

public:
    explicit TForm_MuW_Zahlen(QWidget *parent = nullptr);

    QLabel *Panel_RestZeit = nullptr;

private:
    void FormCreate();
};

extern TForm_MuW_Zahlen *Form_MuW_Zahlen;
