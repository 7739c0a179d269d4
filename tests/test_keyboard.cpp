// SPDX-License-Identifier: GPL-3.0-or-later
#include "TestSupport.h"

#include "colours/Farben.h"
#include "common/Controls.h"
#include "common/SharedState.h"
#include "disturbance/Billard.h"
#include "disturbance/Fragehst.h"
#include "disturbance/Ringe.h"
#include "disturbance/Stoeren.h"
#include "disturbance/Stoertex.h"
#include "exercise/Muw.h"
#include "exercise/Muw_zahl.h"
#include "results/Name.h"
#include "results/Speicher.h"
#include "results/Verlauf.h"
#include "results/Zeigen.h"
#include "shell/Info.h"
#include "shell/Kr_progr.h"

#include <QAccessible>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QMenu>
#include <QRadioButton>
#include <QPushButton>
#include <QToolButton>
#include <QtTest>

#include <memory>

using TestSupport::messages;

// A whole game can be set up, played and saved from the keyboard alone.
class KeyboardTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void init();

    void tabLeavesAListAndPadsIt_data();
    void tabLeavesAListAndPadsIt();
    void digitAfterTabGoesToTheNextField();
    void deleteWorksInTheLists_data();
    void deleteWorksInTheLists();
    void enterPressesTheFocusedButton();
    void deleteWorksInTheAnswerField();
    void tabReachesEveryControlOfTheWindow_data();
    void tabReachesEveryControlOfTheWindow();
    void abortQuestionDefaultsToNo();
    void fullFileQuestionDefaultsToNo();
    void unsavedResultQuestionDefaultsToKeepingIt();
    void everyFocusableControlIsNamed_data();
    void everyFocusableControlIsNamed();
    void focusFrameStandsOutOnTheWindow_data();
    void focusFrameStandsOutOnTheWindow();
    void altEOpensTheSettingsMenu();
    void keysEndTheWindowsAsTheirButtonsDo_data();
    void keysEndTheWindowsAsTheirButtonsDo();

private:
    static QComboBox *list(const QString &name);
    // Shows the window without a modal loop and waits until it takes the keyboard. The windows
    // stay open until the end: a window hidden and shown again may not become active offscreen.
    void showActive(QWidget *window);
    // The focus moves by key presses, as the player's would.
    static void press(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier);
    static QWidget *focused() { return QApplication::focusWidget(); }
    // Delete as X11 reports it: with the DEL character as its text.
    static void pressDelete(QWidget *widget);
    // The list or window a focused widget belongs to (a list's text field is part of it).
    static QString focusedControl();

    QList<QWidget *> m_shown;
    std::unique_ptr<TForm_Verlauf> m_verlauf;
};

void KeyboardTest::initTestCase()
{
    TestSupport::createProgram();
    m_verlauf = std::make_unique<TForm_Verlauf>();
}

void KeyboardTest::cleanupTestCase()
{
    for (QWidget *window : std::as_const(m_shown))
        window->hide();
    m_verlauf.reset();
    TestSupport::destroyProgram();
}

void KeyboardTest::init()
{
    messages().clear();
    list(QStringLiteral("Edit_S_MuW"))->setEditText(QStringLiteral("03"));
    list(QStringLiteral("Edit_Zeitfaktor_Vorgaben"))->setEditText(QStringLiteral("060"));
    list(QStringLiteral("Edit_Zeitfaktor_Warten"))->setEditText(QStringLiteral("060"));
}

QComboBox *KeyboardTest::list(const QString &name)
{
    auto *found = Form_MuW->findChild<QComboBox *>(name);
    if (!found)
        qFatal("no list %s", qPrintable(name));
    return found;
}

void KeyboardTest::showActive(QWidget *window)
{
    if (!m_shown.contains(window))
        m_shown.append(window);
    window->show();
    window->activateWindow();
    QTRY_COMPARE(QApplication::activeWindow(), window);
}

void KeyboardTest::press(Qt::Key key, Qt::KeyboardModifiers modifiers)
{
    QWidget *target = focused();
    QVERIFY(target);
    QTest::keyClick(target, key, modifiers);
}

