// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "common/ModalForm.h"
#include <QLabel>

class TForm_Frage_Hst : public ModalForm
{
    Q_OBJECT

public:
    explicit TForm_Frage_Hst(QWidget *parent = nullptr);

    QLabel *Panel_RestZeit = nullptr;

private:
    void FormCreate();
};

extern TForm_Frage_Hst *Form_Frage_Hst;
