// SPDX-License-Identifier: GPL-3.0-or-later
// The settings window of the memorise-and-reproduce exercise and the overall time limit.
#include "exercise/Muw.h"

#include "common/Accessibility.h"
#include "common/Controls.h"
#include "common/FileDialogs.h"
#include "common/KeyPress.h"
#include "common/Manual.h"
#include "common/MessageBoxes.h"
#include "common/RandomClock.h"
#include "common/ScaleToScreen.h"
#include "common/SharedState.h"
#include "disturbance/Billard.h"
#include "disturbance/Fragehst.h"
#include "disturbance/Ringe.h"
#include "disturbance/Stoeren.h"
#include "disturbance/Stoertex.h"
#include "exercise/Muw_zahl.h"
#include "results/Name.h"
#include "results/Speicher.h"
#include "results/Tagebuchfuehrung.h"
#include "results/Verlauf.h"
#include "results/Zeigen.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QFileDialog>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>
#include <QValidator>

TForm_MuW *Form_MuW = nullptr;

namespace {
constexpr int DesignWidth = 640;
constexpr int DesignHeight = 480;
constexpr int RowTop = 54;
constexpr int RowStep = 28;
constexpr int SeparatorMargin = 10;
const QColor DisabledTextOnGreen(150, 175, 150);

QStringList numberedEntries(int first, int last, int width)
{
    QStringList entries;
    for (int n = first; n <= last; ++n)
        entries.append(WithLeadingZeros(QString::number(n), width));
    return entries;
}

bool allDigits(const QString &text)
{
    for (QChar c : text) {
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return false;
    }
    return true;
}

// The value of a list's text, blanks removed; 0 when it holds no number.
int textValue(const QComboBox *list)
{
    QString text = list->currentText();
    text.remove(QLatin1Char(' '));
    bool ok = false;
    const int value = text.toInt(&ok);
    return ok ? value : 0;
}

// Pasted text is filtered as typed text is: only its digits are taken.
class PastedDigits : public QValidator
{
public:
    using QValidator::QValidator;
    State validate(QString &input, int &position) const override
    {
        QString digits;
        int kept = 0;
        for (int i = 0; i < input.size(); ++i) {
            const QChar c = input[i];
            if (c < QLatin1Char('0') || c > QLatin1Char('9'))
                continue;
            digits += c;
            if (i < position)
                ++kept;
        }
        input = digits;
        position = kept;
        return Acceptable;
    }
};

QLabel *createLabel(QWidget *parent, const QString &name, const QString &caption,
                    const QRect &geometry)
{
    auto *label = new QLabel(caption, parent);
    label->setObjectName(name);
    label->setGeometry(geometry);
    return label;
}

QComboBox *createList(QWidget *parent, const QString &name, const QStringList &entries,
                      bool editable, const QRect &geometry)
{
    auto *list = new QComboBox(parent);
    list->setObjectName(name);
    list->setEditable(editable);
    // Enter in a list completes the typed value; it must not add an entry.
    list->setInsertPolicy(QComboBox::NoInsert);
    if (editable) {
        // Typed digits stay as typed ("7" becomes "07" only on leaving), never completed.
        list->setCompleter(nullptr);
        list->setValidator(new PastedDigits(list));
    } else {
        UseBoundedListPopup(list);
    }
    list->addItems(entries);
    list->setMaxVisibleItems(15);
    list->setGeometry(geometry);
    return list;
}

QWidget *createSeparator(QWidget *parent, const QString &name, int top)
{
    auto *bar = new QFrame(parent);
    bar->setObjectName(name);
    bar->setFrameStyle(QFrame::Panel | QFrame::Raised);
    bar->setGeometry(SeparatorMargin, top, DesignWidth - 2 * SeparatorMargin, 4);
    return bar;
}

QPushButton *createButton(QWidget *parent, const QString &name, const QString &caption,
                          const QRect &geometry)
{
    auto *button = new QPushButton(caption, parent);
    button->setObjectName(name);
    // Enter presses the focused button, as Space does; the lists handle their own Enter.
    button->setAutoDefault(true);
    button->setGeometry(geometry);
    return button;
}

} // namespace

bool SettingTextRefused(const QString &text, int maximum, int width)
{
    if (text.isEmpty())
        return false;
    if (!allDigits(text))
        return true;
    bool ok = false;
    const int value = text.toInt(&ok);
    if (!ok || value > maximum)
        return true;
    return value == 0 && text.size() >= width;
}

QString WithLeadingZeros(const QString &text, int width)
{
    if (text.isEmpty())
        return text;
    return text.rightJustified(width, QLatin1Char('0'));
}

bool IsSettingsKeyAccepted(QChar key)
{
    return key == QLatin1Char('\b') || key == QLatin1Char('\r') ||
           (key >= QLatin1Char('0') && key <= QLatin1Char('9'));
}

int GameTimeSeconds(int waitFactor, int presentFactor, int firstLength, int allowanceMs)
{
    return (waitFactor * firstLength * 10 + presentFactor * firstLength * 10 + allowanceMs) / 1000;
}

QString RemainingTimeText(int seconds, bool displayOn)
{
    if (!displayOn)
        return QString();
    const QLatin1Char zero('0');
    return QStringLiteral("%1 : %2").arg(seconds / 60, 2, 10, zero).arg(seconds % 60, 2, 10, zero);
}

