// SPDX-License-Identifier: GPL-3.0-or-later
// Program start: the application object, the windows' creation and the message loop.
#include "shell/Mentaro.h"

#include "colours/Farben.h"
#include "common/AppIcon.h"
#include "common/Controls.h"
#include "common/MessageBoxes.h"
#include "common/RecordFile.h"
#include "common/SharedState.h"
#include "common/StartupTimes.h"
#include "common/WorkingFolder.h"
#include "disturbance/Billard.h"
#include "disturbance/Fragehst.h"
#include "disturbance/Hauptsta.h"
#include "disturbance/Ringe.h"
#include "disturbance/Stoeren.h"
#include "disturbance/Stoertex.h"
#include "exercise/Muw.h"
#include "exercise/Muw_zahl.h"
#include "results/Name.h"
#include "results/Speicher.h"
#include "results/Tagebuchfuehrung.h"
#include "results/Zeigen.h"
#include "shell/Info.h"
#include "shell/Kr_progr.h"

#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

#include <optional>

MentaroApplication::MentaroApplication(int &argc, char **argv) : QApplication(argc, argv) {}

bool MentaroApplication::notify(QObject *receiver, QEvent *event)
{
    try {
        return QApplication::notify(receiver, event);
    } catch (const InOutError &error) {
        ShowError(error.message());
        return true;
    }
}

namespace Mentaro {

void EnterDataFolder()
{
    const WorkingFolder::Outcome outcome = WorkingFolder::Prepare(
        WorkingFolder::InstalledDataDirectory(QCoreApplication::applicationDirPath()),
        WorkingFolder::UserDataDirectory(), {CapitalsFileName});
    if (!outcome.error.isEmpty())
        ShowError(outcome.error);
}

void InstallGermanTranslation(QCoreApplication &app)
{
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    const QString directory = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
    for (const QString &catalog : {QStringLiteral("qtbase_de"), QStringLiteral("qt_de")}) {
        auto *translator = new QTranslator(&app);
        if (translator->load(catalog, directory))
            QCoreApplication::installTranslator(translator);
        else
            delete translator;
    }
}

template <typename Form> void createForm(Form *&instance)
{
    instance = new Form(Form_Prgr);
}

void CreateMainWindow()
{
    Form_Prgr = new TForm_Prgr;
}

void CreateOtherWindows()
{
    if (Form_MuW)
        return;
    createForm(Form_MuW);
    createForm(Form_MuW_Zahlen);
    createForm(Form_Stoeren_Vorgabe);
    createForm(Form_Frage_Hst);
    createForm(Form_Frage_Text);
    createForm(Form_Speich_MuW);
    createForm(Form_Name);
    createForm(Form_zeigen);
    createForm(Form_Info);
    createForm(Form_Farben);
    createForm(Form_Ringe);
    createForm(Form_Billard);
    StartupTimes::Mark(StartupTimes::Step::Windows);
}

void CreateWindows()
{
    CreateMainWindow();
    CreateOtherWindows();
}

OtherWindowsBeforeInput::OtherWindowsBeforeInput()
{
    qApp->installEventFilter(this);
}

OtherWindowsBeforeInput::~OtherWindowsBeforeInput()
{
    qApp->removeEventFilter(this);
}

bool OtherWindowsBeforeInput::eventFilter(QObject *, QEvent *event)
{
    if (!Form_MuW && (event->isInputEvent() || event->type() == QEvent::Close ||
                      event->type() == QEvent::Shortcut || event->type() == QEvent::Quit))
        CreateOtherWindows();
    return false;
}

template <typename Form> void destroyForm(Form *&instance)
{
    delete instance;
    instance = nullptr;
}

void DestroyWindows()
{
    destroyForm(Form_Billard);
    destroyForm(Form_Ringe);
    destroyForm(Form_Farben);
    destroyForm(Form_Info);
    destroyForm(Form_zeigen);
    destroyForm(Form_Name);
    destroyForm(Form_Speich_MuW);
    destroyForm(Form_Frage_Text);
    destroyForm(Form_Frage_Hst);
    destroyForm(Form_Stoeren_Vorgabe);
    destroyForm(Form_MuW_Zahlen);
    destroyForm(Form_MuW);
    destroyForm(Form_Prgr);
}

int Run(int argc, char **argv, const std::function<void()> &shown)
{
    StartupTimes::Mark(StartupTimes::Step::Main);
    IgnoreFileSizeLimitSignal();
    MentaroApplication app(argc, argv);
    StartupTimes::Mark(StartupTimes::Step::Application);
    // Only the application name: a display name would be appended to every window's caption.
    QApplication::setApplicationName(QStringLiteral("Mentaro"));
    InstallGermanTranslation(app);
    EnterDataFolder();
    StartupTimes::Mark(StartupTimes::Step::Prepared);
    // The main window comes first and alone to the screen; the twelve windows behind it follow
    // once its first frame is there, in their fixed order, and before any input reaches one.
    CreateMainWindow();
    StartupTimes::Mark(StartupTimes::Step::MainWindow);
    CapitalsBuffer = QByteArray(CapitalsBufferSize, '\0');
    std::optional<OtherWindowsBeforeInput> beforeInput(std::in_place);
    Form_Prgr->show();
    AfterFirstPaint(Form_Prgr->PaintBox1, [&beforeInput] {
        CreateOtherWindows();
        beforeInput.reset();
        // The window system reads every size of the icon.
        AppIcon::Install();
        JournalKeeping::Open();
    });
    if (shown)
        shown();
    const int exitCode = QApplication::exec();
    JournalKeeping::Close();
    CapitalsBuffer = QByteArray();
    DestroyWindows();
    return exitCode;
}

} // namespace Mentaro
