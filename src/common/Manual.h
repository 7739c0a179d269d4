// SPDX-License-Identifier: GPL-3.0-or-later
// Where the player's HTML manual lies: installed with the program, or made in its build folder.
#pragma once

#include <QString>

namespace Manual {

// The manual's file name, in the documentation folder of an installation and in the "doc"
// folder of a build.
inline const QString HtmlFileName = QStringLiteral("Anleitung.html");

// The HTML manual of the program whose executable stands in applicationDirectory: the one in
// the installed documentation folder ("../share/doc/mentaro" for the usual layout), else the
// one the build made in its "doc" folder; empty when there is neither.
QString HtmlPath(const QString &applicationDirectory);
// The same for the running program.
QString HtmlPathOfThisProgram();

} // namespace Manual
