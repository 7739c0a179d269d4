// SPDX-License-Identifier: GPL-3.0-or-later
#include "TestSupport.h"

#include "common/RandomClock.h"
#include "common/SharedState.h"
#include "disturbance/Billard.h"
#include "disturbance/Fragehst.h"
#include "disturbance/Hauptsta.h"
#include "disturbance/Ringe.h"
#include "disturbance/Stoeren.h"
#include "disturbance/Stoertex.h"
#include "exercise/Muw.h"
#include "exercise/Muw_zahl.h"

#include <QApplication>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

#include <functional>
#include <set>

namespace {

void writeCapitalsFile(const QByteArray &bytes)
{
    QFile file(CapitalsFileName);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    QCOMPARE(file.write(bytes), bytes.size());
}

QByteArray builtInCapitals()
{
    FillCapitalsTable();
    return CapitalsTableBytes();
}

// What the overall timer's time-out does to the windows of this unit.
void closeAllWithOk()
{
    Form_Stoeren_Vorgabe->CloseWithOk();
    Form_Frage_Hst->CloseWithOk();
    Form_Frage_Text->CloseWithOk();
}

void selectDisturbance(int kind, int continent = 0)
{
    Form_MuW->Radio_Stoeren->setItemIndex(0);
    Form_MuW->Radio_TextHstRinge->setItemIndex(kind);
    Form_MuW->Radio_Stoeren_Hst->setItemIndex(continent);
}

} // namespace

class DisturbanceTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void init();
    void cleanup();

    void disturbedRoundsAreTwoDifferentRoundsFromTwoToFive();
    void continentDrawsStayInTheirRangesAndDiffer_data();
    void continentDrawsStayInTheirRangesAndDiffer();
    void askedCountriesAreTwoDifferentPresentedOnes();
    void capitalAnswerMustMatchExactly_data();
    void capitalAnswerMustMatchExactly();
    void typingTheCapitalAndEnterClosesTheQuestion();
    void enterOnEmptyFieldShowsPresentationUntilOk();
    void nthNonBlankCharacterSkipsOnlyBlanks_data();
    void nthNonBlankCharacterSkipsOnlyBlanks();
    void textEightKeepsItsTrailingBlank();
    void wrongCharacterIsRejectedWithTheMessage();
    void rightCharacterClosesAndFlipsTheQuestion();
    void preparedTextQuestionStaysInItsRanges();
    void textBlockIsCentredOnLineTwoOrOnTheOnlyLine_data();
    void textBlockIsCentredOnLineTwoOrOnTheOnlyLine();
    void remainingTimePanelsSitAtTheExerciseWindowsCorner();
    void fileChangedAfterStartIsPresentedAndAccepted();
    void unreadableCapitalsFileShowsTheErrorAndStopsTheStart();
    void oversizedLengthBytesStayInsideTheRecord();
    void disturbancesOffOnlyStopTheWaitingTimer();
    void mouseTasksAreShownUntilOk_data();
    void mouseTasksAreShownUntilOk();
    void capitalQuestionClosedByCloseBoxIsAskedAgain();
    void textQuestionClosedByCloseBoxShowsTheSameText();
    void timeoutEndsTheQuestion();
    void timeoutInsidePresentationAfterWrongAnswerEndsTheLoop();
    void timeoutEndsTheTextQuestionWithoutFlipping();

private:
    void prepareCapitalsGame(Byte first, Byte second);
};

void DisturbanceTest::initTestCase()
{
    TestSupport::createProgram();
}

void DisturbanceTest::cleanupTestCase()
{
    TestSupport::destroyProgram();
}

void DisturbanceTest::init()
{
    TestSupport::messages().clear();
    writeCapitalsFile(builtInCapitals());
    CapitalsBuffer = builtInCapitals();
    SecondCapitalQuestion = 0;
    SecondTextQuestion = 0;
}

void DisturbanceTest::cleanup()
{
    TestSupport::dropPendingActions();
}

