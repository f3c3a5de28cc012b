#include "shell/TourlogApplication.h"

#include "shell/ErrorBox.h"

#include <QWidget>

TourlogApplication::TourlogApplication(int& argc, char** argv)
    : QApplication(argc, argv)
{
}

bool TourlogApplication::notify(QObject* receiver, QEvent* event)
{
    try {
        return QApplication::notify(receiver, event);
    } catch (...) {
        reportCurrentException(activeWindow());
        return false;
    }
}
