// SPDX-License-Identifier: GPL-3.0-or-later
// The exercise window: a game's rounds, sequences, phases and scoring.
#include "exercise/Muw_zahl.h"

#include "common/Accessibility.h"
#include "common/Controls.h"
#include "common/KeyPress.h"
#include "common/MessageBoxes.h"
#include "common/Numbers.h"
#include "common/RandomClock.h"
#include "common/ScaleToScreen.h"
#include "common/SharedState.h"
#include "disturbance/Stoeren.h"
#include "exercise/Muw.h"
#include "results/Tagebuchfuehrung.h"
#include "results/Zeigen.h"

#include <QApplication>
#include <QComboBox>
#include <QHideEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QValidator>

#include <algorithm>

TForm_MuW_Zahlen *Form_MuW_Zahlen = nullptr;

namespace {
constexpr int DesignWidth = 640;
constexpr int DesignHeight = 480;
constexpr int ShadowOffset = 16;
constexpr int FirstLetterIndex = 10;
constexpr int DigitCount = 9;
constexpr int LetterCount = 24;
constexpr int MaxInputLength = 45;

const QString AbortQuestion = QStringLiteral("Willst Du dieses Spiel\nwirklich abbrechen ?");

// Count and kind per s = level + round, s = 2 .. 21.
constexpr SequenceSpec SequenceTable[] = {
    {3, false},  {3, true}, {4, false},  {5, false}, {4, true},  {6, false},  {5, true},
    {7, false},  {6, true}, {8, false},  {9, false}, {7, true},  {10, false}, {8, true},
    {11, false}, {9, true}, {12, false}, {10, true}, {11, true}, {12, true}};
constexpr int FirstTableSum = 2;
constexpr int LastTableSum = 21;

const QString BackgroundA = QStringLiteral(
    "*Also lautet ein Beschluss, dass der Mensch was lernen muss.**Nicht allein das ABC bringt den "
    "Menschen in die Höh'.*Auch in allen Merkesachen soll der Mensch sich Mühe machen !*");
const QString BackgroundB = QStringLiteral(
    "*Nicht allein das ABC bringt den Menschen in die Höh'.*Auch in allen Merkesachen soll der "
    "Mensch sich Mühe machen !**Also lautet ein Beschluss, dass der Mensch was lernen muss.*");
const QString BackgroundC = QStringLiteral(
    "Auch in allen Merkesachen soll der Mensch sich Mühe machen !**Also lautet ein Beschluss, dass "
    "der Mensch was lernen muss.**Nicht allein das ABC bringt den Menschen in die Höh'.*");
const QString BackgroundSecond = QStringLiteral(
    "* Wer sich viel merken kann, ist besser dran ** Wer sich viel merken kann, ist besser dran ** "
    "Wer sich viel merken kann, ist besser dran *");

bool isAsciiDigit(QChar c)
{
    return c >= QLatin1Char('0') && c <= QLatin1Char('9');
}

bool isAsciiLetter(QChar c)
{
    return (c >= QLatin1Char('A') && c <= QLatin1Char('Z')) ||
           (c >= QLatin1Char('a') && c <= QLatin1Char('z'));
}

// Typed text becomes upper case; pasted text with other characters is refused like typed keys.
class UpperCaseInput : public QValidator
{
public:
    using QValidator::QValidator;
    State validate(QString &input, int &) const override
    {
        for (QChar &c : input)
            c = c.toUpper();
        for (QChar c : input) {
            if (!isAsciiDigit(c) && !isAsciiLetter(c))
                return Invalid;
        }
        return Acceptable;
    }
};

void setFontSize(QWidget *widget, int points, const QString &family = QString())
{
    QFont font = widget->font();
    if (!family.isEmpty())
        font.setFamily(family);
    font.setPointSize(std::max(1, points));
    widget->setFont(font);
}

QLabel *createPanel(QWidget *parent, const QString &name, const QRect &geometry,
                    const QColor &colour)
{
    auto *panel = new QLabel(parent);
    panel->setObjectName(name);
    panel->setGeometry(geometry);
    panel->setAlignment(Qt::AlignCenter);
    SetBackgroundColour(panel, colour);
    return panel;
}

} // namespace

