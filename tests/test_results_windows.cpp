// SPDX-License-Identifier: GPL-3.0-or-later
#include "TestSupport.h"

#include "common/FileDialogs.h"
#include "common/ScaleToScreen.h"
#include "common/SharedState.h"
#include "exercise/Muw.h"
#include "results/Name.h"
#include "results/Speicher.h"
#include "results/Zeigen.h"
#include "shell/Kr_progr.h"

#include <QAction>
#include <QComboBox>
#include <QFile>
#include <QFileDialog>
#include <QLineEdit>
#include <QPointer>
#include <QPrinter>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTimer>
#include <QToolButton>
#include <QWindow>
#include <QtTest>

#include <optional>

using TestSupport::readAll;

namespace {

// Key events carry their text, so umlauts can be typed too.
void typeIntoNameField(const QString &text)
{
    for (const QChar character : text) {
        QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(character));
        QApplication::sendEvent(Form_Name->Edit_Namen, &press);
    }
}

void setRound(int round, const QString &presented, const QString &typed, const QString &marks,
              int achieved, int possible)
{
    PresentedSequences[round] = presented;
    ReproducedSequences[round] = typed;
    SymbolMarks[round] = marks;
    RoundPointsAchieved[round] = achieved;
    RoundPointsPossible[round] = Byte(possible);
    RoundDisturbanceLabels[round] = QString();
}

} // namespace

class ResultsWindowsTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { TestSupport::createProgram(); }
    void cleanupTestCase() { TestSupport::destroyProgram(); }
    void init();
    void cleanup();

    void nameDialogKeepsTheLastNonEmptyText();
    void nameFieldTakesTwelveCharacters();
    void closingTheNameDialogUntypedKeepsThePlaceholder();
    void nameIsAskedOnlyWhileThePlaceholderStands();
    void nameDialogHasADialogBorderAndNoCaption();
    void individualResultShowsTheScoredRounds();
    void saveButtonAsksTheNameFirstThenSaves();
    void failedSaveKeepsTheIndividualResultOpen_data();
    void failedSaveKeepsTheIndividualResultOpen();
    void cancelledSaveClosesWithoutSaving();
    void individualResultAlwaysEndsWithOk_data();
    void individualResultAlwaysEndsWithOk();
    void saveAsMenuSavesOnlyAnUnsavedResult();
    void saveAsMenuReportsAFullDisk();
    void openMenuShowsTheChosenFile();
    void openMenuShowsNothingWhenTheFileCannotBeRead();
    void overallResultsWindowOpensAnotherFile();
    void printDialogShowsWholePrinterNames();

private:
    QString path(const QString &name) const { return m_dir.filePath(name); }
    void writeRecords(const QString &fileName, int count);

    QTemporaryDir m_dir;
};

void ResultsWindowsTest::init()
{
    TestSupport::messages().clear();
    PlayerName = QStringLiteral("Eva");
    ResultSaved = 0;
}

void ResultsWindowsTest::cleanup()
{
    TestSupport::dropPendingActions();
    FileDialogs::answerForTests({});
    Form_Name->Edit_Namen->clear();
}

void ResultsWindowsTest::writeRecords(const QString &fileName, int count)
{
    QFile file(fileName);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    for (int i = 1; i <= count; ++i) {
        OverallResultRecord record;
        record.PlayerName = QStringLiteral("Nr %1").arg(i);
        file.write(record.toBytes());
    }
}

void ResultsWindowsTest::nameDialogKeepsTheLastNonEmptyText()
{
    PlayerName = NoPlayerName;
    TestSupport::afterActivation(Form_Name, [] {
        typeIntoNameField(QStringLiteral("ABCD"));
        for (int i = 0; i < 4; ++i)
            QTest::keyClick(Form_Name->Edit_Namen, Qt::Key_Backspace);
        // Enter in the emptied field still ends the dialog through its default button.
        QTest::keyClick(Form_Name->Edit_Namen, Qt::Key_Return);
    });
    RequestPlayerName();
    QVERIFY(!Form_Name->isVisible());
    QCOMPARE(Form_Name->result(), int(QDialog::Accepted));
    QCOMPARE(PlayerName.text(), QStringLiteral("A"));
    QCOMPARE(Form_Prgr->windowTitle(), QStringLiteral("A"));
}

