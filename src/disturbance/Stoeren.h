// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "common/ModalForm.h"
#include <QLabel>

class TForm_Stoeren_Vorgabe : public ModalForm
{
    Q_OBJECT

public:
    explicit TForm_Stoeren_Vorgabe(QWidget *parent = nullptr);

    QLabel *Panel_RestZeit = nullptr;

private:
    void FormCreate();
};

extern TForm_Stoeren_Vorgabe *Form_Stoeren_Vorgabe;

// Draws the two disturbed rounds of a game.
void ChooseDisturbanceRounds();
// Capitals mode: loads the capitals file and shows the presentation; false when the file
// could not be read (the error has been shown and the game must not start).
bool ShowCapitalsPresentation();
// Runs the disturbance task of the current round until it is solved.
void RunDisturbance();
