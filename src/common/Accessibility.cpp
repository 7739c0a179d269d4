// SPDX-License-Identifier: GPL-3.0-or-later
// What a screen reader hears: names taken from labels, panels named for what they show, and
// the announcements of a game.
#include "common/Accessibility.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QApplication>
#include <QLabel>

namespace {
const char DisplayProperty[] = "mentaroDisplay";

QString shownText(const QLabel *label)
{
    return label->text().simplified();
}

// A label's own interface takes its name from its text, and the label reports every new
// text; a display keeps its name for what it shows and reports changes when told to.
class DisplayAccessible : public QAccessibleWidget
{
public:
    explicit DisplayAccessible(QLabel *label) : QAccessibleWidget(label, QAccessible::StaticText) {}

    QString text(QAccessible::Text t) const override
    {
        const auto *label = static_cast<const QLabel *>(widget());
        if (t == QAccessible::Name)
            return DisplayName(label->accessibleName(), label->text());
        if (t == QAccessible::Value)
            return shownText(label);
        return QAccessibleWidget::text(t);
    }
};

QAccessibleInterface *displayFactory(const QString &, QObject *object)
{
    auto *label = qobject_cast<QLabel *>(object);
    if (label && label->property(DisplayProperty).toBool())
        return new DisplayAccessible(label);
    return nullptr;
}
} // namespace

QString AccessibleNameOfCaption(const QString &caption)
{
    QString name;
    for (int i = 0; i < caption.size(); ++i) {
        if (caption[i] == QLatin1Char('&') && i + 1 < caption.size())
            ++i;
        name += caption[i];
    }
    name = name.simplified();
    while (name.endsWith(QLatin1Char(':')))
        name.chop(1);
    return name.trimmed();
}

void NameAfterLabel(QLabel *label, QWidget *control, const QString &name)
{
    label->setBuddy(control);
    control->setAccessibleName(name.isEmpty() ? AccessibleNameOfCaption(label->text()) : name);
}

void NameAsDisplay(QLabel *panel, const QString &what)
{
    static const bool installed = (QAccessible::installFactory(displayFactory), true);
    Q_UNUSED(installed);
    panel->setProperty(DisplayProperty, true);
    // A name of its own also keeps the label from reporting each new text.
    panel->setAccessibleName(what);
    // An interface made before, while the label was a plain one, must not stay in use.
    QAccessibleInterface *made = QAccessible::queryAccessibleInterface(panel);
    if (made && !dynamic_cast<DisplayAccessible *>(made))
        QAccessible::deleteAccessibleInterface(QAccessible::uniqueId(made));
}

QString DisplayName(const QString &what, const QString &shownText)
{
    const QString value = shownText.simplified();
    return value.isEmpty() ? what : what + QStringLiteral(": ") + value;
}

void AnnounceDisplay(QLabel *panel)
{
    QAccessibleEvent event(panel, QAccessible::NameChanged);
    QAccessible::updateAccessibility(&event);
}

bool IsInFrontWindow(const QWidget *widget)
{
    if (!widget->isVisible())
        return false;
    const QWidget *front = QApplication::activeModalWidget();
    return !front || front == widget->window();
}
