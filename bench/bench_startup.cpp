// Start-up to the window drawn (offscreen) with its tables open, against an empty Qt window shown; then
// the score, which the window counts once it has been drawn; and the peak memory of each, read after a
// report rewrite and a tour change. Once with a saved tour and once with every tour (saved tour 0). The
// quick check of the table files, which the window starts once it is shown, is held until it is drawn.
// Each start is a process of its own: this program runs itself with "--child".

#include "BenchTools.h"
#include "BenchWindow.h"
#include "ContestFolder.h"
#include "ScaleArguments.h"

#include "shell/ProfileFile.h"
#include "shell/TourlogApplication.h"
#include "support/WindowControls.h"
#include "widgets/PanelStatusBar.h"
#include "widgets/SpinField.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QMainWindow>
#include <QProcess>
#include <QTimer>

#include <cstdio>
#include <stdexcept>

using namespace Qt::Literals::StringLiterals;

namespace
{
constexpr int kStarts = 5;
constexpr int kPaintTries = 10;
constexpr qint64 kScoreWaitMs = 10000;

// the most memory the process has held so far, in kB
qint64 peakResidentKb()
{
    QFile status(u"/proc/self/status"_s);
    if (!status.open(QIODevice::ReadOnly)) {
        return -1;
    }
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith("VmHWM:")) {
            return line.mid(6).trimmed().split(' ').value(0).toLongLong();
        }
    }
    return -1;
}

void reportShown()
{
    std::printf("shown\n");
    std::fflush(stdout);
}

// The window posts its file check when it is first shown, and the check would run before the window is
// exposed: a posted call to the window is held until the window has been painted, which is then told
// ("painted") before the check goes on. With nothing posted to it, the window's first paint is told.
class FileCheckHold : public QObject
{
public:
    explicit FileCheckHold(QWidget& window)
        : m_window(window)
    {
        m_window.installEventFilter(this);
    }

    bool told() const { return m_told; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (watched != &m_window || m_told) {
            return false;
        }
        if (event->type() == QEvent::Paint) {
            m_painted = true;
            if (m_holding == 0) {
                tell();
            }
        } else if (event->type() == QEvent::MetaCall && !m_painted) {
            // a call posted after this one is held in turn, so the check is held whichever comes first
            ++m_holding;
            for (int i = 0; i < kPaintTries && !m_painted; ++i) {
                QCoreApplication::processEvents();
            }
            --m_holding;
            if (m_painted && !m_told) {
                tell();
            }
        }
        return false;
    }

private:
    void tell()
    {
        m_told = true;
        std::printf("painted\n");
        std::fflush(stdout);
    }

    QWidget& m_window;
    bool m_painted = false;
    int m_holding = 0;
    bool m_told = false;
};

int emptyWindowChild(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QMainWindow window;
    window.show();
    QApplication::processEvents();
    reportShown();
    std::printf("%lld\n", peakResidentKb());
    return 0;
}

int programChild(int argc, char* argv[], const QString& folder)
{
    TourlogApplication app(argc, argv);
    QDir::setCurrent(folder);
    TForm1 form;
    controls(form).timer1().stop();
    FileCheckHold hold(form);
    form.show();
    QApplication::processEvents();
    // the window counts the score once it has been drawn
    QElapsedTimer waiting;
    waiting.start();
    while (controls(form).statusBar1().panelText(1).isEmpty() && waiting.elapsed() < kScoreWaitMs) {
        QApplication::processEvents(QEventLoop::WaitForMoreEvents);
    }
    if (controls(form).statusBar1().panelText(1).isEmpty()) {
        std::fprintf(stderr, "no score shown\n");
        return 1;
    }
    if (!hold.told()) {
        std::fprintf(stderr, "the window was not painted\n");
        return 1;
    }
    reportShown();
    // the largest things the program builds in its working life: the report and a tour's four views
    controls(form).exportJournal1().trigger();
    controls(form).tour().setValue(controls(form).tour().value() == 1 ? 2 : 1);
    QApplication::processEvents();
    std::printf("%lld\n", peakResidentKb());
    return 0;
}

struct Start
{
    qint64 nanoseconds = 0;
    // to the window painted, before the file check; the empty window has no check
    qint64 paintedNanoseconds = 0;
    qint64 peakKb = 0;
};

