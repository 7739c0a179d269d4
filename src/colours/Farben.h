// SPDX-License-Identifier: GPL-3.0-or-later
// The colour-sequence exercise "Farben merken": colour codes, settings checks and its window.
#pragma once

#include "common/ModalForm.h"
#include "common/PhaseTimer.h"
#include "common/SharedState.h"

#include <QColor>
#include <QLabel>
#include <QTimer>

#include <array>

class QAction;
class QLineEdit;
class QMenuBar;
class QPushButton;

constexpr int MaxColourCount = 40;
constexpr int ColourCodeCount = 6;
constexpr int MaxDurationMs = 10000;

// Colour codes 1..6: red, blue, green, yellow, brown, grey; others give an invalid colour.
QColor ColourOfCode(int code);
// The number fields let only digits and backspace through.
bool PassesNumberKeyFilter(QChar key);

// What a number field's text means when the field is left.
struct SettingCheck
{
    enum Outcome
    {
        NotANumber,
        OutOfRange,
        Accepted
    };
    Outcome outcome = NotANumber;
    int value = 0;
};
// Accepted for whole numbers 1..maximum.
SettingCheck CheckSetting(const QString &text, int maximum);

inline const QString ColourCountRefusal =
    QStringLiteral("Gib bitte eine Natürliche Zahl n\nmit   0 < n < 41  ein !");
inline const QString DurationRefusal =
    QStringLiteral("Gib bitte eine Natürliche Zahl n\nmit   0 < n < 10 001  ein !");
inline const QString RuleHintText = QStringLiteral(
    "Clicke nun die Farbtafeln in der Reihenfolge an,\nin der die Farben gezeigt wurden!");
inline const QString ColoursHelpText = QStringLiteral(
    "Nehmen Sie bitte die Einstellungen im unteren Bildschirmabschnitt vor\nund klicken auf "
    "'Start.\nDann werden in einer bestimmten Reihenfolge Farben gezeigt.\nKlicken Sie diese "
    "Farben in genau derselben Reihenfolge anschließend im kleinen\nFarbenfeld oben links an."
    "\nStatt zu klicken, können Sie auch die Tasten 1 bis 6 für die\nFarbfelder von links nach "
    "rechts drücken, und „Symbole ein“ im Menü\n„Einstellungen“ gibt jeder Farbe ein eigenes "
    "Zeichen.");

// Positions 1..40; position 0 is unused.
using ColourSequence = std::array<Byte, MaxColourCount + 1>;

extern Byte ColourCount;
extern int ShowDurationMs;
extern int PauseLengthMs;
extern ColourSequence ShownColours;
extern ColourSequence ClickedColours;
extern Byte ShownCount;
extern Byte AnswerCount;
extern Byte CorrectCount;
extern bool SequenceComplete;
extern bool RuleHintOn;
// Each colour carries its own symbol, for players who cannot tell the colours apart.
extern bool SymbolsOn;

// A coloured panel that reports clicks and may carry the symbol of a colour code.
class TColourPanel : public QLabel
{
    Q_OBJECT

public:
    TColourPanel(QWidget *parent, const QString &name, const QColor &colour, const QRect &geometry);

    void setColour(const QColor &colour);
    QColor colour() const;
    // The symbol of colour code 1..6 in black or white over the panel; 0 for none.
    void setSymbol(int code);
    int symbol() const { return m_symbol; }

signals:
    void clicked();

protected:
    void mouseReleaseEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    int m_symbol = 0;
};

class TForm_Farben : public ModalForm
{
    Q_OBJECT

public:
    explicit TForm_Farben(QWidget *parent = nullptr);

    QMenuBar *MainMenu1 = nullptr;
    QAction *beenden1 = nullptr;
    QAction *Regelhinweis1 = nullptr;
    QAction *Symbole1 = nullptr;
    QAction *Hilfe1 = nullptr;
    // Answer panels in the order of the colour codes 1..6.
    std::array<TColourPanel *, ColourCodeCount> answerPanels{};
    TColourPanel *Panel_rot = nullptr;
    TColourPanel *Panel_blau = nullptr;
    TColourPanel *Panel_gruen = nullptr;
    TColourPanel *Panel_gelb = nullptr;
    TColourPanel *Panel_braun = nullptr;
    TColourPanel *Panel_grau = nullptr;
    TColourPanel *Panel_Farbe = nullptr;
    QLabel *Label_Kontrolle = nullptr;
    QLabel *Panel_Kontrolle = nullptr;
    QLabel *Label_Richtige = nullptr;
    QLabel *Panel_Richtige = nullptr;
    QLineEdit *Edit_Anzahl = nullptr;
    QLineEdit *Edit_Zeige_Dauer = nullptr;
    QLineEdit *Edit_Pausen_Laenge = nullptr;
    QPushButton *Start = nullptr;
    PhaseTimer Timer1;
    PhaseTimer Timer2;

    // Runs once per showing of the window, not on every reactivation (a message box
    // closing must not reset a running answer phase).
    void FormActivate() override;
    void StartClick();
    void Timer1Timer();
    void Timer2Timer();
    void Panel_rotClick() { RecordColourClick(1); }
    void Panel_blauClick() { RecordColourClick(2); }
    void Panel_gruenClick() { RecordColourClick(3); }
    void Panel_gelbClick() { RecordColourClick(4); }
    void Panel_braunClick() { RecordColourClick(5); }
    void Panel_grauClick() { RecordColourClick(6); }
    void Edit_AnzahlKeyPress(QChar &key);
    void Edit_Zeige_DauerKeyPress(QChar &key);
    void Edit_Pausen_LaengeKeyPress(QChar &key);
    // Each returns false when the field refused its text and took the focus back.
    bool Edit_AnzahlExit();
    bool Edit_Zeige_DauerExit();
    bool Edit_Pausen_LaengeExit();
    void Regelhinweis1Click();
    void Symbole1Click();
    void Hilfe1Click();
    void beenden1Click();

    bool isAnswering() const { return m_answering; }

protected:
    void FormClose() override;
    bool eventFilter(QObject *watched, QEvent *event) override;
    // Keys 1..6 answer like the panels 1..6.
    void keyPressEvent(QKeyEvent *event) override;
    void hideEvent(QHideEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    void FormCreate();
    void createMenu();
    void createAnswerPanels();
    void createResultControls();
    void createSettingsControls();
    QLineEdit *createNumberField(const QString &name, const QString &caption, int x, int y);

    void SetColourPanelsVisible(bool visible);
    void SetInputsEnabled(bool enabled);
    void SetCountersVisible(bool visible);
    void RecordColourClick(Byte code);
    void StopSequence();
    // Shows `code` (0 for blank) in the large panel, with its symbol while symbols are on.
    void showInColourPanel(Byte code);
    void updateSymbols();
    bool checkNumberField(QLineEdit *field, int maximum, const QString &refusal, int &setting);
    bool leaveNumberField(QLineEdit *field);

    bool m_activatedSinceShown = false;
    bool m_answering = false;
    Byte m_codeOnDisplay = 0;
};

extern TForm_Farben *Form_Farben;