// ---------------------------------------------------------------------------------------------
// Sequences, scoring, labels

QString SymbolTableEntry(int index)
{
    if (index >= 1 && index <= DigitCount)
        return QStringLiteral(" ") + QChar(u'0' + index);
    if (index < FirstLetterIndex || index > SymbolCount)
        return QString();
    int letter = index - FirstLetterIndex; // 0 .. 23 over A..N, P..U, W..Z
    if (letter >= 14)
        ++letter; // skip O
    if (letter >= 21)
        ++letter; // skip V
    return QStringLiteral(" ") + QChar(u'A' + letter);
}

SequenceSpec SequenceSpecFor(int level, int round)
{
    const int s = std::clamp(level + round, FirstTableSum, LastTableSum);
    return SequenceTable[s - FirstTableSum];
}

QString DrawSequence(int level, int round, const std::function<int(int)> &random)
{
    const SequenceSpec spec = SequenceSpecFor(level, round);
    QString sequence;
    for (int i = 0; i < spec.count; ++i) {
        const int index =
            spec.letters ? FirstLetterIndex + random(LetterCount) : 1 + random(DigitCount);
        sequence += SymbolTableEntry(index);
    }
    return sequence;
}

int SymbolWeight(QChar symbol)
{
    return isAsciiDigit(symbol) ? 3 : 4;
}

RoundScore ScoreSequence(const QString &presented, const QString &typed)
{
    RoundScore score;
    for (int k = 0; k < presented.size(); ++k) {
        const int weight = SymbolWeight(presented[k]);
        score.possible += weight;
        const bool right = k < typed.size() && typed[k] == presented[k];
        if (right)
            score.achieved += weight;
        score.marks += right ? QLatin1Char('w') : QLatin1Char('f');
    }
    return score;
}

DisturbanceLabelSet MakeDisturbanceLabels(const DisturbanceChoice &choice, int disturbedRound1,
                                          int disturbedRound2, int lastDisturbableRound)
{
    static const QString none6 = QStringLiteral("      -");
    static const QString none7 = QStringLiteral("       -");
    static const QString continents[] = {QStringLiteral("  H_Eu"), QStringLiteral("  H_As"),
                                         QStringLiteral("  H_Af"), QStringLiteral("  H_Am"),
                                         QStringLiteral("  H_Au"), QStringLiteral("  H_Er")};
    const QString step = QString::number(std::abs(choice.billiardStep));

    QString disturbed = none6;
    QString undisturbed = none6;
    if (choice.on) {
        switch (choice.kind) {
        case ChoiceTexte:
            disturbed = QStringLiteral("     T");
            break;
        case ChoiceHauptstaedte:
            disturbed = continents[std::clamp(choice.continent, 0, 5)];
            break;
        case ChoiceKreise:
            disturbed =
                QStringLiteral("R-%1-%2-%3").arg(choice.ringsModeCode, step, choice.speedText);
            undisturbed = none7;
            break;
        case ChoiceBillard:
            disturbed = QStringLiteral("B-%1-%2-%3-%4")
                            .arg(choice.correctionCode, QString::number(choice.cushions), step,
                                 choice.speedText);
            undisturbed = none7;
            break;
        default:
            break;
        }
    }
    disturbed = disturbed.left(12);
    DisturbanceLabelSet labels;
    labels.game = undisturbed;
    for (int round = 1; round <= RoundsPerGame; ++round) {
        const bool hit =
            (round == disturbedRound1 || round == disturbedRound2) && round <= lastDisturbableRound;
        labels.rounds[size_t(round - 1)] = hit ? disturbed : undisturbed;
        if (hit)
            labels.game = disturbed;
    }
    return labels;
}

QString BackgroundText(bool firstSet, int label)
{
    if (!firstSet)
        return BackgroundSecond;
    switch (label % 3) {
    case 1:
        return BackgroundA;
    case 2:
        return BackgroundB;
    default:
        return BackgroundC;
    }
}

