// SPDX-License-Identifier: GPL-3.0-or-later
// mentaro-erg: the games of results files or of the journal as a table or CSV; imports files.
#include "common/RandomClock.h"
#include "common/RecordFile.h"
#include "journal/Tagebuch.h"
#include "results/Verlaufsdaten.h"

#include <QCoreApplication>
#include <QFile>
#include <QDir>
#include <QStringList>

#include <cerrno>
#include <cstdio>
#include <fcntl.h>

namespace {
constexpr int ExitFileError = 1;
constexpr int ExitUsage = 2;

const char UsageText[] =
    "Aufruf: mentaro-erg show DATEI…\n"
    "        mentaro-erg csv DATEI… > ausgabe.csv\n"
    "        mentaro-erg journal show\n"
    "        mentaro-erg journal csv > ausgabe.csv\n"
    "        mentaro-erg import DATEI…\n"
    "\n"
    "Liest Gesamtergebnis-Dateien (*.ERG) und führt ihre Spiele nach Datum und Uhrzeit\n"
    "geordnet zusammen; ein Spiel, das in mehreren Dateien steht, zählt einmal.\n"
    "\n"
    "  show     zeigt die Spiele als Tabelle\n"
    "  csv      schreibt die Spiele als CSV-Datei (UTF-8, Semikolon, Dezimalkomma)\n"
    "  journal  zeigt das Trainingstagebuch des Programms (show) oder schreibt seine\n"
    "           Spiele als CSV-Datei (csv); das Tagebuch wird dabei nur gelesen\n"
    "  import   übernimmt die Spiele der Dateien ins Tagebuch; ein Spiel, das schon\n"
    "           darin steht, zählt einmal\n"
    "\n"
    "Das Tagebuch ist $XDG_DATA_HOME/mentaro/Tagebuch.sqlite\n"
    "(~/.local/share/mentaro/Tagebuch.sqlite).\n"
    "\n"
    "Rückgabewert:\n"
    "  0  jede Datei wurde gelesen. Was darin übergangen wurde, wie es das Programm\n"
    "     übergeht (ein abgeschnittener Datensatz am Ende, Datensätze nach dem 20.),\n"
    "     nennt die Fehlerausgabe, eine Zeile je Datei und Grund.\n"
    "  1  eine Datei fehlt oder kann nicht geöffnet oder gelesen werden, auch eine,\n"
    "     deren Datensätze keine gespeicherten Spiele sind, oder die Ausgabe kann nicht\n"
    "     geschrieben werden; dann wird nichts ausgegeben. Ebenso, wenn das Tagebuch\n"
    "     fehlt, nicht lesbar oder beschädigt ist.\n"
    "  2  falscher Aufruf.\n";

// Every byte is checked, so a full disk behind a redirection is reported.
bool writeAll(std::FILE *stream, const QByteArray &bytes)
{
    return std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stream) ==
               size_t(bytes.size()) &&
           std::fflush(stream) == 0;
}

void complain(const QString &text)
{
    writeAll(stderr, (QStringLiteral("mentaro-erg: ") + text + QLatin1Char('\n')).toUtf8());
}

