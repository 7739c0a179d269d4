// SPDX-License-Identifier: GPL-3.0-or-later
// The disturbance dispatcher, the disturbing texts and the capitals presentation.
#include "disturbance/Stoeren.h"

#include "common/Accessibility.h"
#include "common/Controls.h"
#include "common/RandomClock.h"
#include "common/RecordFile.h"
#include "common/ScaleToScreen.h"
#include "disturbance/Billard.h"
#include "disturbance/Fragehst.h"
#include "disturbance/Hauptsta.h"
#include "disturbance/Ringe.h"
#include "disturbance/Stoertex.h"
#include "exercise/Muw.h"
#include "exercise/Muw_zahl.h"

#include <QFrame>
#include <QLineEdit>
#include <QPushButton>

TForm_Stoeren_Vorgabe *Form_Stoeren_Vorgabe = nullptr;

// clang-format off
const OneBasedArray<DisturbingText, DisturbingTextCount> DisturbingTexts({{
    {{"Haben Sie das auch schon oft erlebt ?",
      "Da hat man sich endlich auf etwas konzentrieren können,",
      "und schon labert einer dazwischen."}, 3},
    {{"Ich hoffe, Sie haben genügend Zeit und vor",
      "allem Ruhe, um sich auf das Behalten der Vorgaben",
      "konzentrieren zu können."}, 3},
    {{"Es tut mir sehr leid!",
      "Entschuldigen Sie bitte diese fiese Störung!",
      " "}, 2},
    {{"Ein Konzentrationstip:",
      "Lassen Sie sich einfach durch nichts ablenken!",
      " "}, 2},
    {{"Wer sich über Störungen ärgert,",
      "vergißt leicht, was er behalten wollte!",
      " "}, 2},
    {{"Die meisten Konzentrationsfehler",
      "unterlaufen Leuten, die gestört werden.",
      " "}, 2},
    {{"Ich hoffe, Sie nicht zu stören! Ehrlich!",
      " ",
      " "}, 1},
    {{"Ein sicherer Tip zum Vergessen der Vorgabe:",
      "Denken Sie darüber nach, wie gemein es ist,",
      "diese Texte einzublenden! "}, 3},
    {{"Dieser Text enthält einen Fehler.",
      "Wenn Sie ihn finden, vergössen Sie",
      "sicher die Vorgabe!"}, 3},
    {{"Ich habe es satt,",
      "solch fiese Texte zum Stören zu erfinden!",
      "Viel Erfolg beim Behalten der Vorgaben!!!"}, 3},
}});
// clang-format on

OneBasedArray<Byte, 3> PresentedCountries;
OneBasedArray<Byte, 2> AskedCountries;
Byte TextNumber1 = 1;
Byte TextNumber2 = 2;
Byte AskedLine = 1;
Byte AskedCharNumber = 5;
ShortString<1> ExpectedCharacter;

QString DisturbingText::line(int m) const
{
    if (m < 1 || m > int(Lines.size()))
        return {};
    return Lines[size_t(m - 1)].text();
}

// The settings window's disturbance controls and the exercise window's waiting timer are
// reached only here.

bool DisturbanceSwitchedOn()
{
    return Form_MuW->Radio_Stoeren->ItemIndex() == 0;
}

int DisturbanceKind()
{
    return Form_MuW->Radio_TextHstRinge->ItemIndex();
}

int CapitalsContinent()
{
    return Form_MuW->Radio_Stoeren_Hst->ItemIndex();
}

namespace {
void StopWaitingTimer()
{
    Form_MuW_Zahlen->Timer_MuW_Warten.setInterval(0);
}
} // namespace

// Building blocks of the disturbance windows.

QPoint RemainingTimePanelPosition(QSize client, QSize panel)
{
    return {client.width() - panel.width() - client.width() / 40,
            client.height() - panel.height() - client.height() / 20};
}

