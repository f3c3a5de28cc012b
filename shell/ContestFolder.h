#pragma once

#include <QObject>
#include <QString>

#include <functional>
#include <memory>

class FolderLock;
class TForm1;

// Where the operator is asked for a contest folder and told why one cannot be opened. Tests answer
// through a fake; the program's own are the folder dialog and the message box.
class FolderPrompter
{
public:
    virtual ~FolderPrompter() = default;
    // the folder chosen, or an empty string when the operator cancels
    virtual QString askFolder(const QString& proposal) = 0;
    virtual void showRefusal(const QString& text) = 0;
};

class DialogFolderPrompter : public FolderPrompter
{
public:
    QString askFolder(const QString& proposal) override;
    void showRefusal(const QString& text) override;
};

// The folder proposed the first time: Tourlog in the operator's home folder.
QString defaultContestFolder();
// The contest folder opened last, kept in the settings file in a section of its own; empty when none.
QString lastContestFolder();
void rememberContestFolder(const QString& folder);

// Makes the folder when it is missing: empty when it is there, else why it cannot be made.
QString makeContestFolder(const QString& folder);

struct StartRequest
{
    // as given on the command line: relative to the folder the program was started in
    QString folder;
    bool lastFolder = false;
};

// The folder to open at start, made absolute: the one given, else the last one (asked for when there is
// none yet, or when it has gone), else the current folder. Empty when the operator cancels the question.
QString startFolder(const StartRequest& request, FolderPrompter& prompter);

// The contest folder in use: its lock, its working folder and its window. Only one copy of the program
// works in a folder, so another folder is locked before the first is let go.
class ContestFolderSession : public QObject
{
    Q_OBJECT

public:
    explicit ContestFolderSession(FolderPrompter& prompter);
    ~ContestFolderSession() override;

    // Makes the folder if missing, locks it, makes it the working folder and shows its window. False,
    // with the operator told why, when it cannot be made or is locked by another copy.
    bool open(const QString& folder);
    TForm1* window() const { return m_window.get(); }
    QString folder() const { return m_folder; }

    // File -> Open Contest Folder...: a folder that cannot be opened leaves the first one open; otherwise
    // the first window saves its settings and closes, its lock goes, and the other folder opens.
    void OpenContestFolder1Click();

    // runs on every new window before it shows (tests give it their prompter and clock)
    void setWindowSetup(std::function<void(TForm1&)> setup) { m_windowSetup = std::move(setup); }

private:
    // the lock of the folder, or nothing (the operator told why)
    std::unique_ptr<FolderLock> lockFolder(const QString& folder);
    void showWindow();
    bool closeWindow();

    FolderPrompter& m_prompter;
    std::unique_ptr<FolderLock> m_lock;
    std::unique_ptr<TForm1> m_window;
    QString m_folder;
    std::function<void(TForm1&)> m_windowSetup;
};