void KeyboardTest::pressDelete(QWidget *widget)
{
    QTest::sendKeyEvent(QTest::Click, widget, Qt::Key_Delete, QString(QChar(0x7f)), Qt::NoModifier);
}

QString KeyboardTest::focusedControl()
{
    for (QWidget *w = focused(); w; w = w->parentWidget()) {
        if (qobject_cast<QComboBox *>(w) || !w->objectName().isEmpty())
            return w->objectName();
    }
    return QString();
}

void KeyboardTest::tabLeavesAListAndPadsIt_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<bool>("backwards");
    QTest::addColumn<QString>("padded");
    QTest::addColumn<QString>("next");
    QTest::newRow("level, Tab") << "Edit_S_MuW"
                                << "7" << false << "07"
                                << "Edit_Zeitfaktor_Vorgaben";
    QTest::newRow("level, Shift+Tab") << "Edit_S_MuW"
                                      << "2" << true << "02"
                                      << "But_zurueck";
    QTest::newRow("memorise factor, Tab") << "Edit_Zeitfaktor_Vorgaben"
                                          << "5" << false << "005"
                                          << "Edit_Zeitfaktor_Warten";
    QTest::newRow("memorise factor, Shift+Tab") << "Edit_Zeitfaktor_Vorgaben"
                                                << "45" << true << "045"
                                                << "Edit_S_MuW";
    QTest::newRow("waiting factor, Tab") << "Edit_Zeitfaktor_Warten"
                                         << "45" << false << "045"
                                         << "Edit_ZeitZugabe";
    QTest::newRow("waiting factor, Shift+Tab") << "Edit_Zeitfaktor_Warten"
                                               << "9" << true << "009"
                                               << "Edit_Zeitfaktor_Vorgaben";
}

void KeyboardTest::tabLeavesAListAndPadsIt()
{
    QFETCH(QString, name);
    QFETCH(QString, typed);
    QFETCH(bool, backwards);
    QFETCH(QString, padded);
    QFETCH(QString, next);
    showActive(Form_MuW);
    QComboBox *field = list(name);
    field->setFocus(Qt::TabFocusReason);
    field->lineEdit()->clear();
    QTest::keyClicks(field->lineEdit(), typed);
    QCOMPARE(field->currentText(), typed);
    press(backwards ? Qt::Key_Backtab : Qt::Key_Tab,
          backwards ? Qt::ShiftModifier : Qt::NoModifier);
    QCOMPARE(focusedControl(), next);
    QCOMPARE(field->currentText(), padded);
    QVERIFY(messages().shown.isEmpty());
}

void KeyboardTest::digitAfterTabGoesToTheNextField()
{
    // Tab then "3" after "2" must not give "23" and the range message.
    showActive(Form_MuW);
    QComboBox *level = list(QStringLiteral("Edit_S_MuW"));
    level->setFocus(Qt::TabFocusReason);
    level->lineEdit()->clear();
    QTest::keyClick(level->lineEdit(), Qt::Key_2);
    press(Qt::Key_Tab);
    QTest::keyClick(focused(), Qt::Key_3);
    QCOMPARE(level->currentText(), QStringLiteral("02"));
    QCOMPARE(list(QStringLiteral("Edit_Zeitfaktor_Vorgaben"))->currentText(), QStringLiteral("3"));
    QVERIFY(messages().shown.isEmpty());
    QVERIFY(Form_MuW->But_Start->isEnabled());
}

void KeyboardTest::deleteWorksInTheLists_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("before");
    QTest::addColumn<QString>("after");
    QTest::newRow("level") << "Edit_S_MuW"
                           << "12"
                           << "2";
    QTest::newRow("memorise factor") << "Edit_Zeitfaktor_Vorgaben"
                                     << "345"
                                     << "45";
    QTest::newRow("waiting factor") << "Edit_Zeitfaktor_Warten"
                                    << "120"
                                    << "20";
}

