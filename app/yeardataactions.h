#pragma once

#include <QCoreApplication>
#include <QString>

class QGraphicsScene;
class QWidget;

// The actions that take the year's data out of the program or put an older
// state of it back: the backups dialog, the CSV export and the PDF of a
// report. Each tells the user the outcome in a box.
class YearDataActions
{
    Q_DECLARE_TR_FUNCTIONS(YearDataActions)

public:
    explicit YearDataActions(QWidget *window);

    // Returns true when a copy was put back and the window was closed.
    bool showBackups(const QString &viewOnlyReason);
    void exportCsv();
    void exportPdf(QGraphicsScene *scene, const QString &title);

    // ./Export/<year of the open file>
    static QString exportFolder();
    // Writes a start copy of the open, writable year file; a failure is told
    // in one box and never stops the program.
    static void writeStartBackup(QWidget *window = nullptr);

private:
    QWidget *m_window;
};