ExerciseGeometry ComputeExerciseGeometry(int roundLevel, int clientWidth, int outerWidth)
{
    ExerciseGeometry g;
    g.panelWidth = roundLevel >= 11 ? RoundHalfEven(outerWidth / 10.0 * 8)
                                    : RoundHalfEven(clientWidth / 10.0 * 6.5);
    g.panelLeft = Div(clientWidth - g.panelWidth, 2);
    g.inputWidth = RoundHalfEven(g.panelWidth / 10.0 * 7);
    g.inputLeft = RoundHalfEven(g.panelLeft + g.panelWidth / 20.0 * 3.5);
    return g;
}

// ---------------------------------------------------------------------------------------------
// The window

TForm_MuW_Zahlen::TForm_MuW_Zahlen(QWidget *parent) : ModalForm(parent)
{
    setObjectName(QStringLiteral("Form_MuW_Zahlen"));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    setWindowTitle(QStringLiteral("          Merken"));
    setShownMaximized(true);
    resize(DesignWidth, DesignHeight);
    SetBackgroundColour(this, Qt::darkGreen);
    createControls();

    Timer_MuW_Merken.setObjectName(QStringLiteral("Timer_MuW_Merken"));
    Timer_MuW_Warten.setObjectName(QStringLiteral("Timer_MuW_Warten"));
    connect(&Timer_MuW_Merken, &PhaseTimer::timeout, this,
            &TForm_MuW_Zahlen::Timer_MuW_MerkenTimer);
    connect(&Timer_MuW_Warten, &PhaseTimer::timeout, this,
            &TForm_MuW_Zahlen::Timer_MuW_WartenTimer);
    connect(Edit_Wiedergeben, &QLineEdit::textChanged, this,
            &TForm_MuW_Zahlen::Edit_WiedergebenChange);
    Edit_Wiedergeben->installEventFilter(this);
    FormCreate();
}

void TForm_MuW_Zahlen::createControls()
{
    for (int i = 0; i < BackgroundLabelCount; ++i) {
        auto *label = new QLabel(this);
        label->setObjectName(QStringLiteral("Label_HG_Text_%1").arg(i + 1));
        label->setGeometry(0, 4 + i * 25, DesignWidth, 22);
        label->setFont(QFont(QStringLiteral("Times New Roman"), 12));
        SetTextColour(label, Qt::yellow);
        label->hide();
        Label_HG_Text[size_t(i)] = label;
    }
    Panel_Schatten_bitte_merken = createPanel(this, QStringLiteral("Panel_Schatten_bitte_merken"),
                                              {128, 116, 250, 40}, Qt::black);
    Panel_Schatten_Zahlenfenster = createPanel(this, QStringLiteral("Panel_Schatten_Zahlenfenster"),
                                               {128, 196, 416, 90}, Qt::black);
    Panel_bitte_merken = createPanel(this, QStringLiteral("Panel_bitte_merken"),
                                     {112, 100, 250, 40}, ButtonFaceColour());
    Panel_bitte_merken->setText(QStringLiteral(" Bitte merken:"));
    QFont bold = Panel_bitte_merken->font();
    bold.setBold(true);
    Panel_bitte_merken->setFont(bold);
    Panel_MuW_Zahlen = createPanel(this, QStringLiteral("Panel_MuW_Zahlen"), {112, 180, 416, 90},
                                   ButtonFaceColour());

    Edit_Wiedergeben = new QLineEdit(this);
    Edit_Wiedergeben->setObjectName(QStringLiteral("Edit_Wiedergeben"));
    Edit_Wiedergeben->setGeometry(185, 195, 291, 60);
    Edit_Wiedergeben->setFrame(false);
    Edit_Wiedergeben->setMaxLength(MaxInputLength);
    Edit_Wiedergeben->setValidator(new UpperCaseInput(Edit_Wiedergeben));
    Edit_Wiedergeben->setFont(QFont(QStringLiteral("Arial"), 12));
    SetBackgroundColour(Edit_Wiedergeben, ButtonFaceColour());
    Edit_Wiedergeben->setAccessibleName(QStringLiteral("Deine Eingabe"));
    Edit_Wiedergeben->hide();
    NameAsDisplay(Panel_MuW_Zahlen, QStringLiteral("Vorgabe"));

    Panel_RestZeit =
        createPanel(this, QStringLiteral("Panel_RestZeit"), {540, 440, 80, 24}, Qt::darkGreen);
    QFont timeFont = Panel_RestZeit->font();
    timeFont.setBold(true);
    Panel_RestZeit->setFont(timeFont);
    SetTextColour(Panel_RestZeit, Qt::yellow);
    NameAsDisplay(Panel_RestZeit, QStringLiteral("Restzeit"));
}

