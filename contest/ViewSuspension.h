#pragma once

#include <QList>
#include <QString>

class TableView;

// Views that a participant command closes or unfilters for its work. restore() brings them back
// (filters first, then the closed views in the order they were closed); if the command fails before
// that, the destructor does it, so that no view is left closed or unfiltered.
class ViewSuspension
{
public:
    ViewSuspension() = default;
    ~ViewSuspension();
    ViewSuspension(const ViewSuspension&) = delete;
    ViewSuspension& operator=(const ViewSuspension&) = delete;

    void close(TableView& view);
    void unfilter(TableView& view);
    void restore();

private:
    QList<TableView*> m_closed;
    QList<TableView*> m_unfiltered;
    bool m_restored = false;
};