void ResultsWindowsTest::nameFieldTakesTwelveCharacters()
{
    PlayerName = NoPlayerName;
    TestSupport::afterActivation(Form_Name, [] {
        typeIntoNameField(QStringLiteral("Ännchen Möll-X"));
        QTest::keyClick(Form_Name->Edit_Namen, Qt::Key_Enter);
    });
    RequestPlayerName();
    QCOMPARE(Form_Name->result(), int(QDialog::Accepted));
    QCOMPARE(PlayerName.text(), QStringLiteral("Ännchen Möll"));
    QCOMPARE(Form_Name->Edit_Namen->text(), QStringLiteral("Ännchen Möll"));
    QCOMPARE(Form_Prgr->windowTitle(), QStringLiteral("Ännchen Möll"));
}

void ResultsWindowsTest::closingTheNameDialogUntypedKeepsThePlaceholder()
{
    PlayerName = NoPlayerName;
    Form_Prgr->setWindowTitle(QStringLiteral("Fokulantorium"));
    TestSupport::afterActivation(Form_Name, [] { Form_Name->close(); });
    RequestPlayerName();
    QVERIFY(!Form_Name->isVisible());
    QCOMPARE(PlayerName.text(), NoPlayerName);
    QCOMPARE(Form_Prgr->windowTitle(), NoPlayerName);
}

void ResultsWindowsTest::nameDialogHasADialogBorderAndNoCaption()
{
    const Qt::WindowFlags flags = Form_Name->windowFlags();
    QVERIFY(flags.testFlag(Qt::CustomizeWindowHint));
    QVERIFY(flags.testFlag(Qt::WindowCloseButtonHint));
    QVERIFY(!flags.testFlag(Qt::WindowMinimizeButtonHint));
    QVERIFY(!flags.testFlag(Qt::WindowMaximizeButtonHint));
    QCOMPARE(Form_Name->minimumSize(), Form_Name->maximumSize());

    // The platform would show the program's name for an empty caption; the window's own title
    // stays empty and the platform is given a blank.
    PlayerName = NoPlayerName;
    QString shownCaption;
    TestSupport::afterActivation(Form_Name, [&] {
        shownCaption = Form_Name->windowHandle()->title();
        Form_Name->close();
    });
    RequestPlayerName();
    QVERIFY(Form_Name->windowTitle().isEmpty());
    QCOMPARE(shownCaption, QStringLiteral(" "));
}

void ResultsWindowsTest::nameIsAskedOnlyWhileThePlaceholderStands()
{
    int shown = 0;
    auto closer = [&shown] {
        ++shown;
        Form_Name->Edit_Namen->setText(NoPlayerName);
        QTest::keyClick(Form_Name->Edit_Namen, Qt::Key_Return);
    };
    // Not asked: the call returns at once, without a modal loop in which the closer could act.
    TestSupport::afterActivation(Form_Name, closer);
    RequestPlayerName();
    TestSupport::dropPendingActions();
    QCOMPARE(shown, 0);
    PlayerName = NoPlayerName;
    for (int i = 0; i < 2; ++i) {
        TestSupport::afterActivation(Form_Name, closer);
        RequestPlayerName();
    }
    // Typing the placeholder itself counts as no name.
    QCOMPARE(shown, 2);
    QCOMPARE(PlayerName.text(), NoPlayerName);
}

