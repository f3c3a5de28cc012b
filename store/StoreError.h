#pragma once

#include <QString>

#include <stdexcept>

// The one error type of the table store: an engine or file failure with a message the operator can read.
class StoreError : public std::runtime_error
{
public:
    explicit StoreError(const QString& message)
        : std::runtime_error(message.toStdString())
        , m_message(message)
    {
    }

    const QString& message() const { return m_message; }

private:
    QString m_message;
};
