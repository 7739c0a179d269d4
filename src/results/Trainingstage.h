// SPDX-License-Identifier: GPL-3.0-or-later
// The training days of the last twelve weeks as squares, one per day, shaded by what was trained.
#pragma once

#include "journal/Fortschritt.h"

#include <QColor>
#include <QList>
#include <QWidget>

// The colour of a shade 0..4 on the navy window: from an empty square to bright green.
QColor ShadeColour(int shade);

// Twelve columns of weeks, Monday at the top; today's square is framed, days to come are left
// out. Each square names its day and what was trained in its tooltip.
class TTrainingDays : public QWidget
{
    Q_OBJECT

public:
    explicit TTrainingDays(QWidget *parent = nullptr);

    void setDays(const QList<TrainingDay> &days);
    const QList<TrainingDay> &days() const { return m_days; }
    // Where a day's square is drawn.
    QRect squareOf(const TrainingDay &day) const;
    // The day whose square holds the point; none between the squares.
    const TrainingDay *dayAt(const QPoint &point) const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }

protected:
    bool event(QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    int squareSize() const;
    int labelWidth() const;

    QList<TrainingDay> m_days;
};
