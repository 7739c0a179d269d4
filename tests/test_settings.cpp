// SPDX-License-Identifier: GPL-3.0-or-later
#include "TestSupport.h"

#include "common/SharedState.h"
#include "exercise/Muw.h"
#include "exercise/Muw_zahl.h"
#include "results/Tagebuchfuehrung.h"

#include <QAction>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QComboBox>
#include <QFocusEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QResizeEvent>
#include <QStyleOptionButton>
#include <QAbstractItemView>
#include <QMenu>
#include <QtTest>

using TestSupport::messages;

namespace {
// The recording answerer of the test support, after a test has put in its own.
void restoreRecorder()
{
    MessageBoxes::answerForTests([](MessageBoxes::Kind kind, const QString &text) {
        messages().shown.append({kind, text});
        if (messages().answers.empty())
            return true;
        const bool answer = messages().answers.front();
        messages().answers.pop_front();
        return answer;
    });
}
} // namespace

class SettingsTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase() { TestSupport::destroyProgram(); }
    void init();

    void windowStartsWithTheDesignedValues();
    void menuCarriesItsItems();
    void typedValuesAreCheckedWhenTyped_data();
    void typedValuesAreCheckedWhenTyped();
    void leadingZerosAreAddedOnEnterAndOnLeaving_data();
    void leadingZerosAreAddedOnEnterAndOnLeaving();
    void zeroIsRefusedOnceCompleted_data();
    void zeroIsRefusedOnceCompleted();
    void keysOtherThanDigitsNeverReachTheList();
    void emptiedListsDisableStartUntilAllThreeAreSet();
    void aMessageWhileLeavingDoesNotValidateAgain();
    void togglesSwitchAndRenameThemselves_data();
    void togglesSwitchAndRenameThemselves();
    void displayTogglesReachTheExerciseWindow();
    void disturbanceKindAndContinentFollowTheSwitch();
    void radioButtonsReadRightOnTheGreenWindow();
    void popupsGrowWithTheWindow();
    void pasteTakesOnlyTheDigits();
    void listsSetTheirVariables_data();
    void listsSetTheirVariables();
    void startWithUnsavedResultAnsweredYesStartsNothing();
    void startWithTypedZeroStartsNothing();
    void helpTextIsShown();
    void levelSuggestionFillsTheLevelList_data();
    void levelSuggestionFillsTheLevelList();

private:
    QComboBox *listNamed(const QString &name) const;
    void resetValidatedLists();
};

void SettingsTest::initTestCase()
{
    TestSupport::createProgram();
    Form_MuW->show();
    QVERIFY(QTest::qWaitForWindowExposed(Form_MuW));
}

void SettingsTest::init()
{
    messages().clear();
    resetValidatedLists();
}

QComboBox *SettingsTest::listNamed(const QString &name) const
{
    return Form_MuW->findChild<QComboBox *>(name);
}

void SettingsTest::resetValidatedLists()
{
    Form_MuW->Edit_S_MuW->setEditText(QStringLiteral("03"));
    Form_MuW->Edit_Zeitfaktor_Vorgaben->setEditText(QStringLiteral("060"));
    Form_MuW->Edit_Zeitfaktor_Warten->setEditText(QStringLiteral("060"));
}