// ---------------------------------------------------------------------------------------------

TRadioGroup::TRadioGroup(const QString &name, const QString &caption, const QStringList &items,
                         int columns, const QRect &geometry, QWidget *parent)
    : QGroupBox(caption, parent), m_group(new QButtonGroup(this))
{
    setObjectName(name);
    setGeometry(geometry);
    const int perColumn = (int(items.size()) + columns - 1) / columns;
    const int columnWidth = (geometry.width() - 16) / columns;
    const int rowHeight = std::min(20, (geometry.height() - 24) / std::max(1, perColumn));
    for (int i = 0; i < items.size(); ++i) {
        auto *button = new QRadioButton(items[i], this);
        UseReadableRadioIndicator(button);
        button->setGeometry(8 + i / perColumn * columnWidth, 20 + i % perColumn * rowHeight,
                            columnWidth, rowHeight);
        m_group->addButton(button, i);
        m_buttons.append(button);
    }
    connect(m_group, &QButtonGroup::idClicked, this, &TRadioGroup::clicked);
    connect(m_group, &QButtonGroup::idToggled, this, &TRadioGroup::updateTabStop);
    updateTabStop();
}

// Tab comes to the group at its selected button, as on every desktop; the arrows choose
// within the group.
void TRadioGroup::updateTabStop()
{
    QRadioButton *stop = button(ItemIndex()) ? button(ItemIndex()) : button(0);
    for (QRadioButton *each : std::as_const(m_buttons))
        each->setFocusPolicy(each == stop ? Qt::StrongFocus : Qt::ClickFocus);
}

int TRadioGroup::ItemIndex() const
{
    return m_group->checkedId();
}

void TRadioGroup::setItemIndex(int index)
{
    if (QRadioButton *selected = button(index))
        selected->setChecked(true);
}

QRadioButton *TRadioGroup::button(int index) const
{
    return index >= 0 && index < m_buttons.size() ? m_buttons[index] : nullptr;
}

// ---------------------------------------------------------------------------------------------

TForm_MuW::TForm_MuW(QWidget *parent) : ModalForm(parent)
{
    setObjectName(QStringLiteral("Form_MuW"));
    setWindowTitle(QStringLiteral("Merken und Wiedergeben"));
    setShownMaximized(true);
    resize(DesignWidth, DesignHeight);

    createMenu();
    m_client = new QWidget(this);
    m_client->setObjectName(QStringLiteral("ClientArea"));
    QPalette green = m_client->palette();
    green.setColor(QPalette::Window, Qt::darkGreen);
    green.setColor(QPalette::WindowText, Qt::white);
    // A disabled group ("Stören aus") must look disabled: its texts and rings grey.
    green.setColor(QPalette::Disabled, QPalette::WindowText, DisabledTextOnGreen);
    m_client->setPalette(green);
    m_client->setAutoFillBackground(true);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->setMenuBar(MainMenu1);
    layout->addWidget(m_client);
    createControls(m_client);

    Timer_GesamtZeit.setObjectName(QStringLiteral("Timer_GesamtZeit"));
    connect(&Timer_GesamtZeit, &QTimer::timeout, this, &TForm_MuW::Timer_GesamtZeitTimer);
    connectHandlers();
    FormCreate();
}

QFileDialog *TForm_MuW::SaveDialog()
{
    return FileDialogs::BuiltWhenNeeded(SaveDialog_Muw, QStringLiteral("SaveDialog_Muw"), [this] {
        return FileDialogs::CreateResultsSaveDialog(this);
    });
}

QFileDialog *TForm_MuW::OpenDialog()
{
    return FileDialogs::BuiltWhenNeeded(OpenDialog_MuW, QStringLiteral("OpenDialog_MuW"), [this] {
        return FileDialogs::CreateResultsOpenDialog(this);
    });
}

