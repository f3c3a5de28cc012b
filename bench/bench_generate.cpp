// Makes a contest folder for the benchmarks or for trying the program by hand at contest scale.

#include "ContestFolder.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>

#include <cstdio>

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList arguments = app.arguments();
    if (arguments.size() != 3
        || (arguments.at(2) != QStringLiteral("regional") && arguments.at(2) != QStringLiteral("ten"))) {
        std::fprintf(stderr, "usage: %s <new folder> regional|ten\n", argv[0]);
        return 2;
    }
    const QString folder = arguments.at(1);
    if (QDir(folder).exists() && !QDir(folder).isEmpty()) {
        std::fprintf(stderr, "%s is not empty\n", qPrintable(folder));
        return 1;
    }
    QDir().mkpath(folder);
    const ContestScale scale = arguments.at(2) == QStringLiteral("ten") ? ContestScale::tenTimes()
                                                                        : ContestScale::regional();
    QElapsedTimer timer;
    timer.start();
    generateContestFolder(folder, scale);
    std::printf("%d participants, %d contest rows, %d contacts in %lld ms\n", scale.participants, scale.contestRows(),
                scale.contacts, timer.elapsed());
    return 0;
}