void SettingsTest::windowStartsWithTheDesignedValues()
{
    QCOMPARE(Form_MuW->windowTitle(), QStringLiteral("Merken und Wiedergeben"));
    QCOMPARE(Form_MuW->Edit_S_MuW->count(), 15);
    QCOMPARE(Form_MuW->Edit_Zeitfaktor_Vorgaben->itemText(399), QStringLiteral("400"));
    QCOMPARE(Form_MuW->Edit_ZeitZugabe->currentText(), QStringLiteral("13"));
    QCOMPARE(Form_MuW->Edit_BandenZahl->currentText(), QStringLiteral("2"));
    QCOMPARE(Form_MuW->Edit_Speed->currentText(), QStringLiteral("100"));
    QCOMPARE(Form_MuW->Edit_Speed->itemText(0), QStringLiteral("00"));
    QCOMPARE(Form_MuW->Edit_Schrittweite->currentText(), QStringLiteral("14"));
    QCOMPARE(Form_MuW->Radio_Stoeren->ItemIndex(), 0);
    QCOMPARE(Form_MuW->Radio_TextHstRinge->ItemIndex(), 1);
    QCOMPARE(Form_MuW->Radio_TextHstRinge->button(1)->text(), QStringLiteral("Hauptstädte"));
    QCOMPARE(Form_MuW->Radio_Stoeren_Hst->ItemIndex(), 0);
    QVERIFY(Form_MuW->Radio_Stoeren_Hst->isEnabled());
    QCOMPARE(DifficultyLevel, Byte(3));
    QCOMPARE(PresentTimeFactor, 60);
    QCOMPARE(WaitTimeFactor, 60);
    QCOMPARE(TimeAllowanceMs, 130000);
    QCOMPARE(TimeAllowanceSteps, 13);
    QCOMPARE(CushionCount, Byte(2));
    QCOMPARE(TaskTimerInterval, 1);
    QCOMPARE(BilliardStep, 14);
    QCOMPARE(RingsTargetScore, 230);
    QCOMPARE(HintPanelOn, Byte(1));
    QVERIFY(!Form_MuW->Timer_GesamtZeit.isActive());
    QVERIFY(Form_MuW->findChild<QWidget *>(QStringLiteral("Panel_Zwi_Linie_2")));
}

void SettingsTest::menuCarriesItsItems()
{
    const QList<QAction *> top = Form_MuW->MainMenu1->actions();
    QCOMPARE(top.size(), 4);
    QCOMPARE(top[0]->text(), QStringLiteral("&Datei"));
    QCOMPARE(top[1], Form_MuW->letztesEinzelergebniszeigen1);
    QCOMPARE(top[3]->text(), QStringLiteral("&Hilfe"));
    QCOMPARE(Form_MuW->speichern1->menu()->actions(),
             (QList<QAction *>{Form_MuW->Nameneingeben1, Form_MuW->speichernunter1}));
    QCOMPARE(Form_MuW->speichernunter1->text(),
             QStringLiteral("speichern &unter (Gesamtergebnis)"));
    QCOMPARE(Form_MuW->EinstellungenzumStren1->menu()->actions().size(), 2);
    const QList<QAction *> file = top[0]->menu()->actions();
    QCOMPARE(file.value(file.indexOf(Form_MuW->speichern1) + 1), Form_MuW->Verlauf1);
    QCOMPARE(Form_MuW->Verlauf1->text(), QStringLiteral("&Verlauf"));
    const QList<QAction *> settings = Form_MuW->Einstellungen1->menu()->actions();
    QCOMPARE(settings.mid(settings.size() - 2),
             (QList<QAction *>{Form_MuW->Tagebuchfuehren1, Form_MuW->Stufevorschlagen1}));
    QCOMPARE(Form_MuW->Stufevorschlagen1->text(), QStringLiteral("Stufe &vorschlagen"));
    // Within a menu no two items share an accelerator.
    for (QMenu *menu : {top[0]->menu(), Form_MuW->Einstellungen1->menu()}) {
        QStringList letters;
        for (const QAction *item : menu->actions()) {
            const qsizetype mark = item->text().indexOf(QLatin1Char('&'));
            if (mark >= 0)
                letters.append(item->text().mid(mark + 1, 1).toLower());
        }
        QCOMPARE(QSet<QString>(letters.cbegin(), letters.cend()).size(), letters.size());
    }
}