void KeyboardTest::deleteWorksInTheLists()
{
    QFETCH(QString, name);
    QFETCH(QString, before);
    QFETCH(QString, after);
    showActive(Form_MuW);
    QComboBox *field = list(name);
    field->setFocus(Qt::TabFocusReason);
    field->setEditText(before);
    field->lineEdit()->setCursorPosition(0);
    pressDelete(field->lineEdit());
    QCOMPARE(field->currentText(), after);
    // Delete on an emptied field empties it like Backspace, and Start waits for a value.
    field->lineEdit()->selectAll();
    pressDelete(field->lineEdit());
    QCOMPARE(field->currentText(), QString());
    QVERIFY(!Form_MuW->But_Start->isEnabled());
    field->setEditText(before);
    QVERIFY(Form_MuW->But_Start->isEnabled());
}

void KeyboardTest::enterPressesTheFocusedButton()
{
    showActive(Form_MuW);
    Form_MuW->FormActivate();
    QCOMPARE(focused(), Form_MuW->But_Start);
    // With an unsaved result Start asks first; Yes keeps the result and starts nothing.
    ResultSaved = 0;
    messages().answers.push_back(true);
    press(Qt::Key_Return);
    QCOMPARE(messages().shown.size(), 1);
    QCOMPARE(messages().lastText(), UnsavedResultQuestion);
    // Enter in a list still only completes the value.
    messages().clear();
    QComboBox *level = list(QStringLiteral("Edit_S_MuW"));
    level->setFocus(Qt::TabFocusReason);
    level->setEditText(QStringLiteral("4"));
    press(Qt::Key_Return);
    QCOMPARE(level->currentText(), QStringLiteral("04"));
    QVERIFY(messages().shown.isEmpty());
    ResultSaved = 1;
}

void KeyboardTest::deleteWorksInTheAnswerField()
{
    Form_MuW->Radio_Stoeren->setItemIndex(StoerenAus);
    Form_MuW->Radio_StoerenClick();
    QVERIFY(Form_MuW_Zahlen->PrepareGame());
    Form_MuW_Zahlen->FormActivate();
    Form_MuW_Zahlen->Timer_MuW_MerkenTimer();
    Form_MuW_Zahlen->Timer_MuW_WartenTimer();
    QLineEdit *input = Form_MuW_Zahlen->Edit_Wiedergeben;
    QTest::keyClicks(input, QStringLiteral("x12"));
    input->setCursorPosition(0);
    pressDelete(input);
    QCOMPARE(input->text(), QStringLiteral("12"));

    Form_MuW_Zahlen->Timer_MuW_Merken.stop();
    Form_MuW_Zahlen->Timer_MuW_Warten.stop();
    Form_MuW->StopOverallTime();
    Form_MuW_Zahlen->FormDeactivate();
    Form_MuW->Radio_Stoeren->setItemIndex(StoerenEin);
    Form_MuW->Radio_StoerenClick();
    ResultSaved = 1;
}

void KeyboardTest::tabReachesEveryControlOfTheWindow_data()
{
    QTest::addColumn<QString>("window");
    QTest::addColumn<QStringList>("controls");
    QTest::newRow("settings") << "Form_MuW"
                              << QStringList{"But_Start",
                                             "But_zurueck",
                                             "Edit_S_MuW",
                                             "Edit_Zeitfaktor_Vorgaben",
                                             "Edit_Zeitfaktor_Warten",
                                             "Edit_ZeitZugabe",
                                             "Edit_BandenZahl",
                                             "Edit_Speed",
                                             "Edit_Schrittweite",
                                             "Radio_Stoeren",
                                             "Radio_TextHstRinge",
                                             "Radio_Stoeren_Hst"};
    QTest::newRow("individual result")
        << "Form_zeigen"
        << QStringList{"StringGrid1", "SpeedBut_zurueck_ohne_Sp", "SpeedBut_zurueck_mit_Sp"};
    QTest::newRow("name") << "Form_Name" << QStringList{"Edit_Namen", "But_ok"};
}