void ResultsWindowsTest::individualResultShowsTheScoredRounds()
{
    for (int round = 1; round <= RoundsPerGame; ++round)
        setRound(round, QString(), QString(), QString(), 0, 0);
    setRound(1, QStringLiteral("472"), QStringLiteral("412"), QStringLiteral("wfw"), 6, 9);
    setRound(2, QStringLiteral("KMR"), QStringLiteral("KMR"), QStringLiteral("www"), 12, 12);
    RoundDisturbanceLabels[2] = QStringLiteral("Ringe (g)");
    PointsAchieved = 18;
    PointsPossible = 21;
    DifficultyLevel = 4;
    TimeAllowanceSteps = 13;
    PresentTimeFactor = 7;
    WaitTimeFactor = 120;
    FillIndividualResult();

    const TStringGrid *grid = Form_zeigen->StringGrid1;
    QCOMPARE(grid->cell(1, 4), QStringLiteral(" 472"));
    QCOMPARE(grid->cell(3, 4), QStringLiteral(" 412"));
    QCOMPARE(grid->cell(4, 4), QStringLiteral(" wfw"));
    QCOMPARE(grid->cell(5, 4), QStringLiteral("    6/    9"));
    QCOMPARE(grid->cell(2, 5), QStringLiteral(" Ringe (g)"));
    QCOMPARE(grid->cell(4, 5), QStringLiteral(" www"));
    QCOMPARE(grid->cell(5, 5), QStringLiteral("  12/  12"));
    QCOMPARE(grid->cell(5, 9), QStringLiteral("    0/    0"));
    QCOMPARE(grid->cell(3, 0), QStringLiteral(" Pkte (ges.): 18/ 21"));
    QCOMPARE(grid->cell(4, 0), QStringLiteral(" Eva"));
    QCOMPARE(grid->cell(1, 1), QStringLiteral(" S-Grad = 4"));
    QCOMPARE(grid->cell(3, 1), QStringLiteral(" Zeit-F.-Vorg. = 7"));
    QCOMPARE(grid->cell(1, 2), QStringLiteral(" Zeitzugabe = 13"));
    QCOMPARE(grid->cell(3, 2), QStringLiteral(" Zeit-F.-Wart. = 120"));
    QVERIFY(grid->cell(4, 1).isEmpty());
    QCOMPARE(grid->cell(2, 3), QStringLiteral(" Störung"));
    QCOMPARE(grid->cell(0, 9), QStringLiteral("     6"));
    QVERIFY(QRegularExpression(QStringLiteral("^ \\d\\d\\.\\d\\d\\.\\d{4}-\\d\\d:\\d\\d:\\d\\d$"))
                .match(grid->cell(1, 0))
                .hasMatch());
    // 10 points at the design size, grown like the window; the rows keep room for the text.
    QCOMPARE(grid->font().pointSizeF(), 10 * ScreenScalePercent() / 100.0);
    QVERIFY(grid->font().bold());
    QVERIFY(grid->rowHeight(4) >= grid->fontMetrics().height());
}

void ResultsWindowsTest::saveButtonAsksTheNameFirstThenSaves()
{
    PlayerName = NoPlayerName;
    const QString fileName = path(QStringLiteral("einzeln.ERG"));
    QString nameWhenAsked;
    FileDialogs::answerForTests([&](QFileDialog *dialog) {
        nameWhenAsked = PlayerName.text();
        return dialog == Form_MuW->SaveDialog_Muw &&
                       dialog->testOption(QFileDialog::DontConfirmOverwrite)
                   ? fileName
                   : QString();
    });
    TestSupport::afterActivation(Form_Name, [] {
        typeIntoNameField(QStringLiteral("Ida"));
        QTest::keyClick(Form_Name->Edit_Namen, Qt::Key_Return);
    });
    TestSupport::afterActivation(Form_zeigen,
                                 [] { Form_zeigen->SpeedBut_zurueck_mit_Sp->click(); });
    QCOMPARE(Form_zeigen->ShowModal(), int(QDialog::Accepted));
    QCOMPARE(nameWhenAsked, QStringLiteral("Ida"));
    const QByteArray bytes = readAll(fileName);
    QCOMPARE(bytes.size(), 80);
    QCOMPARE(OverallResultRecord::fromBytes(bytes).PlayerName.text(), QStringLiteral("Ida"));
    QCOMPARE(ResultSaved, Byte(1));
}

void ResultsWindowsTest::failedSaveKeepsTheIndividualResultOpen_data()
{
    QTest::addColumn<QString>("fileName");
    QTest::addColumn<int>("oldRecords");   // -1: no file
    QTest::addColumn<qint64>("sizeLimit"); // 0: none
    QTest::addColumn<QString>("message");
    QTest::newRow("missing folder")
        << "fehlt/einzeln.ERG" << -1 << qint64(0) << "Dateizugriff verweigert";
    QTest::newRow("full disk") << "voll.ERG" << 19 << qint64(19 * 80) << "E/A-Fehler 101";
    QTest::newRow("full disk, new file") << "neu.ERG" << -1 << qint64(40) << "E/A-Fehler 101";
    // Nothing was saved, as after a failure.
    QTest::newRow("full file kept with Nein")
        << "voll.ERG" << 20 << qint64(0) << FullResultsFileQuestion;
}