namespace {
// A panel with a lowered bevel showing a name exactly as stored.
QLabel *createNamePanel(QWidget *parent, const QString &name, const QRect &geometry)
{
    auto *panel = new QLabel(parent);
    panel->setObjectName(name);
    panel->setTextFormat(Qt::PlainText);
    panel->setAlignment(Qt::AlignCenter);
    panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    SetBackgroundColour(panel, parent->palette().color(QPalette::Button));
    SetTextColour(panel, Qt::black);
    SetBoldFont(panel, 9);
    panel->setGeometry(geometry);
    return panel;
}
} // namespace

QLabel *CreateRemainingTimePanel(QWidget *window, const QColor &background)
{
    auto *panel = new QLabel(window);
    panel->setObjectName(QStringLiteral("Panel_RestZeit"));
    panel->setTextFormat(Qt::PlainText);
    panel->setAlignment(Qt::AlignCenter);
    SetBackgroundColour(panel, background);
    SetTextColour(panel, Qt::yellow);
    SetBoldFont(panel, 12);
    panel->setGeometry(530, 440, 100, 24);
    NameAsDisplay(panel, QStringLiteral("Restzeit"));
    return panel;
}

void PlaceRemainingTimePanel(QLabel *panel)
{
    const QWidget *exercise =
        Form_MuW_Zahlen ? static_cast<QWidget *>(Form_MuW_Zahlen) : panel->window();
    panel->move(RemainingTimePanelPosition(exercise->size(), panel->size()));
}

// The presentation window.

TForm_Stoeren_Vorgabe::TForm_Stoeren_Vorgabe(QWidget *parent) : ModalForm(parent)
{
    setObjectName(QStringLiteral("Form_Stoeren_Vorgabe"));
    setWindowTitle(QStringLiteral("Stören"));
    setWindowFlags(Qt::Dialog | Qt::FramelessWindowHint);
    setShownMaximized(true);
    resize(640, 480);
    SetBackgroundColour(this, QColor(0x80, 0x00, 0x00));

    // The OK button comes first so that it holds the focus when the window opens.
    But_zurueck = new QPushButton(QStringLiteral("OK"), this);
    But_zurueck->setObjectName(QStringLiteral("But_zurueck"));
    But_zurueck->setDefault(true);
    But_zurueck->setGeometry(270, 345, 100, 30);
    connect(But_zurueck, &QPushButton::clicked, this, &TForm_Stoeren_Vorgabe::But_zurueckClick);

    const QColor white(Qt::white);
    Stoeren_Hst_Text_1 = CreateBoldLabel(
        this, QStringLiteral("Stoeren_Hst_Text_1"),
        QStringLiteral("Merken Sie sich bitte die folgenden Länder mit ihren Hauptstädten !"),
        white, {30, 30}, TaskTextPointSize);
    Stoeren_Hst_Text_2 = CreateBoldLabel(
        this, QStringLiteral("Stoeren_Hst_Text_2"),
        QStringLiteral("Prägen Sie sich bitte insbesondere die genaue Schreibweise"), white,
        {30, 60}, TaskTextPointSize);
    Stoeren_Hst_Text_3 = CreateBoldLabel(
        this, QStringLiteral("Stoeren_Hst_Text_3"),
        QStringLiteral("der Hauptstädte ein (Bitte auch auf Grossbuchstaben achten!)!"), white,
        {30, 85}, TaskTextPointSize);
    createRow(1, Hst_von_1, Panel_Land_1, Stoeren_ist_1, Panel_Hst_1);
    createRow(2, Hst_von_2, Panel_Land_2, Stoeren_ist_2, Panel_Hst_2);
    createRow(3, Hst_von_3, Panel_Land_3, Stoeren_ist_3, Panel_Hst_3);

    Bevel_Trenn = new QFrame(this);
    Bevel_Trenn->setObjectName(QStringLiteral("Bevel_Trenn"));
    Bevel_Trenn->setFrameStyle(QFrame::Panel | QFrame::Raised);
    Bevel_Trenn->setGeometry(20, 315, 600, 4);

    Panel_RestZeit = CreateRemainingTimePanel(this, QColor(0x80, 0x00, 0x00));
    FormCreate();
}

