#include "store/ViewDefinitions.h"

ViewDefinition contestViewDefinition(const QString& viewName)
{
    // two of the band views title the tour column differently; the grids show these labels
    const bool shortTourLabel = viewName == QStringLiteral("Contest80") || viewName == QStringLiteral("Contest160CW");
    ViewDefinition def;
    def.viewName = viewName;
    def.table = QStringLiteral("Contest");
    def.fields = {
        {QStringLiteral("D"), QStringLiteral("Дата")},
        {QStringLiteral("T"), QStringLiteral("Time")},
        {QStringLiteral("CallSign"), QStringLiteral("Sign")},
        {QStringLiteral("ContestNumber"), QStringLiteral("№ сор-я")},
        {QStringLiteral("TourNumber"), shortTourLabel ? QStringLiteral("Тур") : QStringLiteral("№ тура")},
        {QStringLiteral("Diapasone"), QStringLiteral("Диапазон")},
        {QStringLiteral("Modulation"), QStringLiteral("Модуляция")},
        {QStringLiteral("OutFlag"), QStringLiteral("Исх.")},
        {QStringLiteral("SentText"), QStringLiteral("Sent")},
        {QStringLiteral("RecvText"), QStringLiteral("Recv")},
        {QStringLiteral("Commentary"), QStringLiteral("Примечание")},
        {QStringLiteral("ID"), QString(), true},
    };
    def.orderBy = {QStringLiteral("D"), QStringLiteral("CallSign")};
    return def;
}

ViewDefinition callsignViewDefinition()
{
    ViewDefinition def;
    def.viewName = QStringLiteral("Callsign");
    def.table = QStringLiteral("Callsign");
    def.fields = {
        {QStringLiteral("CallSign"), QStringLiteral("Позывной")},
        {QStringLiteral("Name"), QStringLiteral("Ф.И.О.")},
        {QStringLiteral("Commentary"), QStringLiteral("Примечание")},
        {QStringLiteral("ID"), QString(), true},
        {QStringLiteral("InCalls"), QString()},
        {QStringLiteral("OutCalls"), QString()},
    };
    return def;
}

ViewDefinition journalViewDefinition()
{
    ViewDefinition def;
    def.viewName = QStringLiteral("Journal");
    def.table = QStringLiteral("Journal");
    def.fields = {
        {QStringLiteral("D"), QStringLiteral("Дата")},
        {QStringLiteral("T"), QStringLiteral("Время")},
        {QStringLiteral("CallSign"), QStringLiteral("Позывной")},
        {QStringLiteral("ContestNumber"), QStringLiteral("№ сор-я")},
        {QStringLiteral("TourNumber"), QStringLiteral("№ тура")},
        {QStringLiteral("Diapasone"), QStringLiteral("Диапазон")},
        {QStringLiteral("Modulation"), QStringLiteral("Модуляция")},
        {QStringLiteral("OutFlag"), QStringLiteral("Исх.")},
        {QStringLiteral("SentText"), QStringLiteral("Передано")},
        {QStringLiteral("RecvText"), QStringLiteral("Принято")},
        {QStringLiteral("Commentary"), QStringLiteral("Примечание")},
        {QStringLiteral("ID"), QString(), true},
        {QStringLiteral("KI"), QString()},
    };
    return def;
}
