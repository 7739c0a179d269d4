// SPDX-License-Identifier: GPL-3.0-or-later
// The working directory of an installed program: the player's data folder, holding the capitals file.
#pragma once

#include <QString>
#include <QStringList>

namespace WorkingFolder {

// Where the installed program keeps its data, seen from the folder of its executable
// ("../share/mentaro" for the usual layout).
QString InstalledDataPathFromBinary();
// The folder of the data installed with the program, or an empty text when the executable does
// not stand in an installed layout (for instance in its build folder).
QString InstalledDataDirectory(const QString &applicationDirectory);
// The player's own data folder: "mentaro" under the XDG data home (~/.local/share by default);
// empty when the system names no such home.
QString UserDataDirectory();

struct Outcome
{
    bool changed = false; // the working directory was switched to the data folder
    QString error;        // German text for the player; empty when all went well
};

// Prepares and enters the data folder when the program is installed: the folder is created
// when missing, and each of `fileNames` that is missing there is copied from the installed
// data. A file already there is left alone. Without an installed layout (empty
// installedDataDirectory) nothing happens, so the program keeps the directory it was started
// in. When the folder cannot be made or entered, the working directory stays as it was; when a
// copy fails, no part of it is left behind. Either way `error` says what went wrong.
Outcome Prepare(const QString &installedDataDirectory, const QString &userDataDirectory,
                const QStringList &fileNames);

} // namespace WorkingFolder
