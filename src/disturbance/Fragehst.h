// SPDX-License-Identifier: GPL-3.0-or-later
// The capital question window.
#pragma once

#include "common/ModalForm.h"

#include <QLabel>

class QFrame;
class QLineEdit;

// The capital question: asks for the capital of one of the presented countries.
class TForm_Frage_Hst : public ModalForm
{
    Q_OBJECT

public:
    explicit TForm_Frage_Hst(QWidget *parent = nullptr);

    QLabel *Label_Hst_Frage = nullptr;
    QLabel *Hst_Frage_Land = nullptr;
    QLabel *Label_Fragezeichen = nullptr;
    QFrame *Bevel1 = nullptr;
    QLineEdit *Edit_Hst_Frage = nullptr;
    QLabel *Panel_RestZeit = nullptr;

    void FormActivate() override;
    // Only Enter (character 13) checks the answer; other keys are typed as usual.
    void Edit_Hst_FrageKeyPress(QChar key);

private:
    void FormCreate();
};

extern TForm_Frage_Hst *Form_Frage_Hst;

// The capital that answers the game's current capital question, exactly as stored.
QString ExpectedCapital();
// The whole question, as a screen reader names the window: "Wie heißt die Hauptstadt von
// Italien?".
QString CapitalQuestion(const QString &country);
// Exact comparison: no blanks removed, upper and lower case distinguished.
bool CapitalAnswerIsRight(const QString &answer);
