// SPDX-License-Identifier: GPL-3.0-or-later
// The colour-sequence exercise "Farben merken": colour codes, settings checks and its window.
#include "colours/Farben.h"

#include "colours/ColourAids.h"
#include "common/Accessibility.h"
#include "common/Controls.h"
#include "common/KeyPress.h"
#include "common/Manual.h"
#include "common/MessageBoxes.h"
#include "common/RandomClock.h"
#include "common/ScaleToScreen.h"
#include "results/Tagebuchfuehrung.h"

#include <QAction>
#include <QFrame>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>

#include <algorithm>

TForm_Farben *Form_Farben = nullptr;

Byte ColourCount = 4;
int ShowDurationMs = 1000;
int PauseLengthMs = 1000;
ColourSequence ShownColours{};
ColourSequence ClickedColours{};
Byte ShownCount = 0;
Byte AnswerCount = 0;
Byte CorrectCount = 0;
bool SequenceComplete = false;
bool RuleHintOn = false;
bool SymbolsOn = false;

namespace {
constexpr int DefaultColourCount = 4;
constexpr int DefaultDurationMs = 1000;
constexpr int MenuHeight = 24;
// Share of the panel's shorter side that a symbol takes.
constexpr double SymbolShare = 0.6;

const QColor Navy(0, 0, 128);
const QString AnswerPanelNames[ColourCodeCount] = {
    QStringLiteral("Panel_rot"),  QStringLiteral("Panel_blau"),  QStringLiteral("Panel_gruen"),
    QStringLiteral("Panel_gelb"), QStringLiteral("Panel_braun"), QStringLiteral("Panel_grau")};

QLabel *createLabel(QWidget *parent, const QString &text, const QRect &geometry)
{
    auto *label = new QLabel(text, parent);
    label->setGeometry(geometry);
    return label;
}

QLabel *createHeading(QWidget *parent, const QString &text, const QRect &geometry)
{
    QLabel *label = createLabel(parent, text, geometry);
    QFont font = label->font();
    font.setBold(true);
    font.setUnderline(true);
    label->setFont(font);
    SetTextColour(label, Qt::red);
    return label;
}

QLabel *createCounter(QWidget *parent, const QString &name, const QRect &geometry)
{
    auto *counter = new QLabel(QStringLiteral("0"), parent);
    counter->setObjectName(name);
    counter->setAlignment(Qt::AlignCenter);
    SetBackgroundColour(counter, Navy);
    SetTextColour(counter, Qt::white);
    QFont font(QStringLiteral("Arial"));
    font.setPointSize(counter->font().pointSize() + 2);
    font.setBold(true);
    counter->setFont(font);
    counter->setGeometry(geometry);
    return counter;
}

void createSeparator(QWidget *parent, const QRect &geometry)
{
    auto *line = new QFrame(parent);
    SetBackgroundColour(line, Navy);
    line->setGeometry(geometry);
}
} // namespace

QColor ColourOfCode(int code)
{
    switch (code) {
    case 1:
        return QColor(255, 0, 0);
    case 2:
        return QColor(0, 0, 255);
    case 3:
        return QColor(0, 128, 0);
    case 4:
        return QColor(255, 255, 0);
    case 5:
        return QColor(128, 0, 0);
    case 6:
        return QColor(128, 128, 128);
    default:
        return QColor();
    }
}

bool PassesNumberKeyFilter(QChar key)
{
    return (key >= QLatin1Char('0') && key <= QLatin1Char('9')) || key == QChar(0x08);
}

SettingCheck CheckSetting(const QString &text, int maximum)
{
    bool isNumber = false;
    const int value = text.toInt(&isNumber);
    if (!isNumber)
        return {SettingCheck::NotANumber, 0};
    if (value < 1 || value > maximum)
        return {SettingCheck::OutOfRange, value};
    return {SettingCheck::Accepted, value};
}

TColourPanel::TColourPanel(QWidget *parent, const QString &name, const QColor &colour,
                           const QRect &geometry)
    : QLabel(parent)
{
    setObjectName(name);
    setFrameStyle(QFrame::Panel | QFrame::Raised);
    setColour(colour);
    setGeometry(geometry);
}

void TColourPanel::setColour(const QColor &colour)
{
    SetBackgroundColour(this, colour);
}

QColor TColourPanel::colour() const
{
    return palette().color(QPalette::Window);
}

void TColourPanel::mouseReleaseEvent(QMouseEvent *event)
{
    QLabel::mouseReleaseEvent(event);
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        emit clicked();
}

