// SPDX-License-Identifier: GPL-3.0-or-later
#include "TestSupport.h"

#include "colours/ColourAids.h"
#include "colours/Farben.h"
#include "results/Tagebuchfuehrung.h"

#include <QAccessible>
#include <QAction>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QtTest>

class ColoursTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { TestSupport::createProgram(); }
    void cleanupTestCase() { TestSupport::destroyProgram(); }
    void init();
    void cleanup();

    void answerPanelsRecordTheirCodes_data();
    void answerPanelsRecordTheirCodes();
    void settingsFieldsCheckTheirTextOnExit_data();
    void settingsFieldsCheckTheirTextOnExit();
    void settingsFieldsTakeOnlyDigits();
    void oneColourIsShownAfterOnePauseAndOneClickEndsIt();
    void fortyColoursEachFollowABlankPause();
    void wrongFirstClickCountsAsAnsweredButNotRight();
    void realTimersRunAWholeSequence();
    void ruleHintSwitchesOnAndOff();
    void reopeningRestoresTheDefaultSettings();
    void closingMidSequenceLeavesTheWindowIdle_data();
    void closingMidSequenceLeavesTheWindowIdle();
    void helpShowsItsText();
    void keysAnswerLikeClicks_data();
    void keysAnswerLikeClicks();
    void keysDoNothingOutsideTheAnswerPhase();
    void heldKeyAnswersOnce();
    void answerPanelsAreNamedByColour();
    void symbolsAreOffByDefaultAndSwitchLikeTheRuleHint();
    void symbolsFollowTheColoursAndLeaveTheChecksAlone();

private:
    static void setColourCount(int count);
    // Pause and display phases of a whole sequence, by calling the timer handlers.
    static void showWholeSequence();
    static void clickCode(int code);
    static bool answerPanelsShown();
    // Sends a key to the window as the keyboard does, to whichever widget has the focus.
    static void pressKey(int code, bool numberPad);
    // The colour at the centre of a panel as painted.
    static QColor centreColour(QWidget *panel);
};

void ColoursTest::cleanup()
{
    if (SymbolsOn)
        Form_Farben->Symbole1->trigger();
    if (RuleHintOn)
        Form_Farben->Regelhinweis1->trigger();
    Form_Farben->close();
}

void ColoursTest::pressKey(int code, bool numberPad)
{
    QTest::keyClick(Form_Farben->windowHandle(), Qt::Key(Qt::Key_1 + code - 1),
                    numberPad ? Qt::KeypadModifier : Qt::NoModifier);
}

QColor ColoursTest::centreColour(QWidget *panel)
{
    const QImage image = panel->grab().toImage();
    return image.pixelColor(image.width() / 2, image.height() / 2);
}

void ColoursTest::init()
{
    TestSupport::messages().clear();
    Form_Farben->show();
    Form_Farben->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(Form_Farben));
}

void ColoursTest::setColourCount(int count)
{
    Form_Farben->Edit_Anzahl->setText(QString::number(count));
    QVERIFY(Form_Farben->Edit_AnzahlExit());
}

void ColoursTest::showWholeSequence()
{
    Form_Farben->StartClick();
    while (Form_Farben->Timer1.isActive()) {
        Form_Farben->Timer1Timer();
        Form_Farben->Timer2Timer();
    }
}

void ColoursTest::clickCode(int code)
{
    QTest::mouseClick(Form_Farben->answerPanels[size_t(code - 1)], Qt::LeftButton);
}

bool ColoursTest::answerPanelsShown()
{
    for (const TColourPanel *panel : Form_Farben->answerPanels) {
        if (panel->isHidden())
            return false;
    }
    return true;
}

void ColoursTest::answerPanelsRecordTheirCodes_data()
{
    QTest::addColumn<QString>("panel");
    QTest::addColumn<int>("code");
    QTest::addColumn<QColor>("colour");
    QTest::newRow("rot") << "Panel_rot" << 1 << QColor(255, 0, 0);
    QTest::newRow("blau") << "Panel_blau" << 2 << QColor(0, 0, 255);
    QTest::newRow("gruen") << "Panel_gruen" << 3 << QColor(0, 128, 0);
    QTest::newRow("gelb") << "Panel_gelb" << 4 << QColor(255, 255, 0);
    QTest::newRow("braun") << "Panel_braun" << 5 << QColor(128, 0, 0);
    QTest::newRow("grau") << "Panel_grau" << 6 << QColor(128, 128, 128);
}

