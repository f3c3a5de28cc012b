#pragma once

#include <QObject>
#include <QString>
#include <QTimer>

#include <functional>

class QKeyEvent;

// What the operator types on a grid to find a row: letters, digits and "/" add to the text, Backspace
// shortens it, and Esc, a pause or any key that means something else ends it. Finding is the finder's job;
// every change of the text is handed to it.
class TypedSearch : public QObject
{
    Q_OBJECT

public:
    // moves to the row the text finds; false when no row holds it
    using Finder = std::function<bool(const QString& typed)>;

    static constexpr int kPauseMs = 3000;

    explicit TypedSearch(Finder finder, QObject* parent = nullptr);

    // Takes a key that types, shortens or ends the text. Any other key ends it and is left to the caller
    // (false); a modifier pressed alone, on its way to a capital letter, leaves it as it is. Enter after a
    // text that found nothing is taken too: the row it would act on is not the station typed.
    bool takeKey(const QKeyEvent& event);
    void end();
    const QString& typed() const { return m_typed; }

Q_SIGNALS:
    void typedChanged(const QString& typed, bool found);
    // Enter was pressed while the text found nothing, and did nothing
    void enterRefused(const QString& typed);
    void ended();

private:
    void find();

    Finder m_finder;
    QString m_typed;
    bool m_found = false;
    QTimer m_pause;
};