void TForm_MuW::createMenu()
{
    auto addItem = [this](QMenu *menu, const QString &name, const QString &caption,
                          void (TForm_MuW::*handler)()) {
        QAction *action = menu->addAction(caption);
        action->setObjectName(name);
        connect(action, &QAction::triggered, this, handler);
        return action;
    };
    auto addSubmenu = [](QMenu *menu, const QString &name, const QString &caption) {
        QMenu *submenu = menu->addMenu(caption);
        submenu->menuAction()->setObjectName(name);
        return submenu;
    };
    MainMenu1 = new QMenuBar(this);
    MainMenu1->setObjectName(QStringLiteral("MainMenu1"));

    QMenu *file = MainMenu1->addMenu(QStringLiteral("&Datei"));
    oeffnen1 =
        addItem(file, QStringLiteral("oeffnen1"),
                QStringLiteral("&Datei öffnen (Gesamtergebnisse)"), &TForm_MuW::oeffnen1Click);
    QMenu *save = addSubmenu(file, QStringLiteral("speichern1"),
                             QStringLiteral("&speichern (Gesamtergebnis)"));
    speichern1 = save->menuAction();
    Nameneingeben1 = addItem(save, QStringLiteral("Nameneingeben1"),
                             QStringLiteral("&Namen eingeben"), &TForm_MuW::Nameneingeben1Click);
    speichernunter1 = addItem(save, QStringLiteral("speichernunter1"),
                              QStringLiteral("speichern &unter (Gesamtergebnis)"),
                              &TForm_MuW::speichernunter1Click);
    Verlauf1 = addItem(file, QStringLiteral("Verlauf1"), QStringLiteral("&Verlauf"),
                       &TForm_MuW::Verlauf1Click);
    file->addSeparator();
    Beenden1 = addItem(file, QStringLiteral("Beenden1"), QStringLiteral("&Beenden"),
                       &TForm_MuW::Beenden1Click);

    letztesEinzelergebniszeigen1 =
        // "&Einstellungen" takes the E.
        MainMenu1->addAction(QStringLiteral("&letztes Einzelergebnis zeigen"));
    letztesEinzelergebniszeigen1->setObjectName(QStringLiteral("letztesEinzelergebniszeigen1"));
    connect(letztesEinzelergebniszeigen1, &QAction::triggered, this,
            &TForm_MuW::letztesEinzelergebniszeigen1Click);

    QMenu *settings = MainMenu1->addMenu(QStringLiteral("&Einstellungen"));
    Einstellungen1 = settings->menuAction();
    Einstellungen1->setObjectName(QStringLiteral("Einstellungen1"));
    Hintergrund_Text = addItem(settings, QStringLiteral("Hintergrund_Text"),
                               QStringLiteral("Hintergrund-&Text im Spielfenster zu MuW ein"),
                               &TForm_MuW::Hintergrund_TextClick);
    Hinweisfenster = addItem(settings, QStringLiteral("Hinweisfenster"),
                             QStringLiteral("&Hinweisfenster im Spielfenster zu MuW aus"),
                             &TForm_MuW::HinweisfensterClick);
    Fensterueberschrift =
        addItem(settings, QStringLiteral("Fensterueberschrift"),
                QStringLiteral("Fenster-Über&schrift im Spielefenster zu MuW aus"),
                &TForm_MuW::FensterueberschriftClick);
    settings->addSeparator();
    AnzeigederRestzeitaus1 = addItem(settings, QStringLiteral("AnzeigederRestzeitaus1"),
                                     QStringLiteral("Anzeige der Restzeit aus"),
                                     &TForm_MuW::AnzeigederRestzeitaus1Click);
    QMenu *disturbance = addSubmenu(settings, QStringLiteral("EinstellungenzumStren1"),
                                    QStringLiteral("Einstellungen zum Stören"));
    EinstellungenzumStren1 = disturbance->menuAction();
    RingeGenau = addItem(disturbance, QStringLiteral("RingeGenau"),
                         QStringLiteral("Die Punktzahl unter 'Ringe' muss genau erreicht werden"),
                         &TForm_MuW::RingeGenauClick);
    BillardKorrektureinaus =
        addItem(disturbance, QStringLiteral("BillardKorrektureinaus"),
                QStringLiteral("Billard-Korrektur aus"), &TForm_MuW::BillardKorrektureinausClick);
    // S is taken in this menu ("Fenster-Über&schrift") and Alt+S starts a game.
    settings->addSeparator();
    Tagebuchfuehren1 = addItem(settings, QStringLiteral("Tagebuchfuehren1"),
                               QStringLiteral("Tage&buch führen aus"),
                               &TForm_MuW::Tagebuchfuehren1Click);
    Stufevorschlagen1 = addItem(settings, QStringLiteral("Stufevorschlagen1"),
                                QStringLiteral("Stufe &vorschlagen"),
                                &TForm_MuW::Stufevorschlagen1Click);

    Hilfe1 = MainMenu1->addAction(QStringLiteral("&Hilfe"));
    Hilfe1->setObjectName(QStringLiteral("Hilfe1"));
    connect(Hilfe1, &QAction::triggered, this, &TForm_MuW::Hilfe1Click);
}