void TColourPanel::keyPressEvent(QKeyEvent *event)
{
    if (!IsPressKey(event)) {
        QLabel::keyPressEvent(event);
        return;
    }
    // A held key would answer again and again; one press is one answer, as a click is.
    if (!event->isAutoRepeat())
        emit clicked();
    event->accept();
}

void TColourPanel::setSymbol(int code)
{
    if (code == m_symbol)
        return;
    m_symbol = code;
    update();
}

void TColourPanel::paintEvent(QPaintEvent *event)
{
    QLabel::paintEvent(event);
    if (hasFocus())
        DrawFocusFrame(this, rect(), colour());
    if (m_symbol == 0)
        return;
    const QRectF inside = contentsRect();
    const double side = std::min(inside.width(), inside.height()) * SymbolShare;
    QRectF area(0, 0, side, side);
    area.moveCenter(inside.center());
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.fillPath(ColourSymbolPath(m_symbol, area), SymbolColourOn(colour()));
}

TForm_Farben::TForm_Farben(QWidget *parent) : ModalForm(parent)
{
    setObjectName(QStringLiteral("Form_Farben"));
    setWindowTitle(QStringLiteral("   Farben merken"));
    setShownMaximized(true);
    resize(640, 480);
    createMenu();
    createAnswerPanels();
    Panel_Farbe = new TColourPanel(this, QStringLiteral("Panel_Farbe"), ButtonFaceColour(),
                                   {320, MenuHeight + 16, 300, 200});
    createResultControls();
    createSettingsControls();

    Timer1.setObjectName(QStringLiteral("Timer1"));
    Timer2.setObjectName(QStringLiteral("Timer2"));
    // The display and pause times are what the exercise trains with; keep them exact.
    connect(&Timer1, &PhaseTimer::timeout, this, &TForm_Farben::Timer1Timer);
    connect(&Timer2, &PhaseTimer::timeout, this, &TForm_Farben::Timer2Timer);
    FormCreate();
}

void TForm_Farben::createMenu()
{
    MainMenu1 = new QMenuBar(this);
    MainMenu1->setObjectName(QStringLiteral("MainMenu1"));
    MainMenu1->setGeometry(0, 0, 640, MenuHeight);
    QMenu *file = MainMenu1->addMenu(QStringLiteral("&Datei"));
    beenden1 = file->addAction(QStringLiteral("&beenden"));
    beenden1->setObjectName(QStringLiteral("beenden1"));
    connect(beenden1, &QAction::triggered, this, &TForm_Farben::beenden1Click);
    QMenu *settings = MainMenu1->addMenu(QStringLiteral("&Einstellungen"));
    Regelhinweis1 = settings->addAction(QStringLiteral("Regelhinweis ein"));
    Regelhinweis1->setObjectName(QStringLiteral("Regelhinweis1"));
    connect(Regelhinweis1, &QAction::triggered, this, &TForm_Farben::Regelhinweis1Click);
    Symbole1 = settings->addAction(QStringLiteral("&Symbole ein"));
    Symbole1->setObjectName(QStringLiteral("Symbole1"));
    connect(Symbole1, &QAction::triggered, this, &TForm_Farben::Symbole1Click);
    Hilfe1 = MainMenu1->addAction(QStringLiteral("&Hilfe"));
    Hilfe1->setObjectName(QStringLiteral("Hilfe1"));
    connect(Hilfe1, &QAction::triggered, this, &TForm_Farben::Hilfe1Click);
}

void TForm_Farben::createAnswerPanels()
{
    for (int i = 0; i < ColourCodeCount; ++i) {
        TColourPanel *panel = new TColourPanel(this, AnswerPanelNames[i], ColourOfCode(i + 1),
                                               {16 + i * 46, MenuHeight + 16, 40, 40});
        panel->setToolTip(ColourNameOfCode(i + 1));
        panel->setAccessibleName(ColourNameOfCode(i + 1));
        // Tab reaches the answers, Space or Enter gives one.
        panel->setFocusPolicy(Qt::TabFocus);
        answerPanels[size_t(i)] = panel;
    }
    Panel_rot = answerPanels[0];
    Panel_blau = answerPanels[1];
    Panel_gruen = answerPanels[2];
    Panel_gelb = answerPanels[3];
    Panel_braun = answerPanels[4];
    Panel_grau = answerPanels[5];
    connect(Panel_rot, &TColourPanel::clicked, this, &TForm_Farben::Panel_rotClick);
    connect(Panel_blau, &TColourPanel::clicked, this, &TForm_Farben::Panel_blauClick);
    connect(Panel_gruen, &TColourPanel::clicked, this, &TForm_Farben::Panel_gruenClick);
    connect(Panel_gelb, &TColourPanel::clicked, this, &TForm_Farben::Panel_gelbClick);
    connect(Panel_braun, &TColourPanel::clicked, this, &TForm_Farben::Panel_braunClick);
    connect(Panel_grau, &TColourPanel::clicked, this, &TForm_Farben::Panel_grauClick);
}