void ColoursTest::answerPanelsRecordTheirCodes()
{
    QFETCH(QString, panel);
    QFETCH(int, code);
    QFETCH(QColor, colour);
    auto *answerPanel = Form_Farben->findChild<TColourPanel *>(panel);
    QVERIFY(answerPanel);
    QCOMPARE(answerPanel->colour(), colour);
    setColourCount(1);
    showWholeSequence();
    QTest::mouseClick(answerPanel, Qt::LeftButton);
    QCOMPARE(int(ClickedColours[1]), code);
    QCOMPARE(Form_Farben->Panel_Richtige->text(), QString::number(ShownColours[1] == code ? 1 : 0));
}

void ColoursTest::settingsFieldsCheckTheirTextOnExit_data()
{
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("accepted");
    QTest::addColumn<QString>("message");
    const QString none;
    QTest::newRow("count 0") << "Edit_Anzahl"
                             << "0" << false << ColourCountRefusal;
    QTest::newRow("count 41") << "Edit_Anzahl"
                              << "41" << false << ColourCountRefusal;
    QTest::newRow("count 40") << "Edit_Anzahl"
                              << "40" << true << none;
    QTest::newRow("count empty") << "Edit_Anzahl"
                                 << "" << false << none;
    QTest::newRow("count too long") << "Edit_Anzahl"
                                    << "99999999999" << false << none;
    QTest::newRow("show 10000") << "Edit_Zeige_Dauer"
                                << "10000" << true << none;
    QTest::newRow("show 10001") << "Edit_Zeige_Dauer"
                                << "10001" << false << DurationRefusal;
    QTest::newRow("pause 1") << "Edit_Pausen_Laenge"
                             << "1" << true << none;
    QTest::newRow("pause 0") << "Edit_Pausen_Laenge"
                             << "00" << false << DurationRefusal;
}

void ColoursTest::settingsFieldsCheckTheirTextOnExit()
{
    QFETCH(QString, field);
    QFETCH(QString, text);
    QFETCH(bool, accepted);
    QFETCH(QString, message);
    auto *edit = Form_Farben->findChild<QLineEdit *>(field);
    auto setting = [&] {
        return field == QLatin1String("Edit_Anzahl")        ? int(ColourCount)
               : field == QLatin1String("Edit_Zeige_Dauer") ? ShowDurationMs
                                                            : PauseLengthMs;
    };
    const int before = setting();
    edit->setText(text);
    // Leaving the field by focus, as the player does.
    edit->setFocus();
    Form_Farben->Start->setFocus(Qt::TabFocusReason);
    QCOMPARE(setting(), accepted ? text.toInt() : before);
    if (message.isEmpty()) {
        QVERIFY(TestSupport::messages().shown.isEmpty());
    } else {
        QCOMPARE(TestSupport::messages().shown.size(), 1);
        QCOMPARE(TestSupport::messages().lastText(), message);
    }
    if (!accepted)
        QTRY_COMPARE(Form_Farben->focusWidget(), edit);
}

void ColoursTest::settingsFieldsTakeOnlyDigits()
{
    QLineEdit *edit = Form_Farben->Edit_Zeige_Dauer;
    edit->clear();
    QTest::keyClicks(edit, QStringLiteral("1a2 -3"));
    QCOMPARE(edit->text(), QStringLiteral("123"));
    QTest::keyClick(edit, Qt::Key_Backspace);
    QCOMPARE(edit->text(), QStringLiteral("12"));
}

