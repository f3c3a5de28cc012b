#include "store/BusyCursor.h"

namespace
{
BusyCursor::Hook& hook()
{
    static BusyCursor::Hook instance;
    return instance;
}
} // namespace

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
