// SPDX-License-Identifier: GPL-3.0-or-later
#include "TestSupport.h"

#include "common/SharedState.h"
#include "common/RandomClock.h"
#include "disturbance/Fragehst.h"
#include "disturbance/Stoeren.h"
#include "disturbance/Stoertex.h"
#include "exercise/Muw.h"
#include "exercise/Muw_zahl.h"
#include "results/Speicher.h"
#include "results/Tagebuchfuehrung.h"
#include "results/Zeigen.h"

#include <QAccessible>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QtGui/private/qguiapplication_p.h>
#include <QtGui/qpa/qplatformaccessibility.h>
#include <QtGui/qpa/qplatformintegration.h>
#include <QtTest>

#include <functional>
#include <random>

using TestSupport::messages;

namespace {
// What a screen reader says aloud, as "Focus window/control: name" or "Name …" for a new name.
QStringList heard;
void hear(QAccessibleEvent *event)
{
    const auto *widget = qobject_cast<const QWidget *>(event->object());
    const bool said =
        event->type() == QAccessible::Focus || event->type() == QAccessible::NameChanged;
    if (widget && said)
        heard << QStringLiteral("%1 %2/%3: %4")
                     .arg(event->type() == QAccessible::Focus ? "Focus" : "Name",
                          widget->window()->objectName(), widget->objectName(),
                          event->accessibleInterface()->text(QAccessible::Name).simplified());
}
// What was heard from the controls so named, forgetting all heard.
QStringList takeHeard(const QString &from)
{
    const QStringList taken = heard.filter(from);
    heard.clear();
    return taken;
}
} // namespace

class GameTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase() { TestSupport::destroyProgram(); }
    void init();
    void cleanup();

    void sequenceLengthAndKindFollowLevelAndRound_data();
    void sequenceLengthAndKindFollowLevelAndRound();
    void symbolsNeverIncludeZeroOAndV();
    void phasesLastWhatTheFactorsSay();
    void phasesAndGameTimeFollowBothFactors_data();
    void phasesAndGameTimeFollowBothFactors();
    void gameTimeIsRoundOnePlusAllowance();
    void scoringComparesSymbolBySymbol_data();
    void scoringComparesSymbolBySymbol();
    void enteredRoundAddsToTheGame();
    void enterOnAnEmptyFieldDoesNothing();
    void deletingBackBeforeEnterScoresWhatIsLeft();
    void inputIsUpperCaseLettersAndDigitsOnly();
    void labelsFollowTheDisturbanceSetting_data();
    void labelsFollowTheDisturbanceSetting();
    void closingAsksBeforeAborting_data();
    void closingAsksBeforeAborting();
    void remainingTimeIsShownAsMinutesAndSeconds_data();
    void remainingTimeIsShownAsMinutesAndSeconds();
    void tickCountsDownIntoThePanel();
    void timeOutEndsTheGameInEveryPhase_data();
    void timeOutEndsTheGameInEveryPhase();
    void unreadableCapitalsUndoTheStart();
    void disturbedRoundRunsItsTaskBeforeReproducing();
    void timeOutDuringTheTaskDoesNotReproduce();
    void labelsOfAnEndedGameMarkOnlyTheDisturbancesItReached_data();
    void labelsOfAnEndedGameMarkOnlyTheDisturbancesItReached();
    void timedOutGameMarksOnlyTheDisturbancesItReached_data();
    void timedOutGameMarksOnlyTheDisturbancesItReached();
    void wholeGameInTheWindow_data();
    void wholeGameInTheWindow();
    void abortInTheWindowBringsTheSettingsBack();
    void timeOutClosesTheShownWindow();
    void oneRoundIsAnnouncedToAScreenReader();
    void gameIsRecordedOnceAtItsEndOrTimeOut_data();
    void gameIsRecordedOnceAtItsEndOrTimeOut();
    void timeOutClosesTheBoxesOfTheGame_data();
    void timeOutClosesTheBoxesOfTheGame();

private:
    void setSettings(const QString &level, const QString &present, const QString &wait,
                     bool disturbanceOn = false);
    // Memorise and wait of the current round, handled at once.
    void runToReproduce();
    void enter(const QString &typed);
    // Runs body inside the exercise window's modal loop, polling every few milliseconds.
    void whileWindowShown(const std::function<bool()> &step);
};

void GameTest::initTestCase()
{
    TestSupport::createProgram();
}

void GameTest::init()
{
    messages().clear();
    setSettings(QStringLiteral("03"), QStringLiteral("060"), QStringLiteral("060"));
    Form_MuW->Edit_ZeitZugabe->setCurrentIndex(Form_MuW->Edit_ZeitZugabe->findText("13"));
}

void GameTest::cleanup()
{
    TestSupport::dropPendingActions();
    Form_MuW_Zahlen->Timer_MuW_Merken.stop();
    Form_MuW_Zahlen->Timer_MuW_Warten.stop();
    Form_MuW->StopOverallTime();
    Form_MuW_Zahlen->FormDeactivate();
    ResultSaved = 1;
}

void GameTest::setSettings(const QString &level, const QString &present, const QString &wait,
                           bool disturbanceOn)
{
    Form_MuW->Edit_S_MuW->setEditText(level);
    Form_MuW->Edit_Zeitfaktor_Vorgaben->setEditText(present);
    Form_MuW->Edit_Zeitfaktor_Warten->setEditText(wait);
    Form_MuW->Radio_Stoeren->setItemIndex(disturbanceOn ? StoerenEin : StoerenAus);
    Form_MuW->Radio_StoerenClick();
}

void GameTest::runToReproduce()
{
    Form_MuW_Zahlen->Timer_MuW_MerkenTimer();
    Form_MuW_Zahlen->Timer_MuW_WartenTimer();
}

void GameTest::enter(const QString &typed)
{
    QLineEdit *input = Form_MuW_Zahlen->Edit_Wiedergeben;
    QTest::keyClicks(input, typed);
    QTest::keyClick(input, Qt::Key_Return);
}

void GameTest::whileWindowShown(const std::function<bool()> &step)
{
    QTimer driver;
    driver.setInterval(5);
    connect(&driver, &QTimer::timeout, this, [&] {
        if (Form_MuW_Zahlen->isVisible() && !step())
            driver.stop();
    });
    // A timer does not fire again while its own slot waits in a nested modal loop, so the
    // individual result shown from inside the driver is closed by a timer of its own.
    QTimer resultCloser;
    resultCloser.setInterval(5);
    connect(&resultCloser, &QTimer::timeout, this, [] { Form_zeigen->CloseWithOk(); });
    driver.start();
    resultCloser.start();
    Form_MuW_Zahlen->StartGame();
    driver.stop();
    resultCloser.stop();
}