void DisturbanceTest::prepareCapitalsGame(Byte first, Byte second)
{
    PresentedCountries = OneBasedArray<Byte, 3>({first, 20, second});
    AskedCountries[1] = first;
    AskedCountries[2] = second;
    FillPresentationPanels();
}

void DisturbanceTest::disturbedRoundsAreTwoDifferentRoundsFromTwoToFive()
{
    std::set<int> seen;
    for (quint32 seed = 1; seed <= 400; ++seed) {
        RandomClock::useFixedSeed(seed);
        ChooseDisturbanceRounds();
        QVERIFY(DisturbanceRound1 >= 2 && DisturbanceRound1 <= 5);
        QVERIFY(DisturbanceRound2 >= 2 && DisturbanceRound2 <= 5);
        QVERIFY(DisturbanceRound1 != DisturbanceRound2);
        seen.insert(DisturbanceRound1);
        seen.insert(DisturbanceRound2);
    }
    QCOMPARE(seen, (std::set<int>{2, 3, 4, 5}));
}

void DisturbanceTest::continentDrawsStayInTheirRangesAndDiffer_data()
{
    QTest::addColumn<int>("continent");
    QTest::addColumn<QList<int>>("ranges"); // first and last record of positions 1, 2, 3
    QTest::newRow("Europa") << 0 << QList<int>{1, 44, 1, 44, 1, 44};
    QTest::newRow("Asien") << 1 << QList<int>{50, 96, 50, 96, 50, 96};
    QTest::newRow("Afrika") << 2 << QList<int>{100, 152, 100, 152, 100, 152};
    QTest::newRow("Amerika") << 3 << QList<int>{160, 194, 160, 194, 160, 194};
    QTest::newRow("Australien") << 4 << QList<int>{200, 212, 200, 212, 200, 212};
    QTest::newRow("allen Kontinenten") << 5 << QList<int>{1, 96, 100, 152, 160, 212};
}

void DisturbanceTest::continentDrawsStayInTheirRangesAndDiffer()
{
    QFETCH(int, continent);
    QFETCH(QList<int>, ranges);
    RandomClock::useFixedSeed(7);
    for (int game = 0; game < 300; ++game) {
        const std::array<Byte, 3> records = DrawPresentedCountries(continent);
        for (size_t i = 0; i < 3; ++i) {
            QVERIFY(records[i] >= ranges[int(2 * i)] && records[i] <= ranges[int(2 * i + 1)]);
            // Never one of the empty records between the continents.
            QVERIFY(!CapitalRecordAt(CapitalsBuffer, records[i]).Country.isEmpty());
        }
        QVERIFY(records[0] != records[1] && records[0] != records[2] && records[1] != records[2]);
    }
}

void DisturbanceTest::askedCountriesAreTwoDifferentPresentedOnes()
{
    PresentedCountries = OneBasedArray<Byte, 3>({6, 20, 30});
    std::set<int> firstAsked;
    for (quint32 seed = 1; seed <= 100; ++seed) {
        RandomClock::useFixedSeed(seed);
        ChooseAskedCountries();
        QVERIFY(AskedCountries[1] != AskedCountries[2]);
        for (int asked : {AskedCountries[1], AskedCountries[2]})
            QVERIFY(asked == 6 || asked == 20 || asked == 30);
        firstAsked.insert(AskedCountries[1]);
    }
    QCOMPARE(firstAsked.size(), size_t(3));
}

void DisturbanceTest::capitalAnswerMustMatchExactly_data()
{
    QTest::addColumn<int>("secondQuestion");
    QTest::addColumn<QString>("answer");
    QTest::addColumn<bool>("right");
    // Record 6 is Deutschland / Berlin, record 28 Spanien / Madrid.
    QTest::newRow("Berlin") << 0 << "Berlin" << true;
    QTest::newRow("berlin") << 0 << "berlin" << false;
    QTest::newRow("BERLIN") << 0 << "BERLIN" << false;
    QTest::newRow("blank before") << 0 << " Berlin" << false;
    QTest::newRow("blank after") << 0 << "Berlin " << false;
    QTest::newRow("other asked capital") << 0 << "Madrid" << false;
    QTest::newRow("empty") << 0 << "" << false;
    QTest::newRow("second question: Madrid") << 1 << "Madrid" << true;
    QTest::newRow("second question: Berlin") << 1 << "Berlin" << false;
}

