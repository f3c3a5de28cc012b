#pragma once

#include <QObject>
#include <QString>

// What keys CW for the window: the radio's own keyer or cwdaemon. Nothing here ever waits on the
// keyer: send() returns at once, and sent() or failed() follows, never both.
class Keyer : public QObject
{
    Q_OBJECT

public:
    using QObject::QObject;

    // The text is plain Morse: Latin capitals, digits, blanks and Morse punctuation.
    virtual void send(const QString& text, int wpm) = 0;
    // Cuts short what is being keyed; nothing more follows for it.
    virtual void stop() = 0;
    virtual bool isSending() const = 0;

Q_SIGNALS:
    // the text has been keyed to its end
    void sent();
    // the keyer could not be reached, or did not take the text
    void failed(const QString& reason);
};
