#include "shell/ParticipantCopiesDialog.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace
{
constexpr int kDialogWidth = 560;
constexpr int kDialogHeight = 320;

QTableWidgetItem* cell(const QString& text, Qt::Alignment alignment = Qt::AlignRight | Qt::AlignVCenter)
{
    auto* item = new QTableWidgetItem(text);
    item->setTextAlignment(alignment);
    return item;
}
} // namespace

std::optional<QString> chooseParticipantCopy(const QList<ParticipantCopy>& copies, QWidget* parent)
{
    QDialog dialog(parent);
    dialog.setObjectName(QStringLiteral("RestoreParticipantsDialog"));
    dialog.setWindowTitle(QStringLiteral("Restore Participants"));
    auto* layout = new QVBoxLayout(&dialog);
    layout->addWidget(new QLabel(QStringLiteral("The chosen copy replaces the participants and planned contacts; "
                                                "the present ones are copied to backup/ first."),
                                 &dialog));
    auto* table = new QTableWidget(int(copies.size()), 4, &dialog);
    table->setObjectName(QStringLiteral("Copies"));
    table->setHorizontalHeaderLabels({QStringLiteral("Date"), QStringLiteral("Participants"),
                                      QStringLiteral("Planned contacts"), QStringLiteral("Worked")});
    table->setSelectionBehavior(QAbstractItemView::SelectRows);
    table->setSelectionMode(QAbstractItemView::SingleSelection);
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->verticalHeader()->hide();
    for (int row = 0; row < copies.size(); ++row) {
        const ParticipantCopy& copy = copies.at(row);
        table->setItem(
            row, 0, cell(copy.made.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")), Qt::AlignLeft | Qt::AlignVCenter));
        table->item(row, 0)->setToolTip(copy.folder);
        if (copy.problem.isEmpty()) {
            table->setItem(row, 1, cell(QString::number(copy.participants)));
            table->setItem(row, 2, cell(QString::number(copy.planned)));
            table->setItem(row, 3, cell(QString::number(copy.worked)));
        }
    }
    // the counts size the columns; why a copy cannot be read spans them
    table->resizeColumnsToContents();
    for (int row = 0; row < copies.size(); ++row) {
        if (const QString& problem = copies.at(row).problem; !problem.isEmpty()) {
            table->setSpan(row, 1, 1, 3);
            table->setItem(row, 1,
                           cell(QStringLiteral("cannot be read: ") + problem, Qt::AlignLeft | Qt::AlignVCenter));
        }
    }
    table->horizontalHeader()->setStretchLastSection(true);
    table->selectRow(0);
    layout->addWidget(table);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
    buttons->button(QDialogButtonBox::Ok)->setText(QStringLiteral("Restore"));
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    QObject::connect(table, &QTableWidget::cellDoubleClicked, &dialog, &QDialog::accept);
    layout->addWidget(buttons);
    dialog.resize(kDialogWidth, kDialogHeight);
    table->setFocus();
    if (dialog.exec() != QDialog::Accepted || table->currentRow() < 0) {
        return std::nullopt;
    }
    return copies.at(table->currentRow()).folder;
}
