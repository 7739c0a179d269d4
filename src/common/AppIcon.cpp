// SPDX-License-Identifier: GPL-3.0-or-later
// The program's icon, from the PNG sizes compiled into the program.
#include "common/AppIcon.h"

#include <QFile>
#include <QGuiApplication>
#include <QIconEngine>
#include <QMap>
#include <QPainter>

#include <algorithm>

namespace AppIcon {
namespace {
QString pathOf(int size)
{
    return QStringLiteral(":/hicolor/%1x%1/apps/mentaro.png").arg(size);
}

// Decodes each size only when it is first asked for, and then keeps it: a window system asks
// for a few sizes, the about window for one, and decoding all seven took longer than building
// a window.
class ProgramIconEngine : public QIconEngine
{
public:
    ProgramIconEngine()
    {
        for (const int size : Sizes()) {
            if (QFile::exists(pathOf(size)))
                m_sizes.append(size);
        }
    }

    QIconEngine *clone() const override { return new ProgramIconEngine(*this); }
    QString key() const override { return QStringLiteral("ProgramIconEngine"); }
    bool isNull() override { return m_sizes.isEmpty(); }

    QList<QSize> availableSizes(QIcon::Mode, QIcon::State) override
    {
        QList<QSize> sizes;
        for (const int size : std::as_const(m_sizes))
            sizes.append(QSize(size, size));
        return sizes;
    }

    QSize actualSize(const QSize &size, QIcon::Mode, QIcon::State) override
    {
        const int edge = bestEdgeFor(size);
        return edge > 0 ? QSize(edge, edge)
                              .scaled(size, Qt::KeepAspectRatio)
                              .boundedTo(QSize(edge, edge))
                        : QSize();
    }

    // Like Qt's own icons: the best fitting size, scaled down to fit, never up.
    QPixmap pixmap(const QSize &size, QIcon::Mode, QIcon::State) override
    {
        const int edge = bestEdgeFor(size);
        if (edge <= 0)
            return {};
        QPixmap &picture = m_decoded[edge];
        if (picture.isNull())
            picture = QPixmap(pathOf(edge));
        const QSize wanted = QSize(edge, edge).scaled(size, Qt::KeepAspectRatio);
        if (picture.isNull() || wanted.width() >= edge)
            return picture;
        return picture.scaled(wanted, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    }

    void paint(QPainter *painter, const QRect &rect, QIcon::Mode mode, QIcon::State state) override
    {
        const QPixmap picture = pixmap(rect.size(), mode, state);
        const QRect target =
            QRect(QPoint(), picture.size())
                .translated(rect.center() - QRect(QPoint(), picture.size()).center());
        painter->drawPixmap(target, picture);
    }

private:
    // The smallest size at least as large as asked for, else the largest.
    int bestEdgeFor(const QSize &size) const
    {
        if (m_sizes.isEmpty())
            return 0;
        const int wanted = std::max(size.width(), size.height());
        const auto fitting = std::find_if(m_sizes.begin(), m_sizes.end(),
                                          [wanted](int edge) { return edge >= wanted; });
        return fitting != m_sizes.end() ? *fitting : m_sizes.last();
    }

    QList<int> m_sizes;
    QMap<int, QPixmap> m_decoded;
};
} // namespace

QList<int> Sizes()
{
    return {16, 24, 32, 48, 64, 128, 256};
}

QIcon Icon()
{
    // One engine for the whole run, so every size is decoded once however often it is asked for.
    static const QIcon icon(new ProgramIconEngine);
    return icon;
}

void Install()
{
    QGuiApplication::setWindowIcon(Icon());
}

} // namespace AppIcon
