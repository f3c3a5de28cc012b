#pragma once

#include <QWidget>

// A horizontal progress bar filled from the left, with its completion in per cent drawn over it in
// inverted colours, so the text stays readable on both the filled and the empty part.
class Gauge : public QWidget
{
    Q_OBJECT

public:
    explicit Gauge(QWidget* parent = nullptr);

    int minValue() const { return m_min; }
    int maxValue() const { return m_max; }
    int progress() const { return m_progress; }
    // a maximum below the minimum is held at the minimum, the progress within both
    void setMinValue(int value);
    void setMaxValue(int value);
    void setProgress(int value);

    int percentDone() const;
    QString percentText() const;

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void clampProgress();

    int m_min = 0;
    int m_max = 100;
    int m_progress = 0;
};
