// SPDX-License-Identifier: GPL-3.0-or-later
// Keeping the journal: the program's journal, what it records of each game, the verdict line.
#include "results/Tagebuchfuehrung.h"

#include "common/MessageBoxes.h"
#include "common/RandomClock.h"
#include "common/SharedState.h"
#include "exercise/Muw.h"

#include <QApplication>
#include <QComboBox>

#include <memory>

namespace JournalKeeping {
namespace {
const QString ConnectionName = QStringLiteral("Tagebuch");

std::unique_ptr<Tagebuch> journal;
// Opening failed: the journal is not tried again in this run.
bool unavailable = false;
QString unavailableReason;

// The games of this run are counted, so a verdict or a saved record is only ever matched
// with the game it belongs to.
int gameSerial = 0;
int recordedSerial = -1;
qint64 recordedGameId = 0;
bool recordedThisGame = false;
QString verdict;
} // namespace

Tagebuch *Journal()
{
    if (journal)
        return journal.get();
    if (unavailable)
        return nullptr;
    auto opened = std::make_unique<Tagebuch>(Tagebuch::DefaultPath(), ConnectionName);
    if (!opened->open()) {
        const QStringList messages = opened->takeMessages();
        unavailable = true;
        unavailableReason = messages.join(QStringLiteral("\n\n"));
        for (const QString &message : messages)
            ShowError(message);
        return nullptr;
    }
    journal = std::move(opened);
    return journal.get();
}

void Open()
{
    Journal();
    ShowMessages();
}

void ShowMessages(QWidget *parent)
{
    if (!journal)
        return;
    for (const QString &message : journal->takeMessages()) {
        ShowError(message, parent);
    }
}

void Close()
{
    if (journal && journal->pendingCount() > 0 && !journal->writePending()) {
        // The program ends: what could not be written is lost, and says why once.
        journal->takeMessages();
        const qsizetype count = journal->pendingCount();
        ShowError(QStringLiteral("%1 ins Tagebuch geschrieben werden: %2\n%3")
                      .arg(count == 1 ? QStringLiteral("Ein Eintrag konnte nicht")
                                      : QStringLiteral("%1 Einträge konnten nicht").arg(count),
                           journal->lastFailure(),
                           count == 1 ? QStringLiteral("Er geht verloren.")
                                      : QStringLiteral("Sie gehen verloren.")));
    }
    ShowMessages();
    journal.reset();
    unavailable = false;
    unavailableReason.clear();
    recordedSerial = -1;
    recordedGameId = 0;
    verdict.clear();
}

JournalGame CurrentGame(const QDateTime &end)
{
    JournalGame game;
    game.end = end;
    game.endedBy = TimeoutAbort == 1 ? GameEnd::TimeLimit : GameEnd::AfterRound6;
    game.player = PlayerName.text();
    game.level = DifficultyLevel;
    game.presentFactor = PresentTimeFactor;
    game.waitFactor = WaitTimeFactor;
    game.allowanceSteps = TimeAllowanceSteps;
    game.disturbance = GameDisturbanceLabel.text();
    if (Form_MuW) {
        game.disturbanceKind =
            Form_MuW->DisturbanceOn() ? Form_MuW->Radio_TextHstRinge->ItemIndex() : -1;
        game.continent = Form_MuW->Radio_Stoeren_Hst->ItemIndex();
        game.speed = Form_MuW->Edit_Speed->currentText();
    }
    game.cushions = CushionCount;
    game.billiardStep = BilliardStep;
    game.ringsMode = RingsModeCode.text();
    game.billiardCorrection = BilliardCorrectionCode.text();
    game.backgroundText = BackgroundTextOn == 1;
    game.hintPanel = HintPanelOn == 1;
    game.windowCaption = WindowCaptionOn == 1;
    game.remainingTime = RemainingTimeDisplayOn == 1;
    game.achieved = PointsAchieved;
    game.possible = PointsPossible;
    for (int round = 1; round <= RoundsPerGame; ++round) {
        JournalRound &r = game.rounds[size_t(round - 1)];
        r.presented = PresentedSequences[round].text();
        r.typed = ReproducedSequences[round].text();
        r.marks = SymbolMarks[round].text();
        r.disturbance = RoundDisturbanceLabels[round].text();
        r.achieved = RoundPointsAchieved[round];
        r.possible = RoundPointsPossible[round];
    }
    return game;
}

void GameStarted()
{
    ++gameSerial;
    recordedThisGame = false;
    verdict.clear();
}

void RecordGame()
{
    if (recordedThisGame)
        return;
    recordedThisGame = true;
    verdict.clear();
    Tagebuch *kept = Journal();
    if (!kept || !kept->keeping())
        return;
    const JournalGame game = CurrentGame(RandomClock::now());
    if (kept->record(game)) {
        recordedSerial = gameSerial;
        recordedGameId = kept->lastGameId();
    }
    const QList<Score> previous = kept->lastScores(game.level, 1, game.end);
    verdict = VerdictText(game.score(), game.level,
                          previous.isEmpty() ? std::nullopt : std::optional(previous.first()),
                          kept->bestScore(game.level, game.end));
    kept->repairIfDamaged();
    ShowMessages();
}

void RecordColourRun(int count, int showMs, int pauseMs, int correct)
{
    Tagebuch *kept = Journal();
    if (!kept || !kept->keeping())
        return;
    kept->record(ColourRun{0, RandomClock::now(), count, showMs, pauseMs, correct});
    ShowMessages();
}

QString Verdict()
{
    return verdict;
}

void NoteSavedRecord(const OverallResultRecord &record)
{
    if (journal && recordedSerial == gameSerial && recordedGameId > 0)
        journal->noteSavedRecord(recordedGameId, record);
}

QString SwitchCaption()
{
    const Tagebuch *kept = journal ? journal.get() : (unavailable ? nullptr : Journal());
    return kept && kept->keeping() ? QStringLiteral("Tage&buch führen aus")
                                   : QStringLiteral("Tage&buch führen ein");
}

void ToggleSwitch(QWidget *parent)
{
    Tagebuch *kept = Journal();
    if (!kept) {
        ShowError(unavailableReason, parent);
        return;
    }
    kept->setKeeping(!kept->keeping());
    ShowMessages(parent);
}

std::optional<LevelSuggestion> Suggestion(int level)
{
    Tagebuch *kept = Journal();
    if (!kept)
        return std::nullopt;
    const QList<Score> scores = kept->lastScores(level, 2);
    ShowMessages();
    return SuggestLevel(level, scores);
}

void SuggestLevelInto(QComboBox *levelList, QWidget *parent)
{
    bool isNumber = false;
    const int level = levelList->currentText().trimmed().toInt(&isNumber);
    if (!isNumber || level < LowestLevel || level > TopLevel) {
        ShowInformation(QStringLiteral("Wähl zuerst einen Schwierigkeitsgrad aus der Liste."),
                        parent);
        return;
    }
    const std::optional<LevelSuggestion> suggestion = Suggestion(level);
    if (!suggestion) {
        ShowError(unavailableReason, parent);
        return;
    }
    const QString entry = QStringLiteral("%1").arg(suggestion->level, 2, 10, QLatin1Char('0'));
    levelList->setCurrentIndex(levelList->findText(entry));
    // A typed text of the same value stays in an editable list unless it is replaced too.
    levelList->setEditText(entry);
    ShowInformation(suggestion->reason +
                        QStringLiteral("\nDer Schwierigkeitsgrad steht jetzt auf %1.").arg(entry),
                    parent);
}

} // namespace JournalKeeping
