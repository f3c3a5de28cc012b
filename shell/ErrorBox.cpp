#include "shell/ErrorBox.h"

#include "shell/AppTitle.h"
#include "store/StoreError.h"

#include <QMessageBox>

#include <exception>

namespace
{
ErrorReporter& reporter()
{
    static ErrorReporter instance;
    return instance;
}
} // namespace

void setErrorReporter(ErrorReporter newReporter)
{
    reporter() = std::move(newReporter);
}

void showErrorBox(QWidget* parent, const QString& message)
{
    if (reporter()) {
        reporter()(message);
        return;
    }
    QMessageBox box(QMessageBox::Critical, applicationTitle(), message, QMessageBox::Ok, parent);
    box.exec();
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