void ColoursTest::oneColourIsShownAfterOnePauseAndOneClickEndsIt()
{
    Form_Farben->Edit_Pausen_Laenge->setText(QStringLiteral("250"));
    QVERIFY(Form_Farben->Edit_Pausen_LaengeExit());
    setColourCount(1);
    Form_Farben->StartClick();
    QCOMPARE(Form_Farben->windowTitle(), QString());
    QCOMPARE(Form_Farben->Timer1.interval(), 250);
    QVERIFY(Form_Farben->Timer1.isActive());
    QVERIFY(!Form_Farben->Start->isEnabled());
    QVERIFY(!Form_Farben->Edit_Anzahl->isEnabled());

    Form_Farben->Timer1Timer();
    QVERIFY(!Form_Farben->Timer1.isActive());
    QCOMPARE(Form_Farben->Timer2.interval(), 1000);
    QCOMPARE(Form_Farben->Panel_Farbe->colour(), ColourOfCode(ShownColours[1]));
    QVERIFY(SequenceComplete);
    // A tick that comes late cannot lengthen the sequence.
    Form_Farben->Timer1Timer();
    QCOMPARE(ShownCount, Byte(1));

    Form_Farben->Timer2Timer();
    QVERIFY(!Form_Farben->Timer2.isActive());
    QVERIFY(answerPanelsShown());
    QVERIFY(!Form_Farben->Panel_Kontrolle->isHidden());
    QVERIFY(TestSupport::messages().shown.isEmpty());

    clickCode(ShownColours[1]);
    QCOMPARE(Form_Farben->Panel_Kontrolle->text(), QStringLiteral("1"));
    QCOMPARE(Form_Farben->Panel_Richtige->text(), QStringLiteral("1"));
    QVERIFY(Form_Farben->Panel_rot->isHidden());
    QVERIFY(Form_Farben->Start->isEnabled());
    QVERIFY(Form_Farben->Edit_Pausen_Laenge->isEnabled());
    QVERIFY(!Form_Farben->Panel_Richtige->isHidden());
    // Clicks after the last answer are not counted.
    Form_Farben->Panel_rotClick();
    QCOMPARE(AnswerCount, Byte(1));
}

void ColoursTest::fortyColoursEachFollowABlankPause()
{
    setColourCount(40);
    Form_Farben->StartClick();
    const QColor blank = Form_Farben->Panel_Farbe->colour();
    bool sawRepeat = false;
    for (int position = 1; position <= 40; ++position) {
        QCOMPARE(Form_Farben->Panel_Farbe->colour(), blank);
        QCOMPARE(Form_Farben->Timer1.interval(), 1000);
        QVERIFY(Form_Farben->Timer1.isActive() && !Form_Farben->Timer2.isActive());
        Form_Farben->Timer1Timer();
        QVERIFY(!Form_Farben->Timer1.isActive() && Form_Farben->Timer2.isActive());
        QCOMPARE(Form_Farben->Panel_Farbe->colour(), ColourOfCode(ShownColours[position]));
        sawRepeat =
            sawRepeat || (position > 1 && ShownColours[position] == ShownColours[position - 1]);
        Form_Farben->Timer2Timer();
    }
    QVERIFY(sawRepeat);
    QCOMPARE(ShownCount, Byte(40));
    QVERIFY(answerPanelsShown());
    for (int position = 1; position <= 40; ++position)
        clickCode(ShownColours[position]);
    QCOMPARE(Form_Farben->Panel_Kontrolle->text(), QStringLiteral("40"));
    QCOMPARE(Form_Farben->Panel_Richtige->text(), QStringLiteral("40"));
    QVERIFY(!answerPanelsShown());
}

void ColoursTest::wrongFirstClickCountsAsAnsweredButNotRight()
{
    Tagebuch *journal = JournalKeeping::Journal();
    QVERIFY(journal);
    const qsizetype runsBefore = journal->colourRuns().size();
    setColourCount(5);
    showWholeSequence();
    clickCode(ShownColours[1] % 6 + 1);
    QCOMPARE(Form_Farben->Panel_Kontrolle->text(), QStringLiteral("1"));
    QCOMPARE(Form_Farben->Panel_Richtige->text(), QStringLiteral("0"));
    for (int position = 2; position <= 5; ++position)
        clickCode(ShownColours[position]);
    QCOMPARE(Form_Farben->Panel_Kontrolle->text(), QStringLiteral("5"));
    QCOMPARE(Form_Farben->Panel_Richtige->text(), QStringLiteral("4"));
    QVERIFY(Form_Farben->Start->isEnabled());
    // The finished run is in the journal, once.
    const QList<ColourRun> runs = journal->colourRuns();
    QCOMPARE(runs.size(), runsBefore + 1);
    QCOMPARE(QList<int>({runs.constLast().count, runs.constLast().showMs,
                         runs.constLast().pauseMs, runs.constLast().correct}),
             QList<int>({5, 1000, 1000, 4}));
}

