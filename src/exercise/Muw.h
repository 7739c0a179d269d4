// SPDX-License-Identifier: GPL-3.0-or-later
// The settings window of the memorise-and-reproduce exercise and the overall time limit.
#pragma once

#include "common/ModalForm.h"

#include <QGroupBox>
#include <QStringList>
#include <QTimer>

class QAction;
class QButtonGroup;
class QComboBox;
class QFileDialog;
class QLabel;
class QMenuBar;
class QPushButton;
class QRadioButton;

// Settings of the memorise-and-reproduce exercise that need no window.

// Level and time factors: typed text is refused when it is no number, exceeds the maximum, or
// is zero once it has its full width ("00", "000"); a shorter "0" may still become "07".
bool SettingTextRefused(const QString &text, int maximum, int width);
// Leading zeros up to width; an empty text stays empty.
QString WithLeadingZeros(const QString &text, int width);
// The typed characters the level and factor lists accept: digits, backspace and Enter.
bool IsSettingsKeyAccepted(QChar key);
// Speed 0..100 of the rings and billiards tasks as their timer interval 101..1.
constexpr int TaskTimerIntervalForSpeed(int speed)
{
    return 101 - speed;
}
// The allowance of 10-second steps in milliseconds.
constexpr int AllowanceMsForSteps(int steps)
{
    return steps * 10 * 1000;
}

inline constexpr int LevelWidth = 2;
inline constexpr int LevelMaximum = 15;
inline constexpr int TimeFactorWidth = 3;
inline constexpr int TimeFactorMaximum = 400;

inline const QString LevelRefusedMessage = QStringLiteral(
    "Gib bitte eine kleinere Natürliche Zahl\nals 16 ein oder klicke den nebenstehenden\n"
    "Pfeil an, und wähle dann einen \nSchwierigkeitsgrad aus der Liste!");
inline const QString TimeFactorRefusedMessage = QStringLiteral(
    "Gib bitte eine kleinere Natürliche Zahl\nals 401 ein oder klicke den nebenstehenden\n"
    "Pfeil an, und wähle dann einen \nZeitfaktor aus der Liste!");
inline const QString LevelZeroMessage = QStringLiteral(
    "Der Schwierigkeitsgrad muss mindestens 1 sein.\nGib bitte eine Zahl von 1 bis 15 ein oder "
    "klicke\nden nebenstehenden Pfeil an und wähle dann einen\nSchwierigkeitsgrad aus der Liste!");
inline const QString TimeFactorZeroMessage = QStringLiteral(
    "Der Zeitfaktor muss mindestens 1 sein.\nGib bitte eine Zahl von 1 bis 400 ein oder "
    "klicke\nden nebenstehenden Pfeil an und wähle dann einen\nZeitfaktor aus der Liste!");
inline const QString UnsavedResultQuestion =
    QStringLiteral("Es liegt ein nicht-gespeichertes\nGesamtergebnis vor!\nWillst Du dieses "
                   "Gesamtergebnis\nzunächst sichern?");
inline const QString SettingsHelpText = QStringLiteral(
    "Eine Anleitung zur Bedienung des Programms finden Sie\nin der beigefügten *.doc-Datei!\n\n"
    "Die 6 wesentliche Schritte daraus sind auf diesem Bildschirm\nzu finden.");
inline const QString TimeoutMessage =
    QStringLiteral("Wegen Zeitüberschreitung wurde dieses\nSpiel abgebrochen!");

// Time of a game in whole seconds: round 1's memorise and waiting time plus the allowance.
int GameTimeSeconds(int waitFactor, int presentFactor, int firstLength, int allowanceMs);
// The remaining-time display, "mm : ss"; empty while the display is switched off.
QString RemainingTimeText(int seconds, bool displayOn);

// A captioned group of radio buttons of which one is selected (ItemIndex, 0-based).
class TRadioGroup : public QGroupBox
{
    Q_OBJECT

public:
    // The buttons are placed inside geometry, filling the columns from top to bottom.
    TRadioGroup(const QString &name, const QString &caption, const QStringList &items, int columns,
                const QRect &geometry, QWidget *parent);

    int ItemIndex() const;
    void setItemIndex(int index);
    int count() const { return int(m_buttons.size()); }
    QRadioButton *button(int index) const;

signals:
    // The player selected an entry.
    void clicked();

private:
    void updateTabStop();

    QButtonGroup *m_group = nullptr;
    QList<QRadioButton *> m_buttons;
};

// Indices of the disturbance choices.
enum StoerenIndex : int
{
    StoerenEin = 0,
    StoerenAus = 1
};
enum DisturbanceKindChoice : int
{
    ChoiceTexte = 0,
    ChoiceHauptstaedte = 1,
    ChoiceKreise = 2,
    ChoiceBillard = 3
};

class TForm_MuW : public ModalForm
{
    Q_OBJECT

public:
    explicit TForm_MuW(QWidget *parent = nullptr);

    QMenuBar *MainMenu1 = nullptr;
    QAction *oeffnen1 = nullptr;
    QAction *speichern1 = nullptr;
    QAction *Nameneingeben1 = nullptr;
    QAction *speichernunter1 = nullptr;
    QAction *Beenden1 = nullptr;
    QAction *letztesEinzelergebniszeigen1 = nullptr;
    QAction *Einstellungen1 = nullptr;
    QAction *Hintergrund_Text = nullptr;
    QAction *Hinweisfenster = nullptr;
    QAction *Fensterueberschrift = nullptr;
    QAction *AnzeigederRestzeitaus1 = nullptr;
    QAction *EinstellungenzumStren1 = nullptr;
    QAction *RingeGenau = nullptr;
    QAction *BillardKorrektureinaus = nullptr;
    QAction *Hilfe1 = nullptr;
    QAction *Verlauf1 = nullptr;
    QAction *Tagebuchfuehren1 = nullptr;
    QAction *Stufevorschlagen1 = nullptr;