Start startChild(const QString& mode, const QString& folder, const QString& configFolder)
{
    QProcess child;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(u"QT_QPA_PLATFORM"_s, u"offscreen"_s);
    environment.insert(u"XDG_CONFIG_HOME"_s, configFolder);
    child.setProcessEnvironment(environment);
    child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    QElapsedTimer timer;
    timer.start();
    child.start(QCoreApplication::applicationFilePath(), {u"--child"_s, mode, folder});
    Start start;
    QByteArray line;
    while (line != "shown") {
        while (!child.canReadLine() && child.waitForReadyRead(60000)) { }
        const qint64 elapsed = timer.nsecsElapsed();
        line = child.readLine().trimmed();
        if (line == "painted") {
            start.paintedNanoseconds = elapsed;
        } else if (line == "shown") {
            start.nanoseconds = elapsed;
        } else {
            throw std::runtime_error("the window was not shown");
        }
    }
    if (mode == u"program"_s && start.paintedNanoseconds == 0) {
        throw std::runtime_error("the window did not tell when it was painted");
    }
    child.waitForFinished(120000);
    start.peakKb = child.readAll().trimmed().toLongLong();
    if (child.exitCode() != 0 || start.peakKb <= 0) {
        throw std::runtime_error("the child failed");
    }
    return start;
}

// the tour the window restores at its next start, kept as the window keeps it
void saveTour(const QString& configFolder, int tour)
{
    ProfileFile settings(QDir(configFolder).filePath(settingsFileName(QCoreApplication::applicationFilePath())));
    if (!settings.load()) {
        throw std::runtime_error("the settings file cannot be read");
    }
    settings.setValue(u"TForm1"_s, u"Tour_Value"_s, QString::number(tour));
    settings.save();
}

struct Case
{
    const char* shown;
    const char* painted;
    const char* memory;
    int savedTour;
};

void startUp(const Case& what, const char* name, const ContestScale& scale, const QString& folder)
{
    QTemporaryDir config;
    std::vector<qint64> program;
    std::vector<qint64> painted;
    std::vector<qint64> empty;
    qint64 programPeak = 0;
    qint64 emptyPeak = 0;
    for (int i = 0; i < kStarts; ++i) {
        // the window saves a tour of its own as it closes
        saveTour(config.path(), what.savedTour);
        const Start bare = startChild(u"empty"_s, folder, config.path());
        const Start full = startChild(u"program"_s, folder, config.path());
        empty.push_back(bare.nanoseconds);
        program.push_back(full.nanoseconds);
        painted.push_back(full.paintedNanoseconds);
        emptyPeak = std::max(emptyPeak, bare.peakKb);
        programPeak = std::max(programPeak, full.peakKb);
    }
    const double target = scale.participants > 2000 ? 5.0 : 3.0;
    printRatio(what.painted, name, medianOf(painted), medianOf(empty), target);
    printAside(what.shown, name, medianOf(program), medianOf(empty));
    const qint64 extraMb = (programPeak - emptyPeak) / 1024;
    const qint64 allowedMb = scale.participants > 2000 ? 400 : 60;
    std::printf("%-44s %8s %9lld MB %9lld MB %+7lld MB %+6lld MB %s\n", what.memory, name, programPeak / 1024,
                emptyPeak / 1024, extraMb, allowedMb, extraMb <= allowedMb ? "ok" : "MISSED");
    std::fflush(stdout);
}
} // namespace

int main(int argc, char* argv[])
{
    if (argc == 4 && QByteArray(argv[1]) == "--child") {
        if (QByteArray(argv[2]) == "empty") {
            return emptyWindowChild(argc, argv);
        }
        return programChild(argc, argv, QString::fromLocal8Bit(argv[3]));
    }
    QCoreApplication app(argc, argv);
    printHeader("start-up to the window drawn");
    const Case savedTour = {"tour 1 restored: the score shown after it", "start-up to the window drawn, tour 1",
                            "peak memory (RSS)", 1};
    const Case allTours = {"all tours: the score shown after it", "start-up to the window drawn, all tours",
                           "peak memory (RSS), all tours", 0};
    for (const auto& [name, scale] : scalesFromArguments(app.arguments())) {
        QTemporaryDir folder;
        generateContestFolder(folder.path(), scale);
        startUp(savedTour, name, scale, folder.path());
        startUp(allTours, name, scale, folder.path());
    }
    return 0;
}