void KeyboardTest::tabReachesEveryControlOfTheWindow()
{
    // Going round with Tab from the first control visits every one and comes back.
    QFETCH(QString, window);
    QFETCH(QStringList, controls);
    auto *shown = Form_Prgr->findChild<QWidget *>(window);
    QVERIFY(shown);
    showActive(shown);
    auto *first = shown->findChild<QWidget *>(controls.first());
    QVERIFY(first);
    first->setFocus(Qt::TabFocusReason);
    QStringList visited;
    for (int presses = 0; presses <= 2 * controls.size(); ++presses) {
        // A radio button stands for its group (its name is the group's): the arrows choose
        // within the group.
        const QString control = focusedControl();
        if (!visited.contains(control))
            visited.append(control);
        // Tab comes into a group at its selected button ("Hauptstädte", not "Texte").
        if (auto *radio = qobject_cast<QRadioButton *>(focused()))
            QVERIFY2(radio->isChecked(), qPrintable(radio->text()));
        press(Qt::Key_Tab);
    }
    visited.sort();
    controls.sort();
    QCOMPARE(visited, controls);
}

void KeyboardTest::abortQuestionDefaultsToNo()
{
    RunFinished = 0;
    TimeoutAbort = 0;
    messages().answers.push_back(false);
    QVERIFY(!Form_MuW_Zahlen->FormCloseQuery());
    QCOMPARE(messages().shown.size(), 1);
    QCOMPARE(messages().lastText(), QStringLiteral("Willst Du dieses Spiel\nwirklich abbrechen ?"));
    QCOMPARE(messages().shown[0].defaultAnswer, DefaultAnswer::No);
}

void KeyboardTest::fullFileQuestionDefaultsToNo()
{
    const QString fileName = QDir(TestSupport::workingDirectory()).filePath("voll.ERG");
    const QByteArray full(20 * OverallResultRecord::Size, 'x');
    QFile file(fileName);
    QVERIFY(file.open(QIODevice::WriteOnly));
    QCOMPARE(file.write(full), full.size());
    file.close();
    ResultSaved = 0;
    messages().answers.push_back(false);
    QVERIFY(!StoreOverallResult(fileName));
    QCOMPARE(messages().shown.size(), 1);
    QCOMPARE(messages().lastText(), FullResultsFileQuestion);
    QCOMPARE(messages().shown[0].defaultAnswer, DefaultAnswer::No);
    QCOMPARE(ResultSaved, Byte(0));
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), full);
}

void KeyboardTest::unsavedResultQuestionDefaultsToKeepingIt()
{
    // Yes keeps the unsaved result and starts nothing, so it stays the answer Enter gives.
    ResultSaved = 0;
    messages().answers.push_back(true);
    Form_MuW->But_StartClick();
    QCOMPARE(messages().shown.size(), 1);
    QCOMPARE(messages().lastText(), UnsavedResultQuestion);
    QCOMPARE(messages().shown[0].defaultAnswer, DefaultAnswer::Yes);
    ResultSaved = 1;
}

namespace {
// The controls that take the focus, as "objectName=name a screen reader says", and for a grid
// the headings it tells with the cells of its last row; what lies inside a control (a list's
// field, a table's cells) belongs to it. On this platform Qt names a list by its value and
// links its label as "labelled by", which the reader speaks instead.
void collectFocusable(QAccessibleInterface *node, QStringList &controls)
{
    for (int i = 0; i < node->childCount(); ++i) {
        QAccessibleInterface *child = node->child(i);
        if (child && !child->state().focusable)
            collectFocusable(child, controls);
        if (!child || !child->state().focusable)
            continue;
        const auto labels = child->relations(QAccessible::Label);
        QAccessibleInterface *naming = child->role() != QAccessible::ComboBox ? child
                                       : labels.isEmpty()                     ? nullptr
                                                          : labels.first().first;
        const QString name = child->object()->objectName();
        controls << name + '=' +
                        (naming ? naming->text(QAccessible::Name).simplified() : QString());
        if (QAccessibleTableInterface *table = child->tableInterface()) {
            QStringList heads;
            for (int column = 0; column < table->columnCount(); ++column) {
                QAccessibleInterface *cell = table->cellAt(table->rowCount() - 1, column);
                if (!cell || !cell->tableCellInterface())
                    continue;
                for (QAccessibleInterface *head : cell->tableCellInterface()->columnHeaderCells() +
                                                      cell->tableCellInterface()->rowHeaderCells())
                    heads << head->text(QAccessible::Name);
            }
            controls << name + " heads=" + heads.join('|');
        }
    }
}
} // namespace