void TForm_Farben::createResultControls()
{
    createSeparator(this, {8, 246, 624, 3});
    createHeading(this, QStringLiteral("Ergebnis:"), {16, 256, 120, 20});
    Label_Kontrolle = createLabel(this, QStringLiteral("bisher bestimmt:"), {16, 284, 130, 20});
    Label_Kontrolle->setObjectName(QStringLiteral("Label_Kontrolle"));
    Panel_Kontrolle = createCounter(this, QStringLiteral("Panel_Kontrolle"), {150, 280, 50, 26});
    Label_Richtige = createLabel(this, QStringLiteral("davon Richtige:"), {16, 314, 130, 20});
    Label_Richtige->setObjectName(QStringLiteral("Label_Richtige"));
    Panel_Richtige = createCounter(this, QStringLiteral("Panel_Richtige"), {150, 310, 50, 26});
    NameAsDisplay(Panel_Kontrolle, AccessibleNameOfCaption(Label_Kontrolle->text()));
    NameAsDisplay(Panel_Richtige, AccessibleNameOfCaption(Label_Richtige->text()));
    createSeparator(this, {8, 346, 624, 3});
}

QLineEdit *TForm_Farben::createNumberField(const QString &name, const QString &caption, int x,
                                           int y)
{
    QLabel *label = createLabel(this, caption, {x, y + 2, 134, 20});
    auto *field = new QLineEdit(this);
    field->setObjectName(name);
    field->setGeometry(x + 134, y, 60, 22);
    field->installEventFilter(this);
    NameAfterLabel(label, field);
    return field;
}

void TForm_Farben::createSettingsControls()
{
    createHeading(this, QStringLiteral("Einstellungen:"), {16, 356, 120, 20});
    Edit_Anzahl =
        createNumberField(QStringLiteral("Edit_Anzahl"), QStringLiteral("Anzahl Farben:"), 16, 384);
    Edit_Anzahl->setAccessibleName(QStringLiteral("Anzahl der Farben"));
    Edit_Zeige_Dauer = createNumberField(QStringLiteral("Edit_Zeige_Dauer"),
                                         QStringLiteral("Zeige-Dauer in ms:"), 230, 384);
    Edit_Pausen_Laenge = createNumberField(QStringLiteral("Edit_Pausen_Laenge"),
                                           QStringLiteral("Pausen-Laenge in ms"), 16, 416);
    Start = new QPushButton(QStringLiteral("Start"), this);
    Start->setObjectName(QStringLiteral("Start"));
    Start->setAutoDefault(false);
    // Clicking Start leaves the focus in the field, so StartClick checks that field first.
    Start->setFocusPolicy(Qt::TabFocus);
    Start->setGeometry(364, 414, 90, 26);
    connect(Start, &QPushButton::clicked, this, &TForm_Farben::StartClick);
}

void TForm_Farben::FormCreate()
{
    ScaleToScreen(this);
    Timer1.stop();
    RuleHintOn = false;
    SymbolsOn = false;
    updateSymbols();
    SetColourPanelsVisible(false);
    SetCountersVisible(false);
}

void TForm_Farben::resizeEvent(QResizeEvent *event)
{
    ModalForm::resizeEvent(event);
    MainMenu1->setGeometry(0, 0, width(), MainMenu1->height());
}

void TForm_Farben::showEvent(QShowEvent *event)
{
    ModalForm::showEvent(event);
    if (!event->spontaneous())
        FormActivate();
}

void TForm_Farben::hideEvent(QHideEvent *event)
{
    ModalForm::hideEvent(event);
    if (!event->spontaneous()) {
        StopSequence();
        m_activatedSinceShown = false;
    }
}

void TForm_Farben::FormActivate()
{
    if (m_activatedSinceShown)
        return;
    m_activatedSinceShown = true;
    StopSequence();
    ShownColours.fill(0);
    ClickedColours.fill(0);
    ColourCount = DefaultColourCount;
    Edit_Anzahl->setText(QString::number(DefaultColourCount));
    ShowDurationMs = DefaultDurationMs;
    Edit_Zeige_Dauer->setText(QString::number(DefaultDurationMs));
    PauseLengthMs = DefaultDurationMs;
    Edit_Pausen_Laenge->setText(QString::number(DefaultDurationMs));
    Panel_Richtige->setText(QStringLiteral("0"));
    SetCountersVisible(false);
}

