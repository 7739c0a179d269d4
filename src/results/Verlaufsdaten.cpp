// SPDX-License-Identifier: GPL-3.0-or-later
// The games of several overall-result files in date order: percentages, trend, CSV and table text.
#include "results/Verlaufsdaten.h"

#include "common/RecordFile.h"

#include <QRegularExpression>

#include <algorithm>

namespace {
constexpr int HighestLevel = 15;

QString dateText(const QDateTime &moment)
{
    return moment.toString(QStringLiteral("dd.MM.yyyy"));
}

QString timeText(const QDateTime &moment)
{
    return moment.toString(QStringLiteral("HH:mm:ss"));
}

// Control characters of a damaged name would break a line or a terminal.
QString printableText(const QString &text)
{
    QString printable = text;
    for (QChar &character : printable) {
        if (character.category() == QChar::Other_Control)
            character = QChar::ReplacementCharacter;
    }
    return printable;
}

QString percentText(const OverallResultRecord &record)
{
    const std::optional<double> percent = PercentAchieved(record);
    return percent ? DecimalCommaText(*percent) : QString();
}
} // namespace

QDateTime RecordMoment(const QString &dateTime)
{
    const QStringList parts = dateTime.trimmed().split(QStringLiteral("--"));
    if (parts.size() != 2)
        return {};
    const QDate date = QDate::fromString(parts[0], QStringLiteral("dd.MM.yyyy"));
    const QTime time = QTime::fromString(parts[1], QStringLiteral("HH:mm:ss"));
    if (!date.isValid() || !time.isValid())
        return {};
    return QDateTime(date, time);
}

std::optional<double> PercentAchieved(const OverallResultRecord &record)
{
    if (record.PointsPossible <= 0)
        return std::nullopt;
    return 100.0 * record.PointsAchieved / record.PointsPossible;
}

bool IsSavedGame(const OverallResultRecord &record)
{
    return RecordMoment(record.DateTime).isValid() && record.DifficultyLevel >= 1 &&
           record.DifficultyLevel <= HighestLevel && record.PointsAchieved >= 0 &&
           record.PointsAchieved <= record.PointsPossible;
}

QString DamagedRecordsError(const QList<OverallResultRecord> &records)
{
    for (qsizetype i = 0; i < records.size(); ++i) {
        if (!IsSavedGame(records[i]))
            return QStringLiteral("Datei beschädigt (Datensatz %1)").arg(i + 1);
    }
    return {};
}

GameFile ReadGameFile(const QString &path)
{
    GameFile file;
    qint64 byteSize = 0;
    try {
        file.records = ReadOverallResultsFile(path, &byteSize);
    } catch (const InOutError &error) {
        file.error = error.message();
        return file;
    }
    file.error = DamagedRecordsError(file.records);
    if (!file.error.isEmpty())
        file.records.clear();
    else
        file.ignored = IgnoredParts(byteSize);
    return file;
}

QStringList IgnoredParts(qint64 byteSize)
{
    QStringList ignored;
    const qint64 whole = byteSize / OverallResultRecord::Size;
    const qint64 rest = byteSize % OverallResultRecord::Size;
    if (whole == ResultsFileCapacity + 1) {
        ignored.append(QStringLiteral("Datensatz %1 nicht gelesen: eine Ergebnisdatei hält "
                                      "höchstens %2")
                           .arg(whole)
                           .arg(ResultsFileCapacity));
    } else if (whole > ResultsFileCapacity) {
        ignored.append(QStringLiteral("Datensätze %1 bis %2 nicht gelesen: eine Ergebnisdatei "
                                      "hält höchstens %3")
                           .arg(ResultsFileCapacity + 1)
                           .arg(whole)
                           .arg(ResultsFileCapacity));
    }
    if (rest > 0) {
        ignored.append(
            (rest == 1 ? QStringLiteral("1 Byte") : QStringLiteral("%1 Bytes").arg(rest)) +
            QStringLiteral(" am Ende nicht gelesen: kein ganzer Datensatz"));
    }
    return ignored;
}

int GameHistory::add(const QList<OverallResultRecord> &records, const QString &fileName)
{
    if (!fileName.isEmpty() && !m_files.contains(fileName))
        m_files.append(fileName);
    int added = 0;
    for (const OverallResultRecord &record : records) {
        // Re-encoded, so bytes that carry no meaning cannot make one game two.
        const QByteArray key = record.toBytes();
        if (m_seen.contains(key))
            continue;
        m_seen.insert(key);
        m_games.append({record, RecordMoment(record.DateTime)});
        ++added;
    }
    // Stable, so games saved in the same second keep their file order.
    std::stable_sort(
        m_games.begin(), m_games.end(),
        [](const HistoryGame &a, const HistoryGame &b) { return a.moment < b.moment; });
    return added;
}