void DisturbanceTest::capitalAnswerMustMatchExactly()
{
    QFETCH(int, secondQuestion);
    QFETCH(QString, answer);
    QFETCH(bool, right);
    QCOMPARE(CapitalRecordAt(CapitalsBuffer, 6).Country, QStringLiteral("Deutschland"));
    prepareCapitalsGame(6, 28);
    SecondCapitalQuestion = Byte(secondQuestion);
    QCOMPARE(CapitalAnswerIsRight(answer), right);
}

void DisturbanceTest::typingTheCapitalAndEnterClosesTheQuestion()
{
    prepareCapitalsGame(6, 28);
    selectDisturbance(ChoiceHauptstaedte);
    TestSupport::afterActivation(Form_Frage_Hst, [] {
        QLineEdit *edit = Form_Frage_Hst->Edit_Hst_Frage;
        QTest::keyClicks(edit, QStringLiteral("Berlin"));
        QVERIFY(Form_Frage_Hst->isVisible()); // other keys never check the answer
        QTest::keyClick(edit, Qt::Key_Return);
    });
    RunDisturbance();
    QCOMPARE(Form_Frage_Hst->Hst_Frage_Land->text(), QStringLiteral("Deutschland"));
    // A screen reader names the window with the whole question.
    QCOMPARE(Form_Frage_Hst->accessibleName(),
             QStringLiteral("Wie heißt die Hauptstadt von Deutschland?"));
    QVERIFY(!Form_Stoeren_Vorgabe->isVisible());
    QVERIFY(Form_Frage_Hst->Edit_Hst_Frage->text().isEmpty());
    QCOMPARE(SecondCapitalQuestion, Byte(1));
}

void DisturbanceTest::enterOnEmptyFieldShowsPresentationUntilOk()
{
    prepareCapitalsGame(6, 28);
    int showings = 0;
    // The first showing is ended through its close box: it must come again until OK.
    auto endPresentation = [&showings] {
        ++showings;
        QCOMPARE(Form_Stoeren_Vorgabe->Panel_Hst_1->text(), QStringLiteral("Berlin"));
        if (showings == 1)
            Form_Stoeren_Vorgabe->reject();
        else
            Form_Stoeren_Vorgabe->But_zurueck->click();
    };
    TestSupport::afterActivation(Form_Stoeren_Vorgabe, [&] {
        TestSupport::afterActivation(Form_Stoeren_Vorgabe, endPresentation);
        endPresentation();
    });
    Form_Frage_Hst->setResult(QDialog::Rejected);
    Form_Frage_Hst->Edit_Hst_Frage->setText(QStringLiteral("Bern"));
    Form_Frage_Hst->Edit_Hst_FrageKeyPress(QLatin1Char('n'));
    QCOMPARE(showings, 0);
    Form_Frage_Hst->Edit_Hst_Frage->clear();
    Form_Frage_Hst->Edit_Hst_FrageKeyPress(QChar(13));
    QCOMPARE(showings, 2);
    QVERIFY(Form_Frage_Hst->Edit_Hst_Frage->text().isEmpty());
    QVERIFY(Form_Frage_Hst->result() != QDialog::Accepted);
}

void DisturbanceTest::nthNonBlankCharacterSkipsOnlyBlanks_data()
{
    QTest::addColumn<int>("text");
    QTest::addColumn<int>("line");
    QTest::addColumn<int>("n");
    QTest::addColumn<QString>("expected");
    QTest::newRow("text 1, capital S of Sie") << 1 << 1 << 6 << "S";
    QTest::newRow("text 3, blanks skipped") << 3 << 1 << 11 << "h";
    QTest::newRow("text 5, umlaut") << 5 << 1 << 8 << "ü";
    QTest::newRow("text 5, S of Störungen") << 5 << 1 << 12 << "S";
    QTest::newRow("text 2, comma counts") << 2 << 1 << 9 << ",";
    QTest::newRow("text 10, line 3, first") << 10 << 3 << 1 << "V";
}

