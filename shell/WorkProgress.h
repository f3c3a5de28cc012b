#pragma once

#include <QObject>

class LongWork;
class QProgressDialog;
class QWidget;

// Long work in one window's folder, as the operator sees it: the busy cursor while it runs, and a
// progress dialog over the window once it has taken a second.
class WorkProgress : public QObject
{
    Q_OBJECT

public:
    WorkProgress(LongWork& work, QWidget* window);
    ~WorkProgress() override;

    // long work is under way (a progress dialog lets timers and readings run in the middle of it)
    bool isBusy() const { return m_depth > 0; }

private:
    void busyChanged(bool busy);
    void showProgress(qint64 done, qint64 total);

    QWidget* m_window;
    // nested commands count once each
    int m_depth = 0;
    QProgressDialog* m_dialog = nullptr;
};