    QLabel *Panel_Einstellungen_MuW = nullptr;
    QLabel *Label1 = nullptr;
    QLabel *Label2 = nullptr;
    QLabel *Label3 = nullptr;
    QLabel *Label4 = nullptr;
    QLabel *Label5 = nullptr;
    QLabel *Label6 = nullptr;
    QWidget *Panel_Zwi_Linie_1 = nullptr;
    QWidget *Panel_Zwi_Linie_2 = nullptr;
    QLabel *Label_S_MuW = nullptr;
    QComboBox *Edit_S_MuW = nullptr;
    QLabel *Label_Zeitfaktor_Vorgaben = nullptr;
    QComboBox *Edit_Zeitfaktor_Vorgaben = nullptr;
    QLabel *Label_Zeitfaktor_Warten = nullptr;
    QComboBox *Edit_Zeitfaktor_Warten = nullptr;
    QLabel *Label_ZeitZugabe = nullptr;
    QComboBox *Edit_ZeitZugabe = nullptr;
    QLabel *Label_BandenZahl = nullptr;
    QComboBox *Edit_BandenZahl = nullptr;
    QLabel *Label_Speed = nullptr;
    QComboBox *Edit_Speed = nullptr;
    QLabel *Label_Schrittweite = nullptr;
    QComboBox *Edit_Schrittweite = nullptr;
    // "Stören ein" (0) / "Stören aus" (1)
    TRadioGroup *Radio_Stoeren = nullptr;
    // "Texte" (0), "Hauptstädte" (1), "Kreise treffen" (2), "Billard" (3)
    TRadioGroup *Radio_TextHstRinge = nullptr;
    // "Europa" (0) … "Australien" (4), "allen Kontinenten" (5)
    TRadioGroup *Radio_Stoeren_Hst = nullptr;
    QPushButton *But_Start = nullptr;
    QPushButton *But_zurueck = nullptr;

    QTimer Timer_GesamtZeit;
    // The results files' dialogs, built when first asked for and kept from then on.
    QFileDialog *SaveDialog();
    QFileDialog *OpenDialog();
    QFileDialog *SaveDialog_Muw = nullptr;
    QFileDialog *OpenDialog_MuW = nullptr;

    void FormActivate() override;

    void But_StartClick();
    void But_zurueckClick();
    void Beenden1Click();
    void oeffnen1Click();
    void Nameneingeben1Click();
    void speichernunter1Click();
    void letztesEinzelergebniszeigen1Click();
    void Hilfe1Click();
    void Verlauf1Click();
    void Tagebuchfuehren1Click();
    void Stufevorschlagen1Click();
    void Hintergrund_TextClick();
    void HinweisfensterClick();
    void FensterueberschriftClick();
    void AnzeigederRestzeitaus1Click();
    void RingeGenauClick();
    void BillardKorrektureinausClick();
    void Radio_StoerenClick();
    void Radio_TextHstRingeClick();
    void Edit_BandenZahlChange();
    void Edit_SpeedChange();
    void Edit_SchrittweiteChange();
    void Edit_ZeitZugabeChange();
    // Key filters: a discarded key is set to the null character.
    void Edit_S_MuWKeyPress(QChar &key);
    void Edit_S_MuWChange();
    void Edit_S_MuWExit();
    void Edit_Zeitfaktor_VorgabenKeyPress(QChar &key);
    void Edit_Zeitfaktor_VorgabenChange();
    void Edit_Zeitfaktor_VorgabenExit();
    void Edit_Zeitfaktor_WartenKeyPress(QChar &key);
    void Edit_Zeitfaktor_WartenChange();
    void Edit_Zeitfaktor_WartenExit();

    // Overall time limit: one tick a second while a game runs.
    void Timer_GesamtZeitTimer();
    // Starts the overall timer and sets the game's time from round 1's sequence length.
    void StartOverallTime(int firstLength);
    void StopOverallTime() { Timer_GesamtZeit.stop(); }

    void HideSettingsControls();
    void ShowSettingsControls();

    // Disturbance choice as the controls show it now.
    bool DisturbanceOn() const;
    bool CapitalsMode() const;
    // Values of the level and factor texts; 0 for an empty or refused text.
    int LevelValue() const;
    int PresentFactorValue() const;
    int WaitFactorValue() const;
    int AllowanceStepsValue() const;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void FormCreate();
    void createMenu();
    void createControls(QWidget *client);
    void selectStartValues();
    void connectHandlers();
    void TimeOut();
    void writeRemainingTime();
    void showRemainingTimeText(const QString &text);
    // Refuses a typed value and empties the list; the shared part of the change handlers.
    void checkRange(QComboBox *list, int maximum, int width, const QString &message);
    void padOnExit(QComboBox *list, int width);
    void updateStartEnabling();
    QComboBox *validatedListFor(QObject *watched) const;
    void runKeyPress(QComboBox *list, QChar &key);

    QWidget *m_client = nullptr;
    // A message box shown by a validation must not start the same validation again.
    bool m_validating = false;
};

extern TForm_MuW *Form_MuW;