void TForm_Stoeren_Vorgabe::createRow(int row, QLabel *&hstVon, QLabel *&land, QLabel *&ist,
                                      QLabel *&hst)
{
    const int y = 140 + (row - 1) * 55;
    const QString number = QString::number(row);
    const QColor white(Qt::white);
    hstVon = CreateBoldLabel(this, QStringLiteral("Hst_von_") + number,
                             QStringLiteral("Die Hauptstadt von "), white, {10, y + 5}, 10);
    land = createNamePanel(this, QStringLiteral("Panel_Land_") + number, {174, y, 212, 28});
    ist = CreateBoldLabel(this, QStringLiteral("Stoeren_ist_") + number, QStringLiteral("ist"),
                          white, {394, y + 5}, 10);
    hst = createNamePanel(this, QStringLiteral("Panel_Hst_") + number, {420, y, 210, 28});
}

void TForm_Stoeren_Vorgabe::FormCreate()
{
    ScaleToScreen(this);
}

QLabel *TForm_Stoeren_Vorgabe::PanelLand(int i) const
{
    return i == 1 ? Panel_Land_1 : i == 2 ? Panel_Land_2 : Panel_Land_3;
}

QLabel *TForm_Stoeren_Vorgabe::PanelHst(int i) const
{
    return i == 1 ? Panel_Hst_1 : i == 2 ? Panel_Hst_2 : Panel_Hst_3;
}

void TForm_Stoeren_Vorgabe::FormActivate()
{
    PlaceRemainingTimePanel(Panel_RestZeit);
}

void TForm_Stoeren_Vorgabe::But_zurueckClick()
{
    done(QDialog::Accepted);
}

// Disturbed rounds and the capitals presentation.

void ChooseDisturbanceRounds()
{
    Randomize();
    for (int draw = 0; draw < 200; ++draw) {
        DisturbanceRound1 = Byte(Random(4) + 2);
        DisturbanceRound2 = Byte(Random(4) + 2);
        if (DisturbanceRound1 != DisturbanceRound2)
            return;
    }
    DisturbanceRound1 = 3;
    DisturbanceRound2 = 5;
}

namespace {
struct ContinentDraw
{
    int count;
    int first;
};

// Random(count) + first for Europa, Asien, Afrika, Amerika, Australien.
constexpr std::array<ContinentDraw, 5> ContinentDraws{{
    {44, 1},
    {47, 50},
    {53, 100},
    {35, 160},
    {13, 200},
}};

Byte drawOutside(int count, int first, int gapFirst, int gapLast)
{
    int record = 0;
    do
        record = Random(count) + first;
    while (record >= gapFirst && record <= gapLast);
    return Byte(record);
}

std::array<Byte, 3> drawAllContinents()
{
    return {drawOutside(96, 1, 45, 49), Byte(Random(53) + 100), drawOutside(53, 160, 195, 199)};
}

std::array<Byte, 3> drawOneContinent(const ContinentDraw &range)
{
    std::array<Byte, 3> records{};
    do {
        for (Byte &record : records)
            record = Byte(Random(range.count) + range.first);
    } while (records[0] == records[1] || records[0] == records[2] || records[1] == records[2]);
    return records;
}
} // namespace

std::array<Byte, 3> DrawPresentedCountries(int continentIndex)
{
    if (continentIndex >= 0 && continentIndex < int(ContinentDraws.size()))
        return drawOneContinent(ContinentDraws[size_t(continentIndex)]);
    return drawAllContinents();
}

void ChooseCountries()
{
    LoadCapitalsBuffer();
    Randomize();
    PresentedCountries = OneBasedArray<Byte, 3>(DrawPresentedCountries(CapitalsContinent()));
    ChooseAskedCountries();
}

void ChooseAskedCountries()
{
    Randomize();
    int p = 0;
    int q = 0;
    do {
        p = Random(3) + 1;
        q = Random(3) + 1;
    } while (p == q);
    AskedCountries[1] = PresentedCountries[p];
    AskedCountries[2] = PresentedCountries[q];
}

