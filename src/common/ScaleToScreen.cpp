// SPDX-License-Identifier: GPL-3.0-or-later
// Display scaling: the factor every window applies to itself at creation, and window placement.
#include "common/ScaleToScreen.h"

#include "common/Numbers.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QEvent>
#include <QHash>
#include <QLabel>
#include <QMenu>
#include <QPointer>
#include <QScreen>
#include <QSet>
#include <QWidget>

#include <algorithm>

namespace {
bool scaledMode = true;
int appliedPercent = 100;

QRect scaledRect(const QRect &r, double f)
{
    return QRect(RoundHalfEven(r.x() * f), RoundHalfEven(r.y() * f), RoundHalfEven(r.width() * f),
                 RoundHalfEven(r.height() * f));
}

// Menus and list popups are windows of their own and take no font from the window they belong
// to, so they are collected with it.
bool isPopupOf(const QWidget *child)
{
    return qobject_cast<const QMenu *>(child) ||
           qobject_cast<const QComboBox *>(child->parentWidget());
}

void collectFonts(QWidget *widget, QList<QPair<QWidget *, QFont>> &fonts)
{
    fonts.append({widget, widget->font()});
    for (QObject *object : widget->children()) {
        auto *child = qobject_cast<QWidget *>(object);
        if (child && (!child->isWindow() || isPopupOf(child)))
            collectFonts(child, fonts);
    }
}

QFont grown(QFont font, double f)
{
    if (font.pointSizeF() > 0)
        font.setPointSizeF(font.pointSizeF() * f);
    else if (font.pixelSize() > 0)
        font.setPixelSize(std::max(1, RoundHalfEven(font.pixelSize() * f)));
    return font;
}

// Each font set tells every widget below of the change again, and some answer it with real
// work: a list lays out all its entries, a menu bar measures all its items. While a window's
// fonts grow, the news is held back, and each widget hears it once, with its final font.
class FontChangesHeld : public QObject
{
public:
    explicit FontChangesHeld(const QList<QPair<QWidget *, QFont>> &fonts)
    {
        for (const auto &entry : fonts)
            m_held.insert(entry.first);
        qApp->installEventFilter(this);
    }
    ~FontChangesHeld() override
    {
        qApp->removeEventFilter(this);
        for (QWidget *widget : std::as_const(m_told)) {
            QEvent change(QEvent::FontChange);
            QCoreApplication::sendEvent(widget, &change);
        }
    }
    FontChangesHeld(const FontChangesHeld &) = delete;
    FontChangesHeld &operator=(const FontChangesHeld &) = delete;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() != QEvent::FontChange)
            return false;
        auto *widget = static_cast<QWidget *>(watched);
        if (!m_held.contains(widget))
            return false;
        if (!m_toldSet.contains(widget)) {
            m_toldSet.insert(widget);
            m_told.append(widget);
        }
        return true;
    }

private:
    QSet<QObject *> m_held;
    QSet<QObject *> m_toldSet;
    QList<QWidget *> m_told; // in the order the news first came: children before parents
};

// Every font is read before any is changed, so inherited and own fonts grow exactly once.
void scaleFonts(QWidget *window, double f)
{
    // A list builds its popup only when first opened; it must exist to be scaled with the list.
    for (QComboBox *list : window->findChildren<QComboBox *>())
        list->view();
    QList<QPair<QWidget *, QFont>> fonts;
    collectFonts(window, fonts);
    const FontChangesHeld held(fonts);
    for (auto &[widget, font] : fonts)
        widget->setFont(grown(font, f));
}

void scaleChildGeometries(QWidget *parent, double f)
{
    for (QObject *object : parent->children()) {
        auto *child = qobject_cast<QWidget *>(object);
        if (!child || child->isWindow())
            continue;
        child->setGeometry(scaledRect(child->geometry(), f));
        scaleChildGeometries(child, f);
    }
}

// Labels sized to their text at design size: a grown font's text is not always exactly as much
// wider as the grown label, so these are sized to their text again once grown.
QList<QLabel *> labelsSizedToTheirText(const QWidget *window)
{
    QList<QLabel *> labels;
    for (QLabel *label : window->findChildren<QLabel *>()) {
        if (!label->wordWrap() && label->size() == label->sizeHint())
            labels.append(label);
    }
    return labels;
}

