#include "widgets/TypedSearch.h"

#include <QKeyEvent>

namespace
{
bool typesIntoSearch(const QKeyEvent& event)
{
    if ((event.modifiers() & ~(Qt::ShiftModifier | Qt::KeypadModifier)) != 0 || event.text().size() != 1) {
        return false;
    }
    const QChar ch = event.text().at(0);
    return ch.isLetterOrNumber() || ch == u'/';
}

bool isModifierAlone(const QKeyEvent& event)
{
    switch (event.key()) {
    case Qt::Key_Shift:
    case Qt::Key_Control:
    case Qt::Key_Meta:
    case Qt::Key_Alt:
    case Qt::Key_AltGr:
    case Qt::Key_CapsLock:
    case Qt::Key_NumLock:
    case Qt::Key_Mode_switch:
        return true;
    default:
        return false;
    }
}
} // namespace

TypedSearch::TypedSearch(Finder finder, QObject* parent)
    : QObject(parent)
    , m_finder(std::move(finder))
{
    m_pause.setSingleShot(true);
    m_pause.setInterval(kPauseMs);
    connect(&m_pause, &QTimer::timeout, this, &TypedSearch::end);
}

bool TypedSearch::takeKey(const QKeyEvent& event)
{
    if (typesIntoSearch(event)) {
        m_typed += event.text();
        find();
        return true;
    }
    if (m_typed.isEmpty() || isModifierAlone(event)) {
        return false;
    }
    const bool plain = event.modifiers() == Qt::NoModifier;
    if (plain && event.key() == Qt::Key_Backspace) {
        m_typed.chop(1);
        if (m_typed.isEmpty()) {
            end();
        } else {
            find();
        }
        return true;
    }
    const bool enter = event.key() == Qt::Key_Return || event.key() == Qt::Key_Enter;
    const bool refused = enter && !m_found;
    if (refused) {
        Q_EMIT enterRefused(m_typed);
    }
    end();
    return refused || (plain && event.key() == Qt::Key_Escape);
}

void TypedSearch::find()
{
    m_pause.start();
    m_found = m_finder(m_typed);
    Q_EMIT typedChanged(m_typed, m_found);
}

void TypedSearch::end()
{
    m_pause.stop();
    if (m_typed.isEmpty()) {
        return;
    }
    m_typed.clear();
    Q_EMIT ended();
}