void GameTest::sequenceLengthAndKindFollowLevelAndRound_data()
{
    QTest::addColumn<int>("level");
    QTest::addColumn<QString>("rounds"); // count and D (digits) or L (letters) of rounds 1..6
    QTest::newRow("level 1") << 1 << "3D 3L 4D 5D 4L 6D";
    QTest::newRow("level 2") << 2 << "3L 4D 5D 4L 6D 5L";
    QTest::newRow("level 3") << 3 << "4D 5D 4L 6D 5L 7D";
    QTest::newRow("level 4") << 4 << "5D 4L 6D 5L 7D 6L";
    QTest::newRow("level 5") << 5 << "4L 6D 5L 7D 6L 8D";
    QTest::newRow("level 6") << 6 << "6D 5L 7D 6L 8D 9D";
    QTest::newRow("level 7") << 7 << "5L 7D 6L 8D 9D 7L";
    QTest::newRow("level 8") << 8 << "7D 6L 8D 9D 7L 10D";
    QTest::newRow("level 9") << 9 << "6L 8D 9D 7L 10D 8L";
    QTest::newRow("level 10") << 10 << "8D 9D 7L 10D 8L 11D";
    QTest::newRow("level 11") << 11 << "9D 7L 10D 8L 11D 9L";
    QTest::newRow("level 12") << 12 << "7L 10D 8L 11D 9L 12D";
    QTest::newRow("level 13") << 13 << "10D 8L 11D 9L 12D 10L";
    QTest::newRow("level 14") << 14 << "8L 11D 9L 12D 10L 11L";
    QTest::newRow("level 15") << 15 << "11D 9L 12D 10L 11L 12L";
}

void GameTest::sequenceLengthAndKindFollowLevelAndRound()
{
    QFETCH(int, level);
    QFETCH(QString, rounds);
    std::mt19937 generator(7);
    auto random = [&](int n) { return std::uniform_int_distribution<int>(0, n - 1)(generator); };
    const QStringList expected = rounds.split(QLatin1Char(' '));
    QCOMPARE(expected.size(), 6);
    for (int round = 1; round <= 6; ++round) {
        const QString &want = expected[round - 1];
        const SequenceSpec spec = SequenceSpecFor(level, round);
        QCOMPARE(spec.count, want.chopped(1).toInt());
        QCOMPARE(spec.letters, want.endsWith(QLatin1Char('L')));
        const QString sequence = DrawSequence(level, round, random);
        QCOMPARE(sequence.size(), 2 * spec.count);
        for (int i = 0; i < sequence.size(); i += 2) {
            QCOMPARE(sequence[i], QLatin1Char(' '));
            QCOMPARE(sequence[i + 1].isLetter(), spec.letters);
        }
    }

    // The game draws the same: each round's presented sequence, with the level from the list.
    setSettings(QStringLiteral("%1").arg(level, 2, 10, QLatin1Char('0')), QStringLiteral("060"),
                QStringLiteral("060"));
    QVERIFY(Form_MuW_Zahlen->PrepareGame());
    Form_MuW_Zahlen->FormActivate();
    for (int round = 1; round <= 6; ++round) {
        QCOMPARE(RoundNumber, Byte(round));
        const QString &want = expected[round - 1];
        const QString presented = PresentedSequences[round].text();
        QCOMPARE(presented.size(), want.chopped(1).toInt());
        QCOMPARE(int(SequenceLength), presented.size());
        for (QChar symbol : presented)
            QCOMPARE(symbol.isLetter(), want.endsWith(QLatin1Char('L')));
        if (round < 6) {
            runToReproduce();
            enter(presented);
        }
    }
}

void GameTest::symbolsNeverIncludeZeroOAndV()
{
    QSet<QString> symbols;
    for (int index = 1; index <= SymbolCount; ++index) {
        const QString entry = SymbolTableEntry(index);
        QCOMPARE(entry.size(), 2);
        QCOMPARE(entry[0], QLatin1Char(' '));
        symbols.insert(entry.mid(1));
    }
    QCOMPARE(symbols.size(), 33);
    for (const char *missing : {"0", "O", "V"})
        QVERIFY(!symbols.contains(QLatin1String(missing)));
    // The ends of the generator's range reach the ends of the table.
    QCOMPARE(DrawSequence(1, 1, [](int) { return 0; }), QStringLiteral(" 1 1 1"));
    QCOMPARE(DrawSequence(1, 2, [](int n) { return n - 1; }), QStringLiteral(" Z Z Z"));
    QCOMPARE(DrawSequence(1, 1, [](int n) { return n - 1; }), QStringLiteral(" 9 9 9"));
}

// Level 3, factors 60: round 1 has 4 digits, round 2 5 digits; the memorise time of round 2
// still counts round 1's four symbols, its waiting time its own five.
void GameTest::phasesLastWhatTheFactorsSay()
{
    TForm_MuW_Zahlen *w = Form_MuW_Zahlen;
    QVERIFY(w->PrepareGame());
    QCOMPARE(RoundNumber, Byte(1));
    QCOMPARE(SequenceLength, Byte(4));
    QCOMPARE(PresentedSequences[1].length(), 4);
    QCOMPARE(SequenceText.size(), 8);
    QCOMPARE(w->Panel_MuW_Zahlen->text(), SequenceText);
    w->FormActivate();
    QCOMPARE(w->Timer_MuW_Merken.interval(), 2400);
    QCOMPARE(w->windowTitle(), QString());
    QCOMPARE(w->Panel_bitte_merken->text(), QStringLiteral("  Bitte merken !  "));

    w->Timer_MuW_MerkenTimer();
    QVERIFY(!w->Timer_MuW_Merken.isActive());
    QCOMPARE(w->Timer_MuW_Warten.interval(), 2400);
    QCOMPARE(w->Panel_MuW_Zahlen->text(), QStringLiteral("  Bitte Warten !  "));
    QCOMPARE(w->windowTitle(), QStringLiteral("     Warten (1)"));
    QCOMPARE(w->Panel_bitte_merken->text(), QStringLiteral(" Bitte warten ! "));

    w->Timer_MuW_WartenTimer();
    QVERIFY(!w->Timer_MuW_Warten.isActive());
    QVERIFY(!w->Edit_Wiedergeben->isHidden());
    QCOMPARE(w->windowTitle(), QStringLiteral("     Wiedergeben (1)"));
    QCOMPARE(w->Panel_bitte_merken->text(), QStringLiteral("  Bitte wiederholen:  "));

    enter(PresentedSequences[1]);
    QCOMPARE(RoundNumber, Byte(2));
    QCOMPARE(SequenceLength, Byte(5));
    QVERIFY(w->Edit_Wiedergeben->isHidden());
    QCOMPARE(w->Timer_MuW_Merken.interval(), 2400);
    QCOMPARE(w->windowTitle(), QStringLiteral("     Merken (2)"));
    QCOMPARE(w->Panel_bitte_merken->text(), QStringLiteral("  Bitte merken :  "));
    w->Timer_MuW_MerkenTimer();
    QCOMPARE(w->Timer_MuW_Warten.interval(), 3000);
}