void DisturbanceTest::nthNonBlankCharacterSkipsOnlyBlanks()
{
    QFETCH(int, text);
    QFETCH(int, line);
    QFETCH(int, n);
    QFETCH(QString, expected);
    QCOMPARE(FindNthNonSpaceChar(DisturbingTexts[text].line(line), Byte(n)), expected);
}

void DisturbanceTest::textEightKeepsItsTrailingBlank()
{
    QCOMPARE(DisturbingTexts[8].line(3), QStringLiteral("diese Texte einzublenden! "));
    QCOMPARE(DisturbingTexts[7].LineCount, Byte(1));
    // Every line of a text has the 12 non-blank characters a question can ask for.
    for (int t = 1; t <= DisturbingTextCount; ++t) {
        for (int m = 1; m <= DisturbingTexts[t].LineCount; ++m)
            QVERIFY(!FindNthNonSpaceChar(DisturbingTexts[t].line(m), 12).isEmpty());
    }
}

void DisturbanceTest::wrongCharacterIsRejectedWithTheMessage()
{
    ExpectedCharacter = FindNthNonSpaceChar(DisturbingTexts[1].line(1), 6);
    for (const QString &typed : {QStringLiteral("s"), QStringLiteral("SS")}) {
        TestSupport::messages().clear();
        Form_Frage_Text->Edit_Zeichen_eingeben->setText(typed);
        QVERIFY(Form_Frage_Text->Edit_Zeichen_eingeben->text().isEmpty());
        QCOMPARE(TestSupport::messages().shown.size(), 1);
        QCOMPARE(TestSupport::messages().shown[0].kind, MessageBoxes::Kind::Information);
        QCOMPARE(TestSupport::messages().lastText(), WrongCharacterMessage);
        QCOMPARE(SecondTextQuestion, Byte(0));
    }
}

void DisturbanceTest::rightCharacterClosesAndFlipsTheQuestion()
{
    ExpectedCharacter = QStringLiteral("S");
    for (Byte before : {Byte(0), Byte(1)}) {
        SecondTextQuestion = before;
        Form_Frage_Text->setResult(QDialog::Rejected);
        Form_Frage_Text->Edit_Zeichen_eingeben->setText(QStringLiteral("S"));
        QCOMPARE(Form_Frage_Text->result(), int(QDialog::Accepted));
        QCOMPARE(SecondTextQuestion, Byte(1 - before));
        Form_Frage_Text->Edit_Zeichen_eingeben->clear();
    }
    QVERIFY(TestSupport::messages().shown.isEmpty());
}

void DisturbanceTest::preparedTextQuestionStaysInItsRanges()
{
    for (Byte second : {Byte(0), Byte(1)}) {
        SecondTextQuestion = second;
        const int lastChar = second == 0 ? 12 : 10;
        for (quint32 seed = 1; seed <= 150; ++seed) {
            RandomClock::useFixedSeed(seed);
            PrepareTextQuestion();
            QVERIFY(TextNumber1 != TextNumber2);
            const int t = second == 0 ? TextNumber1 : TextNumber2;
            const DisturbingText &text = DisturbingTexts[t];
            QVERIFY(AskedLine >= 1 && AskedLine <= text.LineCount);
            QVERIFY(AskedCharNumber >= 5 && AskedCharNumber <= lastChar);
            QCOMPARE(ExpectedCharacter.text(),
                     FindNthNonSpaceChar(text.line(AskedLine), AskedCharNumber));
            QCOMPARE(Form_Frage_Text->Label_Zeile_1->text(), text.line(1));
            QCOMPARE(Form_Frage_Text->Label_Zeile_2->text().isEmpty(), text.LineCount < 2);
            QCOMPARE(Form_Frage_Text->Label_Zeile_3->text().isEmpty(), text.LineCount < 3);
            QCOMPARE(Form_Frage_Text->Label_Aufforder_Buchst_eing->text(),
                     TextQuestionRequest(AskedCharNumber, AskedLine));
        }
    }
    QCOMPARE(TextQuestionRequest(6, 1),
             QStringLiteral("Geben Sie bitte das 6. Zeichen der 1. Zeile "));
}