void ResultsWindowsTest::failedSaveKeepsTheIndividualResultOpen()
{
    QFETCH(QString, fileName);
    QFETCH(int, oldRecords);
    QFETCH(qint64, sizeLimit);
    QFETCH(QString, message);
    const QString file = path(fileName);
    if (oldRecords >= 0)
        writeRecords(file, oldRecords);
    const QByteArray old = readAll(file);
    FileDialogs::answerForTests([file](QFileDialog *) { return file; });
    TestSupport::messages().answers = {false};
    bool openAfterFailure = false;
    TestSupport::afterActivation(Form_zeigen, [&] {
        {
            std::optional<TestSupport::FileSizeLimit> limit;
            if (sizeLimit > 0)
                limit.emplace(sizeLimit);
            Form_zeigen->SpeedBut_zurueck_mit_SpClick();
        }
        openAfterFailure = Form_zeigen->isVisible();
        Form_zeigen->SpeedBut_zurueck_ohne_Sp->click();
    });
    QCOMPARE(Form_zeigen->ShowModal(), int(QDialog::Accepted));
    QVERIFY(openAfterFailure);
    QCOMPARE(TestSupport::messages().shown.size(), 1);
    QCOMPARE(TestSupport::messages().shown[0].kind == MessageBoxes::Kind::Error, oldRecords < 20);
    QCOMPARE(TestSupport::messages().lastText(), message);
    QCOMPARE(ResultSaved, Byte(0));
    QCOMPARE(QFile::exists(file), oldRecords >= 0);
    QCOMPARE(readAll(file), old);
    QFile::remove(file);
}

void ResultsWindowsTest::cancelledSaveClosesWithoutSaving()
{
    int asked = 0;
    FileDialogs::answerForTests([&](QFileDialog *) {
        ++asked;
        return QString();
    });
    TestSupport::afterActivation(Form_zeigen, [] { Form_zeigen->SpeedBut_zurueck_mit_SpClick(); });
    QCOMPARE(Form_zeigen->ShowModal(), int(QDialog::Accepted));
    QCOMPARE(asked, 1);
    QCOMPARE(ResultSaved, Byte(0));
}

void ResultsWindowsTest::individualResultAlwaysEndsWithOk_data()
{
    QTest::addColumn<int>("way");
    QTest::newRow("Escape in the table") << 0;
    QTest::newRow("Beenden") << 1;
    QTest::newRow("close box") << 2;
    QTest::newRow("back without saving") << 3;
}

void ResultsWindowsTest::individualResultAlwaysEndsWithOk()
{
    QFETCH(int, way);
    TestSupport::afterActivation(Form_zeigen, [way] {
        if (way == 0)
            QTest::keyClick(Form_zeigen->StringGrid1, Qt::Key_Escape);
        else if (way == 1)
            Form_zeigen->Beenden1->trigger();
        else if (way == 2)
            Form_zeigen->close();
        else
            Form_zeigen->SpeedBut_zurueck_ohne_Sp->click();
    });
    QCOMPARE(Form_zeigen->ShowModal(), int(QDialog::Accepted));
    QVERIFY(!Form_zeigen->isVisible());
    QCOMPARE(ResultSaved, Byte(0));
}

void ResultsWindowsTest::saveAsMenuSavesOnlyAnUnsavedResult()
{
    const QString fileName = path(QStringLiteral("menue.ERG"));
    int asked = 0;
    FileDialogs::answerForTests([&](QFileDialog *) {
        ++asked;
        return fileName;
    });
    ResultSaved = 1;
    SaveOverallResultAs();
    QCOMPARE(asked, 0);
    QCOMPARE(TestSupport::messages().shown.size(), 1);
    QCOMPARE(TestSupport::messages().shown[0].kind, MessageBoxes::Kind::Information);
    QCOMPARE(TestSupport::messages().lastText(),
             QStringLiteral("Es liegen keine Daten vor,\ndie noch nicht gespeichert wurden."));
    QVERIFY(!QFile::exists(fileName));

    ResultSaved = 0;
    SaveOverallResultAs();
    QCOMPARE(asked, 1);
    QCOMPARE(readAll(fileName).size(), 80);
    QCOMPARE(ResultSaved, Byte(1));
}

void ResultsWindowsTest::saveAsMenuReportsAFullDisk()
{
    const QString fileName = path(QStringLiteral("menue_voll.ERG"));
    writeRecords(fileName, 7);
    const QByteArray old = readAll(fileName);
    FileDialogs::answerForTests([&](QFileDialog *) { return fileName; });
    {
        TestSupport::FileSizeLimit limit(old.size());
        SaveOverallResultAs();
    }
    QCOMPARE(TestSupport::messages().lastText(), QStringLiteral("E/A-Fehler 101"));
    QCOMPARE(TestSupport::messages().shown.last().kind, MessageBoxes::Kind::Error);
    QCOMPARE(readAll(fileName), old);
    QCOMPARE(ResultSaved, Byte(0));

    // With room on the disk again the same result can still be saved.
    SaveOverallResultAs();
    QCOMPARE(readAll(fileName).size(), old.size() + 80);
    QCOMPARE(ResultSaved, Byte(1));
}