// Qt holds names as Unicode, so a name that is not valid UTF-8 would come back from a QString
// as another name. Such a file is opened by its bytes and read through its descriptor, which
// stays open until the program ends.
QString readableName(const QByteArray &name, QString *error)
{
    const QString decoded = QFile::decodeName(name);
    if (QFile::encodeName(decoded) == name)
        return decoded;
    const int fd = ::open(name.constData(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) {
        *error = InOutErrorText(OpenErrorCode(errno));
        return {};
    }
    return QStringLiteral("/proc/self/fd/%1").arg(fd);
}

// Messages of the journal keep their own line breaks; on a terminal each is one line.
void complainAll(const QStringList &messages)
{
    for (const QString &message : messages)
        complain(QString(message).replace(QLatin1Char('\n'), QLatin1Char(' ')));
}

int writeOutput(const QByteArray &output)
{
    if (writeAll(stdout, output))
        return 0;
    complain(QStringLiteral("Ausgabe: ") + InOutErrorText(InOutCodes::WriteFailed));
    return ExitFileError;
}

QString colourRunsText(const QList<ColourRun> &runs)
{
    QString text = QStringLiteral("\nFarben merken\n");
    for (const ColourRun &run : runs) {
        text += QStringLiteral("%1  %2 von %3 Farben richtig, Zeige-Dauer %4 ms, Pause %5 ms\n")
                    .arg(run.end.toString(QStringLiteral("dd.MM.yyyy  HH:mm:ss")))
                    .arg(run.correct)
                    .arg(run.count)
                    .arg(run.showMs)
                    .arg(run.pauseMs);
    }
    return text + (runs.size() == 1 ? QStringLiteral("1 Folge\n")
                                    : QStringLiteral("%1 Folgen\n").arg(runs.size()));
}

int showJournal(bool csv)
{
    Tagebuch journal(Tagebuch::DefaultPath(), QStringLiteral("mentaro-erg"),
                     Tagebuch::Access::ReadOnly);
    if (!journal.open()) {
        complainAll(journal.takeMessages());
        return ExitFileError;
    }
    QList<HistoryGame> games;
    for (const JournalGame &game : journal.games())
        games.append({OverallRecordOf(game), game.end});
    const QList<ColourRun> runs = journal.colourRuns();
    const QMap<QDate, DayActivity> days = journal.activityByDay();
    const QStringList problems = journal.takeMessages();
    if (!problems.isEmpty()) {
        complainAll(problems);
        return ExitFileError;
    }
    if (csv)
        return writeOutput(HistoryCsv(games));
    const QString streak = StreakText(CurrentStreak(days, RandomClock::now().date()));
    return writeOutput((HistoryTableText(games) + colourRunsText(runs) +
                        QStringLiteral("\nTrainingstage: %1, %2\n").arg(days.size()).arg(streak))
                           .toUtf8());
}

// The names come byte for byte from argv, as for show and csv.
int importFiles(const QList<QByteArray> &names)
{
    Tagebuch journal(Tagebuch::DefaultPath(), QStringLiteral("mentaro-erg"));
    if (!journal.open()) {
        complainAll(journal.takeMessages());
        return ExitFileError;
    }
    int status = 0;
    QString report;
    for (const QByteArray &name : names) {
        const QString path = QFile::decodeName(name);
        QString error;
        const QString readable = readableName(name, &error);
        const ImportFile file = error.isEmpty() ? ReadImportFile(readable)
                                                : ImportFile{{}, {}, error};
        if (!file.error.isEmpty()) {
            complain(path + QStringLiteral(": ") + file.error);
            status = ExitFileError;
            continue;
        }
        for (const QString &ignored : file.ignored)
            complain(path + QStringLiteral(": ") + ignored);
        const std::optional<Tagebuch::ImportCount> count = journal.importRecords(file.records);
        if (!count) {
            complainAll(journal.takeMessages());
            return ExitFileError;
        }
        report += path + QStringLiteral(": ") + ImportCountText(count->added, count->known) +
                  QLatin1Char('\n');
    }
    const int written = writeOutput(report.toUtf8());
    return status != 0 ? status : written;
}
} // namespace

int main(int argc, char **argv)
{
    IgnoreFileSizeLimitSignal();
    QCoreApplication app(argc, argv);
    const QStringList arguments = QCoreApplication::arguments().mid(1);
    if (arguments.size() == 1 &&
        (arguments[0] == QLatin1String("--help") || arguments[0] == QLatin1String("-h"))) {
        return writeAll(stdout, UsageText) ? 0 : ExitFileError;
    }
    const QString command = arguments.value(0);
    if (command == QLatin1String("journal")) {
        const QString what = arguments.value(1);
        if (arguments.size() != 2 ||
            (what != QLatin1String("show") && what != QLatin1String("csv"))) {
            writeAll(stderr, UsageText);
            return ExitUsage;
        }
        return showJournal(what == QLatin1String("csv"));
    }
    if (command == QLatin1String("import")) {
        if (arguments.size() < 2) {
            writeAll(stderr, UsageText);
            return ExitUsage;
        }
        QList<QByteArray> names;
        for (int i = 2; i < argc; ++i)
            names.append(QByteArray(argv[i]));
        return importFiles(names);
    }
    if (arguments.size() < 2 ||
        (command != QLatin1String("show") && command != QLatin1String("csv"))) {
        writeAll(stderr, UsageText);
        return ExitUsage;
    }

    GameHistory history;
    bool refused = false;
    // Names from argv itself, byte for byte; argc and argv are what QCoreApplication left.
    for (int i = 2; i < argc; ++i) {
        const QByteArray name(argv[i]);
        const QString shown = QFile::decodeName(name);
        QString error;
        const QString path = readableName(name, &error);
        const GameFile file = error.isEmpty() ? ReadGameFile(path) : GameFile{{}, error, {}};
        if (!file.error.isEmpty()) {
            complain(shown + QStringLiteral(": ") + file.error);
            refused = true;
            continue;
        }
        for (const QString &cause : file.ignored)
            complain(shown + QStringLiteral(": ") + cause);
        history.add(file.records, shown);
    }
    // Half a result would look like a whole one, so nothing is written then.
    if (refused)
        return ExitFileError;

    return writeOutput(command == QLatin1String("csv") ? HistoryCsv(history.games())
                                                       : HistoryTableText(history.games()).toUtf8());
}