void ColoursTest::realTimersRunAWholeSequence()
{
    Form_Farben->Edit_Zeige_Dauer->setText(QStringLiteral("5"));
    QVERIFY(Form_Farben->Edit_Zeige_DauerExit());
    Form_Farben->Edit_Pausen_Laenge->setText(QStringLiteral("5"));
    QVERIFY(Form_Farben->Edit_Pausen_LaengeExit());
    setColourCount(6);
    Form_Farben->Start->click();
    QTRY_VERIFY_WITH_TIMEOUT(Form_Farben->isAnswering(), 60000);
    QCOMPARE(ShownCount, Byte(6));
    QVERIFY(!Form_Farben->Timer1.isActive() && !Form_Farben->Timer2.isActive());
    for (int position = 1; position <= 6; ++position)
        QVERIFY(ShownColours[position] >= 1 && ShownColours[position] <= 6);
}

void ColoursTest::ruleHintSwitchesOnAndOff()
{
    QCOMPARE(Form_Farben->Regelhinweis1->text(), QStringLiteral("Regelhinweis ein"));
    Form_Farben->Regelhinweis1->trigger();
    QCOMPARE(Form_Farben->Regelhinweis1->text(), QStringLiteral("&Regel-Hinweis aus"));
    setColourCount(2);
    showWholeSequence();
    QCOMPARE(TestSupport::messages().shown.size(), 1);
    QCOMPARE(TestSupport::messages().lastText(), RuleHintText);
    // The box is answered, the window activated again: the answer phase must go on.
    QVERIFY(answerPanelsShown());

    Form_Farben->close();
    Form_Farben->show();
    QVERIFY(RuleHintOn);
    Form_Farben->Regelhinweis1->trigger();
    QCOMPARE(Form_Farben->Regelhinweis1->text(), QStringLiteral("&Regel-Hinweis ein"));
    TestSupport::messages().clear();
    showWholeSequence();
    QVERIFY(TestSupport::messages().shown.isEmpty());
    QVERIFY(answerPanelsShown());
}

void ColoursTest::reopeningRestoresTheDefaultSettings()
{
    setColourCount(7);
    Form_Farben->Edit_Zeige_Dauer->setText(QStringLiteral("200"));
    QVERIFY(Form_Farben->Edit_Zeige_DauerExit());
    showWholeSequence();
    Form_Farben->Panel_rotClick();
    Form_Farben->close();
    Form_Farben->show();
    QCOMPARE(ColourCount, Byte(4));
    QCOMPARE(ShowDurationMs, 1000);
    QCOMPARE(PauseLengthMs, 1000);
    QCOMPARE(Form_Farben->Edit_Anzahl->text(), QStringLiteral("4"));
    QCOMPARE(Form_Farben->Edit_Zeige_Dauer->text(), QStringLiteral("1000"));
    QCOMPARE(Form_Farben->Edit_Pausen_Laenge->text(), QStringLiteral("1000"));
    QCOMPARE(int(ShownColours[1]), 0);
    QCOMPARE(int(ClickedColours[1]), 0);
    QVERIFY(Form_Farben->Panel_Kontrolle->isHidden());
    QVERIFY(Form_Farben->Label_Richtige->isHidden());
}

void ColoursTest::closingMidSequenceLeavesTheWindowIdle_data()
{
    QTest::addColumn<int>("phaseSteps");
    QTest::newRow("pause") << 0;
    QTest::newRow("showing") << 1;
    QTest::newRow("answering") << 8;
}

void ColoursTest::closingMidSequenceLeavesTheWindowIdle()
{
    QFETCH(int, phaseSteps);
    Form_Farben->StartClick();
    for (int step = 0; step < phaseSteps; ++step) {
        if (Form_Farben->Timer1.isActive())
            Form_Farben->Timer1Timer();
        else if (Form_Farben->Timer2.isActive())
            Form_Farben->Timer2Timer();
    }
    QCOMPARE(Form_Farben->isAnswering(), phaseSteps == 8);
    Form_Farben->beenden1->trigger();
    QVERIFY(!Form_Farben->isVisible());
    QVERIFY(!Form_Farben->Timer1.isActive());
    QVERIFY(!Form_Farben->Timer2.isActive());
    Form_Farben->show();
    QVERIFY(Form_Farben->Start->isEnabled());
    QVERIFY(Form_Farben->Edit_Anzahl->isEnabled());
    QVERIFY(Form_Farben->Edit_Zeige_Dauer->isEnabled());
    QVERIFY(Form_Farben->Edit_Pausen_Laenge->isEnabled());
    QVERIFY(!answerPanelsShown());
    QVERIFY(!Form_Farben->isAnswering());
    QCOMPARE(Form_Farben->Panel_Farbe->colour(), Form_Farben->palette().color(QPalette::Button));
}

