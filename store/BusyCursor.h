#pragma once

#include <functional>

// The shell shows the busy cursor while long store work runs; the store itself knows no widgets.
class BusyCursor
{
public:
    using Hook = std::function<void(bool busy)>;

    static void setHook(Hook hook);

    BusyCursor();
    ~BusyCursor();
    BusyCursor(const BusyCursor&) = delete;
    BusyCursor& operator=(const BusyCursor&) = delete;
};
