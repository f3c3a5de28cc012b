#pragma once

#include <QtGlobal>

#include <functional>

// The shell shows the busy cursor while long store work runs; the store itself knows no widgets.
class BusyCursor
{
public:
    using Hook = std::function<void(bool busy)>;

    static void setHook(Hook hook);

    // Long work also tells how far it has come, so that the shell can show a count.
    using ProgressHook = std::function<void(qint64 done, qint64 total)>;
    static void setProgressHook(ProgressHook hook);
    static void progress(qint64 done, qint64 total);

    BusyCursor();
    ~BusyCursor();
    BusyCursor(const BusyCursor&) = delete;
    BusyCursor& operator=(const BusyCursor&) = delete;
};
