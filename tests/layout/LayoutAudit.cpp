#include "layout/LayoutAudit.h"
#include <QAbstractButton>
#include <QAccessible>
#include <QHash>
#include <QAbstractItemView>
#include <QAbstractSlider>
#include <QAbstractSpinBox>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QFontMetrics>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSet>
#include <QTextEdit>
#include <algorithm>

namespace {
// Widgets whose children are ours to place; the insides of Qt's compound widgets are not.
bool isContainer(const QWidget* w, const QWidget* window)
{
    static const QSet<QString> plain{"QWidget", "QFrame", "QGroupBox"};
    return w == window || plain.contains(QString::fromLatin1(w->metaObject()->className()));
}

// A bare box drawn around other controls, which are meant to sit on it.
bool isDecoration(const QWidget* w)
{
    return QString::fromLatin1(w->metaObject()->className()) == "QFrame" && w->findChildren<QWidget*>().isEmpty();
}

QString nameOf(const QWidget* w)
{
    QString text;
    if (auto* b = qobject_cast<const QAbstractButton*>(w))
        text = b->text();
    else if (auto* l = qobject_cast<const QLabel*>(w))
        text = l->text();
    return QString::fromLatin1(w->metaObject()->className()) + " '" + (w->objectName().isEmpty() ? text : w->objectName())
           + "'";
}

QList<QWidget*> placed(QWidget* window)
{
    QList<QWidget*> out;
    QList<QWidget*> parents{window};
    while (!parents.isEmpty()) {
        QWidget* parent = parents.takeFirst();
        for (QWidget* w : parent->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
            if (w->isWindow() || !w->isVisibleTo(window))
                continue;
            out << w;
            if (isContainer(w, window))
                parents << w;
        }
    }
    return out;
}

QString plainCaption(QString text)
{
    text.replace("&&", "\x01");
    text.remove('&');
    text.replace('\x01', '&');
    return text;
}

// The caption's space needs, against the control's size.
QString captionProblem(QWidget* w)
{
    const QSize have = w->size();
    if (auto* label = qobject_cast<QLabel*>(w)) {
        if (label->text().isEmpty())
            return {};
        if (label->wordWrap()) {
            if (label->heightForWidth(have.width()) > have.height())
                return "wraps to more lines than its height holds";
            return {};
        }
        const QSize need = label->sizeHint();
        if (need.width() > have.width() || need.height() > have.height())
            return QString("caption needs %1x%2, has %3x%4").arg(need.width()).arg(need.height()).arg(have.width()).arg(have.height());
        return {};
    }
    if (qobject_cast<QCheckBox*>(w) || qobject_cast<QRadioButton*>(w)) {
        const QSize need = w->sizeHint();
        if (need.width() > have.width())
            return QString("caption needs %1 px wide, has %2").arg(need.width()).arg(have.width());
        if (w->fontMetrics().height() > have.height())
            return "caption taller than the control";
        return {};
    }
    if (auto* button = qobject_cast<QPushButton*>(w)) {
        const QString text = plainCaption(button->text());
        if (text.isEmpty())
            return {};
        const QFontMetrics fm = button->fontMetrics();
        const QRect room = button->rect().adjusted(2, 1, -2, -1);
        const QRect need = fm.boundingRect(QRect(0, 0, room.width(), 10000), Qt::AlignCenter | Qt::TextWordWrap, text);
        if (need.width() > room.width() || need.height() > room.height())
            return QString("caption needs %1x%2, has %3x%4").arg(need.width()).arg(need.height()).arg(room.width()).arg(room.height());
        return {};
    }
    if (qobject_cast<QLineEdit*>(w) && w->fontMetrics().height() > have.height())
        return "text taller than the field";
    return {};
}

bool isControl(const QWidget* w)
{
    return qobject_cast<const QAbstractButton*>(w) || qobject_cast<const QLineEdit*>(w)
           || qobject_cast<const QAbstractSpinBox*>(w) || qobject_cast<const QComboBox*>(w)
           || qobject_cast<const QPlainTextEdit*>(w) || qobject_cast<const QTextEdit*>(w)
           || qobject_cast<const QAbstractItemView*>(w) || qobject_cast<const QAbstractSlider*>(w);
}

// The buttons that exclude each other with w, w among them; empty when w is no such button.
QList<QAbstractButton*> groupOf(QWidget* w)
{
    auto* button = qobject_cast<QAbstractButton*>(w);
    if (!button)
        return {};
    if (button->group() && button->group()->exclusive())
        return button->group()->buttons();
    if (!button->autoExclusive())
        return {};
    QList<QAbstractButton*> group;
    for (QAbstractButton* b : button->parentWidget()->findChildren<QAbstractButton*>(Qt::FindDirectChildrenOnly))
        if (b->autoExclusive() && !b->group())
            group << b;
    return group;
}

// Labels that act on a click: links, or pictures showing a pointing hand.
bool isClickableLabel(const QWidget* w)
{
    auto* label = qobject_cast<const QLabel*>(w);
    return label && (label->text().contains("<a ") || label->cursor().shape() == Qt::PointingHandCursor);
}
}