std::optional<LinearFit> FitLeastSquares(const QList<QPointF> &points)
{
    if (points.size() < 2)
        return std::nullopt;
    double meanX = 0;
    double meanY = 0;
    for (const QPointF &p : points) {
        meanX += p.x();
        meanY += p.y();
    }
    meanX /= double(points.size());
    meanY /= double(points.size());
    // Centred sums: x values are milliseconds since 1970, whose squares lose all precision.
    double sxx = 0;
    double sxy = 0;
    for (const QPointF &p : points) {
        sxx += (p.x() - meanX) * (p.x() - meanX);
        sxy += (p.x() - meanX) * (p.y() - meanY);
    }
    if (sxx <= 0)
        return std::nullopt;
    LinearFit fit;
    fit.slope = sxy / sxx;
    fit.intercept = meanY - fit.slope * meanX;
    return fit;
}

QList<QPointF> PercentPoints(const QList<HistoryGame> &games)
{
    QList<QPointF> points;
    for (const HistoryGame &game : games) {
        if (const std::optional<double> percent = PercentAchieved(game.record))
            points.append(QPointF(double(game.moment.toMSecsSinceEpoch()), *percent));
    }
    return points;
}

QString DisturbanceKindText(const QString &label)
{
    const QString code = label.trimmed();
    if (code.isEmpty())
        return QStringLiteral("keine Angabe");
    if (code == QLatin1String("-"))
        return QStringLiteral("keine");
    if (code == QLatin1String("T"))
        return QStringLiteral("Texte");
    if (code.startsWith(QLatin1String("H_"))) {
        static const QList<QPair<QString, QString>> continents = {
            {QStringLiteral("Eu"), QStringLiteral("Europa")},
            {QStringLiteral("As"), QStringLiteral("Asien")},
            {QStringLiteral("Af"), QStringLiteral("Afrika")},
            {QStringLiteral("Am"), QStringLiteral("Amerika")},
            {QStringLiteral("Au"), QStringLiteral("Australien")},
            {QStringLiteral("Er"), QStringLiteral("allen Kontinenten")}};
        for (const auto &[abbreviation, continent] : continents) {
            if (code.mid(2) == abbreviation)
                return QStringLiteral("Hauptstädte (%1)").arg(continent);
        }
        return code;
    }
    if (code.startsWith(QLatin1String("R-")))
        return QStringLiteral("Kreise treffen (%1)").arg(code);
    if (code.startsWith(QLatin1String("B-")))
        return QStringLiteral("Billard (%1)").arg(code);
    return code;
}

QString GameToolTip(const HistoryGame &game)
{
    const OverallResultRecord &r = game.record;
    const std::optional<double> percent = PercentAchieved(r);
    const QString points =
        percent ? QStringLiteral("%1 von %2 Punkten (%3 %)")
                      .arg(r.PointsAchieved)
                      .arg(r.PointsPossible)
                      .arg(DecimalCommaText(*percent))
                : QStringLiteral("%1 von %2 Punkten (keine Punkte möglich, nicht im Trend)")
                      .arg(r.PointsAchieved)
                      .arg(r.PointsPossible);
    return QStringList{dateText(game.moment) + QLatin1Char(' ') + timeText(game.moment),
                       QStringLiteral("Name: ") + printableText(r.PlayerName.text()),
                       QStringLiteral("Störung: ") +
                           printableText(DisturbanceKindText(r.Disturbance.text())),
                       QStringLiteral("S-Grad %1, Zeitfaktoren %2/%3, Zeitzugabe %4")
                           .arg(r.DifficultyLevel)
                           .arg(r.PresentTimeFactor)
                           .arg(r.WaitTimeFactor)
                           .arg(r.TimeAllowanceSteps),
                       points}
        .join(QLatin1Char('\n'));
}

QString DecimalCommaText(double value)
{
    return QString::number(value, 'f', 1).replace(QLatin1Char('.'), QLatin1Char(','));
}

QString CsvField(const QString &text)
{
    static const QRegularExpression plainNumber(
        QRegularExpression::anchoredPattern(QStringLiteral("-?[0-9]+(,[0-9]+)?")));
    QString cell = text;
    if (!cell.isEmpty() && QStringLiteral("=+-@\t\r").contains(cell[0]) &&
        cell != QLatin1String("-") && !plainNumber.match(cell).hasMatch())
        cell.prepend(QLatin1Char('\''));
    const bool quoted = cell.contains(QLatin1Char(';')) || cell.contains(QLatin1Char('"')) ||
                        cell.contains(QLatin1Char('\n')) || cell.contains(QLatin1Char('\r'));
    if (!quoted)
        return cell;
    cell.replace(QLatin1Char('"'), QStringLiteral("\"\""));
    return QLatin1Char('"') + cell + QLatin1Char('"');
}

