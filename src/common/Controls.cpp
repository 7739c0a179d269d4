// SPDX-License-Identifier: GPL-3.0-or-later
// Small helpers that give controls their colours, fonts and look, shared by the windows.
#include "common/Controls.h"

#include "common/Numbers.h"
#include "common/ScaleToScreen.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QIconEngine>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPainter>
#include <QProxyStyle>
#include <QRadioButton>
#include <QStyleOption>
#include <QTimer>
#include <QToolButton>

#include <algorithm>
#include <cmath>

namespace {
// The readable radio indicator, and focus frames that stand out on any window colour.
class RadioIndicatorStyle : public QProxyStyle
{
public:
    void drawControl(ControlElement element, const QStyleOption *option, QPainter *painter,
                     const QWidget *widget) const override
    {
        QProxyStyle::drawControl(element, option, painter, widget);
        if (!(option->state & State_HasFocus) || !widget)
            return;
        if (element == CE_PushButton)
            DrawFocusFrame(*painter, subElementRect(SE_PushButtonFocusRect, option, widget),
                           option->palette.color(QPalette::Button));
        else if (element == CE_RadioButton)
            DrawFocusFrame(*painter, subElementRect(SE_RadioButtonFocusRect, option, widget),
                           option->palette.color(QPalette::Window));
        else if (element == CE_CheckBox)
            DrawFocusFrame(*painter, subElementRect(SE_CheckBoxFocusRect, option, widget),
                           option->palette.color(QPalette::Window));
    }

    void drawComplexControl(ComplexControl control, const QStyleOptionComplex *option,
                            QPainter *painter, const QWidget *widget) const override
    {
        QProxyStyle::drawComplexControl(control, option, painter, widget);
        // A flat button shows the window behind it.
        if (control == CC_ToolButton && (option->state & State_HasFocus) && widget)
            DrawFocusFrame(*painter, option->rect,
                           option->palette.color((option->state & State_AutoRaise)
                                                     ? QPalette::Window
                                                     : QPalette::Button));
    }

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
        // The style's own faint focus rectangle gives way to the frame drawn over the control.
        if (element == PE_FrameFocusRect && qobject_cast<const QAbstractButton *>(widget))
            return;
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

namespace {
class StandardIconEngine : public QIconEngine
{
public:
    explicit StandardIconEngine(QStyle::StandardPixmap which) : m_which(which) {}

    QIconEngine *clone() const override { return new StandardIconEngine(*this); }
    QString key() const override { return QStringLiteral("StandardIconEngine"); }
    // Known without the lookup: a button lays itself out for an icon before drawing it.
    bool isNull() override { return false; }
    QList<QSize> availableSizes(QIcon::Mode mode, QIcon::State state) override
    {
        return icon().availableSizes(mode, state);
    }
    QSize actualSize(const QSize &size, QIcon::Mode mode, QIcon::State state) override
    {
        return icon().actualSize(size, mode, state);
    }
    QPixmap pixmap(const QSize &size, QIcon::Mode mode, QIcon::State state) override
    {
        return icon().pixmap(size, mode, state);
    }
    void paint(QPainter *painter, const QRect &rect, QIcon::Mode mode, QIcon::State state) override
    {
        icon().paint(painter, rect, Qt::AlignCenter, mode, state);
    }

private:
    const QIcon &icon()
    {
        if (!m_looked)
            m_icon = QApplication::style()->standardIcon(m_which);
        m_looked = true;
        return m_icon;
    }

    QStyle::StandardPixmap m_which;
    QIcon m_icon;
    bool m_looked = false;
};

class FirstPaintWatch : public QObject
{
public:
    FirstPaintWatch(QWidget *widget, std::function<void()> then)
        : QObject(widget), m_then(std::move(then))
    {
        widget->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Paint) {
            watched->removeEventFilter(this);
            QTimer::singleShot(0, qApp, m_then);
            deleteLater();
        }
        return false;
    }

private:
    std::function<void()> m_then;
};
} // namespace

QIcon StandardIconWhenNeeded(QStyle::StandardPixmap icon)
{
    return QIcon(new StandardIconEngine(icon));
}

void AfterFirstPaint(QWidget *widget, std::function<void()> then)
{
    new FirstPaintWatch(widget, std::move(then));
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

namespace {
double linearChannel(double value)
{
    return value <= 0.04045 ? value / 12.92 : std::pow((value + 0.055) / 1.055, 2.4);
}
} // namespace

double RelativeLuminance(const QColor &colour)
{
    const QColor rgb = colour.toRgb();
    return 0.2126 * linearChannel(rgb.redF()) + 0.7152 * linearChannel(rgb.greenF()) +
           0.0722 * linearChannel(rgb.blueF());
}

double ContrastRatio(const QColor &first, const QColor &second)
{
    const double a = RelativeLuminance(first);
    const double b = RelativeLuminance(second);
    return (std::max(a, b) + 0.05) / (std::min(a, b) + 0.05);
}

QColor BlackOrWhiteAgainst(const QColor &background)
{
    const QColor black(0, 0, 0);
    const QColor white(255, 255, 255);
    return ContrastRatio(background, black) >= ContrastRatio(background, white) ? black : white;
}

void DrawFocusFrame(QPainter &painter, const QRect &area, const QColor &background)
{
    // Two pixels at design size, growing with the control.
    const int width = std::max(2, area.height() / 14);
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setPen(
        QPen(BlackOrWhiteAgainst(background), width, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
    painter.setBrush(Qt::NoBrush);
    const int inset = width / 2;
    painter.drawRect(area.adjusted(inset, inset, -inset - (width % 2 == 0 ? 1 : 0),
                                   -inset - (width % 2 == 0 ? 1 : 0)));
    painter.restore();
}

void DrawFocusFrame(QWidget *widget, const QRect &area, const QColor &background)
{
    QPainter painter(widget);
    DrawFocusFrame(painter, area, background);
}

void UseVisibleFocusFrames(QWidget *window)
{
    for (QAbstractButton *button : window->findChildren<QAbstractButton *>()) {
        if (button->style() != radioIndicatorStyle())
            button->setStyle(radioIndicatorStyle());
    }
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
