// SPDX-License-Identifier: GPL-3.0-or-later
// Program entry: the application object, the windows' creation and the message loop.
#pragma once

#include <QApplication>

#include <functional>

// The application object: an input/output error that escapes an event handler is shown
// in an error box, the rest of that handler is skipped and the program goes on.
class MentaroApplication : public QApplication
{
public:
    MentaroApplication(int &argc, char **argv);
    bool notify(QObject *receiver, QEvent *event) override;
};

namespace Mentaro {

// Qt's own German texts (buttons, file and print dialogs) and German formats.
void InstallGermanTranslation(QCoreApplication &app);
// Started from an installed layout, the program works in the player's data folder (created,
// with the capitals file, when missing); started from its build folder it stays where it is.
void EnterDataFolder();
// Creates the thirteen windows once each, in their fixed order: the main window, then the
// twelve behind it (once only).
void CreateWindows();
void CreateMainWindow();
void CreateOtherWindows();

// While it lives, the first input or close request, wherever it goes, creates the windows
// behind the main window before it is handled, if they do not exist yet: every way into them
// starts with one.
class OtherWindowsBeforeInput : public QObject
{
public:
    OtherWindowsBeforeInput();
    ~OtherWindowsBeforeInput() override;
    OtherWindowsBeforeInput(const OtherWindowsBeforeInput &) = delete;
    OtherWindowsBeforeInput &operator=(const OtherWindowsBeforeInput &) = delete;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
};
// Ends the program's life: the windows go in reverse order of their creation.
void DestroyWindows();
// The whole program: title, windows, capitals buffer, message loop. `shown` runs once the main
// window has been shown, before the message loop (the benchmark watches the first frame there).
int Run(int argc, char **argv, const std::function<void()> &shown = {});

} // namespace Mentaro
