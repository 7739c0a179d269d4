// SPDX-License-Identifier: GPL-3.0-or-later
// The capital question window.
#include "disturbance/Fragehst.h"

#include "common/Accessibility.h"
#include "common/Controls.h"
#include "common/ScaleToScreen.h"
#include "common/SharedState.h"
#include "disturbance/Hauptsta.h"
#include "disturbance/Stoeren.h"

#include <QFrame>
#include <QLineEdit>

TForm_Frage_Hst *Form_Frage_Hst = nullptr;

namespace {
const QColor Navy(0x00, 0x00, 0x80);
}

TForm_Frage_Hst::TForm_Frage_Hst(QWidget *parent) : ModalForm(parent)
{
    setObjectName(QStringLiteral("Form_Frage_Hst"));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint);
    setShownMaximized(true);
    resize(640, 480);
    SetBackgroundColour(this, Navy);

    // The answer field comes first in the tab order: the player types at once.
    Edit_Hst_Frage = new QLineEdit(this);
    Edit_Hst_Frage->setObjectName(QStringLiteral("Edit_Hst_Frage"));
    Edit_Hst_Frage->setGeometry(220, 235, 200, 28);
    QPalette palette = Edit_Hst_Frage->palette();
    palette.setColor(QPalette::Base, palette.color(QPalette::Button));
    palette.setColor(QPalette::Text, Qt::black);
    Edit_Hst_Frage->setPalette(palette);
    QFont font = Edit_Hst_Frage->font();
    font.setBold(true);
    font.setPointSize(11);
    Edit_Hst_Frage->setFont(font);
    Edit_Hst_Frage->setAccessibleName(QStringLiteral("Antwort"));
    connect(Edit_Hst_Frage, &QLineEdit::returnPressed, this,
            [this] { Edit_Hst_FrageKeyPress(QChar(13)); });

    Bevel1 = new QFrame(this);
    Bevel1->setObjectName(QStringLiteral("Bevel1"));
    Bevel1->setFrameStyle(QFrame::Box | QFrame::Sunken);
    Bevel1->setGeometry(30, 130, 580, 160);
    Bevel1->lower();

    Label_Hst_Frage = CreateBoldLabel(this, QStringLiteral("Label_Hst_Frage"),
                                      QStringLiteral("Wie heißt die Hauptstadt von"), Qt::white,
                                      {50, 170}, TaskTextPointSize);
    Hst_Frage_Land = new QLabel(this);
    Hst_Frage_Land->setObjectName(QStringLiteral("Hst_Frage_Land"));
    Hst_Frage_Land->setTextFormat(Qt::PlainText);
    Hst_Frage_Land->setAlignment(Qt::AlignCenter);
    Hst_Frage_Land->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    SetBackgroundColour(Hst_Frage_Land, palette.color(QPalette::Button));
    Hst_Frage_Land->setFont(font);
    Hst_Frage_Land->setGeometry(300, 165, 270, 28);
    Label_Fragezeichen =
        CreateBoldLabel(this, QStringLiteral("Label_Fragezeichen"), QStringLiteral("?"), Qt::white,
                        {578, 170}, TaskTextPointSize);

    Panel_RestZeit = CreateRemainingTimePanel(this, Navy);
    FormCreate();
}

void TForm_Frage_Hst::FormCreate()
{
    ScaleToScreen(this);
}

void TForm_Frage_Hst::FormActivate()
{
    Edit_Hst_Frage->clear();
    PlaceRemainingTimePanel(Panel_RestZeit);
}

void TForm_Frage_Hst::Edit_Hst_FrageKeyPress(QChar key)
{
    if (key != QChar(13))
        return;
    if (CapitalAnswerIsRight(Edit_Hst_Frage->text())) {
        done(QDialog::Accepted);
        return;
    }
    // A wrong answer is not told: the player studies the presentation again.
    Edit_Hst_Frage->clear();
    while (Form_Stoeren_Vorgabe->ShowModal() != QDialog::Accepted) {
    }
}

QString ExpectedCapital()
{
    const int asked = SecondCapitalQuestion == 0 ? 1 : 2;
    return CapitalRecordAt(CapitalsBuffer, AskedCountries[asked]).Capital;
}

QString CapitalQuestion(const QString &country)
{
    return QStringLiteral("Wie heißt die Hauptstadt von %1?").arg(country);
}

bool CapitalAnswerIsRight(const QString &answer)
{
    return answer == ExpectedCapital();
}