void TForm_MuW::createControls(QWidget *client)
{
    Panel_Einstellungen_MuW = createLabel(
        client, QStringLiteral("Panel_Einstellungen_MuW"),
        QStringLiteral("Einstellungen zu             Merken und Wiedergeben:"), {10, 6, 620, 30});
    Panel_Einstellungen_MuW->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    QFont heading = Panel_Einstellungen_MuW->font();
    heading.setBold(true);
    heading.setPointSize(12);
    Panel_Einstellungen_MuW->setFont(heading);
    Panel_Zwi_Linie_1 = createSeparator(client, QStringLiteral("Panel_Zwi_Linie_1"), 42);

    auto row = [](int i, int left, int width) {
        return QRect(left, RowTop + i * RowStep, width, 22);
    };
    Label_S_MuW = createLabel(client, QStringLiteral("Label_S_MuW"),
                              QStringLiteral("Schwierigkeitsgrad:"), row(0, 20, 210));
    Edit_S_MuW = createList(client, QStringLiteral("Edit_S_MuW"), numberedEntries(1, 15, 2), true,
                            row(0, 240, 70));
    Label_Zeitfaktor_Vorgaben =
        createLabel(client, QStringLiteral("Label_Zeitfaktor_Vorgaben"),
                    QStringLiteral("Zeitfaktor-Vorgaben (1..400):"), row(1, 20, 210));
    Edit_Zeitfaktor_Vorgaben = createList(client, QStringLiteral("Edit_Zeitfaktor_Vorgaben"),
                                          numberedEntries(1, 400, 3), true, row(1, 240, 70));
    Label_Zeitfaktor_Warten =
        createLabel(client, QStringLiteral("Label_Zeitfaktor_Warten"),
                    QStringLiteral("Zeitfaktor-Warten     (1..400):"), row(2, 20, 210));
    Edit_Zeitfaktor_Warten = createList(client, QStringLiteral("Edit_Zeitfaktor_Warten"),
                                        numberedEntries(1, 400, 3), true, row(2, 240, 70));
    Label_ZeitZugabe = createLabel(client, QStringLiteral("Label_ZeitZugabe"),
                                   QStringLiteral("Zeitzugabe in 10 Sek.:"), row(3, 20, 210));
    Edit_ZeitZugabe = createList(client, QStringLiteral("Edit_ZeitZugabe"),
                                 numberedEntries(1, 60, 2), false, row(3, 240, 70));
    Label_BandenZahl = createLabel(client, QStringLiteral("Label_BandenZahl"),
                                   QStringLiteral("Anzahl Banden:"), row(4, 20, 210));
    Edit_BandenZahl = createList(client, QStringLiteral("Edit_BandenZahl"),
                                 numberedEntries(1, 9, 1), false, row(4, 240, 70));
    Label_Speed = createLabel(client, QStringLiteral("Label_Speed"),
                              QStringLiteral("Geschwindigk (Billard/ Ringe):"), row(5, 20, 210));
    Edit_Speed =
        createList(client, QStringLiteral("Edit_Speed"),
                   numberedEntries(0, 99, 2) << QStringLiteral("100"), false, row(5, 240, 70));
    Label_Schrittweite = createLabel(client, QStringLiteral("Label_Schrittweite"),
                                     QStringLiteral("Schrittweite (Billard):"), row(6, 20, 210));
    Edit_Schrittweite = createList(client, QStringLiteral("Edit_Schrittweite"),
                                   numberedEntries(1, 50, 2), false, row(6, 240, 70));
    for (const auto &[label, list] : std::initializer_list<std::pair<QLabel *, QComboBox *>>{
             {Label_S_MuW, Edit_S_MuW},
             {Label_Zeitfaktor_Vorgaben, Edit_Zeitfaktor_Vorgaben},
             {Label_Zeitfaktor_Warten, Edit_Zeitfaktor_Warten},
             {Label_ZeitZugabe, Edit_ZeitZugabe},
             {Label_BandenZahl, Edit_BandenZahl},
             {Label_Speed, Edit_Speed},
             {Label_Schrittweite, Edit_Schrittweite}})
        NameAfterLabel(label, list);

    const QStringList steps = {
        QStringLiteral("1.  Einstellungen vornehmen"), QStringLiteral("2.  'Start' anklicken"),
        QStringLiteral("3.  Vorgabe merken"),          QStringLiteral("4.  warten"),
        QStringLiteral("5.  evtl. Störaufgabe lösen"), QStringLiteral("6.  Vorgabe wiederholen")};
    QLabel **stepLabels[] = {&Label1, &Label2, &Label3, &Label4, &Label5, &Label6};
    for (int i = 0; i < 6; ++i)
        *stepLabels[i] = createLabel(client, QStringLiteral("Label%1").arg(i + 1), steps[i],
                                     {360, RowTop + i * 24, 260, 20});

    Radio_Stoeren =
        new TRadioGroup(QStringLiteral("Radio_Stoeren"), QStringLiteral("Stören ein/ aus"),
                        {QStringLiteral("Stören ein"), QStringLiteral("Stören aus")}, 1,
                        {20, 256, 140, 76}, client);
    Radio_TextHstRinge =
        new TRadioGroup(QStringLiteral("Radio_TextHstRinge"), QStringLiteral("Stören durch"),
                        {QStringLiteral("Texte"), QStringLiteral("Hauptstädte"),
                         QStringLiteral("Kreise treffen"), QStringLiteral("Billard")},
                        2, {170, 256, 260, 76}, client);
    Radio_Stoeren_Hst =
        new TRadioGroup(QStringLiteral("Radio_Stoeren_Hst"), QStringLiteral("Hauptstädte aus"),
                        {QStringLiteral("Europa"), QStringLiteral("Asien"),
                         QStringLiteral("Afrika"), QStringLiteral("Amerika"),
                         QStringLiteral("Australien"), QStringLiteral("allen Kontinenten")},
                        1, {440, 230, 180, 146}, client);

    Panel_Zwi_Linie_2 = createSeparator(client, QStringLiteral("Panel_Zwi_Linie_2"), 390);
    But_Start = createButton(client, QStringLiteral("But_Start"), QStringLiteral("&Start"),
                             {150, 404, 140, 32});
    But_zurueck = createButton(client, QStringLiteral("But_zurueck"), QStringLiteral("&zurück"),
                               {350, 404, 140, 32});
}