void SettingsTest::typedValuesAreCheckedWhenTyped_data()
{
    QTest::addColumn<QString>("list");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("textAfter");
    QTest::newRow("level 16") << "Edit_S_MuW"
                              << "16" << LevelRefusedMessage << "";
    QTest::newRow("level 99") << "Edit_S_MuW"
                              << "99" << LevelRefusedMessage << "";
    QTest::newRow("level 15") << "Edit_S_MuW"
                              << "15"
                              << ""
                              << "15";
    QTest::newRow("level 0 may still grow") << "Edit_S_MuW"
                                            << "0"
                                            << ""
                                            << "0";
    QTest::newRow("level 00") << "Edit_S_MuW"
                              << "00" << LevelZeroMessage << "";
    QTest::newRow("factor 401") << "Edit_Zeitfaktor_Vorgaben"
                                << "401" << TimeFactorRefusedMessage << "";
    QTest::newRow("factor 400") << "Edit_Zeitfaktor_Warten"
                                << "400"
                                << ""
                                << "400";
    QTest::newRow("factor 000") << "Edit_Zeitfaktor_Warten"
                                << "000" << TimeFactorZeroMessage << "";
    QTest::newRow("factor 00 may still grow") << "Edit_Zeitfaktor_Vorgaben"
                                              << "00"
                                              << ""
                                              << "00";
}

void SettingsTest::typedValuesAreCheckedWhenTyped()
{
    QFETCH(QString, list);
    QFETCH(QString, typed);
    QFETCH(QString, message);
    QFETCH(QString, textAfter);
    QComboBox *box = listNamed(list);
    box->setFocus();
    box->lineEdit()->clear();
    QTest::keyClicks(box, typed);
    QCOMPARE(box->currentText(), textAfter);
    QCOMPARE(messages().shown.size(), message.isEmpty() ? 0 : 1);
    if (!message.isEmpty()) {
        QCOMPARE(messages().shown[0].text, message);
        QCOMPARE(messages().shown[0].kind, MessageBoxes::Kind::Information);
        QVERIFY(!Form_MuW->But_Start->isEnabled());
        QVERIFY(!Form_MuW->But_zurueck->isEnabled());
    }
}

void SettingsTest::leadingZerosAreAddedOnEnterAndOnLeaving_data()
{
    QTest::addColumn<QString>("list");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<bool>("byEnter");
    QTest::addColumn<QString>("expected");
    QTest::newRow("level 7, Enter") << "Edit_S_MuW"
                                    << "7" << true << "07";
    QTest::newRow("level 7, leaving") << "Edit_S_MuW"
                                      << "7" << false << "07";
    QTest::newRow("level 12, Enter") << "Edit_S_MuW"
                                     << "12" << true << "12";
    QTest::newRow("factor 5, Enter") << "Edit_Zeitfaktor_Vorgaben"
                                     << "5" << true << "005";
    QTest::newRow("factor 45, leaving") << "Edit_Zeitfaktor_Warten"
                                        << "45" << false << "045";
    QTest::newRow("factor 045, Enter") << "Edit_Zeitfaktor_Warten"
                                       << "045" << true << "045";
}

void SettingsTest::leadingZerosAreAddedOnEnterAndOnLeaving()
{
    QFETCH(QString, list);
    QFETCH(QString, typed);
    QFETCH(bool, byEnter);
    QFETCH(QString, expected);
    QComboBox *box = listNamed(list);
    box->setFocus();
    box->lineEdit()->clear();
    QTest::keyClicks(box, typed);
    if (byEnter) {
        QTest::keyClick(box, Qt::Key_Return);
    } else {
        QFocusEvent leave(QEvent::FocusOut, Qt::TabFocusReason);
        QApplication::sendEvent(box, &leave);
    }
    QCOMPARE(box->currentText(), expected);
    QCOMPARE(box->count(), list == QLatin1String("Edit_S_MuW") ? 15 : 400);
    QVERIFY(messages().shown.isEmpty());
    QVERIFY(Form_MuW->But_Start->isEnabled());
}

void SettingsTest::zeroIsRefusedOnceCompleted_data()
{
    QTest::addColumn<QString>("list");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("message");
    QTest::newRow("level 0") << "Edit_S_MuW"
                             << "0" << LevelZeroMessage;
    QTest::newRow("factor 0") << "Edit_Zeitfaktor_Vorgaben"
                              << "0" << TimeFactorZeroMessage;
    QTest::newRow("factor 00") << "Edit_Zeitfaktor_Warten"
                               << "00" << TimeFactorZeroMessage;
}

