// SPDX-License-Identifier: GPL-3.0-or-later
// mentaro-erg: the games of overall-result files as a table, or as the CSV of the "Verlauf" window.
#include "common/RecordFile.h"
#include "results/Verlaufsdaten.h"

#include <QCoreApplication>
#include <QStringList>

#include <cstdio>

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
    "Rückgabewert: 0 bei Erfolg, 1 wenn eine Datei fehlt, nicht lesbar oder beschädigt ist,\n"
    "2 bei falschem Aufruf.\n";

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
} // namespace

int main(int argc, char **argv)
{
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
    for (const QString &path : arguments.mid(1)) {
        const GameFile file = ReadGameFile(path);
        if (!file.error.isEmpty()) {
            complain(path + QStringLiteral(": ") + file.error);
            refused = true;
        } else {
            history.add(file.records, path);
        }
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