void GameTest::phasesAndGameTimeFollowBothFactors_data()
{
    QTest::addColumn<QString>("level");
    QTest::addColumn<QString>("present");
    QTest::addColumn<QString>("wait");
    QTest::addColumn<QString>("allowance");
    QTest::addColumn<int>("memorise1"); // ms
    QTest::addColumn<int>("wait1");
    QTest::addColumn<int>("memorise2");
    QTest::addColumn<int>("wait2");
    QTest::addColumn<int>("seconds"); // RemainingSeconds at the start
    // Level 3: 4 digits, then 5; level 15: 11 digits, then 9 letters; level 1: 3 and 3.
    QTest::newRow("050 / 120") << "03"
                               << "050"
                               << "120"
                               << "13" << 2000 << 4800 << 2000 << 6000 << 136;
    QTest::newRow("120 / 050") << "03"
                               << "120"
                               << "050"
                               << "13" << 4800 << 2000 << 4800 << 2500 << 136;
    QTest::newRow("001 / 400, allowance 01") << "15"
                                             << "001"
                                             << "400"
                                             << "01" << 110 << 44000 << 110 << 36000 << 54;
    QTest::newRow("400 / 001, allowance 60") << "01"
                                             << "400"
                                             << "001"
                                             << "60" << 12000 << 30 << 12000 << 30 << 612;
}

// Each phase takes its own factor, and the game's time counts round 1 with both.
void GameTest::phasesAndGameTimeFollowBothFactors()
{
    QFETCH(QString, level);
    QFETCH(QString, present);
    QFETCH(QString, wait);
    QFETCH(QString, allowance);
    QFETCH(int, memorise1);
    QFETCH(int, wait1);
    QFETCH(int, memorise2);
    QFETCH(int, wait2);
    QFETCH(int, seconds);
    setSettings(level, present, wait);
    Form_MuW->Edit_ZeitZugabe->setCurrentIndex(Form_MuW->Edit_ZeitZugabe->findText(allowance));
    TForm_MuW_Zahlen *w = Form_MuW_Zahlen;
    QVERIFY(w->PrepareGame());
    QCOMPARE(RemainingSeconds, seconds);
    QCOMPARE(PresentTimeFactor, present.toInt());
    QCOMPARE(WaitTimeFactor, wait.toInt());
    QCOMPARE(TimeAllowanceSteps, allowance.toInt());

    w->FormActivate();
    QCOMPARE(w->Timer_MuW_Merken.interval(), memorise1);
    w->Timer_MuW_MerkenTimer();
    QCOMPARE(w->Timer_MuW_Warten.interval(), wait1);
    w->Timer_MuW_WartenTimer();
    enter(PresentedSequences[1]);
    QCOMPARE(w->Timer_MuW_Merken.interval(), memorise2);
    w->Timer_MuW_MerkenTimer();
    QCOMPARE(w->Timer_MuW_Warten.interval(), wait2);

    // The first tick counts down from the game's time.
    Form_MuW->Timer_GesamtZeitTimer();
    QCOMPARE(RemainingSeconds, seconds - 1);
}

void GameTest::gameTimeIsRoundOnePlusAllowance()
{
    QCOMPARE(GameTimeSeconds(60, 60, 4, 130000), 134);
    QCOMPARE(GameTimeSeconds(1, 1, 3, 10000), 10);
    QVERIFY(Form_MuW_Zahlen->PrepareGame());
    QCOMPARE(RemainingSeconds, 134);
    QVERIFY(Form_MuW->Timer_GesamtZeit.isActive());
    QCOMPARE(Form_MuW->Timer_GesamtZeit.interval(), 1000);
    QCOMPARE(DifficultyLevel, Byte(3));
    QCOMPARE(TimeAllowanceSteps, 13);
    QCOMPARE(ResultSaved, Byte(0));
    QVERIFY(Form_MuW->Edit_S_MuW->isHidden());
    QVERIFY(!Form_MuW->Edit_ZeitZugabe->isHidden());
}

void GameTest::scoringComparesSymbolBySymbol_data()
{
    QTest::addColumn<QString>("presented");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<int>("achieved");
    QTest::addColumn<int>("possible");
    QTest::addColumn<QString>("marks");
    QTest::newRow("all right") << "4719"
                               << "4719" << 12 << 12 << "wwww";
    QTest::newRow("one short") << "4719"
                               << "471" << 9 << 12 << "wwwf";
    QTest::newRow("one beyond") << "4719"
                                << "47195" << 12 << 12 << "wwww";
    QTest::newRow("letters") << "KAN"
                             << "KAM" << 8 << 12 << "wwf";
    QTest::newRow("shifted") << "123"
                             << "23" << 0 << 9 << "fff";
}

void GameTest::scoringComparesSymbolBySymbol()
{
    QFETCH(QString, presented);
    QFETCH(QString, typed);
    QFETCH(int, achieved);
    QFETCH(int, possible);
    QFETCH(QString, marks);
    const RoundScore score = ScoreSequence(presented, typed);
    QCOMPARE(score.achieved, achieved);
    QCOMPARE(score.possible, possible);
    QCOMPARE(score.marks, marks);
}

void GameTest::enteredRoundAddsToTheGame()
{
    QVERIFY(Form_MuW_Zahlen->PrepareGame());
    Form_MuW_Zahlen->FormActivate();
    runToReproduce();
    const QString presented = PresentedSequences[1];
    enter(presented.chopped(1));
    QCOMPARE(SymbolMarks[1].text(), QStringLiteral("wwwf"));
    QCOMPARE(RoundPointsPossible[1], Byte(12));
    QCOMPARE(RoundPointsAchieved[1], 9);
    QCOMPARE(PointsPossible, 12);
    QCOMPARE(PointsAchieved, 9);
    QCOMPARE(ReproducedSequences[1].text(), presented.chopped(1));
    QCOMPARE(RunFinished, Byte(0));
}

void GameTest::enterOnAnEmptyFieldDoesNothing()
{
    QVERIFY(Form_MuW_Zahlen->PrepareGame());
    Form_MuW_Zahlen->FormActivate();
    runToReproduce();
    QTest::keyClick(Form_MuW_Zahlen->Edit_Wiedergeben, Qt::Key_Return);
    QCOMPARE(RoundNumber, Byte(1));
    QCOMPARE(PointsPossible, 0);
    QVERIFY(!Form_MuW_Zahlen->Edit_Wiedergeben->isHidden());
    QVERIFY(!Form_MuW_Zahlen->Timer_MuW_Merken.isActive());
}