// A level or factor of 0 would draw no table row and time nothing: refused, saying the least.
void SettingsTest::zeroIsRefusedOnceCompleted()
{
    QFETCH(QString, list);
    QFETCH(QString, typed);
    QFETCH(QString, message);
    QComboBox *box = listNamed(list);
    box->setFocus();
    box->lineEdit()->clear();
    QTest::keyClicks(box, typed);
    QVERIFY(messages().shown.isEmpty());
    QTest::keyClick(box, Qt::Key_Enter);
    QCOMPARE(box->currentText(), QString());
    QCOMPARE(messages().shown.size(), 1);
    QCOMPARE(messages().lastText(), message);
    QVERIFY(!Form_MuW->But_Start->isEnabled());
}

void SettingsTest::keysOtherThanDigitsNeverReachTheList()
{
    QComboBox *box = Form_MuW->Edit_S_MuW;
    box->setFocus();
    box->lineEdit()->clear();
    QTest::keyClicks(box, QStringLiteral("a1-x. "));
    QCOMPARE(box->currentText(), QStringLiteral("1"));
    QTest::keyClick(box, Qt::Key_Backspace);
    QCOMPARE(box->currentText(), QString());

    QChar letter(u'k');
    Form_MuW->Edit_Zeitfaktor_WartenKeyPress(letter);
    QVERIFY(letter.isNull());
    QChar digit(u'9');
    Form_MuW->Edit_Zeitfaktor_WartenKeyPress(digit);
    QCOMPARE(digit, QChar(u'9'));
}

void SettingsTest::emptiedListsDisableStartUntilAllThreeAreSet()
{
    Form_MuW->Edit_S_MuW->setEditText(QString());
    QVERIFY(!Form_MuW->But_Start->isEnabled());
    // Choosing a factor must not enable Start while the level is still empty.
    Form_MuW->Edit_Zeitfaktor_Warten->setEditText(QStringLiteral("100"));
    QVERIFY(!Form_MuW->But_Start->isEnabled());
    QVERIFY(!Form_MuW->But_zurueck->isEnabled());
    Form_MuW->Edit_S_MuW->setCurrentIndex(4);
    QCOMPARE(Form_MuW->Edit_S_MuW->currentText(), QStringLiteral("05"));
    QVERIFY(Form_MuW->But_Start->isEnabled());
    QVERIFY(Form_MuW->But_zurueck->isEnabled());
}

// On a real screen the message box takes the focus from the list; that must not count as
// leaving it again, nor may an exit during the message start a second check.
void SettingsTest::aMessageWhileLeavingDoesNotValidateAgain()
{
    QComboBox *box = Form_MuW->Edit_S_MuW;
    int shown = 0;
    MessageBoxes::answerForTests([&](MessageBoxes::Kind, const QString &) {
        ++shown;
        QFocusEvent boxTakesFocus(QEvent::FocusOut, Qt::ActiveWindowFocusReason);
        QApplication::sendEvent(box, &boxTakesFocus);
        Form_MuW->Edit_S_MuWExit();
        return true;
    });
    box->setEditText(QStringLiteral("0"));
    QFocusEvent leave(QEvent::FocusOut, Qt::TabFocusReason);
    QApplication::sendEvent(box, &leave);
    restoreRecorder();
    QCOMPARE(shown, 1);
    QCOMPARE(box->currentText(), QString());

    box->setEditText(QStringLiteral("4"));
    QFocusEvent popup(QEvent::FocusOut, Qt::ActiveWindowFocusReason);
    QApplication::sendEvent(box, &popup);
    QCOMPARE(box->currentText(), QStringLiteral("4"));
}