void ColoursTest::helpShowsItsText()
{
    Form_Farben->Hilfe1->trigger();
    QCOMPARE(TestSupport::messages().shown.size(), 1);
    const QString text = TestSupport::messages().lastText();
    QVERIFY(text.startsWith(
        QStringLiteral("Nehmen Sie bitte die Einstellungen im unteren Bildschirmabschnitt "
                       "vor\nund klicken auf 'Start.\nDann werden in einer bestimmten "
                       "Reihenfolge Farben gezeigt.\nKlicken Sie diese Farben in genau "
                       "derselben Reihenfolge anschließend im kleinen\nFarbenfeld oben "
                       "links an.\n")));
    QVERIFY(text.contains(QStringLiteral("Tasten 1 bis 6")));
    QVERIFY(text.contains(QStringLiteral("„Symbole ein“")));
}

void ColoursTest::keysAnswerLikeClicks_data()
{
    QTest::addColumn<bool>("numberPad");
    QTest::addColumn<bool>("ruleHint");
    QTest::newRow("main row") << false << false;
    QTest::newRow("number pad") << true << false;
    QTest::newRow("main row after the rule hint") << false << true;
}

void ColoursTest::keysAnswerLikeClicks()
{
    QFETCH(bool, numberPad);
    QFETCH(bool, ruleHint);
    if (ruleHint)
        Form_Farben->Regelhinweis1->trigger();
    setColourCount(6);
    showWholeSequence();
    QCOMPARE(TestSupport::messages().shown.size(), ruleHint ? 1 : 0);
    // The first answer is wrong, the others right, as in the click test above.
    pressKey(ShownColours[1] % 6 + 1, numberPad);
    QCOMPARE(Form_Farben->Panel_Kontrolle->text(), QStringLiteral("1"));
    QCOMPARE(Form_Farben->Panel_Richtige->text(), QStringLiteral("0"));
    for (int position = 2; position <= 6; ++position)
        pressKey(ShownColours[position], numberPad);
    for (int position = 2; position <= 6; ++position)
        QCOMPARE(ClickedColours[position], ShownColours[position]);
    QCOMPARE(Form_Farben->Panel_Kontrolle->text(), QStringLiteral("6"));
    QCOMPARE(Form_Farben->Panel_Richtige->text(), QStringLiteral("5"));
    QVERIFY(!answerPanelsShown());
    QVERIFY(Form_Farben->Start->isEnabled());
    QCOMPARE(TestSupport::messages().shown.size(), ruleHint ? 1 : 0);
}

void ColoursTest::keysDoNothingOutsideTheAnswerPhase()
{
    auto pressAll = [] {
        for (int code = 1; code <= 6; ++code) {
            pressKey(code, false);
            pressKey(code, true);
        }
    };
    Form_Farben->setFocus();
    pressAll(); // idle after opening
    setColourCount(2);
    Form_Farben->StartClick();
    pressAll(); // pause
    Form_Farben->Timer1Timer();
    pressAll(); // showing
    QCOMPARE(int(ClickedColours[1]), 0);
    Form_Farben->Timer2Timer();
    Form_Farben->Timer1Timer();
    Form_Farben->Timer2Timer();
    QVERIFY(Form_Farben->isAnswering());
    QCOMPARE(Form_Farben->Panel_Kontrolle->text(), QStringLiteral("0"));
    pressKey(1, false);
    pressKey(2, false);
    QVERIFY(!Form_Farben->isAnswering());
    pressAll(); // after the last answer
    QCOMPARE(AnswerCount, Byte(2));
    QCOMPARE(Form_Farben->Panel_Kontrolle->text(), QStringLiteral("2"));
    QCOMPARE(int(ClickedColours[3]), 0);
}

void ColoursTest::heldKeyAnswersOnce()
{
    setColourCount(3);
    showWholeSequence();
    pressKey(4, false);
    QKeyEvent repeat(QEvent::KeyPress, Qt::Key_4, Qt::NoModifier, QStringLiteral("4"), true);
    QApplication::sendEvent(Form_Farben, &repeat);
    QCOMPARE(AnswerCount, Byte(1));
    QVERIFY(Form_Farben->isAnswering());
}

