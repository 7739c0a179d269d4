// SPDX-License-Identifier: GPL-3.0-or-later
// mentaro-erg: the games of overall-result files as a table, or as the CSV of the "Verlauf" window.
#include "common/RecordFile.h"
#include "results/Verlaufsdaten.h"

#include <QCoreApplication>
#include <QFile>
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
    "\n"
    "Liest Gesamtergebnis-Dateien (*.ERG) und führt ihre Spiele nach Datum und Uhrzeit\n"
    "geordnet zusammen; ein Spiel, das in mehreren Dateien steht, zählt einmal.\n"
    "\n"
    "  show  zeigt die Spiele als Tabelle\n"
    "  csv   schreibt die Spiele als CSV-Datei (UTF-8, Semikolon, Dezimalkomma)\n"
    "\n"
    "Rückgabewert:\n"
    "  0  jede Datei wurde gelesen. Was darin übergangen wurde, wie es das Programm\n"
    "     übergeht (ein abgeschnittener Datensatz am Ende, Datensätze nach dem 20.),\n"
    "     nennt die Fehlerausgabe, eine Zeile je Datei und Grund.\n"
    "  1  eine Datei fehlt oder kann nicht geöffnet oder gelesen werden, auch eine,\n"
    "     deren Datensätze keine gespeicherten Spiele sind, oder die Ausgabe kann nicht\n"
    "     geschrieben werden; dann wird nichts ausgegeben.\n"
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

    const QByteArray output = command == QLatin1String("csv")
                                  ? HistoryCsv(history.games())
                                  : HistoryTableText(history.games()).toUtf8();
    if (!writeAll(stdout, output)) {
        complain(QStringLiteral("Ausgabe: ") + InOutErrorText(InOutCodes::WriteFailed));
        return ExitFileError;
    }
    return 0;
}
