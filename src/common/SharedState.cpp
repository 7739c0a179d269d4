// SPDX-License-Identifier: GPL-3.0-or-later
// The state shared by the windows: settings, the game's rounds and results.
#include "common/SharedState.h"

Byte DifficultyLevel = 3;
int PresentTimeFactor = 60;
int WaitTimeFactor = 60;
int TimeAllowanceSteps = 13;
int TimeAllowanceMs = 130000;
Byte CushionCount = 2;
int TaskTimerInterval = 1;
int BilliardStep = 14;
int RingsTargetScore = 230;
Byte RingsExactMode = 0;
ShortString<1> RingsModeCode;
Byte BilliardCorrection = 1;
ShortString<1> BilliardCorrectionCode;
Byte BilliardShotRunning = 0;
Byte BackgroundTextOn = 0;
Byte HintPanelOn = 0;
Byte WindowCaptionOn = 0;
Byte RemainingTimeDisplayOn = 0;

Byte RoundNumber = 0;
Byte RoundLevel = 0;
QString SequenceText;
Byte SequenceLength = 0;
RoundArray<ShortString<255>> PresentedSequences;
RoundArray<ShortString<255>> ReproducedSequences;
RoundArray<ShortString<255>> SymbolMarks;
RoundArray<Byte> RoundPointsPossible;
RoundArray<int> RoundPointsAchieved;
int PointsPossible = 0;
int PointsAchieved = 0;
RoundArray<ShortString<12>> RoundDisturbanceLabels;
ShortString<15> GameDisturbanceLabel;
Byte RunFinished = 0;
Byte TimeoutAbort = 0;
int RemainingSeconds = 0;
Byte ResultSaved = 1;
Byte DisturbanceRound1 = 0;
Byte DisturbanceRound2 = 0;
Byte SecondCapitalQuestion = 0;
Byte SecondTextQuestion = 0;
QDateTime GameEndTime;

ShortString<12> PlayerName;
ShortString<79> ResultsFileName;

QByteArray CapitalsBuffer;
QImage MainBitmap;