// The width a screen of 4:3 shape and the given height has.
double widthForHeight(double height)
{
    return height * 4.0 / 3.0;
}

double factorForWidth(double w, int p)
{
    if (w > DesignScreenWidth) {
        const double x = w / DesignScreenWidth * 100.0;
        return p > DesignPixelsPerInch ? x * (double(DesignPixelsPerInch) / p) : x;
    }
    if (w == DesignScreenWidth)
        return 100.0 - (p - DesignPixelsPerInch);
    if (w > 0) {
        const double shrink = (DesignScreenWidth / w - 1.0) * 100.0;
        return p <= DesignPixelsPerInch ? 100.0 - shrink : 100.0 - 2.0 * shrink;
    }
    return 100.0;
}

QScreen *screenOf(const QWidget *window)
{
    QScreen *screen = window ? window->screen() : nullptr;
    return screen ? screen : QGuiApplication::primaryScreen();
}

// The frame of a shown window; none before the platform has drawn one.
QMargins measuredFrame(const QWidget *window)
{
    if (!window->testAttribute(Qt::WA_WState_Created))
        return {};
    const QRect outer = window->frameGeometry();
    const QRect inner = window->geometry();
    return QMargins(inner.left() - outer.left(), inner.top() - outer.top(),
                    outer.right() - inner.right(), outer.bottom() - inner.bottom());
}

QMargins lastMeasuredFrame;
// Per screen: the frame size of the window maximised last.
QHash<QString, QSize> maximisedFrames;

bool isOrdinaryWindow(const QWidget *widget)
{
    const Qt::WindowType type = widget->windowType();
    return widget->isWindow() && (type == Qt::Window || type == Qt::Dialog);
}

bool inNormalState(const QWidget *window)
{
    return !(window->windowState() &
             (Qt::WindowMaximized | Qt::WindowFullScreen | Qt::WindowMinimized));
}

void keepInWorkArea(QWidget *window)
{
    if (!window->isVisible() || !inNormalState(window))
        return;
    const QSize fitted = ClientSizeInWorkArea(window->size(), WorkAreaSize(window),
                                              PlatformFrame(window), window->minimumSize());
    if (fitted != window->size())
        window->resize(fitted);
}

// Watches the windows of the program: learns the platform's frame and the work area from the
// shown windows, and keeps windows in their normal size inside the work area. Windows are sized
// at creation, before any of them is shown and before a maximised one has told the work area.
class WorkAreaKeeper : public QObject
{
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        const QEvent::Type type = event->type();
        if (type != QEvent::Show && type != QEvent::Resize && type != QEvent::Move &&
            type != QEvent::WindowStateChange)
            return false;
        auto *window = qobject_cast<QWidget *>(watched);
        if (!window || !isOrdinaryWindow(window))
            return false;
        const QMargins frame = window->isVisible() ? measuredFrame(window) : QMargins();
        if (!frame.isNull())
            lastMeasuredFrame = frame;
        if (window->isVisible() && (window->windowState() & Qt::WindowMaximized))
            maximisedFrames.insert(screenOf(window)->name(), window->frameGeometry().size());
        // The platform's own sizing of a shown or restored window comes first; a restored one
        // gets its normal size only some time after its state has changed.
        if (type != QEvent::Move && inNormalState(window)) {
            QMetaObject::invokeMethod(
                window,
                [guarded = QPointer<QWidget>(window)] {
                    if (guarded)
                        keepInWorkArea(guarded);
                },
                Qt::QueuedConnection);
        }
        return false;
    }
};

void watchWindows()
{
    static const bool installed = [] {
        if (QCoreApplication *app = QCoreApplication::instance())
            app->installEventFilter(new WorkAreaKeeper(app));
        return true;
    }();
    Q_UNUSED(installed);
}
} // namespace

