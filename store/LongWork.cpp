#include "store/LongWork.h"

LongWork::Scope::Scope(LongWork& work)
    : m_work(work)
{
    if (m_work.m_depth++ == 0) {
        Q_EMIT m_work.busyChanged(true);
    }
}

LongWork::Scope::~Scope()
{
    if (--m_work.m_depth == 0) {
        Q_EMIT m_work.busyChanged(false);
    }
}

void LongWork::setProgress(qint64 done, qint64 total)
{
    Q_EMIT progressChanged(done, total);
}