void SettingsTest::togglesSwitchAndRenameThemselves_data()
{
    QTest::addColumn<QString>("item");
    QTest::addColumn<QString>("afterOne");
    QTest::addColumn<QString>("afterTwo");
    QTest::newRow("background") << "Hintergrund_Text"
                                << "Hintergrund-Text im Spielfenster zu MuW aus"
                                << "Hintergrund-Text im Spielfenster zu MuW ein";
    QTest::newRow("hint") << "Hinweisfenster"
                          << "Hinweisfenster im Spielfenster zu MuW ein"
                          << "Hinweisfenster im Spielfenster zu MuW aus";
    QTest::newRow("caption") << "Fensterueberschrift"
                             << "Fenster-Überschrift zu MuW ein"
                             << "Fenster-Überschrift zu MuW aus";
    QTest::newRow("remaining time") << "AnzeigederRestzeitaus1"
                                    << "Anzeige der Restzeit ein"
                                    << "Anzeige der Restzeit aus";
    QTest::newRow("rings") << "RingeGenau"
                           << "Die Punktzahl unter 'Ringe' muss überboten werden"
                           << "Die Punktzahl unter 'Ringe' muss genau erreicht werden";
    QTest::newRow("billiards") << "BillardKorrektureinaus"
                               << "Billard-Korrektur ein"
                               << "Billard-Korrektur aus";
    QTest::newRow("journal") << "Tagebuchfuehren1"
                             << "Tage&buch führen ein"
                             << "Tage&buch führen aus";
}

void SettingsTest::togglesSwitchAndRenameThemselves()
{
    QFETCH(QString, item);
    QFETCH(QString, afterOne);
    QFETCH(QString, afterTwo);
    auto flags = [] {
        const Tagebuch *journal = JournalKeeping::Journal();
        return QList<int>{BackgroundTextOn,       HintPanelOn,
                          WindowCaptionOn,        RemainingTimeDisplayOn,
                          RingsExactMode,         BilliardCorrection,
                          journal && journal->keeping()};
    };
    const QList<int> before = flags();
    const QString codes = RingsModeCode.text() + BilliardCorrectionCode.text();
    QAction *action = Form_MuW->findChild<QAction *>(item);
    QVERIFY(action);
    action->trigger();
    QCOMPARE(action->text(), afterOne);
    const QList<int> switched = flags();
    int changed = 0;
    for (int i = 0; i < before.size(); ++i)
        changed += before[i] != switched[i] ? 1 : 0;
    QCOMPARE(changed, 1);
    if (item == QLatin1String("RingeGenau"))
        QCOMPARE(RingsModeCode.text(), QStringLiteral("g"));
    if (item == QLatin1String("BillardKorrektureinaus"))
        QCOMPARE(BilliardCorrectionCode.text(), QStringLiteral("n"));
    action->trigger();
    QCOMPARE(action->text(), afterTwo);
    QCOMPARE(flags(), before);
    QCOMPARE(RingsModeCode.text() + BilliardCorrectionCode.text(), codes);
}

void SettingsTest::displayTogglesReachTheExerciseWindow()
{
    Form_MuW->Hintergrund_Text->trigger();
    QCOMPARE(BackgroundTextOn, Byte(1));
    QVERIFY(!Form_MuW_Zahlen->Label_HG_Text[18]->isHidden());
    // On a screen wider than the design the lines run on to the window's edge.
    const QSize before = Form_MuW_Zahlen->size();
    Form_MuW_Zahlen->resize(before.width() * 2, before.height());
    QResizeEvent wider(Form_MuW_Zahlen->size(), before);
    QCoreApplication::sendEvent(Form_MuW_Zahlen, &wider);
    for (const QLabel *line : Form_MuW_Zahlen->Label_HG_Text)
        QCOMPARE(line->geometry().right(), Form_MuW_Zahlen->width() - 1);
    Form_MuW_Zahlen->resize(before);
    Form_MuW->Hintergrund_Text->trigger();
    QVERIFY(Form_MuW_Zahlen->Label_HG_Text[0]->isHidden());

    Form_MuW->Hinweisfenster->trigger();
    QVERIFY(Form_MuW_Zahlen->Panel_bitte_merken->isHidden());
    QVERIFY(Form_MuW_Zahlen->Panel_Schatten_bitte_merken->isHidden());
    Form_MuW->Hinweisfenster->trigger();
    QVERIFY(!Form_MuW_Zahlen->Panel_bitte_merken->isHidden());

    Form_MuW_Zahlen->setWindowTitle(QStringLiteral("     Warten (2)"));
    Form_MuW->Fensterueberschrift->trigger();
    QCOMPARE(Form_MuW_Zahlen->windowTitle(), QString());
    Form_MuW_Zahlen->SetPhaseCaption(QStringLiteral("     Warten (3)"));
    QCOMPARE(Form_MuW_Zahlen->windowTitle(), QString());
    Form_MuW->Fensterueberschrift->trigger();
    Form_MuW_Zahlen->SetPhaseCaption(QStringLiteral("     Warten (3)"));
    QCOMPARE(Form_MuW_Zahlen->windowTitle(), QStringLiteral("     Warten (3)"));
}

