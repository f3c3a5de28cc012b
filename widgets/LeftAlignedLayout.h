#pragma once

#include <QLayout>
#include <QList>

// Lays its widgets out side by side over the whole height: a widget with a fixed width keeps it, the
// others share what is left. It asks for no minimum width, so the window can be made narrower than
// the sum of the fixed widths; what no longer fits is cut off at the right.
class LeftAlignedLayout : public QLayout
{
    Q_OBJECT

public:
    explicit LeftAlignedLayout(QWidget* parent = nullptr);
    ~LeftAlignedLayout() override;

    void addItem(QLayoutItem* item) override;
    QLayoutItem* itemAt(int index) const override;
    QLayoutItem* takeAt(int index) override;
    int count() const override;
    QSize sizeHint() const override;
    QSize minimumSize() const override;
    void setGeometry(const QRect& rect) override;

private:
    static bool hasFixedWidth(const QLayoutItem* item);

    QList<QLayoutItem*> m_items;
};