void GameTest::deletingBackBeforeEnterScoresWhatIsLeft()
{
    QVERIFY(Form_MuW_Zahlen->PrepareGame());
    Form_MuW_Zahlen->FormActivate();
    runToReproduce();
    QLineEdit *input = Form_MuW_Zahlen->Edit_Wiedergeben;
    QTest::keyClicks(input, PresentedSequences[1].text() + QStringLiteral("99"));
    for (int i = 0; i < 3; ++i)
        QTest::keyClick(input, Qt::Key_Backspace);
    QTest::keyClick(input, Qt::Key_Return);
    QCOMPARE(SymbolMarks[1].text(), QStringLiteral("wwwf"));
    QCOMPARE(ReproducedSequences[1].text(), PresentedSequences[1].text().chopped(1));
}

void GameTest::inputIsUpperCaseLettersAndDigitsOnly()
{
    QVERIFY(Form_MuW_Zahlen->PrepareGame());
    Form_MuW_Zahlen->FormActivate();
    runToReproduce();
    QLineEdit *input = Form_MuW_Zahlen->Edit_Wiedergeben;
    QTest::keyClicks(input, QStringLiteral("ka-n 7!"));
    QKeyEvent umlaut(QEvent::KeyPress, Qt::Key_Adiaeresis, Qt::NoModifier, QStringLiteral("ä"));
    QApplication::sendEvent(input, &umlaut);
    QCOMPARE(input->text(), QStringLiteral("KAN7"));
    QCOMPARE(ReproducedSequences[1].text(), QStringLiteral("KAN7"));
    QTest::keyClicks(input, QString(60, QLatin1Char('x')));
    QCOMPARE(input->text().size(), 45);
}

void GameTest::labelsFollowTheDisturbanceSetting_data()
{
    QTest::addColumn<bool>("on");
    QTest::addColumn<int>("kind");
    QTest::addColumn<int>("continent");
    QTest::addColumn<QString>("disturbed");
    QTest::addColumn<QString>("undisturbed");
    QTest::newRow("off") << false << 2 << 0 << "      -"
                         << "      -";
    QTest::newRow("texts") << true << 0 << 0 << "     T"
                           << "      -";
    QTest::newRow("Europe") << true << 1 << 0 << "  H_Eu"
                            << "      -";
    QTest::newRow("Australia") << true << 1 << 4 << "  H_Au"
                               << "      -";
    QTest::newRow("all continents") << true << 1 << 5 << "  H_Er"
                                    << "      -";
    QTest::newRow("rings") << true << 2 << 0 << "R-m-14-100"
                           << "       -";
    QTest::newRow("billiards") << true << 3 << 0 << "B-j-2-14-100"
                               << "       -";
}

void GameTest::labelsFollowTheDisturbanceSetting()
{
    QFETCH(bool, on);
    QFETCH(int, kind);
    QFETCH(int, continent);
    QFETCH(QString, disturbed);
    QFETCH(QString, undisturbed);
    DisturbanceChoice choice{on, kind, continent, "m", "j", 2, -14, "100"};
    const DisturbanceLabelSet labels = MakeDisturbanceLabels(choice, 4, 2);
    QCOMPARE(labels.game, disturbed);
    for (int round = 1; round <= 6; ++round)
        QCOMPARE(labels.rounds[size_t(round - 1)],
                 round == 2 || round == 4 ? disturbed : undisturbed);

    // The window reads the same settings from the settings window and the shared values.
    setSettings("03", "060", "060", on);
    Form_MuW->Radio_TextHstRinge->setItemIndex(kind);
    Form_MuW->Radio_Stoeren_Hst->setItemIndex(continent);
    DisturbanceRound1 = 4;
    DisturbanceRound2 = 2;
    Form_MuW_Zahlen->BuildDisturbanceLabels();
    QCOMPARE(GameDisturbanceLabel.text(), disturbed);
    QCOMPARE(RoundDisturbanceLabels[2].text(), disturbed);
    QCOMPARE(RoundDisturbanceLabels[6].text(), undisturbed);
    Form_MuW->Radio_TextHstRinge->setItemIndex(ChoiceHauptstaedte);
    Form_MuW->Radio_Stoeren_Hst->setItemIndex(0);
}

void GameTest::closingAsksBeforeAborting_data()
{
    QTest::addColumn<bool>("answer");
    QTest::newRow("Yes aborts") << true;
    QTest::newRow("No plays on") << false;
}

void GameTest::closingAsksBeforeAborting()
{
    QFETCH(bool, answer);
    TForm_MuW_Zahlen *w = Form_MuW_Zahlen;
    QVERIFY(w->PrepareGame());
    w->FormActivate();
    messages().answers.push_back(answer);
    QCOMPARE(w->FormCloseQuery(), answer);
    QCOMPARE(messages().lastText(), QStringLiteral("Willst Du dieses Spiel\nwirklich abbrechen ?"));
    QCOMPARE(messages().shown[0].kind, MessageBoxes::Kind::Question);
    QCOMPARE(ResultSaved, Byte(answer ? 1 : 0));
    QCOMPARE(w->Timer_MuW_Merken.isActive(), !answer);
    QCOMPARE(Form_MuW->Timer_GesamtZeit.isActive(), !answer);

    // A game ended by round 6 or the time limit closes without a question.
    messages().clear();
    RunFinished = 1;
    QVERIFY(w->FormCloseQuery());
    RunFinished = 0;
    TimeoutAbort = 1;
    QVERIFY(w->FormCloseQuery());
    QVERIFY(messages().shown.isEmpty());
}

void GameTest::remainingTimeIsShownAsMinutesAndSeconds_data()
{
    QTest::addColumn<int>("seconds");
    QTest::addColumn<bool>("on");
    QTest::addColumn<QString>("text");
    QTest::newRow("02 : 13") << 133 << true << "02 : 13";
    QTest::newRow("01 : 05") << 65 << true << "01 : 05";
    QTest::newRow("00 : 09") << 9 << true << "00 : 09";
    QTest::newRow("09 : 59") << 599 << true << "09 : 59";
    QTest::newRow("ten minutes and more") << 604 << true << "10 : 04";
    QTest::newRow("display off") << 65 << false << "";
}

void GameTest::remainingTimeIsShownAsMinutesAndSeconds()
{
    QFETCH(int, seconds);
    QFETCH(bool, on);
    QFETCH(QString, text);
    QCOMPARE(RemainingTimeText(seconds, on), text);
}

