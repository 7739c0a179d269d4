// SPDX-License-Identifier: GPL-3.0-or-later
// The text question window.
#pragma once

#include "common/ModalForm.h"

#include <QLabel>

class QLineEdit;

inline const QString WrongCharacterMessage = QStringLiteral(
    "Das war das falsche Zeichen!\nZähle Leerzeichen nicht mit,\nbeachte bitte Großbuchstaben!");

// The text question: one character of a disturbing text, blanks not counted.
class TForm_Frage_Text : public ModalForm
{
    Q_OBJECT

public:
    explicit TForm_Frage_Text(QWidget *parent = nullptr);

    QLabel *Label_Zeile_1 = nullptr;
    QLabel *Label_Zeile_2 = nullptr;
    QLabel *Label_Zeile_3 = nullptr;
    QLabel *Label_Aufforder_Buchst_eing = nullptr;
    QLabel *Label_Auff_2 = nullptr;
    QLineEdit *Edit_Zeichen_eingeben = nullptr;
    QLabel *Panel_RestZeit = nullptr;

    void FormActivate() override;
    void Edit_Zeichen_eingebenChange();
    // A screen reader names the window with the request and describes it with the text.
    void NameAfterQuestion();

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    void FormCreate();
    void centreTextBlock();
};

extern TForm_Frage_Text *Form_Frage_Text;

// The left edge that centres a block of blockWidth in clientWidth (truncating division).
int CentredLeft(int clientWidth, int blockWidth);
// Exact comparison with ExpectedCharacter: one character, upper and lower case distinguished.
bool TextAnswerIsRight(const QString &typed);
