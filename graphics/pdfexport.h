#pragma once

#include <QCoreApplication>
#include <QString>

class QGraphicsScene;

// Prints a whole scene (every item, not only what a view shows) into a PDF
// file on A4 pages: scaled to the page width and cut into page-high slices.
// An existing file is replaced only once the new one is complete.
class PdfExport
{
    Q_DECLARE_TR_FUNCTIONS(PdfExport)

public:
    static bool write(QGraphicsScene *scene, const QString &title, const QString &path, QString &err);
    // A title as a file name: no folder separators or control characters.
    static QString fileName(const QString &title);
};
