#pragma once

#include <QAbstractTableModel>
#include <QList>

#include <exception>
#include <functional>

class TableView;

// One grid column: the field it shows, its width (0: wide enough for the title and the sample text)
// and the alignment of its title.
struct GridColumn
{
    QString field;
    int width = 0;
    Qt::Alignment titleAlignment = Qt::AlignCenter;
    QString sample;
};

// A table model that follows a TableView: rows are the view's rows in its order, columns the chosen
// fields. It changes the data only through the view, so the view's rules (kinds, widths) hold.
class TableViewModel : public QAbstractTableModel
{
    Q_OBJECT

public:
    // shows the error of a failed view operation to the operator
    using ErrorHandler = std::function<void(std::exception_ptr error)>;
    // stores the view's pending change when the row is left; raises what the store raised
    using EditStore = std::function<void()>;

    TableViewModel(TableView& view, QList<GridColumn> columns, ErrorHandler errorHandler, QObject* parent = nullptr);

    TableView& view() const { return m_view; }
    const QList<GridColumn>& columns() const { return m_columns; }
    const QString& fieldAt(int column) const { return m_columns.at(column).field; }
    QString title(int column) const;

    // Whoever owns the view decides how a change typed in the grid is stored (a correction writes its
    // journal row with it); without one the view posts it alone.
    void setEditStore(EditStore store) { m_editStore = std::move(store); }
    // posts the view's pending change, or drops an edit that changed nothing
    void storePendingEdit();

    void setEditable(bool editable) { m_editable = editable; }
    bool isEditable() const { return m_editable; }
    // to be called inside the catch block of a failed view operation
    void reportError() const;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    // puts the view's current row into editing and sets the field; the change is posted when the
    // view leaves the row. A value the field cannot hold is refused with a message.
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;

    static QString displayText(const QVariant& value);

Q_SIGNALS:
    void viewCurrentRowChanged(int row);

private:
    void connectView();
    QVariant valueAt(const QModelIndex& index) const;
    // for the exception being handled
    void reportReadErrorLater() const;

    TableView& m_view;
    QList<GridColumn> m_columns;
    QList<int> m_fieldIndexes;
    bool m_editable = false;
    ErrorHandler m_errorHandler;
    EditStore m_editStore;
    mutable bool m_readErrorPending = false;
};
