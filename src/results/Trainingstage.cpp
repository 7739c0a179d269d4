// SPDX-License-Identifier: GPL-3.0-or-later
// The training days of the last twelve weeks as squares, one per day, shaded by what was trained.
#include "results/Trainingstage.h"

#include <QHelpEvent>
#include <QPainter>
#include <QToolTip>

#include <algorithm>

namespace {
constexpr int Gap = 3;
constexpr int DaysPerWeek = 7;
const char *const WeekdayLabels[DaysPerWeek] = {"Mo", "", "Mi", "", "Fr", "", "So"};
} // namespace

QColor ShadeColour(int shade)
{
    static const QColor shades[] = {QColor(0x2a, 0x2a, 0x8c), QColor(0x1b, 0x6b, 0x3a),
                                    QColor(0x26, 0x8f, 0x4a), QColor(0x3c, 0xbf, 0x5f),
                                    QColor(0x7d, 0xf0, 0x8f)};
    return shades[std::clamp(shade, 0, HighestShade)];
}

TTrainingDays::TTrainingDays(QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("Trainingstage"));
    setAccessibleName(QStringLiteral("Trainingstage der letzten 12 Wochen"));
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
}

void TTrainingDays::setDays(const QList<TrainingDay> &days)
{
    m_days = days;
    int trained = 0;
    for (const TrainingDay &day : days)
        trained += day.activity.total() > 0 ? 1 : 0;
    setAccessibleDescription(
        QStringLiteral("An %1 der letzten %2 Tage trainiert").arg(trained).arg(days.size()));
    updateGeometry();
    update();
}

int TTrainingDays::squareSize() const
{
    return std::max(8, fontMetrics().height() * 4 / 5);
}

int TTrainingDays::labelWidth() const
{
    return fontMetrics().horizontalAdvance(QStringLiteral("Mo")) + 2 * Gap;
}

QSize TTrainingDays::sizeHint() const
{
    const int step = squareSize() + Gap;
    return {labelWidth() + TrainingWeeks * step, DaysPerWeek * step};
}

QRect TTrainingDays::squareOf(const TrainingDay &day) const
{
    const int step = squareSize() + Gap;
    return {labelWidth() + day.week * step, day.weekday * step, squareSize(), squareSize()};
}

const TrainingDay *TTrainingDays::dayAt(const QPoint &point) const
{
    for (const TrainingDay &day : m_days) {
        if (!day.future && squareOf(day).contains(point))
            return &day;
    }
    return nullptr;
}

bool TTrainingDays::event(QEvent *event)
{
    if (event->type() == QEvent::ToolTip) {
        const auto *help = static_cast<QHelpEvent *>(event);
        if (const TrainingDay *day = dayAt(help->pos()))
            QToolTip::showText(help->globalPos(), TrainingDayText(*day), this, squareOf(*day));
        else
            QToolTip::hideText();
        return true;
    }
    return QWidget::event(event);
}

void TTrainingDays::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(palette().color(QPalette::WindowText));
    const int size = squareSize();
    for (int row = 0; row < DaysPerWeek; ++row) {
        const QRect label(0, row * (size + Gap), labelWidth() - Gap, size);
        painter.drawText(label, Qt::AlignVCenter | Qt::AlignLeft,
                         QString::fromLatin1(WeekdayLabels[row]));
    }
    for (const TrainingDay &day : std::as_const(m_days)) {
        if (day.future)
            continue;
        const QRectF square = QRectF(squareOf(day)).adjusted(0.5, 0.5, -0.5, -0.5);
        painter.setBrush(ShadeColour(day.shade));
        painter.setPen(day.today ? QPen(Qt::white, 2) : QPen(ShadeColour(day.shade).lighter(130), 1));
        painter.drawRoundedRect(square, 2, 2);
    }
}