QMargins PlatformFrame(const QWidget *window)
{
    const QMargins frame = window ? measuredFrame(window) : QMargins();
    if (!frame.isNull())
        return frame;
    return lastMeasuredFrame.isNull() ? WindowFrame : lastMeasuredFrame;
}

QSize WorkAreaSize(const QWidget *window)
{
    const QScreen *screen = screenOf(window);
    if (!screen)
        return {};
    const QSize available = screen->availableGeometry().size();
    const QSize maximised = maximisedFrames.value(screen->name());
    return maximised.isEmpty() ? available : available.boundedTo(maximised);
}

QSize ClientSizeInWorkArea(QSize client, QSize workArea, QMargins frame, QSize minimum)
{
    const QSize room(workArea.width() - frame.left() - frame.right(),
                     workArea.height() - frame.top() - frame.bottom());
    return client.boundedTo(room).expandedTo(minimum);
}

int ScaleFactorPercent(int width, int height, int pixelsPerInch)
{
    return RoundHalfEven(std::min(factorForWidth(width, pixelsPerInch),
                                  factorForWidth(widthForHeight(height), pixelsPerInch)));
}

void SetScaledMode(bool on)
{
    scaledMode = on;
}

bool ScaledMode()
{
    return scaledMode;
}

void ScaleWidgetTree(QWidget *window, int percent)
{
    if (percent == 100 || percent <= 0)
        return;
    const double f = percent / 100.0;
    window->resize(RoundHalfEven(window->width() * f), RoundHalfEven(window->height() * f));
    const QList<QLabel *> sizedToText = labelsSizedToTheirText(window);
    scaleFonts(window, f);
    scaleChildGeometries(window, f);
    for (QLabel *label : sizedToText)
        label->resize(label->size().expandedTo(label->sizeHint()));
    // The glyph beside a button's caption keeps its size against the text.
    for (QAbstractButton *button : window->findChildren<QAbstractButton *>()) {
        if (!button->icon().isNull())
            button->setIconSize(button->iconSize() * f);
    }
}

void ScaleToScreen(QWidget *window)
{
    watchWindows();
    if (!scaledMode)
        return;
    const QScreen *screen = screenOf(window);
    if (!screen)
        return;
    const int pixelsPerInch = RoundHalfEven(screen->logicalDotsPerInch());
    // The designed frame is kept free at least: a window is scaled before the platform has
    // framed it, and a maximised one gets less than the work area where panels hide.
    const QMargins platform = PlatformFrame(window);
    const QMargins frame(std::max(platform.left(), WindowFrame.left()),
                         std::max(platform.top(), WindowFrame.top()),
                         std::max(platform.right(), WindowFrame.right()),
                         std::max(platform.bottom(), WindowFrame.bottom()));
    const QRect room =
        QRect(screen->availableGeometry().topLeft(), WorkAreaSize(window)).marginsRemoved(frame);
    appliedPercent = ScaleFactorPercent(room.width(), room.height(), pixelsPerInch);
    ScaleWidgetTree(window, appliedPercent);
    // A window designed larger than the screen's design size would still have to fit.
    window->resize(std::min(window->width(), room.width()),
                   std::min(window->height(), room.height()));
}

int ScreenScalePercent()
{
    return appliedPercent;
}

QFont ScaledFont(const QFont &designFont)
{
    return grown(designFont, appliedPercent / 100.0);
}

void UseScaledFont(QWidget *window)
{
    if (appliedPercent != 100)
        window->setFont(ScaledFont(QApplication::font(window)));
}

void CentreOnScreen(QWidget *window)
{
    const QScreen *screen = screenOf(window);
    if (!screen)
        return;
    // A window never shown has no frame yet; it will get the one the windows before got.
    const QMargins frame = PlatformFrame(window);
    const QSize outer = window->size().grownBy(frame);
    const QRect area = screen->availableGeometry();
    // The client area's place: a position given with move() would count the frame on some
    // platforms and not on others before the window was shown.
    window->setGeometry(area.x() + (area.width() - outer.width()) / 2 + frame.left(),
                        area.y() + (area.height() - outer.height()) / 2 + frame.top(),
                        window->width(), window->height());
}
