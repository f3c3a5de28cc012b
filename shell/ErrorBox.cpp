#include "shell/ErrorBox.h"

#include "shell/AppTitle.h"
#include "store/StoreError.h"

#include <QCoreApplication>
#include <QEvent>
#include <QMessageBox>
#include <QPointer>

#include <exception>

namespace
{
ErrorReporter& reporter()
{
    static ErrorReporter instance;
    return instance;
}

// The last message shown, and whether the operator has acted since its box closed.
class RepeatGuard : public QObject
{
public:
    bool allows(const QString& message) const { return message != m_last || (!m_open && m_operatorActed); }

    void opened(const QString& message)
    {
        watchInput();
        m_last = message;
        m_open = true;
    }

    void closed()
    {
        m_open = false;
        m_operatorActed = false;
    }

    void forget()
    {
        m_last.clear();
        m_open = false;
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::KeyPress || event->type() == QEvent::MouseButtonPress) {
            m_operatorActed = true;
        }
        return QObject::eventFilter(watched, event);
    }

private:
    void watchInput()
    {
        QCoreApplication* application = QCoreApplication::instance();
        if (application && m_watched != application) {
            application->installEventFilter(this);
            m_watched = application;
        }
    }

    QString m_last;
    bool m_open = false;
    bool m_operatorActed = false;
    QPointer<QCoreApplication> m_watched;
};

RepeatGuard& repeats()
{
    // never destroyed: it may be asked after the application object has gone
    static auto* instance = new RepeatGuard;
    return *instance;
}
} // namespace

void setErrorReporter(ErrorReporter newReporter)
{
    reporter() = std::move(newReporter);
    repeats().forget();
}

void showErrorBox(QWidget* parent, const QString& message)
{
    RepeatGuard& guard = repeats();
    if (!guard.allows(message)) {
        return;
    }
    guard.opened(message);
    if (reporter()) {
        reporter()(message);
    } else {
        QMessageBox box(QMessageBox::Critical, applicationTitle(), message, QMessageBox::Ok, parent);
        box.exec();
    }
    guard.closed();
}

void reportCurrentException(QWidget* parent)
{
    try {
        throw;
    } catch (const StoreError& error) {
        showErrorBox(parent, error.message());
    } catch (const std::exception& error) {
        showErrorBox(parent, QString::fromLocal8Bit(error.what()));
    } catch (...) {
        showErrorBox(parent, QStringLiteral("Unknown error"));
    }
}