void TForm_MuW_Zahlen::FormCreate()
{
    ScaleToScreen(this);
    Randomize();
    // Shadows lie behind the panels; the background lines lie behind everything.
    Panel_Schatten_bitte_merken->lower();
    Panel_Schatten_Zahlenfenster->lower();
    for (QLabel *label : Label_HG_Text)
        label->lower();
    HintPanelOn = 1;
    if (BackgroundTextOn == 1)
        SetBackgroundVisible(true);
    SetBackgroundTexts(Random(100) + 1 < 50);
    TimeoutAbort = 0;
}

void TForm_MuW_Zahlen::SetBackgroundTexts(bool firstSet)
{
    for (int i = 1; i <= BackgroundLabelCount; ++i)
        Label_HG_Text[size_t(i - 1)]->setText(BackgroundText(firstSet, i));
}

void TForm_MuW_Zahlen::SetBackgroundVisible(bool visible)
{
    for (QLabel *label : Label_HG_Text)
        label->setVisible(visible);
}

void TForm_MuW_Zahlen::SetHintPanelVisible(bool visible)
{
    Panel_bitte_merken->setVisible(visible);
    Panel_Schatten_bitte_merken->setVisible(visible);
}

void TForm_MuW_Zahlen::SetPhaseCaption(const QString &caption)
{
    setWindowTitle(WindowCaptionOn == 1 ? caption : QString());
}

// ---------------------------------------------------------------------------------------------
// Start of a game

void TForm_MuW_Zahlen::StartGame()
{
    if (!PrepareGame())
        return;
    ShowModal();
    FormDeactivate();
}

bool TForm_MuW_Zahlen::PrepareGame()
{
    JournalKeeping::GameStarted();
    RoundNumber = 0;
    PointsPossible = 0;
    SecondCapitalQuestion = 0;
    SecondTextQuestion = 0;
    ResultSaved = 0;
    RunFinished = 0;
    TimeoutAbort = 0;
    m_lastWaitedRound = 0;
    setWindowTitle(QString());
    PointsAchieved = 0;
    PresentedSequences.fill({});
    ReproducedSequences.fill({});
    SymbolMarks.fill({});
    RoundPointsPossible.fill(0);
    RoundPointsAchieved.fill(0);

    ChooseDisturbanceRounds();
    Form_MuW->HideSettingsControls();
    NextRound();
    Form_MuW->StartOverallTime(SequenceLength);
    if (Form_MuW->CapitalsMode() && !ShowCapitalsPresentation()) {
        // The capitals could not be read: no game, and nothing to save.
        Form_MuW->StopOverallTime();
        Form_MuW->ShowSettingsControls();
        ResultSaved = 1;
        return false;
    }
    DifficultyLevel = Byte(Form_MuW->LevelValue());
    PresentTimeFactor = Form_MuW->PresentFactorValue();
    WaitTimeFactor = Form_MuW->WaitFactorValue();
    TimeAllowanceSteps = Form_MuW->AllowanceStepsValue();
    if (TimeoutAbort == 1) {
        // The limit struck during the presentation; the game is over before its window opens.
        Form_MuW->ShowSettingsControls();
        return false;
    }
    m_activationPending = true;
    m_gameOpen = true;
    return true;
}

void TForm_MuW_Zahlen::NextRound()
{
    ++RoundNumber;
    RoundLevel = Byte(Form_MuW->LevelValue());
    Randomize();
    SequenceText = DrawSequence(RoundLevel, RoundNumber, [](int n) { return Random(n); });
    Edit_Wiedergeben->hide();
    Panel_MuW_Zahlen->show();
    setFontSize(Panel_MuW_Zahlen, RoundHalfEven(Panel_MuW_Zahlen->height() / 10.0 * 3.5),
                QStringLiteral("Arial"));
    Panel_MuW_Zahlen->setText(SequenceText);
    QString presented = SequenceText;
    presented.remove(QLatin1Char(' '));
    if (IsGameRound(RoundNumber))
        PresentedSequences[RoundNumber] = presented;
    SequenceLength = Byte(presented.size());
    presentSequence();
}

