#include "shell/WorkProgress.h"

#include "store/LongWork.h"

#include <QApplication>
#include <QProgressDialog>

#include <limits>

namespace
{
constexpr int kProgressDelayMs = 1000;
} // namespace

WorkProgress::WorkProgress(LongWork& work, QWidget* window)
    : QObject(window)
    , m_window(window)
{
    connect(&work, &LongWork::busyChanged, this, &WorkProgress::busyChanged);
    connect(&work, &LongWork::progressChanged, this, &WorkProgress::showProgress);
}

WorkProgress::~WorkProgress()
{
    delete m_dialog;
}

void WorkProgress::busyChanged(bool busy)
{
    if (busy) {
        ++m_depth;
        QApplication::setOverrideCursor(Qt::WaitCursor);
        return;
    }
    --m_depth;
    QApplication::restoreOverrideCursor();
    // The dialog goes with the work, at once: a reset one stays up, its stale start time would show the
    // next one at once, and a later deletion would wait out a message box opened next, while the dialog's
    // own timer brings it up over that box and takes the keyboard from it.
    if (m_depth == 0 && m_dialog) {
        delete m_dialog;
        m_dialog = nullptr;
    }
}

void WorkProgress::showProgress(qint64 done, qint64 total)
{
    if (!m_dialog) {
        m_dialog = new QProgressDialog(m_window);
        m_dialog->setWindowModality(Qt::WindowModal);
        // the work runs in one transaction: it cannot stop half-way
        m_dialog->setCancelButton(nullptr);
        m_dialog->setMinimumDuration(kProgressDelayMs);
        m_dialog->setAutoReset(false);
        m_dialog->setAutoClose(false);
    }
    m_dialog->setMaximum(int(std::min<qint64>(total, std::numeric_limits<int>::max())));
    m_dialog->setValue(int(std::min<qint64>(done, std::numeric_limits<int>::max())));
}
