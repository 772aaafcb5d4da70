#include "timer_board/RepeatMarks.h"
#include <QAccessible>
#include <QAccessibleWidget>
#include <QAction>
#include <QApplication>
#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QStyle>
#include <QToolButton>

namespace {
// The mark is a picture to look at, not a button that nothing can press or reach.
class MarkPicture : public QAccessibleWidget {
public:
    explicit MarkPicture(QToolButton* mark) : QAccessibleWidget(mark, QAccessible::Graphic) {}
    QString text(QAccessible::Text t) const override
    {
        return t == QAccessible::Name ? static_cast<QToolButton*>(widget())->text() : QAccessibleWidget::text(t);
    }
};

QAccessibleInterface* markFactory(const QString& className, QObject* object)
{
    if (className == QLatin1String("QLineEditIconButton") && qobject_cast<QToolButton*>(object))
        return new MarkPicture(static_cast<QToolButton*>(object));
    return nullptr;
}
}

void RepeatMarks::rowBuilt(int i, QPushButton* start, QLineEdit* message, std::function<void(bool)> set)
{
    if (i < 0 || i >= kRows)
        return;
    static const bool pictures = (QAccessible::installFactory(markFactory), true);
    Q_UNUSED(pictures);
    auto* choice = new QAction(QStringLiteral("Repeat at each end"), start);
    choice->setCheckable(true);
    connect(choice, &QAction::triggered, start, [set = std::move(set)](bool on) { set(on); });
    // One menu kept per row: a screen reader's listener holds on to the items of the first one,
    // and one made anew at each opening would be silent from the second.
    start->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(start, &QWidget::customContextMenuRequested, start, [this, i, start](const QPoint& at) {
        if (!m_menu[i]) {
            m_menu[i] = new QMenu(start);
            m_menu[i]->addAction(m_choice[i]);
        }
        m_menu[i]->popup(start->mapToGlobal(at));
    });
    start->installEventFilter(this);
    m_choice[i] = choice;
    m_message[i] = message;
}

void RepeatMarks::draw(int i, bool repeat)
{
    if (i < 0 || i >= kRows || !m_choice[i])
        return;
    m_choice[i]->setChecked(repeat);
    // Heard with the field, where the mark is only seen.
    m_message[i]->setAccessibleDescription(repeat ? QStringLiteral("Repeats at each end") : QString());
    if (m_message[i]->actions().contains(m_mark[i]) == repeat)
        return;
    // Made when first needed: forty pictures nobody sees would cost the start.
    if (!m_mark[i])
        m_mark[i] = new QAction(QApplication::style()->standardIcon(QStyle::SP_BrowserReload),
                                QStringLiteral("Timer %1 repeats at each end").arg(i + 1), m_message[i]);
    // Added and removed: a hidden action still leaves its picture in the field.
    if (repeat)
        m_message[i]->addAction(m_mark[i], QLineEdit::TrailingPosition);
    else
        m_message[i]->removeAction(m_mark[i]);
}

// Shift+F10 opens the context menu as the Menu key does.
bool RepeatMarks::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() != QEvent::KeyPress)
        return false;
    const auto* key = static_cast<QKeyEvent*>(event);
    auto* button = qobject_cast<QWidget*>(watched);
    if (!button || key->key() != Qt::Key_F10 || key->modifiers() != Qt::ShiftModifier)
        return false;
    QContextMenuEvent menu(QContextMenuEvent::Keyboard, button->rect().center(), button->mapToGlobal(button->rect().center()));
    QApplication::sendEvent(button, &menu);
    return true;
}