void GameTest::tickCountsDownIntoThePanel()
{
    // The last game's time is gone from every panel when the next game starts.
    QLabel *panels[] = {Form_MuW_Zahlen->Panel_RestZeit, Form_Frage_Text->Panel_RestZeit,
                        Form_Frage_Hst->Panel_RestZeit, Form_Stoeren_Vorgabe->Panel_RestZeit};
    for (QLabel *panel : panels)
        panel->setText(QStringLiteral("00 : 05"));
    QVERIFY(Form_MuW_Zahlen->PrepareGame());
    for (const QLabel *panel : panels)
        QCOMPARE(panel->text(), QString());
    QCOMPARE(RemainingSeconds, 134);
    Form_MuW->Timer_GesamtZeitTimer();
    QCOMPARE(RemainingSeconds, 133);
    QCOMPARE(Form_MuW_Zahlen->Panel_RestZeit->text(), QStringLiteral("02 : 13"));
    if (Form_Frage_Text->Panel_RestZeit)
        QCOMPARE(Form_Frage_Text->Panel_RestZeit->text(), QStringLiteral("02 : 13"));
    Form_MuW->AnzeigederRestzeitaus1->trigger();
    Form_MuW->Timer_GesamtZeitTimer();
    QCOMPARE(Form_MuW_Zahlen->Panel_RestZeit->text(), QString());
    Form_MuW->AnzeigederRestzeitaus1->trigger();
    RemainingSeconds = 0;
    Form_MuW->Timer_GesamtZeitTimer();
    QCOMPARE(RemainingSeconds, 0);
    QCOMPARE(TimeoutAbort, Byte(0));
}

void GameTest::timeOutEndsTheGameInEveryPhase_data()
{
    QTest::addColumn<int>("phase"); // 0 memorise, 1 wait, 2 reproduce
    QTest::newRow("memorising") << 0;
    QTest::newRow("waiting") << 1;
    QTest::newRow("reproducing") << 2;
}

void GameTest::timeOutEndsTheGameInEveryPhase()
{
    QFETCH(int, phase);
    TForm_MuW_Zahlen *w = Form_MuW_Zahlen;
    QVERIFY(w->PrepareGame());
    w->FormActivate();
    if (phase >= 1)
        w->Timer_MuW_MerkenTimer();
    if (phase >= 2)
        w->Timer_MuW_WartenTimer();
    GameDisturbanceLabel = QStringLiteral("old");
    RemainingSeconds = 1;
    Form_MuW->Timer_GesamtZeitTimer();

    QCOMPARE(TimeoutAbort, Byte(1));
    QCOMPARE(RoundNumber, Byte(7));
    QCOMPARE(ResultSaved, Byte(0));
    QCOMPARE(messages().lastText(), TimeoutMessage);
    QCOMPARE(w->Panel_RestZeit->text(), QString());
    QVERIFY(!Form_MuW->Timer_GesamtZeit.isActive());
    QVERIFY(!w->Timer_MuW_Merken.isActive());
    QVERIFY(!w->Timer_MuW_Warten.isActive());
    QCOMPARE(GameDisturbanceLabel.text(), QStringLiteral("      -"));

    // Whatever fires late finds no round to play: round 7 indexes nothing.
    w->Timer_MuW_MerkenTimer();
    w->Timer_MuW_WartenTimer();
    w->Edit_Wiedergeben->setText(QStringLiteral("123"));
    QTest::keyClick(w->Edit_Wiedergeben, Qt::Key_Return);
    QCOMPARE(RoundNumber, Byte(7));
    QVERIFY(!w->Timer_MuW_Warten.isActive());
    QCOMPARE(PointsPossible, 0);
}

void GameTest::unreadableCapitalsUndoTheStart()
{
    // Without the capitals file the presentation cannot be filled.
    QFile capitals(QStringLiteral("Hauptsta.FKL"));
    QVERIFY(capitals.open(QIODevice::ReadOnly));
    const QByteArray contents = capitals.readAll();
    capitals.close();
    QVERIFY(capitals.remove());
    auto restore = qScopeGuard([&] {
        QVERIFY(capitals.open(QIODevice::WriteOnly));
        capitals.write(contents);
        capitals.close();
    });
    setSettings("03", "060", "060", true);
    Form_MuW->Radio_TextHstRinge->setItemIndex(ChoiceHauptstaedte);
    QVERIFY(Form_MuW->CapitalsMode());
    QVERIFY(!Form_MuW_Zahlen->PrepareGame());
    QCOMPARE(ResultSaved, Byte(1));
    QVERIFY(!Form_MuW->Timer_GesamtZeit.isActive());
    QVERIFY(!Form_MuW->But_Start->isHidden());
    QVERIFY(!Form_MuW->Radio_Stoeren->isHidden());
    QVERIFY(!messages().shown.isEmpty());
    QCOMPARE(messages().shown.last().kind, MessageBoxes::Kind::Error);
}

void GameTest::disturbedRoundRunsItsTaskBeforeReproducing()
{
    setSettings("03", "060", "060", true);
    Form_MuW->Radio_TextHstRinge->setItemIndex(ChoiceTexte);
    QVERIFY(Form_MuW_Zahlen->PrepareGame());
    DisturbanceRound1 = 1;
    Form_MuW_Zahlen->FormActivate();
    Form_MuW_Zahlen->Timer_MuW_MerkenTimer();
    bool questionShown = false;
    TestSupport::afterActivation(Form_Frage_Text, [&] {
        questionShown = true;
        Form_Frage_Text->CloseWithOk();
    });
    Form_MuW_Zahlen->Timer_MuW_WartenTimer();
    QVERIFY(questionShown);
    QVERIFY(!Form_MuW_Zahlen->Edit_Wiedergeben->isHidden());
    QCOMPARE(Form_MuW_Zahlen->windowTitle(), QStringLiteral("     Wiedergeben (1)"));
    Form_MuW->Radio_TextHstRinge->setItemIndex(ChoiceHauptstaedte);
}

// The time limit closes the task with OK; the round must not go on to the input field.
void GameTest::timeOutDuringTheTaskDoesNotReproduce()
{
    setSettings("03", "060", "060", true);
    Form_MuW->Radio_TextHstRinge->setItemIndex(ChoiceTexte);
    QVERIFY(Form_MuW_Zahlen->PrepareGame());
    DisturbanceRound1 = 1;
    Form_MuW_Zahlen->FormActivate();
    Form_MuW_Zahlen->Timer_MuW_MerkenTimer();
    TestSupport::afterActivation(Form_Frage_Text, [] {
        RemainingSeconds = 1;
        Form_MuW->Timer_GesamtZeitTimer();
    });
    Form_MuW_Zahlen->Timer_MuW_WartenTimer();
    QCOMPARE(TimeoutAbort, Byte(1));
    QVERIFY(!Form_Frage_Text->isVisible());
    QVERIFY(Form_MuW_Zahlen->Edit_Wiedergeben->isHidden());
    QCOMPARE(RoundNumber, Byte(7));
    Form_MuW->Radio_TextHstRinge->setItemIndex(ChoiceHauptstaedte);
}

