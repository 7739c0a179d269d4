// SPDX-License-Identifier: GPL-3.0-or-later
// Where the player's HTML manual lies: installed with the program, or made in its build folder.
#include "common/Manual.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

#ifndef MENTARO_DOC_FROM_BINARY
#define MENTARO_DOC_FROM_BINARY "../share/doc/mentaro"
#endif

namespace Manual {

QString HtmlPath(const QString &applicationDirectory)
{
    if (applicationDirectory.isEmpty())
        return {};
    const QDir binary(applicationDirectory);
    for (const QString &folder :
         {QStringLiteral(MENTARO_DOC_FROM_BINARY), QStringLiteral("doc")}) {
        const QFileInfo manual(binary.filePath(folder + QLatin1Char('/') + HtmlFileName));
        if (manual.isFile() && manual.isReadable())
            return manual.canonicalFilePath();
    }
    return {};
}

QString HtmlPathOfThisProgram()
{
    return HtmlPath(QCoreApplication::applicationDirPath());
}

} // namespace Manual