void TForm_MuW::connectHandlers()
{
    connect(But_Start, &QPushButton::clicked, this, &TForm_MuW::But_StartClick);
    connect(But_zurueck, &QPushButton::clicked, this, &TForm_MuW::But_zurueckClick);
    connect(Radio_Stoeren, &TRadioGroup::clicked, this, &TForm_MuW::Radio_StoerenClick);
    connect(Radio_TextHstRinge, &TRadioGroup::clicked, this, &TForm_MuW::Radio_TextHstRingeClick);
    connect(Edit_BandenZahl, &QComboBox::currentTextChanged, this,
            &TForm_MuW::Edit_BandenZahlChange);
    connect(Edit_Speed, &QComboBox::currentTextChanged, this, &TForm_MuW::Edit_SpeedChange);
    connect(Edit_Schrittweite, &QComboBox::currentTextChanged, this,
            &TForm_MuW::Edit_SchrittweiteChange);
    connect(Edit_ZeitZugabe, &QComboBox::currentTextChanged, this,
            &TForm_MuW::Edit_ZeitZugabeChange);
    connect(Edit_S_MuW, &QComboBox::currentTextChanged, this, &TForm_MuW::Edit_S_MuWChange);
    connect(Edit_Zeitfaktor_Vorgaben, &QComboBox::currentTextChanged, this,
            &TForm_MuW::Edit_Zeitfaktor_VorgabenChange);
    connect(Edit_Zeitfaktor_Warten, &QComboBox::currentTextChanged, this,
            &TForm_MuW::Edit_Zeitfaktor_WartenChange);
    for (QComboBox *list : {Edit_S_MuW, Edit_Zeitfaktor_Vorgaben, Edit_Zeitfaktor_Warten}) {
        list->installEventFilter(this);
        list->lineEdit()->installEventFilter(this);
    }
}

void TForm_MuW::FormCreate()
{
    ScaleToScreen(this);
    selectStartValues();
    DifficultyLevel = 3;
    PresentTimeFactor = 60;
    WaitTimeFactor = 60;
    RemainingTimeDisplayOn = 1;
    WindowCaptionOn = 1;
    BilliardCorrection = 1;
    BilliardShotRunning = 0;
    CushionCount = 2;
    RingsExactMode = 0;
    RingsTargetScore = 230;
    TaskTimerInterval = 1;
    BilliardStep = 14;
    TimeAllowanceMs = 130000;
    TimeAllowanceSteps = 13;
}

void TForm_MuW::selectStartValues()
{
    Edit_S_MuW->setCurrentIndex(Edit_S_MuW->findText(QStringLiteral("03")));
    Edit_Zeitfaktor_Vorgaben->setCurrentIndex(
        Edit_Zeitfaktor_Vorgaben->findText(QStringLiteral("060")));
    Edit_Zeitfaktor_Warten->setCurrentIndex(
        Edit_Zeitfaktor_Warten->findText(QStringLiteral("060")));
    Edit_ZeitZugabe->setCurrentIndex(Edit_ZeitZugabe->findText(QStringLiteral("13")));
    Edit_BandenZahl->setCurrentIndex(Edit_BandenZahl->findText(QStringLiteral("2")));
    Edit_Speed->setCurrentIndex(Edit_Speed->findText(QStringLiteral("100")));
    Edit_Schrittweite->setCurrentIndex(Edit_Schrittweite->findText(QStringLiteral("14")));
    Radio_Stoeren->setItemIndex(StoerenEin);
    Radio_TextHstRinge->setItemIndex(ChoiceHauptstaedte);
    Radio_Stoeren_Hst->setItemIndex(0);
    Radio_StoerenClick();
}

void TForm_MuW::FormActivate()
{
    const int width = m_client->width() - 2 * SeparatorMargin;
    for (QWidget *bar : {Panel_Zwi_Linie_1, Panel_Zwi_Linie_2})
        bar->setGeometry(SeparatorMargin, bar->y(), width, bar->height());
    But_Start->setFocus();
    Tagebuchfuehren1->setText(JournalKeeping::SwitchCaption());
}

// ---------------------------------------------------------------------------------------------
// Buttons and menu

void TForm_MuW::But_StartClick()
{
    // A value typed into a list is completed and checked as on leaving it: the shortcut Alt+S
    // starts without the list losing the focus.
    Edit_S_MuWExit();
    Edit_Zeitfaktor_VorgabenExit();
    Edit_Zeitfaktor_WartenExit();
    if (!But_Start->isEnabled())
        return;
    if (ResultSaved == 0 && AskYesNo(UnsavedResultQuestion, this))
        return;
    if (Form_MuW_Zahlen)
        Form_MuW_Zahlen->StartGame();
}

void TForm_MuW::But_zurueckClick()
{
    done(QDialog::Rejected);
    if (QWidget *mainWindow = parentWidget()) {
        mainWindow->show();
        mainWindow->activateWindow();
    }
}

void TForm_MuW::Beenden1Click()
{
    close();
}

void TForm_MuW::oeffnen1Click()
{
    OpenOverallResultsFile();
}

void TForm_MuW::Nameneingeben1Click()
{
    RequestPlayerName();
}

void TForm_MuW::speichernunter1Click()
{
    SaveOverallResultAs();
}

void TForm_MuW::letztesEinzelergebniszeigen1Click()
{
    ShowIndividualResult();
}

void TForm_MuW::Hilfe1Click()
{
    ShowHelp(SettingsHelpText, Manual::HtmlPathOfThisProgram(), this);
}

void TForm_MuW::Verlauf1Click()
{
    ShowJournalVerlauf(this, LevelValue());
}

