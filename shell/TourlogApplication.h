#pragma once

#include <QApplication>

// The application object: the last guard that keeps an exception from crossing Qt's event loop.
class TourlogApplication : public QApplication
{
public:
    TourlogApplication(int& argc, char** argv);
    bool notify(QObject* receiver, QEvent* event) override;
};