void TForm_Farben::FormClose()
{
    StopSequence();
}

// A sequence broken off by closing leaves the window ready for the next opening.
void TForm_Farben::StopSequence()
{
    Timer1.stop();
    Timer2.stop();
    m_answering = false;
    showInColourPanel(0);
    SetColourPanelsVisible(false);
    SetInputsEnabled(true);
    Start->setEnabled(true);
}

void TForm_Farben::showInColourPanel(Byte code)
{
    m_codeOnDisplay = code;
    Panel_Farbe->setColour(code == 0 ? ButtonFaceColour() : ColourOfCode(code));
    // A screen reader tells each colour as it is shown.
    Panel_Farbe->setAccessibleName(
        DisplayName(QStringLiteral("Farbe"), code == 0 ? QString() : ColourNameOfCode(code)));
    Panel_Farbe->setSymbol(SymbolsOn ? code : 0);
}

void TForm_Farben::updateSymbols()
{
    for (int i = 0; i < ColourCodeCount; ++i)
        answerPanels[size_t(i)]->setSymbol(SymbolsOn ? i + 1 : 0);
    Panel_Farbe->setSymbol(SymbolsOn ? m_codeOnDisplay : 0);
}

void TForm_Farben::SetColourPanelsVisible(bool visible)
{
    for (TColourPanel *panel : answerPanels)
        panel->setVisible(visible);
}

void TForm_Farben::SetInputsEnabled(bool enabled)
{
    Edit_Anzahl->setEnabled(enabled);
    Edit_Zeige_Dauer->setEnabled(enabled);
    Edit_Pausen_Laenge->setEnabled(enabled);
}

void TForm_Farben::SetCountersVisible(bool visible)
{
    Label_Richtige->setVisible(visible);
    Panel_Richtige->setVisible(visible);
    Label_Kontrolle->setVisible(visible);
    Panel_Kontrolle->setVisible(visible);
}

void TForm_Farben::StartClick()
{
    if (!leaveNumberField(qobject_cast<QLineEdit *>(focusWidget())))
        return;
    setWindowTitle(QString());
    ShownCount = 0;
    ShownColours.fill(0);
    ClickedColours.fill(0);
    SetColourPanelsVisible(false);
    SequenceComplete = false;
    CorrectCount = 0;
    m_answering = false;
    SetCountersVisible(false);
    Start->setEnabled(false);
    SetInputsEnabled(false);
    Timer1.setInterval(PauseLengthMs);
}

void TForm_Farben::Timer1Timer()
{
    // The sequence never grows past its length, whatever tick comes late.
    if (ShownCount >= ColourCount || ShownCount >= MaxColourCount) {
        Timer1.stop();
        return;
    }
    Randomize();
    ++ShownCount;
    const Byte code = Byte(1 + Random(ColourCodeCount));
    ShownColours[ShownCount] = code;
    showInColourPanel(code);
    if (ShownCount == ColourCount)
        SequenceComplete = true;
    Timer1.stop();
    Timer2.setInterval(ShowDurationMs);
}

void TForm_Farben::Timer2Timer()
{
    showInColourPanel(0);
    if (!SequenceComplete) {
        Timer1.setInterval(PauseLengthMs);
        Timer2.stop();
        return;
    }
    Timer1.stop();
    Timer2.stop();
    SetColourPanelsVisible(true);
    SetInputsEnabled(false);
    if (RuleHintOn)
        ShowInformation(RuleHintText, this);
    AnswerCount = 0;
    m_answering = true;
    Panel_Kontrolle->setText(QStringLiteral("0"));
    Panel_Richtige->setText(QStringLiteral("0"));
    SetCountersVisible(true);
}

void TForm_Farben::RecordColourClick(Byte code)
{
    if (!m_answering || AnswerCount >= ColourCount || AnswerCount >= MaxColourCount)
        return;
    ++AnswerCount;
    ClickedColours[AnswerCount] = code;
    Panel_Kontrolle->setText(QString::number(AnswerCount));
    if (code == ShownColours[AnswerCount]) {
        ++CorrectCount;
        Panel_Richtige->setText(QString::number(CorrectCount));
    }
    if (AnswerCount == ColourCount) {
        JournalKeeping::RecordColourRun(ColourCount, ShowDurationMs, PauseLengthMs, CorrectCount);
        m_answering = false;
        SetColourPanelsVisible(false);
        Start->setEnabled(true);
        SetInputsEnabled(true);
    }
}

