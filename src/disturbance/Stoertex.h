// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "common/ModalForm.h"
#include <QLabel>

class TForm_Frage_Text : public ModalForm
{
    Q_OBJECT

public:
    explicit TForm_Frage_Text(QWidget *parent = nullptr);

    QLabel *Panel_RestZeit = nullptr;

private:
    void FormCreate();
};

extern TForm_Frage_Text *Form_Frage_Text;
