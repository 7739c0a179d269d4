// SPDX-License-Identifier: GPL-3.0-or-later
// Keeping the journal: the program's journal, what it records of each game, the verdict line.
#pragma once

#include "journal/Tagebuch.h"

#include <QString>

#include <optional>

class QComboBox;
class QWidget;

namespace JournalKeeping {

// The program's journal at Tagebuch::DefaultPath(), opened at its first use; null when it
// cannot be used (the player was told why).
Tagebuch *Journal();
// Opens the journal now and shows what went wrong with it. The program calls it once its
// first frame is on the screen, so that checking a large journal never delays that frame.
void Open();
// Writes what is still pending and closes the journal; says what could not be written.
void Close();
// Shows, as error boxes, what the journal has to tell the player.
void ShowMessages(QWidget *parent = nullptr);

// The game that just ended (after round 6 or by the time limit) as the journal keeps it.
JournalGame CurrentGame(const QDateTime &end);
// A new game begins: it has no verdict yet and is not recorded.
void GameStarted();
// Records the game that ended, once per game, while the journal is kept, and works out its
// verdict; nothing happens for a game recorded already.
void RecordGame();
void RecordColourRun(int count, int showMs, int pauseMs, int correct);
// The verdict on the last game recorded; empty while none was, or with the journal off.
QString Verdict();
// The last game was saved in a results file as this record, so importing that file later
// does not count it twice.
void NoteSavedRecord(const OverallResultRecord &record);

// "Tage&buch führen aus" while the journal is kept, "… ein" while it is not.
QString SwitchCaption();
void ToggleSwitch(QWidget *parent = nullptr);
// The level to play after the journal's last games at `level`; none without a journal.
std::optional<LevelSuggestion> Suggestion(int level);
// Puts the suggestion for the list's level into the level list and says why.
void SuggestLevelInto(QComboBox *levelList, QWidget *parent);

} // namespace JournalKeeping