void SettingsTest::disturbanceKindAndContinentFollowTheSwitch()
{
    // A radio button takes clicks on its circle and text only.
    auto click = [](QRadioButton *button) {
        QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(6, button->height() / 2));
    };
    TForm_MuW *w = Form_MuW;
    click(w->Radio_Stoeren->button(StoerenAus));
    QCOMPARE(w->Radio_Stoeren->ItemIndex(), 1);
    QVERIFY(!w->Radio_TextHstRinge->isEnabled());
    QVERIFY(!w->Radio_Stoeren_Hst->isEnabled());
    QVERIFY(!w->DisturbanceOn());

    w->Radio_TextHstRinge->setItemIndex(ChoiceBillard);
    click(w->Radio_Stoeren->button(StoerenEin));
    QVERIFY(w->Radio_TextHstRinge->isEnabled());
    QVERIFY(!w->Radio_Stoeren_Hst->isEnabled());

    click(w->Radio_TextHstRinge->button(ChoiceHauptstaedte));
    QVERIFY(w->Radio_Stoeren_Hst->isEnabled());
    QVERIFY(w->CapitalsMode());
    click(w->Radio_TextHstRinge->button(ChoiceTexte));
    QVERIFY(!w->Radio_Stoeren_Hst->isEnabled());
    click(w->Radio_TextHstRinge->button(ChoiceHauptstaedte));
}

void SettingsTest::listsSetTheirVariables_data()
{
    QTest::addColumn<QString>("list");
    QTest::addColumn<QString>("entry");
    QTest::addColumn<int>("expected");
    QTest::newRow("allowance 60") << "Edit_ZeitZugabe"
                                  << "60" << 600000;
    QTest::newRow("allowance 51") << "Edit_ZeitZugabe"
                                  << "51" << 510000;
    QTest::newRow("allowance 01") << "Edit_ZeitZugabe"
                                  << "01" << 10000;
    QTest::newRow("speed 00") << "Edit_Speed"
                              << "00" << 101;
    QTest::newRow("speed 37") << "Edit_Speed"
                              << "37" << 64;
    QTest::newRow("speed 100") << "Edit_Speed"
                               << "100" << 1;
    QTest::newRow("cushions 9") << "Edit_BandenZahl"
                                << "9" << 9;
    QTest::newRow("step 50") << "Edit_Schrittweite"
                             << "50" << 50;
}

void SettingsTest::listsSetTheirVariables()
{
    QFETCH(QString, list);
    QFETCH(QString, entry);
    QFETCH(int, expected);
    QComboBox *box = listNamed(list);
    const QString before = box->currentText();
    box->setCurrentIndex(box->findText(entry));
    int value = 0;
    if (list == QLatin1String("Edit_ZeitZugabe"))
        value = TimeAllowanceMs;
    else if (list == QLatin1String("Edit_Speed"))
        value = TaskTimerInterval;
    else if (list == QLatin1String("Edit_BandenZahl"))
        value = CushionCount;
    else
        value = BilliardStep;
    QCOMPARE(value, expected);
    box->setCurrentIndex(box->findText(before));
    // It opens below its field, at most fifteen rows high, not as tall as the screen.
    box->showPopup();
    auto close = qScopeGuard([box] { box->hidePopup(); });
    QTRY_VERIFY(box->view()->isVisible());
    const int rowHeight = box->view()->sizeHintForRow(0);
    QVERIFY(rowHeight > 0);
    QCOMPARE(box->view()->viewport()->height() / rowHeight, std::min(box->count(), 15));
}