void GameTest::labelsOfAnEndedGameMarkOnlyTheDisturbancesItReached_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<int>("lastDisturbable");
    QTest::addColumn<QStringList>("rounds");
    QTest::addColumn<QString>("game");
    const QString t = QStringLiteral("     T");
    const QString none = QStringLiteral("      -");
    const QString rings = QStringLiteral("R-m-14-100");
    const QString noRings = QStringLiteral("       -");
    QTest::newRow("texts, none reached")
        << 0 << 1 << QStringList{none, none, none, none, none, none} << none;
    QTest::newRow("texts, first reached")
        << 0 << 3 << QStringList{none, t, none, none, none, none} << t;
    QTest::newRow("texts, both reached")
        << 0 << 4 << QStringList{none, t, none, t, none, none} << t;
    QTest::newRow("rings, none reached")
        << 2 << 0 << QStringList{noRings, noRings, noRings, noRings, noRings, noRings} << noRings;
    QTest::newRow("rings, first reached")
        << 2 << 2 << QStringList{noRings, rings, noRings, noRings, noRings, noRings} << rings;
}

void GameTest::labelsOfAnEndedGameMarkOnlyTheDisturbancesItReached()
{
    QFETCH(int, kind);
    QFETCH(int, lastDisturbable);
    QFETCH(QStringList, rounds);
    QFETCH(QString, game);
    const DisturbanceChoice choice{true, kind, 0, "m", "j", 2, -14, "100"};
    const DisturbanceLabelSet labels = MakeDisturbanceLabels(choice, 4, 2, lastDisturbable);
    QCOMPARE(QStringList(labels.rounds.begin(), labels.rounds.end()), rounds);
    QCOMPARE(labels.game, game);
}

void GameTest::timedOutGameMarksOnlyTheDisturbancesItReached_data()
{
    QTest::addColumn<int>("disturbedRound1");
    QTest::addColumn<int>("disturbedRound2");
    QTest::addColumn<QStringList>("rounds");
    QTest::addColumn<QString>("game");
    const QString t = QStringLiteral("     T");
    const QString none = QStringLiteral("      -");
    // Rounds 1 and 2 are played; the limit strikes while round 3 waits.
    QTest::newRow("before the first disturbance")
        << 3 << 5 << QStringList{none, none, none, none, none, none} << none;
    // The limit strikes while round 1's text question is open.
    QTest::newRow("during the first disturbance")
        << 1 << 4 << QStringList{t, none, none, none, none, none} << t;
}

void GameTest::timedOutGameMarksOnlyTheDisturbancesItReached()
{
    QFETCH(int, disturbedRound1);
    QFETCH(int, disturbedRound2);
    QFETCH(QStringList, rounds);
    QFETCH(QString, game);
    setSettings("03", "060", "060", true);
    Form_MuW->Radio_TextHstRinge->setItemIndex(ChoiceTexte);
    auto restoreKind =
        qScopeGuard([] { Form_MuW->Radio_TextHstRinge->setItemIndex(ChoiceHauptstaedte); });
    TForm_MuW_Zahlen *w = Form_MuW_Zahlen;
    QVERIFY(w->PrepareGame());
    DisturbanceRound1 = Byte(disturbedRound1);
    DisturbanceRound2 = Byte(disturbedRound2);
    w->FormActivate();
    QTimer limit;
    limit.setInterval(5);
    connect(&limit, &QTimer::timeout, this, [] {
        if (Form_Frage_Text->isVisible()) {
            RemainingSeconds = 1;
            Form_MuW->Timer_GesamtZeitTimer();
        }
    });
    limit.start();
    while (TimeoutAbort == 0 && RoundNumber < disturbedRound1) {
        runToReproduce();
        enter(PresentedSequences[RoundNumber]);
    }
    if (TimeoutAbort == 0) {
        w->Timer_MuW_MerkenTimer();
        if (disturbedRound1 == 1) {
            w->Timer_MuW_WartenTimer(); // the question opens; the limit strikes inside it
        } else {
            RemainingSeconds = 1;
            Form_MuW->Timer_GesamtZeitTimer();
        }
    }
    limit.stop();
    QCOMPARE(TimeoutAbort, Byte(1));

    QStringList labels;
    for (int round = 1; round <= RoundsPerGame; ++round)
        labels.append(RoundDisturbanceLabels[round].text());
    QCOMPARE(labels, rounds);
    QCOMPARE(GameDisturbanceLabel.text(), game);
    // The individual result and the record show the same.
    for (const GridCellText &cell : IndividualResultCells()) {
        if (cell.column == 2 && cell.row >= 4)
            QCOMPARE(cell.text, QLatin1Char(' ') + rounds[cell.row - 4]);
    }
    QCOMPARE(MakeOverallRecord(QDateTime::currentDateTime()).Disturbance.text(), game);
}

void GameTest::wholeGameInTheWindow_data()
{
    QTest::addColumn<QDateTime>("end");
    QTest::newRow("first game") << QDateTime(QDate(2024, 3, 1), QTime(9, 5, 7));
    QTest::newRow("second game") << QDateTime(QDate(2024, 3, 1), QTime(9, 9, 30));
}