void DisturbanceTest::textBlockIsCentredOnLineTwoOrOnTheOnlyLine_data()
{
    QTest::addColumn<int>("text");
    QTest::addColumn<int>("centredLine");
    QTest::newRow("one line: text 7") << 7 << 1;
    QTest::newRow("two lines: text 3") << 3 << 2;
    QTest::newRow("three lines: text 2") << 2 << 2;
}

void DisturbanceTest::textBlockIsCentredOnLineTwoOrOnTheOnlyLine()
{
    QFETCH(int, text);
    QFETCH(int, centredLine);
    TextNumber1 = Byte(text);
    TextNumber2 = Byte(text == 1 ? 2 : 1);
    Form_Frage_Text->resize(1201, 700);
    FillTextQuestion(text);
    Form_Frage_Text->FormActivate();
    QLabel *centred =
        centredLine == 1 ? Form_Frage_Text->Label_Zeile_1 : Form_Frage_Text->Label_Zeile_2;
    QCOMPARE(centred->font().pointSize(), 18);
    QCOMPARE(centred->width(), centred->sizeHint().width());
    const int x = CentredLeft(1201, centred->width());
    for (QWidget *w : std::initializer_list<QWidget *>{
             Form_Frage_Text->Label_Zeile_1, Form_Frage_Text->Label_Zeile_2,
             Form_Frage_Text->Label_Zeile_3, Form_Frage_Text->Label_Aufforder_Buchst_eing,
             Form_Frage_Text->Label_Auff_2, Form_Frage_Text->Edit_Zeichen_eingeben})
        QCOMPARE(w->x(), x);
    if (text == 7) {
        QVERIFY(Form_Frage_Text->Label_Zeile_2->text().isEmpty());
        QVERIFY(Form_Frage_Text->Label_Zeile_3->text().isEmpty());
    }
    QCOMPARE(CentredLeft(100, 151), -25); // truncation toward zero
}

void DisturbanceTest::remainingTimePanelsSitAtTheExerciseWindowsCorner()
{
    QCOMPARE(RemainingTimePanelPosition({800, 600}, {100, 24}),
             QPoint(800 - 100 - 20, 600 - 24 - 30));
    QCOMPARE(RemainingTimePanelPosition({1279, 1019}, {90, 30}),
             QPoint(1279 - 90 - 31, 1019 - 30 - 50));
    Form_MuW_Zahlen->resize(1000, 700);
    Form_Stoeren_Vorgabe->FormActivate();
    Form_Frage_Hst->FormActivate();
    Form_Frage_Text->FormActivate();
    for (QLabel *panel : {Form_Stoeren_Vorgabe->Panel_RestZeit, Form_Frage_Hst->Panel_RestZeit,
                          Form_Frage_Text->Panel_RestZeit}) {
        QCOMPARE(panel->objectName(), QStringLiteral("Panel_RestZeit"));
        QCOMPARE(panel->pos(), RemainingTimePanelPosition({1000, 700}, panel->size()));
    }
}

void DisturbanceTest::fileChangedAfterStartIsPresentedAndAccepted()
{
    // Every European capital is changed in the file after start-up.
    QByteArray bytes = builtInCapitals();
    for (int n = 1; n <= 44; ++n) {
        CapitalRecord record = CapitalRecordAt(bytes, n);
        record.Capital = QStringLiteral("Neustadt %1").arg(n);
        bytes.replace((n - 1) * CapitalRecordSize, CapitalRecordSize, CapitalRecordBytes(record));
    }
    writeCapitalsFile(bytes);
    selectDisturbance(ChoiceHauptstaedte, 0);
    TestSupport::afterActivation(Form_Stoeren_Vorgabe,
                                 [] { Form_Stoeren_Vorgabe->But_zurueck->click(); });
    QVERIFY(ShowCapitalsPresentation());
    for (int i = 1; i <= 3; ++i) {
        const int n = PresentedCountries[i];
        QCOMPARE(Form_Stoeren_Vorgabe->PanelHst(i)->text(), QStringLiteral("Neustadt %1").arg(n));
        QCOMPARE(Form_Stoeren_Vorgabe->PanelLand(i)->text(), CapitalRecordAt(bytes, n).Country);
    }
    QVERIFY(CapitalAnswerIsRight(QStringLiteral("Neustadt %1").arg(AskedCountries[1])));
    QVERIFY(!CapitalAnswerIsRight(CapitalRecordAt(builtInCapitals(), AskedCountries[1]).Capital));
}