void TForm_MuW::Tagebuchfuehren1Click()
{
    JournalKeeping::ToggleSwitch(this);
    Tagebuchfuehren1->setText(JournalKeeping::SwitchCaption());
}

void TForm_MuW::Stufevorschlagen1Click()
{
    JournalKeeping::SuggestLevelInto(Edit_S_MuW, this);
}

// ---------------------------------------------------------------------------------------------
// Toggles: each caption names what the next click does.

void TForm_MuW::Hintergrund_TextClick()
{
    BackgroundTextOn = BackgroundTextOn == 1 ? 0 : 1;
    Hintergrund_Text->setText(BackgroundTextOn == 1
                                  ? QStringLiteral("Hintergrund-Text im Spielfenster zu MuW aus")
                                  : QStringLiteral("Hintergrund-Text im Spielfenster zu MuW ein"));
    if (Form_MuW_Zahlen)
        Form_MuW_Zahlen->SetBackgroundVisible(BackgroundTextOn == 1);
}

void TForm_MuW::HinweisfensterClick()
{
    HintPanelOn = HintPanelOn == 1 ? 0 : 1;
    Hinweisfenster->setText(HintPanelOn == 1
                                ? QStringLiteral("Hinweisfenster im Spielfenster zu MuW aus")
                                : QStringLiteral("Hinweisfenster im Spielfenster zu MuW ein"));
    if (Form_MuW_Zahlen)
        Form_MuW_Zahlen->SetHintPanelVisible(HintPanelOn == 1);
}

void TForm_MuW::FensterueberschriftClick()
{
    WindowCaptionOn = WindowCaptionOn == 1 ? 0 : 1;
    Fensterueberschrift->setText(WindowCaptionOn == 1
                                     ? QStringLiteral("Fenster-Überschrift zu MuW aus")
                                     : QStringLiteral("Fenster-Überschrift zu MuW ein"));
    if (WindowCaptionOn == 0 && Form_MuW_Zahlen)
        Form_MuW_Zahlen->setWindowTitle(QString());
}

void TForm_MuW::AnzeigederRestzeitaus1Click()
{
    RemainingTimeDisplayOn = RemainingTimeDisplayOn == 1 ? 0 : 1;
    AnzeigederRestzeitaus1->setText(RemainingTimeDisplayOn == 1
                                        ? QStringLiteral("Anzeige der Restzeit aus")
                                        : QStringLiteral("Anzeige der Restzeit ein"));
}

void TForm_MuW::RingeGenauClick()
{
    RingsExactMode = RingsExactMode == 1 ? 0 : 1;
    RingsModeCode = RingsExactMode == 1 ? QStringLiteral("g") : QStringLiteral("m");
    RingeGenau->setText(
        RingsExactMode == 1
            ? QStringLiteral("Die Punktzahl unter 'Ringe' muss überboten werden")
            : QStringLiteral("Die Punktzahl unter 'Ringe' muss genau erreicht werden"));
}

void TForm_MuW::BillardKorrektureinausClick()
{
    BilliardCorrection = BilliardCorrection == 1 ? 0 : 1;
    BilliardCorrectionCode = BilliardCorrection == 1 ? QStringLiteral("j") : QStringLiteral("n");
    BillardKorrektureinaus->setText(BilliardCorrection == 1
                                        ? QStringLiteral("Billard-Korrektur aus")
                                        : QStringLiteral("Billard-Korrektur ein"));
}

// ---------------------------------------------------------------------------------------------
// Disturbance choice

void TForm_MuW::Radio_StoerenClick()
{
    const bool on = Radio_Stoeren->ItemIndex() == StoerenEin;
    Radio_TextHstRinge->setEnabled(on);
    Radio_Stoeren_Hst->setEnabled(on && Radio_TextHstRinge->ItemIndex() == ChoiceHauptstaedte);
}

void TForm_MuW::Radio_TextHstRingeClick()
{
    Radio_Stoeren_Hst->setEnabled(Radio_TextHstRinge->ItemIndex() == ChoiceHauptstaedte);
}

bool TForm_MuW::DisturbanceOn() const
{
    return Radio_Stoeren->ItemIndex() == StoerenEin;
}

bool TForm_MuW::CapitalsMode() const
{
    return DisturbanceOn() && Radio_TextHstRinge->ItemIndex() == ChoiceHauptstaedte;
}

// ---------------------------------------------------------------------------------------------
// Lists that take effect at once

void TForm_MuW::Edit_BandenZahlChange()
{
    if (!Edit_BandenZahl->currentText().isEmpty())
        CushionCount = Byte(textValue(Edit_BandenZahl));
}

void TForm_MuW::Edit_SpeedChange()
{
    if (!Edit_Speed->currentText().isEmpty())
        TaskTimerInterval = TaskTimerIntervalForSpeed(textValue(Edit_Speed));
}

void TForm_MuW::Edit_SchrittweiteChange()
{
    if (!Edit_Schrittweite->currentText().isEmpty())
        BilliardStep = textValue(Edit_Schrittweite);
}

void TForm_MuW::Edit_ZeitZugabeChange()
{
    if (!Edit_ZeitZugabe->currentText().isEmpty())
        TimeAllowanceMs = AllowanceMsForSteps(textValue(Edit_ZeitZugabe));
}