void SettingsTest::startWithUnsavedResultAnsweredYesStartsNothing()
{
    ResultSaved = 0;
    RoundNumber = 0;
    messages().answers.push_back(true);
    QTest::mouseClick(Form_MuW->But_Start, Qt::LeftButton);
    QCOMPARE(messages().shown.size(), 1);
    QCOMPARE(messages().lastText(), UnsavedResultQuestion);
    QCOMPARE(messages().shown[0].kind, MessageBoxes::Kind::Question);
    QCOMPARE(RoundNumber, Byte(0));
    QCOMPARE(ResultSaved, Byte(0));
    QVERIFY(!Form_MuW->Timer_GesamtZeit.isActive());
    QVERIFY(!Form_MuW->But_Start->isHidden());
    ResultSaved = 1;
}

// Alt+S starts without leaving the list: its typed value is still completed and checked.
void SettingsTest::startWithTypedZeroStartsNothing()
{
    Form_MuW->Edit_S_MuW->setEditText(QStringLiteral("0"));
    Form_MuW->But_StartClick();
    QCOMPARE(messages().lastText(), LevelZeroMessage);
    QCOMPARE(RoundNumber, Byte(0));
    QVERIFY(!Form_MuW->Timer_GesamtZeit.isActive());
}

void SettingsTest::helpTextIsShown()
{
    Form_MuW->Hilfe1->trigger();
    QCOMPARE(messages().lastText(), SettingsHelpText);
}

namespace {
// The colour at the middle of a radio button's indicator and on its ring, as drawn.
struct IndicatorColours
{
    QColor middle;
    QColor ring;
};

IndicatorColours indicatorColours(QRadioButton *button)
{
    QStyleOptionButton option;
    option.initFrom(button);
    const QRect indicator =
        button->style()->subElementRect(QStyle::SE_RadioButtonIndicator, &option, button);
    const QImage picture = button->grab().toImage();
    // Along the middle row, the ring's outline is the colour farthest from the background.
    const QColor background = picture.pixelColor(0, 0);
    auto distance = [&background](const QColor &colour) {
        return std::abs(colour.red() - background.red()) +
               std::abs(colour.green() - background.green()) +
               std::abs(colour.blue() - background.blue());
    };
    QColor ring = background;
    for (int x = indicator.left(); x < indicator.center().x() - indicator.width() / 4; ++x) {
        const QColor colour = picture.pixelColor(x, indicator.center().y());
        if (distance(colour) > distance(ring))
            ring = colour;
    }
    return {picture.pixelColor(indicator.center()), ring};
}

// Equal but for the smoothing of the ring's edge.
bool near(const QColor &a, const QColor &b)
{
    return std::abs(a.red() - b.red()) <= 24 && std::abs(a.green() - b.green()) <= 24 &&
           std::abs(a.blue() - b.blue()) <= 24;
}
} // namespace

// Unselected is a hollow ring, selected a ring with a dot, both in the text's colour; a
// disabled group is greyed; the indicator is as large as the text beside it.
void SettingsTest::radioButtonsReadRightOnTheGreenWindow()
{
    TForm_MuW *w = Form_MuW;
    w->Radio_Stoeren->setItemIndex(StoerenEin);
    w->Radio_StoerenClick();
    QRadioButton *selected = w->Radio_Stoeren->button(StoerenEin);
    QRadioButton *unselected = w->Radio_Stoeren->button(StoerenAus);
    const QColor green = Qt::darkGreen;
    const QColor white = Qt::white;

    const IndicatorColours off = indicatorColours(unselected);
    QCOMPARE(off.middle, green);
    QVERIFY(near(off.ring, white));
    const IndicatorColours on = indicatorColours(selected);
    QCOMPARE(on.middle, white);
    QVERIFY(near(on.ring, white));

    w->Radio_Stoeren->setItemIndex(StoerenAus);
    w->Radio_StoerenClick();
    QVERIFY(!w->Radio_TextHstRinge->isEnabled());
    const QColor greyed = indicatorColours(w->Radio_TextHstRinge->button(ChoiceTexte)).ring;
    QVERIFY(!near(greyed, white));
    QVERIFY(!near(greyed, green));
    QVERIFY(w->Radio_TextHstRinge->palette().color(QPalette::Disabled, QPalette::WindowText) !=
            w->Radio_TextHstRinge->palette().color(QPalette::Active, QPalette::WindowText));
    w->Radio_Stoeren->setItemIndex(StoerenEin);
    w->Radio_StoerenClick();

    const int indicator = selected->style()->pixelMetric(QStyle::PM_ExclusiveIndicatorWidth,
                                                         nullptr, selected);
    QVERIFY(indicator >= selected->fontMetrics().height() * 3 / 4);
    QVERIFY(indicator <= selected->fontMetrics().height());
}

