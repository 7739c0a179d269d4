// SPDX-License-Identifier: GPL-3.0-or-later
// The working directory of an installed program: the player's data folder, holding the capitals file.
#include "common/WorkingFolder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>

#ifndef MENTARO_DATA_FROM_BINARY
#define MENTARO_DATA_FROM_BINARY "../share/mentaro"
#endif

namespace WorkingFolder {
namespace {

// Copies source to target through a temporary file that only takes the target's name once
// every byte has been written.
bool copyWhole(const QString &source, const QString &target)
{
    QFile in(source);
    if (!in.open(QIODevice::ReadOnly))
        return false;
    const QByteArray bytes = in.readAll();
    if (in.error() != QFileDevice::NoError)
        return false;
    QSaveFile out(target);
    if (!out.open(QIODevice::WriteOnly))
        return false;
    // A full disk shows only when the buffer is written out, and commit() alone would not
    // notice it, so the flush is checked first.
    if (out.write(bytes) != bytes.size() || !out.flush() || out.error() != QFileDevice::NoError) {
        out.cancelWriting();
        out.commit();
        return false;
    }
    return out.commit();
}

QString nativeName(const QString &path)
{
    return QDir::toNativeSeparators(path);
}

} // namespace

QString InstalledDataPathFromBinary()
{
    return QStringLiteral(MENTARO_DATA_FROM_BINARY);
}

QString InstalledDataDirectory(const QString &applicationDirectory)
{
    if (applicationDirectory.isEmpty())
        return {};
    const QFileInfo data(QDir(applicationDirectory).filePath(InstalledDataPathFromBinary()));
    return data.isDir() ? data.canonicalFilePath() : QString();
}

QString UserDataDirectory()
{
    const QString home = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    return home.isEmpty() ? QString() : QDir(home).filePath(QStringLiteral("mentaro"));
}

Outcome Prepare(const QString &installedDataDirectory, const QString &userDataDirectory,
                const QStringList &fileNames)
{
    Outcome outcome;
    if (installedDataDirectory.isEmpty())
        return outcome;
    if (userDataDirectory.isEmpty()) {
        outcome.error = QStringLiteral("Für den Datenordner des Programms ist kein "
                                       "Benutzerverzeichnis bekannt.");
        return outcome;
    }
    if (!QDir().mkpath(userDataDirectory) || !QFileInfo(userDataDirectory).isDir()) {
        outcome.error = QStringLiteral("Der Datenordner\n%1\nkann nicht angelegt werden.")
                            .arg(nativeName(userDataDirectory));
        return outcome;
    }
    if (!QDir::setCurrent(userDataDirectory)) {
        outcome.error = QStringLiteral("In den Datenordner\n%1\nkann nicht gewechselt werden.")
                            .arg(nativeName(userDataDirectory));
        return outcome;
    }
    outcome.changed = true;

    const QDir installed(installedDataDirectory);
    const QDir user(userDataDirectory);
    QStringList failed;
    for (const QString &name : fileNames) {
        const QString target = user.filePath(name);
        // A link at the name, dangling or not, is never written through; the program's
        // rewrite of the file refuses it and says so.
        if (QFileInfo::exists(target) || QFileInfo(target).isSymLink())
            continue;
        const QString source = installed.filePath(name);
        // A file the installation lacks stays missing; the program reports it when it needs it.
        if (!QFileInfo(source).isFile())
            continue;
        if (!copyWhole(source, target))
            failed.append(name);
    }
    if (!failed.isEmpty()) {
        outcome.error = QStringLiteral("Die Datei \"%1\" kann nicht in den Datenordner\n%2\n"
                                       "kopiert werden.")
                            .arg(failed.join(QStringLiteral("\", \"")),
                                 nativeName(userDataDirectory));
    }
    return outcome;
}

} // namespace WorkingFolder
