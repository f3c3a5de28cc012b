#include "shell/ContestFolder.h"
#include "shell/TourlogApplication.h"

#include <QCommandLineParser>

#include <cstdio>
#include <cstring>
#include <optional>

using namespace Qt::Literals::StringLiterals;

namespace
{
const QCommandLineOption kLastFolder(
    u"last-folder"_s, u"Open the contest folder used last; the first time, ask for one (proposing ~/Tourlog)."_s);

void describeOptions(QCommandLineParser& parser)
{
    QCoreApplication::setApplicationVersion(QStringLiteral(TOURLOG_VERSION));
    parser.setApplicationDescription(u"Contest logger for 80 m and 160 m, SSB and CW, worked in timed tours."_s);
    parser.addHelpOption();
    parser.addVersionOption();
    parser.addOption(kLastFolder);
    parser.addPositionalArgument(
        u"FOLDER"_s, u"The contest folder to open, made if missing. Default: the current folder."_s, u"[FOLDER]"_s);
}

// --help and --version are answered without reaching the window system, so they work without a display.
bool asksOnlyForInformation(int argc, char** argv)
{
    for (int i = 1; i < argc; ++i) {
        for (const char* option : {"-h", "--help", "--help-all", "-v", "--version"}) {
            if (std::strcmp(argv[i], option) == 0) {
                return true;
            }
        }
    }
    return false;
}

std::optional<StartRequest> readCommandLine(const QCoreApplication& app)
{
    QCommandLineParser parser;
    describeOptions(parser);
    // exits after --help, --version or an unknown option
    parser.process(app);
    const QStringList folders = parser.positionalArguments();
    if (folders.size() > 1) {
        std::fprintf(stderr, "%s\n", qPrintable(u"Give one contest folder at most."_s));
        return std::nullopt;
    }
    return StartRequest{folders.value(0), parser.isSet(kLastFolder)};
}
} // namespace

int main(int argc, char* argv[])
{
    if (asksOnlyForInformation(argc, argv)) {
        const QCoreApplication app(argc, argv);
        readCommandLine(app);
    }
    TourlogApplication app(argc, argv);
    const std::optional<StartRequest> request = readCommandLine(app);
    if (!request) {
        return 1;
    }
    DialogFolderPrompter prompter;
    const QString folder = startFolder(*request, prompter);
    if (folder.isEmpty()) {
        return 0;
    }
    ContestFolderSession session(prompter);
    if (!session.open(folder)) {
        return 1;
    }
    return TourlogApplication::exec();
}
