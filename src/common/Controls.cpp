// SPDX-License-Identifier: GPL-3.0-or-later
// Small helpers that give controls their colours, fonts and look, shared by the windows.
#include "common/Controls.h"

#include "common/Numbers.h"
#include "common/ScaleToScreen.h"

#include <QApplication>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPainter>
#include <QProxyStyle>
#include <QRadioButton>
#include <QStyleOption>
#include <QToolButton>

namespace {
class RadioIndicatorStyle : public QProxyStyle
{
public:
    int pixelMetric(PixelMetric metric, const QStyleOption *option,
                    const QWidget *widget) const override
    {
        if (metric == PM_ExclusiveIndicatorWidth || metric == PM_ExclusiveIndicatorHeight)
            return indicatorSize(option, widget);
        if (metric == PM_RadioButtonLabelSpacing)
            return std::max(QProxyStyle::pixelMetric(metric, option, widget),
                            indicatorSize(option, widget) / 3);
        return QProxyStyle::pixelMetric(metric, option, widget);
    }

    void drawPrimitive(PrimitiveElement element, const QStyleOption *option, QPainter *painter,
                       const QWidget *widget) const override
    {
        if (element != PE_IndicatorRadioButton) {
            QProxyStyle::drawPrimitive(element, option, painter, widget);
            return;
        }
        const QRectF box = option->rect;
        const qreal side = std::min(box.width(), box.height());
        const qreal penWidth = std::max<qreal>(1.0, side / 10.0);
        const QRectF ring(box.center().x() - side / 2 + penWidth / 2,
                          box.center().y() - side / 2 + penWidth / 2, side - penWidth,
                          side - penWidth);
        // The palette's current group is the disabled one for a disabled button.
        const QColor colour = option->palette.color(QPalette::WindowText);
        painter->save();
        painter->setRenderHint(QPainter::Antialiasing);
        painter->setPen(QPen(colour, penWidth));
        painter->setBrush(Qt::NoBrush);
        painter->drawEllipse(ring);
        if (option->state & (State_On | State_Sunken)) {
            const qreal inset = side / 4;
            painter->setPen(Qt::NoPen);
            painter->setBrush(colour);
            painter->drawEllipse(ring.adjusted(inset, inset, -inset, -inset));
        }
        painter->restore();
    }

private:
    static int indicatorSize(const QStyleOption *option, const QWidget *widget)
    {
        const int textHeight =
            widget ? widget->fontMetrics().height() : (option ? option->fontMetrics.height() : 16);
        return std::max(9, RoundHalfEven(textHeight * 0.8));
    }
};

// The styles that open a fixed list over its field, as tall as all its entries, ignore the
// number of visible rows; this one keeps every list a plain drop-down.
class BoundedListPopupStyle : public QProxyStyle
{
public:
    int styleHint(StyleHint hint, const QStyleOption *option, const QWidget *widget,
                  QStyleHintReturn *returnData) const override
    {
        if (hint == SH_ComboBox_Popup)
            return 0;
        return QProxyStyle::styleHint(hint, option, widget, returnData);
    }
};

RadioIndicatorStyle *radioIndicatorStyle()
{
    static RadioIndicatorStyle *style = [] {
        auto *created = new RadioIndicatorStyle;
        created->setParent(QCoreApplication::instance());
        return created;
    }();
    return style;
}
} // namespace

QColor ButtonFaceColour()
{
    return QApplication::palette().color(QPalette::Button);
}

void SetBackgroundColour(QWidget *widget, const QColor &colour)
{
    QPalette palette = widget->palette();
    palette.setColor(QPalette::Window, colour);
    // Only a field's own base: set on a window it would colour every field inside.
    if (qobject_cast<QLineEdit *>(widget))
        palette.setColor(QPalette::Base, colour);
    widget->setPalette(palette);
    widget->setAutoFillBackground(true);
}

void SetTextColour(QWidget *widget, const QColor &colour)
{
    QPalette palette = widget->palette();
    palette.setColor(QPalette::WindowText, colour);
    palette.setColor(QPalette::Text, colour);
    palette.setColor(QPalette::ButtonText, colour);
    widget->setPalette(palette);
}

void UseSystemColours(QWidget *widget)
{
    const QPalette system = QApplication::palette();
    QPalette palette;
    for (int role = 0; role < QPalette::NColorRoles; ++role) {
        const auto colorRole = QPalette::ColorRole(role);
        for (auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled})
            palette.setColor(group, colorRole, system.color(group, colorRole));
    }
    widget->setPalette(palette);
}

void SetBoldFont(QWidget *widget, int pointSize, const QString &family)
{
    QFont font = widget->font();
    font.setBold(true);
    if (pointSize > 0)
        font.setPointSize(pointSize);
    if (!family.isEmpty())
        font.setFamily(family);
    widget->setFont(font);
}

QLabel *CreateBoldLabel(QWidget *parent, const QString &name, const QString &text,
                        const QColor &colour, QPoint position, int pointSize, const QString &family)
{
    auto *label = new QLabel(text, parent);
    label->setObjectName(name);
    label->setTextFormat(Qt::PlainText);
    SetTextColour(label, colour);
    SetBoldFont(label, pointSize, family);
    label->move(position);
    label->adjustSize();
    return label;
}

QToolButton *CreateFlatButton(QWidget *parent, const QString &name, const QString &caption)
{
    auto *button = new QToolButton(parent);
    button->setObjectName(name);
    button->setText(caption);
    button->setAutoRaise(true);
    return button;
}

void UseReadableRadioIndicator(QRadioButton *button)
{
    button->setStyle(radioIndicatorStyle());
}

void UseBoundedListPopup(QComboBox *list)
{
    static BoundedListPopupStyle *style = [] {
        auto *created = new BoundedListPopupStyle;
        created->setParent(QCoreApplication::instance());
        return created;
    }();
    list->setStyle(style);
}

void ShowScaledContextMenu(QLineEdit *field, const QContextMenuEvent *event)
{
    QMenu *menu = field->createStandardContextMenu();
    menu->setFont(ScaledFont(QApplication::font(menu)));
    menu->setAttribute(Qt::WA_DeleteOnClose);
    menu->popup(event->globalPos());
}