void FillPresentationPanels()
{
    for (int i = 1; i <= 3; ++i) {
        const CapitalRecord record = CapitalRecordAt(CapitalsBuffer, PresentedCountries[i]);
        Form_Stoeren_Vorgabe->PanelLand(i)->setText(record.Country);
        Form_Stoeren_Vorgabe->PanelHst(i)->setText(record.Capital);
    }
}

void SetQuestionCountry(Byte n)
{
    const QString country = CapitalRecordAt(CapitalsBuffer, n).Country;
    Form_Frage_Hst->Hst_Frage_Land->setText(country);
    Form_Frage_Hst->setAccessibleName(CapitalQuestion(country));
}

bool ShowCapitalsPresentation()
{
    if (!HandleInOutErrors(ChooseCountries))
        return false;
    FillPresentationPanels();
    Form_Stoeren_Vorgabe->ShowModal();
    return true;
}

// Text questions.

void ChooseTextPair()
{
    Randomize();
    do {
        TextNumber1 = Byte(Random(DisturbingTextCount) + 1);
        TextNumber2 = Byte(Random(DisturbingTextCount) + 1);
    } while (TextNumber1 == TextNumber2);
}

QString FindNthNonSpaceChar(const QString &line, Byte n)
{
    int count = 0;
    for (const QChar c : line) {
        if (c != QLatin1Char(' ') && ++count == n)
            return QString(c);
    }
    return {};
}

QString TextQuestionRequest(int charNumber, int lineNumber)
{
    return QStringLiteral("Geben Sie bitte das %1. Zeichen der %2. Zeile ")
        .arg(charNumber)
        .arg(lineNumber);
}

namespace {
void setSizedText(QLabel *label, const QString &text)
{
    label->setText(text);
    label->adjustSize();
}
} // namespace

void PrepareTextQuestion()
{
    ChooseTextPair();
    Randomize();
    const int t = SecondTextQuestion == 0 ? TextNumber1 : TextNumber2;
    const DisturbingText &text = DisturbingTexts[t];
    AskedLine = Byte(Random(text.LineCount) + 1);
    AskedCharNumber = Byte(SecondTextQuestion == 0 ? Random(8) + 5 : Random(6) + 5);
    ExpectedCharacter = FindNthNonSpaceChar(text.line(AskedLine), AskedCharNumber);
    FillTextQuestion(t);
}

void FillTextQuestion(int t)
{
    const DisturbingText &text = DisturbingTexts[t];
    TForm_Frage_Text *form = Form_Frage_Text;
    setSizedText(form->Label_Zeile_1, text.line(1));
    setSizedText(form->Label_Zeile_2, text.LineCount >= 2 ? text.line(2) : QString());
    setSizedText(form->Label_Zeile_3, text.LineCount == 3 ? text.line(3) : QString());
    setSizedText(form->Label_Aufforder_Buchst_eing,
                 TextQuestionRequest(AskedCharNumber, AskedLine));
    form->NameAfterQuestion();
}

// The dispatcher.

namespace {
// The player's close box gives Cancel; only OK (solved, or the time-out) ends a task.
void showUntilOk(ModalForm *form)
{
    while (form->ShowModal() != QDialog::Accepted) {
    }
}

void runTextQuestion()
{
    PrepareTextQuestion();
    showUntilOk(Form_Frage_Text);
    Form_Frage_Text->Edit_Zeichen_eingeben->clear();
}

void runCapitalQuestion()
{
    SetQuestionCountry(AskedCountries[SecondCapitalQuestion == 0 ? 1 : 2]);
    showUntilOk(Form_Frage_Hst);
    Form_Frage_Hst->Edit_Hst_Frage->clear();
    SecondCapitalQuestion = 1;
}
} // namespace

void RunDisturbance()
{
    StopWaitingTimer();
    if (!DisturbanceSwitchedOn())
        return;
    switch (DisturbanceKind()) {
    case ChoiceTexte:
        runTextQuestion();
        break;
    case ChoiceHauptstaedte:
        runCapitalQuestion();
        break;
    case ChoiceKreise:
        RunRingsTask();
        break;
    case ChoiceBillard:
        RunBilliardTask();
        break;
    default:
        break;
    }
}
