// Records contacts through the contest operations, one after another, and prints each one once it has
// returned, so that a test can kill the process at any moment and check that nothing reported is lost.
#include "contest/BandViews.h"
#include "contest/ContactEntry.h"
#include "contest/ContestValues.h"
#include "contest/ReceivedCode.h"
#include "contest/SerialRecovery.h"
#include "store/Database.h"
#include "store/Schema.h"
#include "store/TableView.h"
#include "store/ViewDefinitions.h"
#include "support/Fakes.h"

#include <QCoreApplication>
#include <QDir>

#include <cstdio>
#include <memory>

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: crash_driver CONTEST_FOLDER\n");
        return 2;
    }
    const QString folder = QString::fromLocal8Bit(argv[1]);
    QDir::setCurrent(folder);
    Database db(folder);
    EnsureTables(db);
    TableView journal(db, journalViewDefinition());
    journal.open();
    FakePrompter prompter;
    SystemClock clock;
    ContestValues values{22, lastSentSerial(db, 1, 22).value_or(0) + 1, 1, 1};

    for (const BandViewInfo& info : bandViews()) {
        TableView band(db, contestViewDefinition(info.viewName));
        band.setFilter(bandFilter(info, 0));
        band.setFiltered(true);
        band.open();
        for (band.first(); band.recordCount() > 0 && band.isNull(QStringLiteral("T")); band.first()) {
            const qint64 id = band.currentId();
            prompter.answers.push_back(QStringLiteral("23 %1").arg(values.serial, 3, 10, QLatin1Char(u'0')));
            const ContactEntryContext context{db, band, info.caption, journal, prompter, clock, false, values};
            if (EnterContact(context) != ContactOutcome::Recorded) {
                std::fprintf(stderr, "not recorded: %s\n", qPrintable(prompter.messages.join(u'\n')));
                return 1;
            }
            std::printf("DONE %lld %d\n", static_cast<long long>(id), values.serial);
            std::fflush(stdout);
            ++values.serial;
        }
    }
    return 0;
}
