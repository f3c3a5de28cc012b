#include "shell/StoredFields.h"

#include "shell/Unit1Layout.h"
#include "widgets/DateField.h"
#include "widgets/SpinField.h"
#include "widgets/TimePicker.h"

#include <QCheckBox>

namespace
{
StoredProperty wholeNumber(SpinField* field, const QString& contestKey = {})
{
    return {field->objectName(), QStringLiteral("Value"),
            WholeNumberProperty{[field] { return field->value(); }, [field](int value) { field->setValue(value); }},
            contestKey};
}
} // namespace

std::vector<StoredProperty> storedFields(const Unit1Controls& ui)
{
    QCheckBox* autoChange = ui.autoChangeTour;
    DateField* begDate = ui.begDate;
    TimePicker* begTime = ui.begTime;
    return {
        wholeNumber(ui.kiEdit),
        wholeNumber(ui.nppEdit, QStringLiteral("Serial")),
        wholeNumber(ui.tour, QStringLiteral("Tour")),
        wholeNumber(ui.tourMinutes, QStringLiteral("TourMinutes")),
        wholeNumber(ui.tours, QStringLiteral("Tours")),
        wholeNumber(ui.contestNumber, QStringLiteral("Contest")),
        StoredProperty{autoChange->objectName(), QStringLiteral("Checked"),
                       TruthProperty{[autoChange] { return autoChange->isChecked(); },
                                     [autoChange](bool checked) { autoChange->setChecked(checked); }},
                       QStringLiteral("AutoChangeTour")},
        StoredProperty{begDate->objectName(), QStringLiteral("Text"),
                       TextProperty{[begDate] { return begDate->text(); },
                                    [begDate](const QString& text) { begDate->setText(text); }},
                       QStringLiteral("Begin")},
        StoredProperty{begTime->objectName(), QStringLiteral("Time"),
                       TimeOfDayProperty{[begTime] { return begTime->value(); },
                                         [begTime](QTime time) { begTime->setTime(time); }},
                       QStringLiteral("StartTime")},
    };
}
