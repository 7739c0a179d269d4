// SPDX-License-Identifier: GPL-3.0-or-later
// The exercise window: a game's rounds, sequences, phases and scoring.
#pragma once

#include "common/ModalForm.h"
#include "common/PhaseTimer.h"
#include "common/SharedState.h"

#include <QLabel>
#include <QStringList>

#include <array>
#include <functional>

class QLineEdit;

// The sequences, their scoring and the result labels of a game, free of windows.

// "1" … "9" and the letters without "O" and "V", each after a blank (" 7", " K").
constexpr int SymbolCount = 33;
QString SymbolTableEntry(int index); // index 1..33

struct SequenceSpec
{
    int count = 0;
    bool letters = false;
};
// Length and kind of the sequence of a round (1..6) at a difficulty level (1..15).
SequenceSpec SequenceSpecFor(int level, int round);
// A sequence as displayed: table entries joined, so a blank stands before every symbol.
// random(n) yields 0 .. n - 1.
QString DrawSequence(int level, int round, const std::function<int(int)> &random);
// Weight of a presented symbol: 3 for a digit, 4 for a letter.
int SymbolWeight(QChar symbol);

struct RoundScore
{
    int possible = 0;
    int achieved = 0;
    QString marks; // "w" or "f" per presented symbol
};
// Scores typed against presented symbol by symbol; typing beyond the presented length is ignored.
RoundScore ScoreSequence(const QString &presented, const QString &typed);

// Phase time of a sequence: factor × symbols × 10 ms.
constexpr int PhaseIntervalMs(int factor, int symbols)
{
    return factor * symbols * 10;
}

// The disturbance settings that go into the result labels.
struct DisturbanceChoice
{
    bool on = false;
    int kind = 1;      // Radio_TextHstRinge index
    int continent = 0; // Radio_Stoeren_Hst index
    QString ringsModeCode;
    QString correctionCode;
    int cushions = 0;
    int billiardStep = 0;
    QString speedText;
};
struct DisturbanceLabelSet
{
    std::array<QString, 6> rounds; // rounds 1..6 at 0..5
    QString game;
};
// Only rounds up to lastDisturbableRound count as disturbed: a game ended by the time limit
// never reached the disturbances of its later rounds. Without a disturbed round the game
// label is the undisturbed one.
DisturbanceLabelSet MakeDisturbanceLabels(const DisturbanceChoice &choice, int disturbedRound1,
                                          int disturbedRound2,
                                          int lastDisturbableRound = RoundsPerGame);

// Which background text each of the 19 labels shows (label 1..19), in the first or second set.
QString BackgroundText(bool firstSet, int label);
constexpr int BackgroundLabelCount = 19;

// Geometry of the exercise window computed at its activation.
struct ExerciseGeometry
{
    int panelWidth = 0;
    int panelLeft = 0;
    int inputWidth = 0;
    int inputLeft = 0;
};
ExerciseGeometry ComputeExerciseGeometry(int roundLevel, int clientWidth, int outerWidth);

// The exercise window: one game of six rounds, shown modally from the settings window.
class TForm_MuW_Zahlen : public ModalForm
{
    Q_OBJECT

public:
    explicit TForm_MuW_Zahlen(QWidget *parent = nullptr);

    QLabel *Panel_MuW_Zahlen = nullptr;
    QLabel *Panel_Schatten_Zahlenfenster = nullptr;
    QLabel *Panel_bitte_merken = nullptr;
    QLabel *Panel_Schatten_bitte_merken = nullptr;
    QLineEdit *Edit_Wiedergeben = nullptr;
    QLabel *Panel_RestZeit = nullptr;
    std::array<QLabel *, BackgroundLabelCount> Label_HG_Text{}; // Label_HG_Text_1 at 0
    PhaseTimer Timer_MuW_Merken;
    PhaseTimer Timer_MuW_Warten;

    // Runs one whole game; returns when the exercise window has closed.
    void StartGame();
    // StartGame up to showing the window; false when the game did not start.
    bool PrepareGame();

    void FormActivate() override;
    void FormDeactivate() override;
    bool FormCloseQuery() override;
    void Timer_MuW_MerkenTimer();
    void Timer_MuW_WartenTimer();
    // Input filter: a discarded key is set to the null character; Enter is '\r'.
    void Edit_WiedergebenKeyPress(QChar &key);
    void Edit_WiedergebenChange();

    void NextRound();
    void StartWaitPhase();
    void StartReproducePhase();
    void StartMemorisePhase();
    void ScoreRound(int round);
    void BuildDisturbanceLabels();

    void SetBackgroundTexts(bool firstSet);
    void SetBackgroundVisible(bool visible);
    void SetHintPanelVisible(bool visible);
    // The phase prefix of the caption, or empty while captions are switched off.
    void SetPhaseCaption(const QString &caption);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void hideEvent(QHideEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    void FormCreate();
    void createControls();
    void arrangeControls();
    void restoreDesignColours();
    void presentSequence();
    void enterPressed();
    void finishGame();
    bool gameStillRunning() const;

    // Activation is done once per game, when StartGame shows the window.
    bool m_activationPending = false;
    // The window is showing a game; its closing brings the settings controls back.
    bool m_gameOpen = false;
    // The last round of this game whose waiting phase ended, so its disturbance came.
    int m_lastWaitedRound = 0;
};

extern TForm_MuW_Zahlen *Form_MuW_Zahlen;