// A screen reader tells the new sequence once: the panel takes the focus of the window, which
// is made the active one (the first round's window takes it when it opens).
void TForm_MuW_Zahlen::presentSequence()
{
    if (isVisible() && !isActiveWindow()) {
        raise();
        activateWindow();
    }
    if (Panel_MuW_Zahlen->hasFocus())
        Panel_MuW_Zahlen->clearFocus();
    Panel_MuW_Zahlen->setFocus(Qt::OtherFocusReason);
}

// ---------------------------------------------------------------------------------------------
// Activation, geometry, closing

void TForm_MuW_Zahlen::FormActivate()
{
    if (!m_activationPending)
        return;
    m_activationPending = false;
    restoreDesignColours();
    arrangeControls();
    setFontSize(Panel_bitte_merken, Div(Panel_bitte_merken->height(), 4));
    setFontSize(Panel_MuW_Zahlen, Div(Panel_MuW_Zahlen->height(), 3));
    setFontSize(Edit_Wiedergeben, Div(Panel_MuW_Zahlen->height(), 3));
    Edit_Wiedergeben->clear();
    Panel_bitte_merken->setText(QStringLiteral("  Bitte merken !  "));
    Timer_MuW_Merken.setInterval(PhaseIntervalMs(Form_MuW->PresentFactorValue(), SequenceLength));
}

// A game aborted in its waiting phase must not leave the next game's first sequence on red.
void TForm_MuW_Zahlen::restoreDesignColours()
{
    SetBackgroundColour(Panel_MuW_Zahlen, ButtonFaceColour());
    SetTextColour(Panel_bitte_merken, Qt::black);
}

void TForm_MuW_Zahlen::arrangeControls()
{
    const int clientWidth = width();
    const int clientHeight = height();
    const ExerciseGeometry g =
        ComputeExerciseGeometry(RoundLevel, clientWidth, frameGeometry().width());
    Panel_MuW_Zahlen->setGeometry(g.panelLeft, Panel_MuW_Zahlen->y(), g.panelWidth,
                                  Panel_MuW_Zahlen->height());
    Edit_Wiedergeben->setGeometry(g.inputLeft, Edit_Wiedergeben->y(), g.inputWidth,
                                  Edit_Wiedergeben->height());
    Panel_Schatten_Zahlenfenster->setGeometry(g.panelLeft + ShadowOffset,
                                              Panel_Schatten_Zahlenfenster->y(), g.panelWidth,
                                              Panel_Schatten_Zahlenfenster->height());
    Panel_bitte_merken->move(g.panelLeft, Panel_bitte_merken->y());
    Panel_Schatten_bitte_merken->move(Panel_Schatten_Zahlenfenster->x(),
                                      Panel_Schatten_bitte_merken->y());
    Panel_RestZeit->move(clientWidth - Panel_RestZeit->width() - Div(clientWidth, 40),
                         clientHeight - Panel_RestZeit->height() - Div(clientHeight, 20));
}

void TForm_MuW_Zahlen::showEvent(QShowEvent *event)
{
    ModalForm::showEvent(event);
    // Where the platform sends no activation for a freshly shown window, start the game anyway.
    QMetaObject::invokeMethod(this, &TForm_MuW_Zahlen::FormActivate, Qt::QueuedConnection);
}

void TForm_MuW_Zahlen::resizeEvent(QResizeEvent *event)
{
    ModalForm::resizeEvent(event);
    // The background lines are longer than any window: they run on to its right edge instead
    // of stopping at the design width.
    for (QLabel *label : Label_HG_Text)
        label->setGeometry(0, label->y(), width(), label->height());
    // The maximised size may arrive after the activation.
    if (m_gameOpen && !m_activationPending)
        arrangeControls();
}

void TForm_MuW_Zahlen::hideEvent(QHideEvent *event)
{
    ModalForm::hideEvent(event);
    if (!event->spontaneous())
        FormDeactivate();
}

