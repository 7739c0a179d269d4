// SPDX-License-Identifier: GPL-3.0-or-later
// The disturbance dispatcher, the disturbing texts and the capitals presentation.
#pragma once

#include "common/ModalForm.h"
#include "common/SharedState.h"
#include "common/ShortString.h"

#include <QColor>
#include <QLabel>
#include <QPoint>
#include <QSize>

#include <array>

class QFrame;
class QPushButton;

// Values numbered 1..N as the game counts them; other indices never reach the storage.
template <typename T, int N> class OneBasedArray
{
public:
    OneBasedArray() = default;
    explicit OneBasedArray(const std::array<T, N> &values) : m_values(values) {}

    static constexpr bool inRange(int i) { return i >= 1 && i <= N; }
    T &operator[](int i)
    {
        Q_ASSERT_X(inRange(i), "OneBasedArray", "index out of range");
        return m_values[size_t(inRange(i) ? i - 1 : 0)];
    }
    const T &operator[](int i) const
    {
        Q_ASSERT_X(inRange(i), "OneBasedArray", "index out of range");
        return m_values[size_t(inRange(i) ? i - 1 : 0)];
    }

private:
    std::array<T, N> m_values{};
};

// One disturbing text: up to three lines; lines beyond LineCount hold a blank.
struct DisturbingText
{
    std::array<ShortString<60>, 3> Lines;
    Byte LineCount;

    // Line m (1..3); an empty text for other numbers.
    QString line(int m) const;
};

constexpr int DisturbingTextCount = 10;
extern const OneBasedArray<DisturbingText, DisturbingTextCount> DisturbingTexts;

// Record numbers of the three presented countries, top to bottom.
extern OneBasedArray<Byte, 3> PresentedCountries;
// Record numbers of the countries of the game's first and second capital question.
extern OneBasedArray<Byte, 2> AskedCountries;
extern Byte TextNumber1;
extern Byte TextNumber2;
extern Byte AskedLine;
extern Byte AskedCharNumber;
extern ShortString<1> ExpectedCharacter;

// Indices of the disturbance kinds in the settings window.
enum DisturbanceKindIndex : int
{
    KindTexts = 0,
    KindCapitals = 1,
    KindRings = 2,
    KindBilliards = 3
};
// Index of "allen Kontinenten" in the continent choice; 0..4 are single continents.
constexpr int AllContinentsIndex = 5;

// The disturbance settings as the settings window shows them at this moment: switched on,
// the kind (index of Radio_TextHstRinge) and the continent (index of Radio_Stoeren_Hst).
bool DisturbanceSwitchedOn();
int DisturbanceKind();
int CapitalsContinent();

// The presentation window: three countries with their capitals to memorise.
class TForm_Stoeren_Vorgabe : public ModalForm
{
    Q_OBJECT

public:
    explicit TForm_Stoeren_Vorgabe(QWidget *parent = nullptr);

    QLabel *Stoeren_Hst_Text_1 = nullptr;
    QLabel *Stoeren_Hst_Text_2 = nullptr;
    QLabel *Stoeren_Hst_Text_3 = nullptr;
    QLabel *Hst_von_1 = nullptr;
    QLabel *Hst_von_2 = nullptr;
    QLabel *Hst_von_3 = nullptr;
    QLabel *Panel_Land_1 = nullptr;
    QLabel *Panel_Land_2 = nullptr;
    QLabel *Panel_Land_3 = nullptr;
    QLabel *Stoeren_ist_1 = nullptr;
    QLabel *Stoeren_ist_2 = nullptr;
    QLabel *Stoeren_ist_3 = nullptr;
    QLabel *Panel_Hst_1 = nullptr;
    QLabel *Panel_Hst_2 = nullptr;
    QLabel *Panel_Hst_3 = nullptr;
    QFrame *Bevel_Trenn = nullptr;
    QPushButton *But_zurueck = nullptr;
    QLabel *Panel_RestZeit = nullptr;

    // Country and capital panel of row i (1..3).
    QLabel *PanelLand(int i) const;
    QLabel *PanelHst(int i) const;

    void FormActivate() override;
    void But_zurueckClick();

private:
    void FormCreate();
    void createRow(int row, QLabel *&hstVon, QLabel *&land, QLabel *&ist, QLabel *&hst);
};

extern TForm_Stoeren_Vorgabe *Form_Stoeren_Vorgabe;

// Draws the two disturbed rounds of a game (every game, whatever the settings).
void ChooseDisturbanceRounds();
// Capitals mode: loads the capitals file and shows the presentation; false when the file
// could not be read (the error has been shown and the game must not start).
bool ShowCapitalsPresentation();
// Runs the disturbance task of the current round until it is solved.
void RunDisturbance();

// Loads the capitals file and draws the presented and the asked countries.
void ChooseCountries();
// Three pairwise different record numbers for a continent index 0..5 (uses Random).
std::array<Byte, 3> DrawPresentedCountries(int continentIndex);
void ChooseAskedCountries();
void FillPresentationPanels();
// Puts the country of record n into the capital question.
void SetQuestionCountry(Byte n);

void ChooseTextPair();
void PrepareTextQuestion();
// Shows text number t (1..10) and the request for AskedCharNumber and AskedLine in the question.
void FillTextQuestion(int t);
// The n-th character of line that is not a blank, as a one-character text; empty if none.
QString FindNthNonSpaceChar(const QString &line, Byte n);
// "Geben Sie bitte das 6. Zeichen der 1. Zeile ".
QString TextQuestionRequest(int charNumber, int lineNumber);

// Building blocks shared by the disturbance windows.
// Where the remaining-time panel sits: right and bottom margins of 1/40 and 1/20 of the client.
QPoint RemainingTimePanelPosition(QSize client, QSize panel);
// The borderless remaining-time panel: yellow bold text on the window's colour.
QLabel *CreateRemainingTimePanel(QWidget *window, const QColor &background);
// Places a remaining-time panel by the exercise window's client size.
void PlaceRemainingTimePanel(QLabel *panel);
// The size of the bold texts of the disturbance windows, in points at design size.
inline constexpr int TaskTextPointSize = 11;