void KeyboardTest::everyFocusableControlIsNamed_data()
{
    QTest::addColumn<QWidget *>("window");
    QTest::addColumn<QStringList>("named"); // names that must say what a control is for
    const QHash<QWidget *, QStringList> named = {
        {Form_MuW, {"Edit_S_MuW=Schwierigkeitsgrad:"}},
        {Form_Name, {"Edit_Namen=Gib bitte Deinen Namen ein"}},
        {Form_zeigen,
         {"StringGrid1 heads=Nr.|6|vorgegeben|6|Störung|6|Ihre Eingabe|6|Wertung|6|Punkte|6"}},
        {Form_Speich_MuW,
         {"StringGrid1 heads=Nr.|20|Name|20|Datum-Zeit|20|Stoerung|20|S-Grad/ Zeitz.|20|"
          "Zeitfaktor Vor.- War.|20|Punkte|20"}}};
    for (QWidget *window : std::initializer_list<QWidget *>{
             Form_Prgr, Form_MuW, Form_MuW_Zahlen, Form_Stoeren_Vorgabe, Form_Frage_Hst,
             Form_Frage_Text, Form_Speich_MuW, Form_Name, Form_zeigen, Form_Info, Form_Farben,
             Form_Ringe, Form_Billard, static_cast<QWidget *>(m_verlauf.get())})
        QTest::newRow(qPrintable(window->objectName())) << window << named.value(window);
}

// Walks the window's accessibility tree as a screen reader does.
void KeyboardTest::everyFocusableControlIsNamed()
{
    QFETCH(QWidget *, window);
    QFETCH(QStringList, named);
    QStringList controls;
    collectFocusable(QAccessible::queryAccessibleInterface(window), controls);
    const QStringList unnamed = controls.filter(QRegularExpression(QStringLiteral("=$")));
    qInfo("%s: %lld of %lld focusable controls named", qPrintable(window->objectName()),
          qlonglong(controls.size() - unnamed.size()), qlonglong(controls.size()));
    QVERIFY2(unnamed.isEmpty(), qPrintable(QStringLiteral("no name: ") + unnamed.join(", ")));
    for (const QString &control : std::as_const(named))
        QVERIFY2(controls.contains(control),
                 qPrintable(control + " not in " + controls.join(", ")));
}

void KeyboardTest::focusFrameStandsOutOnTheWindow_data()
{
    QTest::addColumn<QWidget *>("control");
    QTest::newRow("radio button on green")
        << static_cast<QWidget *>(Form_MuW->Radio_Stoeren->button(1));
    QTest::newRow("button on green") << static_cast<QWidget *>(Form_MuW->But_zurueck);
    QTest::newRow("button on navy") << Form_Name->findChild<QWidget *>("But_ok");
    QTest::newRow("answer colour") << static_cast<QWidget *>(Form_Farben->Panel_gelb);
}

// The focus frame's pixels differ at 3 : 1 at least from what they show without the focus, as
// the accessibility guidelines ask of a focus indicator; and there is a whole frame of them.
void KeyboardTest::focusFrameStandsOutOnTheWindow()
{
    QFETCH(QWidget *, control);
    QVERIFY(control);
    showActive(control->window());
    control->show();
    control->window()->setFocus();
    const QImage before = control->grab().toImage();
    control->setFocus(Qt::TabFocusReason);
    QTRY_VERIFY(control->hasFocus());
    const QImage after = control->grab().toImage();
    int framePixels = 0;
    for (int y = 0; y < after.height(); ++y) {
        for (int x = 0; x < after.width(); ++x)
            framePixels += ContrastRatio(after.pixelColor(x, y), before.pixelColor(x, y)) >= 3.0;
    }
    QVERIFY2(framePixels >= 2 * control->height(), qPrintable(QString::number(framePixels)));
}