// Only the closing of the window counts; a window or box opened over it does not.
void TForm_MuW_Zahlen::FormDeactivate()
{
    if (!m_gameOpen || isVisible())
        return;
    m_gameOpen = false;
    m_activationPending = false;
    Form_MuW->ShowSettingsControls();
}

bool TForm_MuW_Zahlen::FormCloseQuery()
{
    if (RunFinished == 1 || TimeoutAbort == 1)
        return true;
    // Yes throws the running game away, so Enter alone must not.
    if (!AskYesNo(AbortQuestion, this, DefaultAnswer::No))
        return false;
    // The time ran out while the question was open: that game waits to be saved.
    if (TimeoutAbort == 1)
        return true;
    GameEndTime = RandomClock::now();
    ResultSaved = 1;
    Timer_MuW_Merken.stop();
    Timer_MuW_Warten.stop();
    Form_MuW->StopOverallTime();
    done(QDialog::Accepted);
    return true;
}

bool TForm_MuW_Zahlen::gameStillRunning() const
{
    return m_gameOpen && TimeoutAbort == 0 && IsGameRound(RoundNumber);
}

// ---------------------------------------------------------------------------------------------
// Phases

void TForm_MuW_Zahlen::Timer_MuW_MerkenTimer()
{
    if (!gameStillRunning()) {
        Timer_MuW_Merken.stop();
        return;
    }
    StartWaitPhase();
}

void TForm_MuW_Zahlen::StartWaitPhase()
{
    Panel_MuW_Zahlen->show();
    setFontSize(Panel_MuW_Zahlen, RoundHalfEven(Panel_MuW_Zahlen->height() / 10.0 * 2.5),
                QStringLiteral("Times New Roman"));
    Panel_MuW_Zahlen->setText(QStringLiteral("  Bitte Warten !  "));
    SetBackgroundColour(Panel_MuW_Zahlen, Qt::red);
    SetPhaseCaption(QStringLiteral("     Warten (%1)").arg(RoundNumber));
    Timer_MuW_Merken.stop();
    Timer_MuW_Warten.setInterval(PhaseIntervalMs(Form_MuW->WaitFactorValue(), SequenceLength));
    SetTextColour(Panel_bitte_merken, Qt::red);
    // The hint panel tells each new hint itself; the focused sequence panel tells the wait too.
    Panel_bitte_merken->setText(QStringLiteral(" Bitte warten ! "));
    AnnounceDisplay(Panel_MuW_Zahlen);
}

void TForm_MuW_Zahlen::Timer_MuW_WartenTimer()
{
    Timer_MuW_Warten.stop();
    if (!gameStillRunning())
        return;
    m_lastWaitedRound = RoundNumber;
    const bool disturbed = RoundNumber == DisturbanceRound1 || RoundNumber == DisturbanceRound2;
    if (disturbed && Form_MuW->DisturbanceOn()) {
        RunDisturbance();
        // The time limit may have ended the game while the task was open.
        if (!gameStillRunning())
            return;
    }
    StartReproducePhase();
}

void TForm_MuW_Zahlen::StartReproducePhase()
{
    SetPhaseCaption(QStringLiteral("     Wiedergeben (%1)").arg(RoundNumber));
    Edit_Wiedergeben->clear();
    Panel_MuW_Zahlen->clear();
    Panel_MuW_Zahlen->show();
    SetBackgroundColour(Panel_MuW_Zahlen, ButtonFaceColour());
    Panel_bitte_merken->setText(QStringLiteral("  Bitte wiederholen:  "));
    SetTextColour(Panel_bitte_merken, Qt::black);
    SetHintPanelVisible(HintPanelOn == 1);
    Edit_Wiedergeben->show();
    Edit_Wiedergeben->setFocus();
}

void TForm_MuW_Zahlen::StartMemorisePhase()
{
    Edit_Wiedergeben->hide();
    SetBackgroundColour(Panel_MuW_Zahlen, ButtonFaceColour());
    Panel_MuW_Zahlen->show();
    Panel_bitte_merken->setText(QStringLiteral("  Bitte merken :  "));
    SetPhaseCaption(QStringLiteral("     Merken (%1)").arg(RoundNumber + 1));
    // On purpose the length of the round just entered: NextRound draws the new one afterwards.
    Timer_MuW_Merken.setInterval(PhaseIntervalMs(Form_MuW->PresentFactorValue(), SequenceLength));
    SetHintPanelVisible(HintPanelOn == 1);
}