// Two games in one run: each result is dated by the moment its own game ended.
void GameTest::wholeGameInTheWindow()
{
    QFETCH(QDateTime, end);
    auto restoreClock = qScopeGuard([] { RandomClock::useFixedNow({}); });
    RandomClock::useFixedNow(end.addSecs(-100));
    TForm_MuW_Zahlen *w = Form_MuW_Zahlen;
    whileWindowShown([w, &end] {
        if (w->Timer_MuW_Merken.isActive())
            w->Timer_MuW_MerkenTimer();
        else if (w->Timer_MuW_Warten.isActive())
            w->Timer_MuW_WartenTimer();
        else if (!w->Edit_Wiedergeben->isHidden() && IsGameRound(RoundNumber)) {
            if (RoundNumber == RoundsPerGame)
                RandomClock::useFixedNow(end);
            w->Edit_Wiedergeben->setText(PresentedSequences[RoundNumber]);
            QTest::keyClick(w->Edit_Wiedergeben, Qt::Key_Return);
        }
        return true;
    });
    QVERIFY(!w->isVisible());
    QCOMPARE(RunFinished, Byte(1));
    QCOMPARE(RoundNumber, Byte(6));
    QCOMPARE(PointsAchieved, PointsPossible);
    QCOMPARE(PointsPossible, (4 + 5 + 6) * 3 + (4 + 5) * 4 + 7 * 3);
    QCOMPARE(ResultSaved, Byte(0));
    QCOMPARE(GameDisturbanceLabel.text(), QStringLiteral("      -"));
    QVERIFY(!Form_MuW->Timer_GesamtZeit.isActive());
    QVERIFY(!Form_MuW->Edit_S_MuW->isHidden());
    QVERIFY(!Form_MuW->But_Start->isHidden());
    QVERIFY(messages().shown.isEmpty());
    QCOMPARE(Form_zeigen->StringGrid1->cell(1, 0), end.toString(" dd.MM.yyyy-HH:mm:ss"));
    // Struck while the result is still shown, the limit does not date the game anew.
    RandomClock::useFixedNow(end.addSecs(30));
    RemainingSeconds = 1;
    Form_MuW->Timer_GesamtZeitTimer();
    FillIndividualResult();
    QCOMPARE(Form_zeigen->StringGrid1->cell(1, 0), end.toString(" dd.MM.yyyy-HH:mm:ss"));
}

void GameTest::abortInTheWindowBringsTheSettingsBack()
{
    messages().answers = {false, true};
    int closes = 0;
    whileWindowShown([&closes] {
        if (!Form_MuW_Zahlen->Timer_MuW_Merken.isActive())
            return true;
        ++closes;
        Form_MuW_Zahlen->close();
        return true;
    });
    QCOMPARE(closes, 2);
    QCOMPARE(messages().shown.size(), 2);
    QCOMPARE(ResultSaved, Byte(1));
    QCOMPARE(Form_MuW_Zahlen->result(), int(QDialog::Accepted));
    QVERIFY(!Form_MuW->Timer_GesamtZeit.isActive());
    QVERIFY(!Form_MuW->Radio_TextHstRinge->isHidden());
}

void GameTest::timeOutClosesTheShownWindow()
{
    whileWindowShown([] {
        if (Form_MuW_Zahlen->Timer_MuW_Merken.isActive()) {
            RemainingSeconds = 1;
            Form_MuW->Timer_GesamtZeitTimer();
        }
        return true;
    });
    QVERIFY(!Form_MuW_Zahlen->isVisible());
    QCOMPARE(Form_MuW_Zahlen->result(), int(QDialog::Accepted));
    QCOMPARE(TimeoutAbort, Byte(1));
    QCOMPARE(ResultSaved, Byte(0));
    QCOMPARE(messages().shown.size(), 1);
    QCOMPARE(messages().lastText(), TimeoutMessage);
    QVERIFY(!Form_MuW->Edit_Zeitfaktor_Warten->isHidden());
    QVERIFY(!Form_MuW->Label_S_MuW->isHidden());
}

// A screen reader hears the sequence once, as its panel takes the focus of the active window,
// then the wait and the request to repeat it; the remaining time comes only from the window in
// front, every tenth second and in each of the last ten.
void GameTest::oneRoundIsAnnouncedToAScreenReader()
{
    // Qt tells the handler only while accessibility is on; like Qt's own tests, switch it on.
    QPlatformAccessibility *accessibility =
        QGuiApplicationPrivate::platformIntegration()->accessibility();
    QVERIFY(accessibility);
    accessibility->setActive(true);
    const QAccessible::UpdateHandler previous = QAccessible::installUpdateHandler(hear);
    heard.clear();
    bool activeWindow = false;
    QString sequence;
    QStringList memorise, wait, reproduce, times;
    TestSupport::afterActivation(Form_MuW_Zahlen, [&] {
        activeWindow = QApplication::activeWindow() == Form_MuW_Zahlen;
        sequence = SequenceText.simplified();
        memorise = takeHeard("/Panel_MuW_Zahlen:");
        Form_MuW_Zahlen->Timer_MuW_MerkenTimer();
        wait = takeHeard("Form_MuW_Zahlen/");
        Form_MuW_Zahlen->Timer_MuW_WartenTimer();
        reproduce = takeHeard("Form_MuW_Zahlen/");
        for (RemainingSeconds = 23; RemainingSeconds > 2;) {
            Form_MuW->Timer_GesamtZeitTimer();
            times << takeHeard("/Panel_RestZeit:");
        }
        Form_MuW_Zahlen->close();
    });
    Form_MuW_Zahlen->StartGame();
    QAccessible::installUpdateHandler(previous);
    accessibility->setActive(false);

    QVERIFY(activeWindow);
    const QString window = QStringLiteral(" Form_MuW_Zahlen/");
    QCOMPARE(memorise, QStringList{"Focus" + window + "Panel_MuW_Zahlen: Vorgabe: " + sequence});
    QCOMPARE(wait, (QStringList{"Name" + window + "Panel_bitte_merken: Bitte warten !",
                                "Name" + window + "Panel_MuW_Zahlen: Vorgabe: Bitte Warten !"}));
    QCOMPARE(reproduce, (QStringList{"Name" + window + "Panel_bitte_merken: Bitte wiederholen:",
                                     "Focus" + window + "Edit_Wiedergeben: Deine Eingabe"}));
    QStringList expectedTimes;
    for (int second : {20, 10, 9, 8, 7, 6, 5, 4, 3, 2})
        expectedTimes << "Name" + window + "Panel_RestZeit: Restzeit: 00 : " +
                             QStringLiteral("%1").arg(second, 2, 10, QLatin1Char('0'));
    QCOMPARE(times, expectedTimes);
}

void GameTest::gameIsRecordedOnceAtItsEndOrTimeOut_data()
{
    QTest::addColumn<bool>("timeOut");
    QTest::addColumn<bool>("keeping");
    QTest::addColumn<QString>("verdict");
    QTest::newRow("after round 6") << false << true << "Du hast 100,0 % der Punkte erreicht";
    QTest::newRow("by the time limit") << true << true << "In diesem Spiel waren keine Punkte";
    QTest::newRow("with the journal off") << false << false << "";
}