QStringList HistoryCsvHeader()
{
    QStringList header = {QStringLiteral("Datum"),
                          QStringLiteral("Uhrzeit"),
                          QStringLiteral("Name"),
                          QStringLiteral("Störung"),
                          QStringLiteral("S-Grad"),
                          QStringLiteral("Zeitfaktor Vorgabe"),
                          QStringLiteral("Zeitfaktor Warten"),
                          QStringLiteral("Zeitzugabe"),
                          QStringLiteral("Punkte möglich"),
                          QStringLiteral("Punkte erreicht"),
                          QStringLiteral("Prozent")};
    for (int round = 1; round <= 6; ++round)
        header.append(QStringLiteral("Runde %1 Punkte möglich").arg(round));
    return header;
}

QStringList HistoryCsvFields(const HistoryGame &game)
{
    const OverallResultRecord &r = game.record;
    QStringList fields = {dateText(game.moment),
                          timeText(game.moment),
                          r.PlayerName.text(),
                          r.Disturbance.text().trimmed(),
                          QString::number(r.DifficultyLevel),
                          QString::number(r.PresentTimeFactor),
                          QString::number(r.WaitTimeFactor),
                          QString::number(r.TimeAllowanceSteps),
                          QString::number(r.PointsPossible),
                          QString::number(r.PointsAchieved),
                          percentText(r)};
    for (const quint8 points : r.RoundPointsPossible)
        fields.append(QString::number(points));
    return fields;
}

QByteArray HistoryCsv(const QList<HistoryGame> &games)
{
    const auto line = [](const QStringList &fields) {
        QStringList cells;
        for (const QString &field : fields)
            cells.append(CsvField(field));
        return cells.join(QLatin1Char(';')) + QStringLiteral("\r\n");
    };
    QString text = line(HistoryCsvHeader());
    for (const HistoryGame &game : games)
        text += line(HistoryCsvFields(game));
    return QByteArrayLiteral("\xEF\xBB\xBF") + text.toUtf8();
}

QString HistoryTableText(const QList<HistoryGame> &games)
{
    const QStringList heads = {
        QStringLiteral("Datum"),   QStringLiteral("Zeit"),   QStringLiteral("Name"),
        QStringLiteral("Störung"), QStringLiteral("S-Grad"), QStringLiteral("Zeitfaktoren"),
        QStringLiteral("Zeitz."),  QStringLiteral("Punkte"), QStringLiteral("Prozent")};
    // Texts are left-aligned, numbers right-aligned.
    const QList<bool> rightAligned = {false, false, false, false, true, true, true, true, true};
    QList<QStringList> rows = {heads};
    for (const HistoryGame &game : games) {
        const OverallResultRecord &r = game.record;
        const QString percent = percentText(r);
        rows.append(
            {dateText(game.moment), timeText(game.moment), printableText(r.PlayerName.text()),
             printableText(r.Disturbance.text().trimmed()), QString::number(r.DifficultyLevel),
             QStringLiteral("%1/%2").arg(r.PresentTimeFactor).arg(r.WaitTimeFactor),
             QString::number(r.TimeAllowanceSteps),
             QStringLiteral("%1/%2").arg(r.PointsAchieved).arg(r.PointsPossible),
             percent.isEmpty() ? QStringLiteral("-") : percent});
    }
    QList<qsizetype> widths(heads.size(), 0);
    for (const QStringList &row : rows)
        for (qsizetype column = 0; column < row.size(); ++column)
            widths[column] = std::max(widths[column], row[column].size());
    QString text;
    for (const QStringList &row : rows) {
        QStringList cells;
        for (qsizetype column = 0; column < row.size(); ++column) {
            const int width = int(widths[column]);
            cells.append(rightAligned[column] ? row[column].rightJustified(width)
                                              : row[column].leftJustified(width));
        }
        // No blanks at the line end from the padding of the last column.
        text += cells.join(QStringLiteral("  ")).trimmed() + QLatin1Char('\n');
    }
    switch (games.size()) {
    case 0:
        text += QStringLiteral("Keine Spiele\n");
        break;
    case 1:
        text += QStringLiteral("1 Spiel\n");
        break;
    default:
        text += QStringLiteral("%1 Spiele\n").arg(games.size());
    }
    return text;
}
