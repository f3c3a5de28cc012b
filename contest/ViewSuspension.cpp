#include "contest/ViewSuspension.h"

#include "store/StoreError.h"
#include "store/TableView.h"

#include <optional>

ViewSuspension::~ViewSuspension()
{
    if (m_restored) {
        return;
    }
    try {
        restore();
    } catch (const StoreError&) {
        // the command's own error is being reported; a view that cannot reopen reports itself when used
    }
}

void ViewSuspension::close(TableView& view)
{
    if (view.isOpen()) {
        view.close();
        m_closed.append(&view);
    }
}

void ViewSuspension::unfilter(TableView& view)
{
    if (view.filtered()) {
        view.setFiltered(false);
        m_unfiltered.append(&view);
    }
}

void ViewSuspension::restore()
{
    m_restored = true;
    // every view is brought back even when one of them fails; the first failure is reported
    std::optional<StoreError> failure;
    const auto attempt = [&failure](const auto& step) {
        try {
            step();
        } catch (const StoreError& error) {
            if (!failure) {
                failure = error;
            }
        }
    };
    for (TableView* view : std::as_const(m_unfiltered)) {
        // a row whose post failed is dropped, not posted again
        view->cancel();
        attempt([view] { view->setFiltered(true); });
    }
    for (TableView* view : std::as_const(m_closed)) {
        attempt([view] { view->open(); });
    }
    if (failure) {
        throw *failure;
    }
}