void GameTest::gameIsRecordedOnceAtItsEndOrTimeOut()
{
    QFETCH(bool, timeOut);
    QFETCH(bool, keeping);
    QFETCH(QString, verdict);
    Tagebuch *journal = JournalKeeping::Journal();
    QVERIFY(journal);
    QVERIFY(journal->clear());
    QVERIFY(journal->setKeeping(keeping));
    PlayerName = QStringLiteral("Jörg Bärmann");
    setSettings(QStringLiteral("04"), QStringLiteral("045"), QStringLiteral("120"), true);
    Form_MuW->Radio_TextHstRinge->setItemIndex(ChoiceBillard);
    TForm_MuW_Zahlen *w = Form_MuW_Zahlen;
    whileWindowShown([w, timeOut] {
        if (timeOut) {
            RemainingSeconds = 1;
            Form_MuW->Timer_GesamtZeitTimer();
        } else if (w->Timer_MuW_Merken.isActive()) {
            w->Timer_MuW_MerkenTimer();
        } else if (w->Timer_MuW_Warten.isActive()) {
            // The disturbance is skipped: only what the journal keeps of the game matters.
            w->Timer_MuW_Warten.stop();
            w->StartReproducePhase();
        } else if (!w->Edit_Wiedergeben->isHidden() && IsGameRound(RoundNumber)) {
            w->Edit_Wiedergeben->setText(PresentedSequences[RoundNumber]);
            QTest::keyClick(w->Edit_Wiedergeben, Qt::Key_Return);
        }
        return true;
    });
    PlayerName = NoPlayerName;
    FillIndividualResult();
    QCOMPARE(Form_zeigen->Label_Urteil->text().left(verdict.size()), verdict);
    QCOMPARE(Form_zeigen->Label_Urteil->text().isEmpty(), verdict.isEmpty());
    QList<JournalGame> games = journal->games();
    QCOMPARE(games.size(), keeping ? 1 : 0);
    QVERIFY(journal->setKeeping(true));
    if (!keeping)
        return;
    const std::optional<JournalGame> game = journal->game(games[0].id);
    QVERIFY(game);
    QCOMPARE(game->endedBy, timeOut ? GameEnd::TimeLimit : GameEnd::AfterRound6);
    QCOMPARE(game->player, QStringLiteral("Jörg Bärmann"));
    QCOMPARE(QList<int>({game->level, game->presentFactor, game->waitFactor, game->allowanceSteps,
                         game->disturbanceKind, game->cushions, game->billiardStep}),
             QList<int>({4, 45, 120, 13, ChoiceBillard, CushionCount, BilliardStep}));
    QCOMPARE(game->disturbance, GameDisturbanceLabel.text());
    QCOMPARE(game->speed + game->ringsMode + game->billiardCorrection, QStringLiteral("100mj"));
    QCOMPARE(QList<bool>({game->backgroundText, game->hintPanel, game->windowCaption,
                          game->remainingTime}),
             QList<bool>({false, true, true, true}));
    QCOMPARE(game->score().achieved, PointsAchieved);
    QCOMPARE(game->score().possible, PointsPossible);
    for (int round = 1; round <= RoundsPerGame; ++round) {
        const JournalRound &r = game->rounds[size_t(round - 1)];
        QCOMPARE(r.presented, PresentedSequences[round].text());
        QCOMPARE(r.typed, ReproducedSequences[round].text());
        QCOMPARE(r.marks, SymbolMarks[round].text());
        QCOMPARE(r.disturbance, RoundDisturbanceLabels[round].text());
        QCOMPARE(r.achieved, RoundPointsAchieved[round]);
        QCOMPARE(r.possible, int(RoundPointsPossible[round]));
    }
    QCOMPARE(game->rounds[5].presented.isEmpty(), timeOut);
    // A time-out after the end of the same game (its result still shown) records nothing more.
    RemainingSeconds = 1;
    Form_MuW->Timer_GesamtZeitTimer();
    Form_MuW->StopOverallTime();
    QCOMPARE(journal->gameCount(), 1);
    // Saved in a results file as well, the game is known by that record: an import of the
    // file does not count it twice.
    QVERIFY(SaveOverallResult(QDir(TestSupport::workingDirectory()).filePath("Spiel.ERG")));
    QCOMPARE(journal->knownRecords(), QSet<QByteArray>({RecordBuffer.toBytes()}));
    QCOMPARE(journal->importRecords({RecordBuffer})->known, 1);
}

void GameTest::timeOutClosesTheBoxesOfTheGame_data()
{
    QTest::addColumn<QString>("box");
    QTest::addColumn<bool>("answer"); // the player's answer once the box is closed
    QTest::newRow("abort question, Ja after the time-out") << "abort" << true;
    QTest::newRow("abort question, Nein after the time-out") << "abort" << false;
    QTest::newRow("wrong character") << "text" << true;
}

// The time runs out while a box of the game is open: the box closes with the game, and no
// answer given to it changes what the timed-out game left to save.
void GameTest::timeOutClosesTheBoxesOfTheGame()
{
    QFETCH(QString, box);
    QFETCH(bool, answer);
    const bool text = box == QLatin1String("text");
    const QString question =
        text ? WrongCharacterMessage : QStringLiteral("Willst Du dieses Spiel\nwirklich abbrechen ?");
    setSettings("03", "060", "060", text);
    Form_MuW->Radio_TextHstRinge->setItemIndex(ChoiceTexte);
    auto restoreKind =
        qScopeGuard([] { Form_MuW->Radio_TextHstRinge->setItemIndex(ChoiceHauptstaedte); });
    messages().answers = {answer};
    int openAfterTimeOut = -1;
    messages().whileOpen = [&](const TestSupport::ShownMessage &shown) {
        if (shown.text != question)
            return;
        QCOMPARE(MessageBoxes::OpenBoxCount(), 1);
        RemainingSeconds = 1;
        Form_MuW->Timer_GesamtZeitTimer();
        openAfterTimeOut = MessageBoxes::OpenBoxCount();
    };
    bool acted = false;
    whileWindowShown([&] {
        if (acted || !Form_MuW_Zahlen->Timer_MuW_Merken.isActive())
            return true;
        acted = true;
        if (!text) {
            Form_MuW_Zahlen->close();
            return true;
        }
        DisturbanceRound1 = RoundNumber;
        TestSupport::afterActivation(Form_Frage_Text, [] {
            ExpectedCharacter = QStringLiteral("S");
            Form_Frage_Text->Edit_Zeichen_eingeben->setText(QStringLiteral("s"));
        });
        Form_MuW_Zahlen->Timer_MuW_MerkenTimer();
        Form_MuW_Zahlen->Timer_MuW_WartenTimer();
        return true;
    });
    QVERIFY(acted);
    QCOMPARE(openAfterTimeOut, 0);
    QCOMPARE(messages().shown.size(), 2);
    QCOMPARE(messages().shown[1].text, TimeoutMessage);
    QVERIFY(!Form_MuW_Zahlen->isVisible() && !Form_Frage_Text->isVisible());
    QCOMPARE(TimeoutAbort, Byte(1));
    QCOMPARE(ResultSaved, Byte(0));
}

QTEST_MAIN(GameTest)
#include "test_game.moc"
