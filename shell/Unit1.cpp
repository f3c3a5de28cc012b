#include "shell/Unit1.h"

#include "contest/FormatSettings.h"
#include "shell/ErrorBox.h"
#include "store/Database.h"
#include "store/Query.h"
#include "store/Schema.h"
#include "store/TableView.h"
#include "store/ViewDefinitions.h"

#include <QCloseEvent>
#include <QDir>
#include <QMenuBar>
#include <QTimer>

namespace
{
constexpr int kTimerIntervalMs = 1000;
const QString kCaption = QStringLiteral("Tourlog 1.03 (2006)");
} // namespace

TForm1::TForm1(QWidget* parent)
    : QMainWindow(parent)
    , m_db(std::make_unique<Database>(QDir::currentPath()))
    , m_query(std::make_unique<Query>(*m_db))
{
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(kCaption);
    createViews();
    createMenu();
    m_timer1 = new QTimer(this);
    m_timer1->setObjectName(QStringLiteral("Timer1"));
    m_timer1->setInterval(kTimerIntervalMs);
    m_timer1->start();
    runGuarded(this, [this] { FormCreate(); });
}

TForm1::~TForm1()
{
    // the views hold prepared statements of the connection: they go first
    delete m_callsign;
    delete m_journal;
    delete m_contest80;
    delete m_contest80CW;
    delete m_contest160;
    delete m_contest160CW;
}

void TForm1::createViews()
{
    const auto makeView = [this](ViewDefinition def) {
        auto* view = new TableView(*m_db, std::move(def), this);
        view->setObjectName(view->name());
        return view;
    };
    m_callsign = makeView(callsignViewDefinition());
    m_journal = makeView(journalViewDefinition());
    m_contest80 = makeView(contestViewDefinition(QStringLiteral("Contest80")));
    m_contest80CW = makeView(contestViewDefinition(QStringLiteral("Contest80CW")));
    m_contest160 = makeView(contestViewDefinition(QStringLiteral("Contest160")));
    m_contest160CW = makeView(contestViewDefinition(QStringLiteral("Contest160CW")));
}

void TForm1::createMenu()
{
    QMenu* file1 = menuBar()->addMenu(QStringLiteral("File"));
    file1->setObjectName(QStringLiteral("File1"));
    QAction* exit1 = menuBar()->addAction(QStringLiteral("Exit"));
    exit1->setObjectName(QStringLiteral("Exit1"));
    connect(exit1, &QAction::triggered, this, [this] { runGuarded(this, [this] { Exit1Click(); }); });
}

void TForm1::FormCreate()
{
    useFixedFormatSettings();
    EnsureTables(*m_db);
    openViews();
}

void TForm1::openViews()
{
    // an error ends start-up at the failing view: the views after it stay closed
    for (TableView* view : {m_callsign, m_journal, m_contest80, m_contest80CW, m_contest160, m_contest160CW}) {
        view->open();
    }
}

void TForm1::closeViews()
{
    for (TableView* view : {m_contest80, m_contest80CW, m_contest160, m_contest160CW, m_callsign, m_journal}) {
        view->close();
    }
}

void TForm1::FormClose()
{
    closeViews();
}

void TForm1::FormResize()
{
    // the layout follows the window's size by itself
}

void TForm1::Exit1Click()
{
    close();
}

void TForm1::closeEvent(QCloseEvent* event)
{
    if (!m_closed) {
        m_closed = true;
        runGuarded(this, [this] { FormClose(); });
    }
    event->accept();
}

void TForm1::resizeEvent(QResizeEvent* event)
{
    QMainWindow::resizeEvent(event);
    FormResize();
}
