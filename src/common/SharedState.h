// SPDX-License-Identifier: GPL-3.0-or-later
// The state shared by the windows: settings, the game's rounds and results.
#pragma once

#include "common/ShortString.h"

#include <QByteArray>
#include <QDateTime>
#include <QImage>
#include <QString>
#include <QtGlobal>

#include <array>

// State that several windows share (one user, one thread). Flags are bytes holding 0 or 1.
using Byte = quint8;

constexpr int RoundsPerGame = 6;

// True for the rounds 1..6 of a game; RoundNumber is 0 before the first round and 7 after
// a time-out, and those must never index the per-round arrays.
constexpr bool IsGameRound(int round)
{
    return round >= 1 && round <= RoundsPerGame;
}

// Per-round values, indexed by round number 1..6.
template <typename T> class RoundArray
{
public:
    T &operator[](int round)
    {
        Q_ASSERT_X(IsGameRound(round), "RoundArray", "round number out of range");
        return m_values[size_t(IsGameRound(round) ? round - 1 : 0)];
    }
    const T &operator[](int round) const
    {
        Q_ASSERT_X(IsGameRound(round), "RoundArray", "round number out of range");
        return m_values[size_t(IsGameRound(round) ? round - 1 : 0)];
    }
    void fill(const T &value) { m_values.fill(value); }

private:
    std::array<T, RoundsPerGame> m_values{};
};

inline const QString NoPlayerName = QStringLiteral("Wer ist da?");

// Settings (settings window)
extern Byte DifficultyLevel;
extern int PresentTimeFactor;
extern int WaitTimeFactor;
extern int TimeAllowanceSteps;
extern int TimeAllowanceMs;
extern Byte CushionCount;
extern int TaskTimerInterval;
extern int BilliardStep;
extern int RingsTargetScore;
extern Byte RingsExactMode;
extern ShortString<1> RingsModeCode;
extern Byte BilliardCorrection;
extern ShortString<1> BilliardCorrectionCode;
extern Byte BilliardShotRunning;
extern Byte BackgroundTextOn;
extern Byte HintPanelOn;
extern Byte WindowCaptionOn;
extern Byte RemainingTimeDisplayOn;

// The game being played
extern Byte RoundNumber;
extern Byte RoundLevel;
extern QString SequenceText;
extern Byte SequenceLength;
extern RoundArray<ShortString<255>> PresentedSequences;
extern RoundArray<ShortString<255>> ReproducedSequences;
extern RoundArray<ShortString<255>> SymbolMarks;
extern RoundArray<Byte> RoundPointsPossible;
extern RoundArray<int> RoundPointsAchieved;
extern int PointsPossible;
extern int PointsAchieved;
extern RoundArray<ShortString<12>> RoundDisturbanceLabels;
extern ShortString<15> GameDisturbanceLabel;
extern Byte RunFinished;
extern Byte TimeoutAbort;
extern int RemainingSeconds;
extern Byte ResultSaved;
extern Byte DisturbanceRound1;
extern Byte DisturbanceRound2;
extern Byte SecondCapitalQuestion;
extern Byte SecondTextQuestion;
// The moment the last game ended (round 6 entered, time-out or abort); invalid before.
extern QDateTime GameEndTime;

// Player and files
extern ShortString<12> PlayerName;
extern ShortString<79> ResultsFileName;

// 220 capitals records of 50 bytes; allocated after the windows exist, released at the end.
constexpr int CapitalsBufferSize = 11000;
extern QByteArray CapitalsBuffer;

// Off-screen picture of the main window's drawing area.
extern QImage MainBitmap;
