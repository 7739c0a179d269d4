// SPDX-License-Identifier: GPL-3.0-or-later
// Program start: the application object, the windows' creation and the message loop.
#pragma once

#include <QApplication>

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
// Creates the thirteen windows once each, in their fixed order.
void CreateWindows();
// Ends the program's life: the windows go in reverse order of their creation.
void DestroyWindows();
// The whole program: title, windows, capitals buffer, message loop.
int Run(int argc, char **argv);

} // namespace Mentaro