namespace LayoutAudit {
QStringList problems(QWidget* window)
{
    QStringList out;
    const QList<QWidget*> widgets = placed(window);
    for (QWidget* w : widgets) {
        QWidget* parent = w->parentWidget();
        if (!parent->rect().contains(w->geometry()))
            out << nameOf(w) + " sticks out of " + nameOf(parent);
        if (const QString caption = captionProblem(w); !caption.isEmpty())
            out << nameOf(w) + ": " + caption;
    }
    for (int a = 0; a < widgets.size(); ++a)
        for (int b = a + 1; b < widgets.size(); ++b) {
            QWidget* one = widgets[a];
            QWidget* two = widgets[b];
            if (one->parentWidget() != two->parentWidget() || isDecoration(one) || isDecoration(two))
                continue;
            if (one->geometry().intersects(two->geometry()))
                out << nameOf(one) + " overlaps " + nameOf(two);
        }
    return out;
}

QStringList unreachable(QWidget* window)
{
    QSet<QWidget*> reached;
    for (QWidget* w = window->nextInFocusChain(); w != window; w = w->nextInFocusChain())
        if ((w->focusPolicy() & Qt::TabFocus) && w->isVisibleTo(window) && w->isEnabled())
            reached.insert(w);
    QStringList out;
    for (QWidget* w : placed(window)) {
        if (!w->isEnabled() || reached.contains(w) || !(isControl(w) || isClickableLabel(w)))
            continue;
        // Tab stops on one choice of a group; the arrow keys move between the others.
        const QList<QAbstractButton*> group = groupOf(w);
        if (std::none_of(group.begin(), group.end(), [&](QAbstractButton* b) { return reached.contains(b); }))
            out << nameOf(w);
    }
    return out;
}

QStringList unnamed(QWidget* window)
{
    QAccessible::setActive(true);  // as when a screen reader listens
    QStringList out;
    QHash<QString, QWidget*> seen;
    for (QWidget* w : placed(window)) {
        // A picture or link that takes the focus is a control too.
        if (!isControl(w) && !(isClickableLabel(w) && w->focusPolicy() != Qt::NoFocus))
            continue;
        QAccessibleInterface* face = QAccessible::queryAccessibleInterface(w);
        const QString name = face ? face->text(QAccessible::Name).trimmed() : QString();
        if (name.isEmpty())
            out << nameOf(w) + " has no name";
        else if (qobject_cast<QLabel*>(w) && static_cast<QLabel*>(w)->text().contains("<a ") &&
                 face->role() != QAccessible::Link)
            out << nameOf(w) + " is a link but not one to a screen reader";
        else if (seen.contains(name))
            out << nameOf(w) + " has the name of " + nameOf(seen.value(name)) + ": '" + name + "'";
        seen.insert(name, w);
    }
    return out;
}
}
