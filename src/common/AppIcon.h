// SPDX-License-Identifier: GPL-3.0-or-later
// The program's icon, from the PNG sizes compiled into the program.
#pragma once

#include <QIcon>
#include <QList>

namespace AppIcon {

// The edge lengths in pixels of the icon pictures the program carries.
QList<int> Sizes();
// The program icon with all its sizes, each decoded when first needed; a null icon only if
// the resources are missing.
QIcon Icon();
// Makes the program icon the window icon of every window of the application. The program
// does this once its main window is on the screen: a window system reads every size of it.
void Install();

} // namespace AppIcon
