#pragma once

#include <QString>

#include <stdexcept>

// The one error type of the table store: an engine or file failure with a message the operator can read.
class StoreError : public std::runtime_error
{
public:
    enum class Cause
    {
        Failure,
        // another connection held a table file locked for longer than the store waits
        Locked,
    };

    explicit StoreError(const QString& message, Cause cause = Cause::Failure)
        : std::runtime_error(message.toStdString())
        , m_message(message)
        , m_cause(cause)
    {
    }

    const QString& message() const { return m_message; }
    bool isLocked() const { return m_cause == Cause::Locked; }

private:
    QString m_message;
    Cause m_cause;
};
