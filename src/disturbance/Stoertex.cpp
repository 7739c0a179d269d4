// SPDX-License-Identifier: GPL-3.0-or-later
// The text question window.
#include "disturbance/Stoertex.h"

#include "common/Controls.h"
#include "common/MessageBoxes.h"
#include "common/ScaleToScreen.h"
#include "common/SharedState.h"
#include "disturbance/Stoeren.h"

#include <QLineEdit>

TForm_Frage_Text *Form_Frage_Text = nullptr;

namespace {
const QColor Navy(0x00, 0x00, 0x80);
constexpr int QuestionPointSize = 18;
} // namespace

TForm_Frage_Text::TForm_Frage_Text(QWidget *parent) : ModalForm(parent)
{
    setObjectName(QStringLiteral("Form_Frage_Text"));
    setShownMaximized(true);
    resize(640, 480);
    SetBackgroundColour(this, Navy);

    // The answer field comes first in the tab order: the player types at once.
    Edit_Zeichen_eingeben = new QLineEdit(this);
    Edit_Zeichen_eingeben->setObjectName(QStringLiteral("Edit_Zeichen_eingeben"));
    Edit_Zeichen_eingeben->setGeometry(40, 320, 34, 32);
    QFont font = Edit_Zeichen_eingeben->font();
    font.setBold(true);
    font.setPointSize(14);
    Edit_Zeichen_eingeben->setFont(font);
    Edit_Zeichen_eingeben->setAccessibleName(QStringLiteral("Antwort"));
    connect(Edit_Zeichen_eingeben, &QLineEdit::textChanged, this,
            &TForm_Frage_Text::Edit_Zeichen_eingebenChange);

    const QColor white(Qt::white);
    const QColor red(Qt::red);
    Label_Zeile_1 = CreateBoldLabel(this, QStringLiteral("Label_Zeile_1"),
                                    QStringLiteral("Zeile 1"), white, {40, 60}, TaskTextPointSize);
    Label_Zeile_2 = CreateBoldLabel(this, QStringLiteral("Label_Zeile_2"),
                                    QStringLiteral("Zeile 2"), white, {40, 105}, TaskTextPointSize);
    Label_Zeile_3 = CreateBoldLabel(this, QStringLiteral("Label_Zeile_3"),
                                    QStringLiteral("Zeile 3"), white, {40, 150}, TaskTextPointSize);
    Label_Aufforder_Buchst_eing = CreateBoldLabel(
        this, QStringLiteral("Label_Aufforder_Buchst_eing"),
        QStringLiteral("Geben Sie bitte das ..."), red, {40, 225}, TaskTextPointSize);
    Label_Auff_2 = CreateBoldLabel(this, QStringLiteral("Label_Auff_2"),
                                   QStringLiteral("des obigen Textes ein !"), red, {40, 265},
                                   TaskTextPointSize);

    Panel_RestZeit = CreateRemainingTimePanel(this, Navy);
    FormCreate();
}

void TForm_Frage_Text::FormCreate()
{
    ScaleToScreen(this);
}

int CentredLeft(int clientWidth, int blockWidth)
{
    return (clientWidth - blockWidth) / 2;
}

bool TextAnswerIsRight(const QString &typed)
{
    return typed == ExpectedCharacter.text();
}

void TForm_Frage_Text::FormActivate()
{
    for (QLabel *label :
         {Label_Zeile_1, Label_Zeile_2, Label_Zeile_3, Label_Aufforder_Buchst_eing, Label_Auff_2}) {
        QFont font = label->font();
        font.setPointSize(QuestionPointSize);
        label->setFont(font);
        label->adjustSize();
    }
    centreTextBlock();
    PlaceRemainingTimePanel(Panel_RestZeit);
}

// Line 2 is the longest line of every text of two or more lines, so centring it centres the
// text; the rest of the block aligns with it.
void TForm_Frage_Text::centreTextBlock()
{
    const int text = SecondTextQuestion == 0 ? TextNumber1 : TextNumber2;
    const bool severalLines = DisturbingTexts.inRange(text) && DisturbingTexts[text].LineCount > 1;
    const int x = CentredLeft(width(), (severalLines ? Label_Zeile_2 : Label_Zeile_1)->width());
    for (QWidget *widget : std::initializer_list<QWidget *>{
             Label_Zeile_1, Label_Zeile_2, Label_Zeile_3, Label_Aufforder_Buchst_eing, Label_Auff_2,
             Edit_Zeichen_eingeben})
        widget->move(x, widget->y());
}

// The window may reach its maximised size only after it became active.
void TForm_Frage_Text::resizeEvent(QResizeEvent *event)
{
    ModalForm::resizeEvent(event);
    if (isVisible())
        centreTextBlock();
}

void TForm_Frage_Text::Edit_Zeichen_eingebenChange()
{
    const QString typed = Edit_Zeichen_eingeben->text();
    if (typed.isEmpty())
        return;
    if (!TextAnswerIsRight(typed)) {
        Edit_Zeichen_eingeben->clear();
        ShowInformation(WrongCharacterMessage, this);
        return;
    }
    SecondTextQuestion = SecondTextQuestion == 0 ? 1 : 0;
    done(QDialog::Accepted);
}

void TForm_Frage_Text::NameAfterQuestion()
{
    setAccessibleName(Label_Aufforder_Buchst_eing->text() + Label_Auff_2->text());
    QStringList lines;
    for (const QLabel *line : {Label_Zeile_1, Label_Zeile_2, Label_Zeile_3}) {
        if (!line->text().trimmed().isEmpty())
            lines << line->text();
    }
    setAccessibleDescription(lines.join(QLatin1Char('\n')));
}