bool TForm_Farben::eventFilter(QObject *watched, QEvent *event)
{
    auto *field = qobject_cast<QLineEdit *>(watched);
    if (!field)
        return ModalForm::eventFilter(watched, event);
    if (event->type() == QEvent::KeyPress) {
        const auto *keyEvent = static_cast<QKeyEvent *>(event);
        const QString text = keyEvent->text();
        const bool navigation =
            keyEvent->key() == Qt::Key_Tab || keyEvent->key() == Qt::Key_Backtab ||
            keyEvent->key() == Qt::Key_Return || keyEvent->key() == Qt::Key_Enter ||
            keyEvent->key() == Qt::Key_Escape;
        if (text.size() == 1 && !navigation) {
            QChar key = text.front();
            if (field == Edit_Anzahl)
                Edit_AnzahlKeyPress(key);
            else if (field == Edit_Zeige_Dauer)
                Edit_Zeige_DauerKeyPress(key);
            else
                Edit_Pausen_LaengeKeyPress(key);
            if (key.isNull())
                return true;
        }
    } else if (event->type() == QEvent::FocusOut) {
        // Only a move to another control of this window leaves the field.
        const auto reason = static_cast<QFocusEvent *>(event)->reason();
        if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason)
            leaveNumberField(field);
    }
    return ModalForm::eventFilter(watched, event);
}

void TForm_Farben::keyPressEvent(QKeyEvent *event)
{
    // Escape leaves the exercise as "beenden" does.
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        beenden1Click();
        return;
    }
    const int code = ColourCodeOfKey(event->key(), event->modifiers());
    if (code == 0) {
        ModalForm::keyPressEvent(event);
        return;
    }
    // A held key would answer again and again; one press is one answer, as a click is.
    if (!event->isAutoRepeat())
        RecordColourClick(Byte(code));
    event->accept();
}

void TForm_Farben::Edit_AnzahlKeyPress(QChar &key)
{
    if (!PassesNumberKeyFilter(key))
        key = QChar();
}

void TForm_Farben::Edit_Zeige_DauerKeyPress(QChar &key)
{
    if (!PassesNumberKeyFilter(key))
        key = QChar();
}

void TForm_Farben::Edit_Pausen_LaengeKeyPress(QChar &key)
{
    if (!PassesNumberKeyFilter(key))
        key = QChar();
}

// True when the field is not a number field or accepted its text.
bool TForm_Farben::leaveNumberField(QLineEdit *field)
{
    if (field == Edit_Anzahl)
        return Edit_AnzahlExit();
    if (field == Edit_Zeige_Dauer)
        return Edit_Zeige_DauerExit();
    if (field == Edit_Pausen_Laenge)
        return Edit_Pausen_LaengeExit();
    return true;
}

bool TForm_Farben::checkNumberField(QLineEdit *field, int maximum, const QString &refusal,
                                    int &setting)
{
    const SettingCheck check = CheckSetting(field->text(), maximum);
    if (check.outcome == SettingCheck::Accepted) {
        setting = check.value;
        return true;
    }
    if (check.outcome == SettingCheck::OutOfRange)
        ShowInformation(refusal, this);
    // Deferred: the field may be in the middle of handing the focus on.
    QTimer::singleShot(0, field, [field] { field->setFocus(Qt::OtherFocusReason); });
    return false;
}

bool TForm_Farben::Edit_AnzahlExit()
{
    int count = ColourCount;
    const bool accepted = checkNumberField(Edit_Anzahl, MaxColourCount, ColourCountRefusal, count);
    ColourCount = Byte(count);
    return accepted;
}

bool TForm_Farben::Edit_Zeige_DauerExit()
{
    return checkNumberField(Edit_Zeige_Dauer, MaxDurationMs, DurationRefusal, ShowDurationMs);
}

bool TForm_Farben::Edit_Pausen_LaengeExit()
{
    return checkNumberField(Edit_Pausen_Laenge, MaxDurationMs, DurationRefusal, PauseLengthMs);
}

void TForm_Farben::Regelhinweis1Click()
{
    RuleHintOn = !RuleHintOn;
    Regelhinweis1->setText(RuleHintOn ? QStringLiteral("&Regel-Hinweis aus")
                                      : QStringLiteral("&Regel-Hinweis ein"));
}

void TForm_Farben::Symbole1Click()
{
    SymbolsOn = !SymbolsOn;
    Symbole1->setText(SymbolsOn ? QStringLiteral("&Symbole aus") : QStringLiteral("&Symbole ein"));
    updateSymbols();
}

void TForm_Farben::Hilfe1Click()
{
    ShowHelp(ColoursHelpText, Manual::HtmlPathOfThisProgram(), this);
}

void TForm_Farben::beenden1Click()
{
    close();
}