// Menus and list popups are windows of their own; they take the window's grown font.
void SettingsTest::popupsGrowWithTheWindow()
{
    const QFont grown = Form_MuW->MainMenu1->font();
    const QList<QMenu *> menus = Form_MuW->MainMenu1->findChildren<QMenu *>();
    QVERIFY(menus.size() >= 4);
    for (const QMenu *menu : menus) {
        // The menu bar's own overflow menu, made only when its items do not fit, is none of
        // the window's menus.
        if (!menu->title().isEmpty())
            QCOMPARE(menu->font().pointSizeF(), grown.pointSizeF());
    }
    const QComboBox *list = Form_MuW->Edit_Speed;
    QCOMPARE(list->view()->font().pointSizeF(), list->font().pointSizeF());
    QCOMPARE(list->view()->window()->font().pointSizeF(), list->font().pointSizeF());
    // So does a typed list's context menu, made when it is asked for.
    QLineEdit *field = Form_MuW->Edit_S_MuW->lineEdit();
    QContextMenuEvent request(QContextMenuEvent::Keyboard, {}, field->mapToGlobal(QPoint()));
    QCoreApplication::sendEvent(field, &request);
    QTRY_VERIFY(qobject_cast<QMenu *>(QApplication::activePopupWidget()));
    QWidget *menu = QApplication::activePopupWidget();
    QCOMPARE(menu->font().pointSizeF(), grown.pointSizeF());
    menu->close();
}

// A paste, through the context menu's item or Ctrl+V, goes through the filter typing goes through.
void SettingsTest::pasteTakesOnlyTheDigits()
{
    QLineEdit *field = Form_MuW->Edit_S_MuW->lineEdit();
    field->setFocus();
    QGuiApplication::clipboard()->setText(QStringLiteral("1a 2\n"));
    for (bool byKey : {false, true}) {
        field->clear();
        if (byKey)
            QTest::keyClick(field, Qt::Key_V, Qt::ControlModifier);
        else
            field->paste();
        QCOMPARE(field->text(), QStringLiteral("12"));
    }
    QVERIFY(messages().shown.isEmpty());
}


void SettingsTest::levelSuggestionFillsTheLevelList_data()
{
    QTest::addColumn<QList<int>>("achievedOf20"); // games at level 3, oldest first
    QTest::addColumn<QString>("level");
    QTest::newRow("two of at least 90 %") << QList<int>{10, 18, 19} << "04";
    QTest::newRow("two below 60 %") << QList<int>{11, 11} << "02";
    QTest::newRow("mixed") << QList<int>{19, 11} << "03";
}

void SettingsTest::levelSuggestionFillsTheLevelList()
{
    QFETCH(QList<int>, achievedOf20);
    QFETCH(QString, level);
    Tagebuch *journal = JournalKeeping::Journal();
    QVERIFY(journal);
    QVERIFY(journal->clear());
    QDateTime end(QDate(2026, 12, 1), QTime(18, 0));
    for (const int achieved : achievedOf20) {
        JournalGame game;
        game.end = end = end.addSecs(600);
        game.level = 3;
        game.achieved = achieved;
        game.possible = 20;
        QVERIFY(journal->record(game));
    }
    Form_MuW->Stufevorschlagen1->trigger();
    QCOMPARE(Form_MuW->Edit_S_MuW->currentText(), level);
    QCOMPARE(messages().shown.size(), 1);
    QVERIFY(messages().lastText().endsWith(
        QStringLiteral("\nDer Schwierigkeitsgrad steht jetzt auf %1.").arg(level)));
    QVERIFY(journal->clear());
}

QTEST_MAIN(SettingsTest)
#include "test_settings.moc"