void ResultsWindowsTest::openMenuShowsTheChosenFile()
{
    const QString fileName = path(QStringLiteral("drei.ERG"));
    writeRecords(fileName, 3);
    FileDialogs::answerForTests([&](QFileDialog *dialog) {
        return dialog == Form_MuW->OpenDialog_MuW ? fileName : QString();
    });
    QString caption;
    QString lastName;
    TestSupport::afterActivation(Form_Speich_MuW, [&] {
        caption = Form_Speich_MuW->windowTitle();
        lastName = Form_Speich_MuW->StringGrid1->cell(1, 4);
        QTest::keyClick(Form_Speich_MuW->StringGrid1, Qt::Key_Escape);
    });
    OpenOverallResultsFile();
    QVERIFY(!Form_Speich_MuW->isVisible());
    QCOMPARE(caption, QStringLiteral("gespeicherte Gesamtergebnisse aus     ") + fileName);
    QCOMPARE(lastName, QStringLiteral(" Nr 3"));
    QCOMPARE(int(LoadedRecordCount), 3);
    QCOMPARE(ResultsFileName.text(), fileName.left(79));
}

void ResultsWindowsTest::openMenuShowsNothingWhenTheFileCannotBeRead()
{
    const QString missing = path(QStringLiteral("fehlt.ERG"));
    FileDialogs::answerForTests([&](QFileDialog *) { return missing; });
    int shown = 0;
    TestSupport::afterActivation(Form_Speich_MuW, [&] {
        ++shown;
        Form_Speich_MuW->close();
    });
    OpenOverallResultsFile();
    TestSupport::dropPendingActions();
    QCOMPARE(shown, 0);
    QCOMPARE(TestSupport::messages().lastText(), QStringLiteral("Datei nicht gefunden"));
    QCOMPARE(TestSupport::messages().shown[0].kind, MessageBoxes::Kind::Error);
}

void ResultsWindowsTest::overallResultsWindowOpensAnotherFile()
{
    const QString two = path(QStringLiteral("zwei.ERG"));
    const QString five = path(QStringLiteral("fuenf.ERG"));
    writeRecords(two, 2);
    writeRecords(five, 5);
    QString answer = five;
    FileDialogs::answerForTests([&](QFileDialog *) { return answer; });
    Form_Speich_MuW->DateiffnenGesamtergebnisse1->trigger();
    QCOMPARE(Form_Speich_MuW->StringGrid1->cell(1, 6), QStringLiteral(" Nr 5"));

    answer.clear();
    Form_Speich_MuW->DateiffnenGesamtergebnisse1->trigger();
    QCOMPARE(int(LoadedRecordCount), 5);
    QCOMPARE(Form_Speich_MuW->windowTitle(),
             QStringLiteral("gespeicherte Gesamtergebnisse aus     ") + five);

    answer = two;
    Form_Speich_MuW->DateiffnenGesamtergebnisse1->trigger();
    QCOMPARE(int(LoadedRecordCount), 2);
    QVERIFY(Form_Speich_MuW->StringGrid1->cell(1, 6).isEmpty());
    QVERIFY(TestSupport::messages().shown.isEmpty());
}

QTEST_MAIN(ResultsWindowsTest)
// The printer list is filled as the dialog shows; the dialog must still grow to its names.
void ResultsWindowsTest::printDialogShowsWholePrinterNames()
{
    QPrinter printer;
    bool whole = false;
    QTimer::singleShot(0, Form_Speich_MuW, [&] {
        auto *dialog = qobject_cast<QDialog *>(QApplication::activeModalWidget());
        QVERIFY(dialog);
        // Ends the dialog however the wait below comes out.
        auto end = qScopeGuard([dialog] { dialog->reject(); });
        auto *printers = dialog->findChild<QComboBox *>(QStringLiteral("printers"));
        QVERIFY(printers);
        QTRY_VERIFY(printers->count() > 0 && printers->width() >= printers->sizeHint().width());
        whole = true;
    });
    QVERIFY(!RunPrintDialog(printer, Form_Speich_MuW));
    QVERIFY(whole);
}

#include "test_results_windows.moc"
