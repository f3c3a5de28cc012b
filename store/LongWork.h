#pragma once

#include <QObject>

// Long work of the store under way, and how far it has come: the shell shows the busy cursor and a count
// meanwhile, while the store itself knows no widgets. Each connection has its own, so that a window hears
// only the work in its own contest folder.
class LongWork : public QObject
{
    Q_OBJECT

public:
    using QObject::QObject;

    // Marks long work under way while it lives. Nested scopes are one stretch of work: busy is told once.
    class Scope
    {
    public:
        explicit Scope(LongWork& work);
        ~Scope();
        Scope(const Scope&) = delete;
        Scope& operator=(const Scope&) = delete;

    private:
        LongWork& m_work;
    };

    bool isBusy() const { return m_depth > 0; }
    void setProgress(qint64 done, qint64 total);

Q_SIGNALS:
    void busyChanged(bool busy);
    void progressChanged(qint64 done, qint64 total);

private:
    int m_depth = 0;
};