// Alt+E opens "Einstellungen" instead of showing the last result, which takes another letter.
void KeyboardTest::altEOpensTheSettingsMenu()
{
    bool resultShown = false;
    TestSupport::afterActivation(Form_zeigen, [&resultShown] {
        resultShown = true;
        Form_zeigen->CloseWithOk();
    });
    auto dropWatcher = qScopeGuard([] { TestSupport::dropPendingActions(); });
    showActive(Form_MuW);
    Form_MuW->FormActivate();
    press(Qt::Key_E, Qt::AltModifier);
    QMenu *settings = Form_MuW->Einstellungen1->menu();
    QTRY_VERIFY(settings->isVisible());
    settings->hide();
    QVERIFY(!resultShown);
}

void KeyboardTest::keysEndTheWindowsAsTheirButtonsDo_data()
{
    QTest::addColumn<QString>("window");
    QTest::addColumn<QString>("control"); // empty: whatever has the focus
    QTest::addColumn<int>("key");
    QTest::addColumn<bool>("asks");
    QTest::newRow("Escape while memorising")
        << "Form_MuW_Zahlen" << "" << int(Qt::Key_Escape) << true;
    QTest::newRow("Escape in the answer field")
        << "Form_MuW_Zahlen" << "Edit_Wiedergeben" << int(Qt::Key_Escape) << true;
    QTest::newRow("Escape in Farben merken") << "Form_Farben" << "" << int(Qt::Key_Escape) << false;
    QTest::newRow("Escape in the about window") << "Form_Info" << "" << int(Qt::Key_Escape) << false;
    QTest::newRow("Return on zurück ohne Speichern")
        << "Form_zeigen" << "SpeedBut_zurueck_ohne_Sp" << int(Qt::Key_Return) << false;
}

// Escape asks before aborting a game, as the close box does, and closes the colour exercise
// and the about window; Return presses the focused button of the individual result.
void KeyboardTest::keysEndTheWindowsAsTheirButtonsDo()
{
    QFETCH(QString, window);
    QFETCH(QString, control);
    QFETCH(int, key);
    QFETCH(bool, asks);
    auto *shown = Form_Prgr->findChild<ModalForm *>(window);
    QVERIFY(shown);
    const bool game = shown == Form_MuW_Zahlen;
    auto restore = qScopeGuard([] {
        Form_MuW->Radio_Stoeren->setItemIndex(StoerenEin);
        Form_MuW->Radio_StoerenClick();
        ResultSaved = 1;
    });
    Form_MuW->Radio_Stoeren->setItemIndex(StoerenAus);
    Form_MuW->Radio_StoerenClick();
    bool stillOpen = true;
    auto pressKey = [&] {
        if (game && !control.isEmpty()) {
            Form_MuW_Zahlen->Timer_MuW_MerkenTimer();
            Form_MuW_Zahlen->Timer_MuW_WartenTimer();
        }
        QWidget *target = control.isEmpty() ? shown->focusWidget()
                                             : shown->findChild<QWidget *>(control);
        if (!target)
            target = shown;
        target->setFocus();
        QTest::keyClick(target, Qt::Key(key));
        stillOpen = shown->isVisible();
        // Ends a window the key left open, so that the test fails instead of waiting.
        if (stillOpen)
            shown->done(QDialog::Rejected);
    };
    if (shown->isVisible()) {
        // Shown by an earlier test without a modal loop; shown again it might not become active.
        pressKey();
    } else {
        TestSupport::afterActivation(shown, pressKey);
        if (game)
            Form_MuW_Zahlen->StartGame();
        else
            shown->ShowModal();
    }
    QVERIFY(!stillOpen);
    QCOMPARE(messages().shown.size(), asks ? 1 : 0);
    if (asks)
        QCOMPARE(messages().lastText(), QStringLiteral("Willst Du dieses Spiel\nwirklich abbrechen ?"));
    // Ja to the question aborts the game as the close box does.
    if (game)
        QCOMPARE(ResultSaved, Byte(1));
}

QTEST_MAIN(KeyboardTest)
#include "test_keyboard.moc"
