#pragma once

#include <QMainWindow>

#include <memory>

class Database;
class Query;
class QAction;
class QTimer;
class TableView;

// The main window: it owns the controls, the six table views, the query Q and the timer.
// Its handlers are thin: they read the controls, call into contest/, and write the controls.
class TForm1 : public QMainWindow
{
    Q_OBJECT

public:
    explicit TForm1(QWidget* parent = nullptr);
    ~TForm1() override;

    Database& database() { return *m_db; }
    TableView& callsignView() { return *m_callsign; }
    TableView& journalView() { return *m_journal; }
    TableView& contest80() { return *m_contest80; }
    TableView& contest80CW() { return *m_contest80CW; }
    TableView& contest160() { return *m_contest160; }
    TableView& contest160CW() { return *m_contest160CW; }
    Query& query() { return *m_query; }

    void FormCreate();
    void FormClose();
    void FormResize();
    void Exit1Click();

protected:
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void createViews();
    void createMenu();
    void openViews();
    void closeViews();

    std::unique_ptr<Database> m_db;
    std::unique_ptr<Query> m_query;
    TableView* m_callsign = nullptr;
    TableView* m_journal = nullptr;
    TableView* m_contest80 = nullptr;
    TableView* m_contest80CW = nullptr;
    TableView* m_contest160 = nullptr;
    TableView* m_contest160CW = nullptr;
    QTimer* m_timer1 = nullptr;
    bool m_closed = false;
};
