// SPDX-License-Identifier: GPL-3.0-or-later
// The program's icon, from the PNG sizes compiled into the program.
#include "common/AppIcon.h"

#include <QFile>
#include <QGuiApplication>

namespace AppIcon {

QList<int> Sizes()
{
    return {16, 24, 32, 48, 64, 128, 256};
}

QIcon Icon()
{
    QIcon icon;
    for (const int size : Sizes()) {
        // Each size drawn for itself keeps the small ones sharp.
        const QString path = QStringLiteral(":/hicolor/%1x%1/apps/mentaro.png").arg(size);
        if (QFile::exists(path))
            icon.addFile(path, QSize(size, size));
    }
    return icon;
}

void Install()
{
    QGuiApplication::setWindowIcon(Icon());
}

} // namespace AppIcon
