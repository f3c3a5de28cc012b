#include "shell/ContestFolder.h"

#include "shell/AppTitle.h"
#include "shell/ErrorBox.h"
#include "shell/ProfileFile.h"
#include "shell/Unit1.h"
#include "store/FolderLock.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QStandardPaths>

#include <cstdio>

using namespace Qt::Literals::StringLiterals;

namespace
{
const QString kSection = u"ContestFolder"_s;
const QString kLastKey = u"Last"_s;

// Qt's own folder dialog refuses a folder that does not exist yet, so the proposed one (or one the
// operator typed) is made when it is confirmed.
class ContestFolderDialog : public QFileDialog
{
public:
    explicit ContestFolderDialog(const QString& proposal)
        : QFileDialog(QApplication::activeWindow(), u"Open Contest Folder"_s)
    {
        setObjectName(u"ContestFolderDialog"_s);
        setFileMode(QFileDialog::Directory);
        setOptions(QFileDialog::ShowDirsOnly | QFileDialog::DontUseNativeDialog);
        const QFileInfo proposed(proposal);
        setDirectory(proposed.absolutePath());
        selectFile(proposed.fileName());
    }

    void accept() override
    {
        const QStringList files = selectedFiles();
        if (!files.isEmpty() && !QFileInfo::exists(files.first())) {
            QDir().mkpath(files.first());
        }
        QFileDialog::accept();
    }
};

QString absoluteFolder(const QString& folder)
{
    return QDir::cleanPath(QDir(folder).absolutePath());
}
} // namespace

QString DialogFolderPrompter::askFolder(const QString& proposal)
{
    ContestFolderDialog dialog(proposal);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return {};
    }
    return dialog.selectedFiles().first();
}

void DialogFolderPrompter::showRefusal(const QString& text)
{
    std::fprintf(stderr, "%s\n", qPrintable(text));
    QMessageBox::critical(QApplication::activeWindow(), applicationTitle(), text);
}

QString defaultContestFolder()
{
#ifdef Q_OS_WIN
    // beside the operator's other documents, as Windows programs propose
    return QDir(QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation)).filePath(u"Tourlog"_s);
#else
    return QDir::home().filePath(u"Tourlog"_s);
#endif
}

QString lastContestFolder()
{
    ProfileFile profile(settingsFilePath());
    profile.load();
    return profile.value(kSection, kLastKey, QString());
}

void rememberContestFolder(const QString& folder)
{
    ProfileFile profile(settingsFilePath());
    // a file that cannot be read is not overwritten: save() refuses it
    profile.load();
    profile.setValue(kSection, kLastKey, folder);
    profile.save();
}

QString makeContestFolder(const QString& folder)
{
    if (QFileInfo(folder).isDir() || QDir().mkpath(folder)) {
        return {};
    }
    return u"Cannot create the contest folder %1."_s.arg(QDir::toNativeSeparators(folder));
}

QString startFolder(const StartRequest& request, FolderPrompter& prompter)
{
    if (!request.folder.isEmpty()) {
        return absoluteFolder(request.folder);
    }
    if (!request.lastFolder) {
        return QDir::currentPath();
    }
    const QString last = lastContestFolder();
    // a remembered folder that has gone (a stick not plugged in) is not made anew without asking
    if (!last.isEmpty() && QFileInfo(last).isDir()) {
        return absoluteFolder(last);
    }
    const QString chosen = prompter.askFolder(last.isEmpty() ? defaultContestFolder() : last);
    return chosen.isEmpty() ? QString() : absoluteFolder(chosen);
}

ContestFolderSession::ContestFolderSession(FolderPrompter& prompter)
    : m_prompter(prompter)
{
}

ContestFolderSession::~ContestFolderSession()
{
    // the window's connection goes before the lock of its folder
    m_window.reset();
    m_lock.reset();
}

bool ContestFolderSession::open(const QString& folder)
{
    std::unique_ptr<FolderLock> lock = lockFolder(folder);
    if (!lock) {
        return false;
    }
    // the program goes on with the next window while the first one closes
    const bool quitOnClose = QApplication::quitOnLastWindowClosed();
    QApplication::setQuitOnLastWindowClosed(false);
    if (!closeWindow()) {
        QApplication::setQuitOnLastWindowClosed(quitOnClose);
        return false;
    }
    m_lock = std::move(lock);
    m_folder = absoluteFolder(folder);
    QDir::setCurrent(m_folder);
    showWindow();
    QApplication::setQuitOnLastWindowClosed(quitOnClose);
    return true;
}

std::unique_ptr<FolderLock> ContestFolderSession::lockFolder(const QString& folder)
{
    QString refusal = makeContestFolder(folder);
    if (refusal.isEmpty()) {
        auto lock = std::make_unique<FolderLock>(folder);
        // a folder that can only be read is opened read-only; one that cannot be read is refused
        if (lock->acquired() || lock->readOnlyFolder()) {
            return lock;
        }
        refusal = lock->refusal();
    }
    m_prompter.showRefusal(refusal);
    return nullptr;
}

void ContestFolderSession::showWindow()
{
    m_window = std::make_unique<TForm1>();
    // queued: the window goes away while the command runs, which must not happen inside its own shortcut
    connect(&m_window->openContestFolder1(), &QAction::triggered, this, &ContestFolderSession::OpenContestFolder1Click,
            Qt::QueuedConnection);
    if (m_windowSetup) {
        m_windowSetup(*m_window);
    }
    m_window->show();
    runGuarded(m_window.get(), [this] { rememberContestFolder(m_folder); });
}

bool ContestFolderSession::closeWindow()
{
    if (!m_window) {
        return true;
    }
    // closing saves the settings and closes the views; a change typed in a grid that cannot be stored
    // keeps the window, and its folder, open
    if (!m_window->close()) {
        return false;
    }
    m_window.reset();
    return true;
}

void ContestFolderSession::OpenContestFolder1Click()
{
    const QString chosen = m_prompter.askFolder(m_folder);
    if (chosen.isEmpty()) {
        return;
    }
    const QString folder = absoluteFolder(chosen);
    if (QFileInfo(folder) == QFileInfo(m_folder)) {
        return;
    }
    open(folder);
}