void ColoursTest::answerPanelsAreNamedByColour()
{
    const QStringList names = {QStringLiteral("rot"),   QStringLiteral("blau"),
                               QStringLiteral("grün"),  QStringLiteral("gelb"),
                               QStringLiteral("braun"), QStringLiteral("grau")};
    for (int code = 1; code <= 6; ++code) {
        TColourPanel *panel = Form_Farben->answerPanels[size_t(code - 1)];
        QCOMPARE(panel->toolTip(), names[code - 1]);
        QAccessibleInterface *accessible = QAccessible::queryAccessibleInterface(panel);
        QVERIFY(accessible);
        QCOMPARE(accessible->text(QAccessible::Name), names[code - 1]);
    }
}

void ColoursTest::symbolsAreOffByDefaultAndSwitchLikeTheRuleHint()
{
    QVERIFY(!SymbolsOn);
    QAction *settings = Form_Farben->MainMenu1->actions().at(1);
    QCOMPARE(settings->text(), QStringLiteral("&Einstellungen"));
    QCOMPARE(settings->menu()->actions(),
             QList<QAction *>({Form_Farben->Regelhinweis1, Form_Farben->Symbole1}));
    QCOMPARE(Form_Farben->Symbole1->text(), QStringLiteral("&Symbole ein"));
    setColourCount(1);
    showWholeSequence();
    for (TColourPanel *panel : Form_Farben->answerPanels) {
        QCOMPARE(panel->symbol(), 0);
        QCOMPARE(centreColour(panel), panel->colour());
    }

    Form_Farben->Symbole1->trigger();
    QCOMPARE(Form_Farben->Symbole1->text(), QStringLiteral("&Symbole aus"));
    for (TColourPanel *panel : Form_Farben->answerPanels)
        QCOMPARE(centreColour(panel), SymbolColourOn(panel->colour()));
    // Kept while the program runs, like the rule hint.
    Form_Farben->close();
    Form_Farben->show();
    QVERIFY(SymbolsOn);
    Form_Farben->Symbole1->trigger();
    QCOMPARE(Form_Farben->Symbole1->text(), QStringLiteral("&Symbole ein"));
    QVERIFY(!SymbolsOn);
    for (TColourPanel *panel : Form_Farben->answerPanels)
        QCOMPARE(panel->symbol(), 0);
}

void ColoursTest::symbolsFollowTheColoursAndLeaveTheChecksAlone()
{
    Form_Farben->Symbole1->trigger();
    setColourCount(12);
    Form_Farben->StartClick();
    for (int position = 1; position <= 12; ++position) {
        QCOMPARE(Form_Farben->Panel_Farbe->symbol(), 0);
        Form_Farben->Timer1Timer();
        const int code = ShownColours[position];
        QCOMPARE(Form_Farben->Panel_Farbe->symbol(), code);
        if (position == 1) {
            // Switching mid-sequence takes effect at once, both ways.
            QCOMPARE(centreColour(Form_Farben->Panel_Farbe), SymbolColourOn(ColourOfCode(code)));
            Form_Farben->Symbole1->trigger();
            QCOMPARE(Form_Farben->Panel_Farbe->symbol(), 0);
            QCOMPARE(centreColour(Form_Farben->Panel_Farbe), ColourOfCode(code));
            Form_Farben->Symbole1->trigger();
            QCOMPARE(Form_Farben->Panel_Farbe->symbol(), code);
        }
        Form_Farben->Timer2Timer();
    }
    QCOMPARE(Form_Farben->Panel_Farbe->symbol(), 0);
    for (int code = 1; code <= 6; ++code)
        QCOMPARE(Form_Farben->answerPanels[size_t(code - 1)]->symbol(), code);
    clickCode(ShownColours[1] % 6 + 1);
    for (int position = 2; position <= 12; ++position)
        clickCode(ShownColours[position]);
    QCOMPARE(Form_Farben->Panel_Kontrolle->text(), QStringLiteral("12"));
    QCOMPARE(Form_Farben->Panel_Richtige->text(), QStringLiteral("11"));
}

QTEST_MAIN(ColoursTest)
#include "test_colours.moc"