int TForm_MuW::LevelValue() const
{
    return textValue(Edit_S_MuW);
}

int TForm_MuW::PresentFactorValue() const
{
    return textValue(Edit_Zeitfaktor_Vorgaben);
}

int TForm_MuW::WaitFactorValue() const
{
    return textValue(Edit_Zeitfaktor_Warten);
}

int TForm_MuW::AllowanceStepsValue() const
{
    return textValue(Edit_ZeitZugabe);
}

// ---------------------------------------------------------------------------------------------
// Validation of the level and the time factors

void TForm_MuW::runKeyPress(QComboBox *list, QChar &key)
{
    if (!IsSettingsKeyAccepted(key)) {
        key = QChar();
        return;
    }
    if (key == QLatin1Char('\r'))
        padOnExit(list, list == Edit_S_MuW ? LevelWidth : TimeFactorWidth);
}

void TForm_MuW::Edit_S_MuWKeyPress(QChar &key)
{
    runKeyPress(Edit_S_MuW, key);
}

void TForm_MuW::Edit_Zeitfaktor_VorgabenKeyPress(QChar &key)
{
    runKeyPress(Edit_Zeitfaktor_Vorgaben, key);
}

void TForm_MuW::Edit_Zeitfaktor_WartenKeyPress(QChar &key)
{
    runKeyPress(Edit_Zeitfaktor_Warten, key);
}

void TForm_MuW::Edit_S_MuWChange()
{
    checkRange(Edit_S_MuW, LevelMaximum, LevelWidth, LevelRefusedMessage);
    updateStartEnabling();
}

void TForm_MuW::Edit_Zeitfaktor_VorgabenChange()
{
    checkRange(Edit_Zeitfaktor_Vorgaben, TimeFactorMaximum, TimeFactorWidth,
               TimeFactorRefusedMessage);
    updateStartEnabling();
}

void TForm_MuW::Edit_Zeitfaktor_WartenChange()
{
    checkRange(Edit_Zeitfaktor_Warten, TimeFactorMaximum, TimeFactorWidth,
               TimeFactorRefusedMessage);
    updateStartEnabling();
}

void TForm_MuW::Edit_S_MuWExit()
{
    padOnExit(Edit_S_MuW, LevelWidth);
}

void TForm_MuW::Edit_Zeitfaktor_VorgabenExit()
{
    padOnExit(Edit_Zeitfaktor_Vorgaben, TimeFactorWidth);
}

void TForm_MuW::Edit_Zeitfaktor_WartenExit()
{
    padOnExit(Edit_Zeitfaktor_Warten, TimeFactorWidth);
}

void TForm_MuW::checkRange(QComboBox *list, int maximum, int width, const QString &message)
{
    const QString text = list->currentText();
    if (m_validating || !SettingTextRefused(text, maximum, width))
        return;
    m_validating = true;
    // "Choose a smaller number" would mislead for a zero.
    const bool zero = allDigits(text) && text.toInt() == 0;
    const bool level = list == Edit_S_MuW;
    ShowInformation(zero ? (level ? LevelZeroMessage : TimeFactorZeroMessage) : message, this);
    list->setEditText(QString());
    m_validating = false;
}

void TForm_MuW::padOnExit(QComboBox *list, int width)
{
    if (m_validating)
        return;
    const QString padded = WithLeadingZeros(list->currentText(), width);
    if (padded != list->currentText())
        list->setEditText(padded);
}

// Start and back need all three values: a game cannot be drawn without a level, nor timed
// without both factors, whichever list was emptied last.
void TForm_MuW::updateStartEnabling()
{
    const bool complete = !Edit_S_MuW->currentText().isEmpty() &&
                          !Edit_Zeitfaktor_Vorgaben->currentText().isEmpty() &&
                          !Edit_Zeitfaktor_Warten->currentText().isEmpty();
    But_Start->setEnabled(complete);
    But_zurueck->setEnabled(complete);
}

QComboBox *TForm_MuW::validatedListFor(QObject *watched) const
{
    for (QComboBox *list : {Edit_S_MuW, Edit_Zeitfaktor_Vorgaben, Edit_Zeitfaktor_Warten}) {
        if (watched == list || watched == list->lineEdit())
            return list;
    }
    return nullptr;
}

bool TForm_MuW::eventFilter(QObject *watched, QEvent *event)
{
    QComboBox *list = validatedListFor(watched);
    if (!list)
        return ModalForm::eventFilter(watched, event);
    if (event->type() == QEvent::ContextMenu && watched == list->lineEdit()) {
        ShowScaledContextMenu(list->lineEdit(), static_cast<QContextMenuEvent *>(event));
        return true;
    }
    if (event->type() == QEvent::KeyPress) {
        // Pasting goes to the field, whose validator takes only the digits.
        if (static_cast<QKeyEvent *>(event)->matches(QKeySequence::Paste))
            return false;
        QChar key = TypedCharacter(static_cast<QKeyEvent *>(event));
        if (key.isNull())
            return false;
        if (list == Edit_S_MuW)
            Edit_S_MuWKeyPress(key);
        else if (list == Edit_Zeitfaktor_Vorgaben)
            Edit_Zeitfaktor_VorgabenKeyPress(key);
        else
            Edit_Zeitfaktor_WartenKeyPress(key);
        // Enter is handled here; it must neither press a button nor reach the list.
        return key.isNull() || key == QLatin1Char('\r');
    }
    if (event->type() == QEvent::FocusOut) {
        // A message box or the opened list takes the focus without the player leaving the
        // field; validating then would show the same message again and again.
        const Qt::FocusReason reason = static_cast<QFocusEvent *>(event)->reason();
        if (reason == Qt::ActiveWindowFocusReason || reason == Qt::PopupFocusReason)
            return false;
        if (list == Edit_S_MuW)
            Edit_S_MuWExit();
        else if (list == Edit_Zeitfaktor_Vorgaben)
            Edit_Zeitfaktor_VorgabenExit();
        else
            Edit_Zeitfaktor_WartenExit();
    }
    return false;
}