void DisturbanceTest::unreadableCapitalsFileShowsTheErrorAndStopsTheStart()
{
    const QByteArray before = CapitalsBuffer;
    QFile::remove(CapitalsFileName);
    QVERIFY(!ShowCapitalsPresentation());
    QCOMPARE(TestSupport::messages().shown.size(), 1);
    QCOMPARE(TestSupport::messages().shown[0].kind, MessageBoxes::Kind::Error);
    QCOMPARE(TestSupport::messages().lastText(), QStringLiteral("Datei nicht gefunden"));

    writeCapitalsFile(builtInCapitals().left(100 * CapitalRecordSize));
    QVERIFY(!ShowCapitalsPresentation());
    QCOMPARE(TestSupport::messages().lastText(), QStringLiteral("E/A-Fehler 100"));
    QCOMPARE(CapitalsBuffer, before);
    QVERIFY(!Form_Stoeren_Vorgabe->isVisible());
}

void DisturbanceTest::oversizedLengthBytesStayInsideTheRecord()
{
    QByteArray bytes = builtInCapitals();
    const int offset = 5 * CapitalRecordSize; // record 6
    bytes[offset] = char(200);
    bytes[offset + 29] = char(255);
    bytes[offset + 50] = 'X'; // first byte of record 7, which must not leak in
    CapitalsBuffer = bytes;
    prepareCapitalsGame(6, 28);
    QCOMPARE(Form_Stoeren_Vorgabe->Panel_Land_1->text().size(), 28);
    QCOMPARE(Form_Stoeren_Vorgabe->Panel_Hst_1->text().size(), 20);
    QVERIFY(Form_Stoeren_Vorgabe->Panel_Hst_1->text().startsWith(QStringLiteral("Berlin")));
    QVERIFY(!Form_Stoeren_Vorgabe->Panel_Hst_1->text().contains(QLatin1Char('X')));
}

void DisturbanceTest::disturbancesOffOnlyStopTheWaitingTimer()
{
    selectDisturbance(ChoiceHauptstaedte);
    Form_MuW->Radio_Stoeren->setItemIndex(1);
    Form_MuW_Zahlen->Timer_MuW_Warten.setInterval(60000);
    RunDisturbance();
    QVERIFY(!Form_MuW_Zahlen->Timer_MuW_Warten.isActive());
    QCOMPARE(SecondCapitalQuestion, Byte(0));
}

void DisturbanceTest::mouseTasksAreShownUntilOk_data()
{
    QTest::addColumn<int>("kind");
    QTest::newRow("Kreise treffen") << int(ChoiceKreise);
    QTest::newRow("Billard") << int(ChoiceBillard);
}

void DisturbanceTest::mouseTasksAreShownUntilOk()
{
    QFETCH(int, kind);
    selectDisturbance(kind);
    ModalForm *task = kind == ChoiceKreise ? static_cast<ModalForm *>(Form_Ringe)
                                           : static_cast<ModalForm *>(Form_Billard);
    bool shown = false;
    TestSupport::afterActivation(task, [task, &shown] {
        shown = true;
        task->CloseWithOk();
    });
    RunDisturbance();
    QVERIFY(shown);
    QVERIFY(!task->isVisible());
    QVERIFY(!Form_Frage_Hst->isVisible() && !Form_Frage_Text->isVisible());
}

