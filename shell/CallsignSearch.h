#pragma once

#include <QList>
#include <QObject>
#include <QString>

class DataGrid;
class QStatusBar;

// Typing a callsign on the grids finds its row; what has been typed shows in the status bar, with "not
// found" when no row holds it, until the search ends; Enter after such a text says that it entered nothing.
class CallsignSearch : public QObject
{
    Q_OBJECT

public:
    CallsignSearch(const QList<DataGrid*>& grids, QStatusBar& statusBar, QObject* parent = nullptr);

    static QString noticeText(const QString& typed, bool found);

private:
    void show(const QString& typed, bool found);
    void tellEnterRefused(const QString& typed);
    void hide();

    QStatusBar& m_statusBar;
    QString m_shown;
};