// ---------------------------------------------------------------------------------------------
// Input and scoring

void TForm_MuW_Zahlen::Edit_WiedergebenKeyPress(QChar &key)
{
    if (key == QLatin1Char('\r')) {
        key = QChar();
        enterPressed();
        return;
    }
    if (key != QLatin1Char('\b') && !isAsciiDigit(key) && !isAsciiLetter(key))
        key = QChar();
}

void TForm_MuW_Zahlen::Edit_WiedergebenChange()
{
    const QString typed = Edit_Wiedergeben->text();
    if (!typed.isEmpty() && IsGameRound(RoundNumber))
        ReproducedSequences[RoundNumber] = typed;
}

void TForm_MuW_Zahlen::enterPressed()
{
    const QString typed = Edit_Wiedergeben->text();
    // Enter counts only in the reproduce phase, with something typed.
    if (typed.isEmpty() || Edit_Wiedergeben->isHidden() || !gameStillRunning())
        return;
    const int round = RoundNumber;
    ReproducedSequences[round] = typed;
    if (round < RoundsPerGame) {
        RunFinished = 0;
        ScoreRound(round);
        StartMemorisePhase();
        NextRound();
        return;
    }
    RunFinished = 1;
    GameEndTime = RandomClock::now();
    ScoreRound(round);
    BuildDisturbanceLabels();
    finishGame();
}

void TForm_MuW_Zahlen::finishGame()
{
    Edit_Wiedergeben->hide();
    JournalKeeping::RecordGame();
    ShowIndividualResult();
    CloseWithOk();
    Form_MuW->StopOverallTime();
}

void TForm_MuW_Zahlen::ScoreRound(int round)
{
    if (!IsGameRound(round))
        return;
    const RoundScore score = ScoreSequence(PresentedSequences[round], ReproducedSequences[round]);
    PointsPossible += score.possible;
    RoundPointsPossible[round] = Byte(RoundPointsPossible[round] + score.possible);
    RoundPointsAchieved[round] += score.achieved;
    PointsAchieved += score.achieved;
    SymbolMarks[round] = score.marks;
}

void TForm_MuW_Zahlen::BuildDisturbanceLabels()
{
    DisturbanceChoice choice;
    choice.on = Form_MuW->DisturbanceOn();
    choice.kind = Form_MuW->Radio_TextHstRinge->ItemIndex();
    choice.continent = Form_MuW->Radio_Stoeren_Hst->ItemIndex();
    choice.ringsModeCode = RingsModeCode;
    choice.correctionCode = BilliardCorrectionCode;
    choice.cushions = CushionCount;
    choice.billiardStep = BilliardStep;
    choice.speedText = Form_MuW->Edit_Speed->currentText();
    // After a time-out only the rounds whose waiting ended had their disturbance.
    const int lastDisturbable = TimeoutAbort == 1 ? m_lastWaitedRound : RoundsPerGame;
    const DisturbanceLabelSet labels =
        MakeDisturbanceLabels(choice, DisturbanceRound1, DisturbanceRound2, lastDisturbable);
    for (int round = 1; round <= RoundsPerGame; ++round)
        RoundDisturbanceLabels[round] = labels.rounds[size_t(round - 1)];
    GameDisturbanceLabel = labels.game;
}

bool TForm_MuW_Zahlen::eventFilter(QObject *watched, QEvent *event)
{
    if (watched != Edit_Wiedergeben || event->type() != QEvent::KeyPress)
        return ModalForm::eventFilter(watched, event);
    // Escape is no input: it goes on to the window, which asks before aborting.
    if (static_cast<QKeyEvent *>(event)->key() == Qt::Key_Escape)
        return false;
    QChar key = TypedCharacter(static_cast<QKeyEvent *>(event));
    if (key.isNull())
        return false;
    Edit_WiedergebenKeyPress(key);
    return key.isNull();
}

// Escape does what the close box does: it asks whether to abort the game.
void TForm_MuW_Zahlen::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        close();
        return;
    }
    ModalForm::keyPressEvent(event);
}
