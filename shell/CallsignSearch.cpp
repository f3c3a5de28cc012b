#include "shell/CallsignSearch.h"

#include "store/TableNames.h"
#include "widgets/DataGrid.h"
#include "widgets/TypedSearch.h"

#include <QStatusBar>

CallsignSearch::CallsignSearch(const QList<DataGrid*>& grids, QStatusBar& statusBar, QObject* parent)
    : QObject(parent)
    , m_statusBar(statusBar)
{
    for (DataGrid* grid : grids) {
        grid->setSearchField(kFieldCallSign);
        connect(grid->typedSearch(), &TypedSearch::typedChanged, this, &CallsignSearch::show);
        connect(grid->typedSearch(), &TypedSearch::enterRefused, this, &CallsignSearch::tellEnterRefused);
        connect(grid->typedSearch(), &TypedSearch::ended, this, &CallsignSearch::hide);
    }
}

QString CallsignSearch::noticeText(const QString& typed, bool found)
{
    return QStringLiteral("Find: ") + typed + (found ? QString() : QStringLiteral(" - not found"));
}

void CallsignSearch::show(const QString& typed, bool found)
{
    m_shown = noticeText(typed, found);
    m_statusBar.showMessage(m_shown);
}

void CallsignSearch::tellEnterRefused(const QString& typed)
{
    // long enough to be read after the eyes come back from the radio
    constexpr int kShownMs = 5000;
    m_statusBar.showMessage(noticeText(typed, false) + QStringLiteral(": Enter opened no prompt"), kShownMs);
}

void CallsignSearch::hide()
{
    // a notice shown since is left to run its time
    if (m_statusBar.currentMessage() == m_shown) {
        m_statusBar.clearMessage();
    }
    m_shown.clear();
}
