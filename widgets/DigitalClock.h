#pragma once

#include "widgets/Panel.h"

#include <QTime>

class QTimer;

// A panel that shows the local time of day and keeps it current.
class DigitalClock : public Panel
{
    Q_OBJECT

public:
    explicit DigitalClock(QWidget* parent = nullptr);

    static QString format(const QTime& time);

private:
    void refresh();

    QTimer* m_timer = nullptr;
};
