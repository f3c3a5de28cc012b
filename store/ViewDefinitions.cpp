#include "store/ViewDefinitions.h"

#include "store/TableNames.h"

ViewDefinition contestViewDefinition(const QString& viewName)
{
    // two of the band views title the tour column differently; the grids show these labels
    const bool shortTourLabel = viewName == QStringLiteral("Contest80") || viewName == QStringLiteral("Contest160CW");
    ViewDefinition def;
    def.viewName = viewName;
    def.table = FolderTable::Contest;
    def.fields = {
        {kFieldDate, QStringLiteral("Дата")},
        {kFieldTime, QStringLiteral("Time")},
        {kFieldCallSign, QStringLiteral("Sign")},
        {kFieldContestNumber, QStringLiteral("№ сор-я")},
        {kFieldTourNumber, shortTourLabel ? QStringLiteral("Тур") : QStringLiteral("№ тура")},
        {kFieldDiapasone, QStringLiteral("Диапазон")},
        {kFieldModulation, QStringLiteral("Модуляция")},
        {kFieldOutFlag, QStringLiteral("Исх.")},
        {kFieldSentText, QStringLiteral("Sent")},
        {kFieldRecvText, QStringLiteral("Recv")},
        {kFieldCommentary, QStringLiteral("Примечание")},
        {kFieldId, QString(), true},
    };
    def.orderBy = {kFieldDate, kFieldCallSign};
    return def;
}

ViewDefinition callsignViewDefinition()
{
    ViewDefinition def;
    def.viewName = kTableCallsign;
    def.table = FolderTable::Callsign;
    def.fields = {
        {kFieldCallSign, QStringLiteral("Позывной")},
        {kFieldName, QStringLiteral("Ф.И.О.")},
        {kFieldCommentary, QStringLiteral("Примечание")},
        {kFieldId, QString(), true},
        {kFieldInCalls, QString()},
        {kFieldOutCalls, QString()},
    };
    return def;
}

ViewDefinition journalViewDefinition()
{
    ViewDefinition def;
    def.viewName = kTableJournal;
    def.table = FolderTable::Journal;
    def.fields = {
        {kFieldDate, QStringLiteral("Дата")},
        {kFieldTime, QStringLiteral("Время")},
        {kFieldCallSign, QStringLiteral("Позывной")},
        {kFieldContestNumber, QStringLiteral("№ сор-я")},
        {kFieldTourNumber, QStringLiteral("№ тура")},
        {kFieldDiapasone, QStringLiteral("Диапазон")},
        {kFieldModulation, QStringLiteral("Модуляция")},
        {kFieldOutFlag, QStringLiteral("Исх.")},
        {kFieldSentText, QStringLiteral("Передано")},
        {kFieldRecvText, QStringLiteral("Принято")},
        {kFieldCommentary, QStringLiteral("Примечание")},
        {kFieldId, QString(), true},
        {kFieldKi, QString()},
    };
    return def;
}
