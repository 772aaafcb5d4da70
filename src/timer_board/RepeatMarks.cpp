#include "timer_board/RepeatMarks.h"
#include <QAction>
#include <QApplication>
#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>

void RepeatMarks::rowBuilt(int i, QPushButton* start, QLineEdit* message, std::function<void(bool)> set)
{
    if (i < 0 || i >= kRows)
        return;
    auto* choice = new QAction(QStringLiteral("Repeat at each end"), start);
    choice->setCheckable(true);
    connect(choice, &QAction::triggered, start, [set = std::move(set)](bool on) { set(on); });
    start->addAction(choice);
    start->setContextMenuPolicy(Qt::ActionsContextMenu);
    start->installEventFilter(this);
    m_choice[i] = choice;
    m_message[i] = message;
}

void RepeatMarks::draw(int i, bool repeat)
{
    if (i < 0 || i >= kRows || !m_choice[i])
        return;
    m_choice[i]->setChecked(repeat);
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
