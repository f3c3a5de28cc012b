#include "store/BusyCursor.h"

namespace
{
BusyCursor::Hook& hook()
{
    static BusyCursor::Hook instance;
    return instance;
}

BusyCursor::ProgressHook& progressHook()
{
    static BusyCursor::ProgressHook instance;
    return instance;
}
} // namespace

void BusyCursor::setProgressHook(ProgressHook newHook)
{
    progressHook() = std::move(newHook);
}

void BusyCursor::progress(qint64 done, qint64 total)
{
    if (progressHook()) {
        progressHook()(done, total);
    }
}

void BusyCursor::setHook(Hook newHook)
{
    hook() = std::move(newHook);
}

BusyCursor::BusyCursor()
{
    if (hook()) {
        hook()(true);
    }
}

BusyCursor::~BusyCursor()
{
    if (hook()) {
        hook()(false);
    }
}