// ---------------------------------------------------------------------------------------------
// Settings controls during a game

void TForm_MuW::HideSettingsControls()
{
    for (QWidget *control : std::initializer_list<QWidget *>{
             Edit_S_MuW, Label_Zeitfaktor_Vorgaben, Label_Zeitfaktor_Warten,
             Edit_Zeitfaktor_Vorgaben, Edit_Zeitfaktor_Warten, Label_S_MuW, But_Start, But_zurueck,
             Radio_Stoeren, Radio_TextHstRinge, Radio_Stoeren_Hst})
        control->hide();
}

void TForm_MuW::ShowSettingsControls()
{
    for (QWidget *control : std::initializer_list<QWidget *>{
             Edit_S_MuW, Label_Zeitfaktor_Vorgaben, Label_Zeitfaktor_Warten,
             Edit_Zeitfaktor_Vorgaben, Edit_Zeitfaktor_Warten, Label_S_MuW, But_Start, But_zurueck,
             Radio_Stoeren, Radio_TextHstRinge, Radio_Stoeren_Hst})
        control->show();
}

// ---------------------------------------------------------------------------------------------
// Overall time limit

void TForm_MuW::StartOverallTime(int firstLength)
{
    Timer_GesamtZeit.start(1000);
    RemainingSeconds =
        GameTimeSeconds(WaitFactorValue(), PresentFactorValue(), firstLength, TimeAllowanceMs);
    // The first tick writes the panels; until then they must not show the last game's time.
    showRemainingTimeText(QString());
}

void TForm_MuW::Timer_GesamtZeitTimer()
{
    if (RemainingSeconds <= 0)
        return;
    if (RemainingSeconds == 1) {
        TimeOut();
        return;
    }
    --RemainingSeconds;
    writeRemainingTime();
}

void TForm_MuW::writeRemainingTime()
{
    showRemainingTimeText(RemainingTimeText(RemainingSeconds, RemainingTimeDisplayOn == 1));
}

void TForm_MuW::showRemainingTimeText(const QString &text)
{
    QLabel *panels[] = {Form_MuW_Zahlen ? Form_MuW_Zahlen->Panel_RestZeit : nullptr,
                        Form_Frage_Hst ? Form_Frage_Hst->Panel_RestZeit : nullptr,
                        Form_Frage_Text ? Form_Frage_Text->Panel_RestZeit : nullptr,
                        Form_Stoeren_Vorgabe ? Form_Stoeren_Vorgabe->Panel_RestZeit : nullptr};
    // A screen reader hears the time only from the window in front, and not every second.
    const bool announced = !text.isEmpty() && RemainingTimeAnnounced(RemainingSeconds);
    for (QLabel *panel : panels) {
        if (!panel)
            continue;
        panel->setText(text);
        if (announced && IsInFrontWindow(panel))
            AnnounceDisplay(panel);
    }
}

void TForm_MuW::TimeOut()
{
    Timer_GesamtZeit.stop();
    if (Form_Ringe)
        Form_Ringe->Timer1.stop();
    if (Form_Billard)
        Form_Billard->Timer2.stop();
    // A phase timer left running would go on with the game behind the closed window.
    if (Form_MuW_Zahlen) {
        Form_MuW_Zahlen->Timer_MuW_Merken.stop();
        Form_MuW_Zahlen->Timer_MuW_Warten.stop();
        if (Form_MuW_Zahlen->Panel_RestZeit)
            Form_MuW_Zahlen->Panel_RestZeit->clear();
    }
    RemainingSeconds = 0;
    // A game that reached round 6 ended there, though its result is still on the screen.
    if (RunFinished == 0)
        GameEndTime = RandomClock::now();
    ModalForm *gameWindows[] = {Form_Stoeren_Vorgabe, Form_Frage_Hst, Form_MuW_Zahlen,
                                Form_Frage_Text,      Form_Ringe,     Form_Billard};
    // A question left open (the abort question, say) would otherwise outlive the game and
    // take its answer to a game that is over.
    MessageBoxes::CloseBoxesOver({std::begin(gameWindows), std::end(gameWindows)});
    for (ModalForm *window : gameWindows) {
        if (window)
            window->CloseWithOk();
    }
    TimeoutAbort = 1;
    if (Form_MuW_Zahlen)
        Form_MuW_Zahlen->BuildDisturbanceLabels();
    JournalKeeping::RecordGame();
    ShowInformation(TimeoutMessage);
    RoundNumber = 7;
}
