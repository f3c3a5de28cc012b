#pragma once

#include <QString>

#include <functional>

class QWidget;

// The one place where an error that escaped a handler is shown: a modal box with an error icon,
// titled with the application title. Tests put a reporter of their own in its place.
// The same message is never shown twice in a row: once shown, it is shown again only after another
// message, or after the operator has pressed a key or a mouse button since its box closed. A failure that
// repeats by itself (at every repaint, every tour change) is told once; one that follows a new action of
// the operator is news and is told again.
void showErrorBox(QWidget* parent, const QString& message);

using ErrorReporter = std::function<void(const QString& message)>;
// also forgets the last message shown
void setErrorReporter(ErrorReporter reporter);

// Runs a handler and shows whatever error escapes it, so that no exception reaches Qt's event loop.
template<typename Handler>
void runGuarded(QWidget* parent, Handler&& handler);

void reportCurrentException(QWidget* parent);

template<typename Handler>
void runGuarded(QWidget* parent, Handler&& handler)
{
    try {
        handler();
    } catch (...) {
        reportCurrentException(parent);
    }
}