void DisturbanceTest::capitalQuestionClosedByCloseBoxIsAskedAgain()
{
    prepareCapitalsGame(6, 28);
    SecondCapitalQuestion = 1; // the second question asks for AskedCountries[2]
    selectDisturbance(ChoiceHauptstaedte);
    int showings = 0;
    TestSupport::afterActivation(Form_Frage_Hst, [&] {
        ++showings;
        Form_Frage_Hst->Edit_Hst_Frage->setText(QStringLiteral("Mad"));
        TestSupport::afterActivation(Form_Frage_Hst, [&] {
            ++showings;
            QVERIFY(Form_Frage_Hst->Edit_Hst_Frage->text().isEmpty());
            QCOMPARE(Form_Frage_Hst->Hst_Frage_Land->text(), QStringLiteral("Spanien"));
            QTest::keyClicks(Form_Frage_Hst->Edit_Hst_Frage, QStringLiteral("Madrid"));
            QTest::keyClick(Form_Frage_Hst->Edit_Hst_Frage, Qt::Key_Return);
        });
        Form_Frage_Hst->close();
    });
    RunDisturbance();
    QCOMPARE(showings, 2);
    QCOMPARE(SecondCapitalQuestion, Byte(1));
}

void DisturbanceTest::textQuestionClosedByCloseBoxShowsTheSameText()
{
    selectDisturbance(ChoiceTexte);
    int showings = 0;
    QString firstRequest;
    TestSupport::afterActivation(Form_Frage_Text, [&] {
        ++showings;
        firstRequest = Form_Frage_Text->Label_Aufforder_Buchst_eing->text();
        TestSupport::afterActivation(Form_Frage_Text, [&] {
            ++showings;
            QCOMPARE(Form_Frage_Text->Label_Aufforder_Buchst_eing->text(), firstRequest);
            QTest::keyClicks(Form_Frage_Text->Edit_Zeichen_eingeben, ExpectedCharacter.text());
        });
        Form_Frage_Text->close();
    });
    RunDisturbance();
    QCOMPARE(showings, 2);
    QCOMPARE(SecondTextQuestion, Byte(1));
    QVERIFY(Form_Frage_Text->Edit_Zeichen_eingeben->text().isEmpty());
    QVERIFY(TestSupport::messages().shown.isEmpty());
}

void DisturbanceTest::timeoutEndsTheQuestion()
{
    prepareCapitalsGame(6, 28);
    selectDisturbance(ChoiceHauptstaedte);
    TestSupport::afterActivation(Form_Frage_Hst, [] { closeAllWithOk(); });
    RunDisturbance();
    QVERIFY(!Form_Frage_Hst->isVisible());
    QCOMPARE(SecondCapitalQuestion, Byte(1));
}

void DisturbanceTest::timeoutInsidePresentationAfterWrongAnswerEndsTheLoop()
{
    prepareCapitalsGame(6, 28);
    selectDisturbance(ChoiceHauptstaedte);
    bool presentationSeen = false;
    TestSupport::afterActivation(Form_Frage_Hst, [&] {
        TestSupport::afterActivation(Form_Stoeren_Vorgabe, [&] {
            presentationSeen = true;
            closeAllWithOk();
        });
        QTest::keyClicks(Form_Frage_Hst->Edit_Hst_Frage, QStringLiteral("Madrid"));
        QTest::keyClick(Form_Frage_Hst->Edit_Hst_Frage, Qt::Key_Return);
    });
    RunDisturbance();
    QVERIFY(presentationSeen);
    QVERIFY(!Form_Stoeren_Vorgabe->isVisible());
    QVERIFY(!Form_Frage_Hst->isVisible());
}

void DisturbanceTest::timeoutEndsTheTextQuestionWithoutFlipping()
{
    selectDisturbance(ChoiceTexte);
    TestSupport::afterActivation(Form_Frage_Text, [] { closeAllWithOk(); });
    RunDisturbance();
    QVERIFY(!Form_Frage_Text->isVisible());
    QCOMPARE(SecondTextQuestion, Byte(0));
}

QTEST_MAIN(DisturbanceTest)
#include "test_disturbance.moc"
