#include "pdfexport.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGraphicsScene>
#include <QGuiApplication>
#include <QScreen>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>

#include <cstdio>

namespace {

int screenResolution()
{
    const QScreen *screen = QGuiApplication::primaryScreen();
    return screen ? qRound(screen->logicalDotsPerInch()) : 96;
}

} // namespace

QString PdfExport::fileName(const QString &title)
{
    QString name = title.trimmed();
    for (QChar &c : name) {
        if (c == QLatin1Char('/') || c == QLatin1Char('\\') || c.category() == QChar::Other_Control)
            c = QLatin1Char('_');
    }
    if (name.isEmpty() || name.startsWith(QLatin1Char('.')))
        name.prepend(QLatin1Char('_'));
    return name + QStringLiteral(".pdf");
}

bool PdfExport::write(QGraphicsScene *scene, const QString &title, const QString &path, QString &err)
{
    const QString partial = QFileInfo(path).absolutePath() + QStringLiteral("/.") + QFileInfo(path).fileName()
                            + QStringLiteral(".part");
    const QRectF source = scene->itemsBoundingRect().adjusted(-10, -10, 10, 10);
    bool painted = false;
    {
        QPdfWriter pdf(partial);
        pdf.setTitle(title);
        pdf.setCreator(QStringLiteral("Zolvex"));
        pdf.setPageSize(QPageSize(QPageSize::A4));
        pdf.setPageMargins(QMarginsF(12, 12, 12, 12), QPageLayout::Millimeter);
        // Point sizes of the scene's fonts mean what they mean on the screen,
        // so that every text keeps the room it has there.
        pdf.setResolution(screenResolution());
        QPainter painter;
        if (painter.begin(&pdf)) {
            const QRect page = pdf.pageLayout().paintRectPixels(pdf.resolution());
            const qreal scale = page.width() / source.width();
            const qreal sliceHeight = page.height() / scale;
            // Page after page, each showing the next slice of the scene.
            for (qreal top = source.top(); top < source.bottom(); top += sliceHeight) {
                if (top > source.top())
                    pdf.newPage();
                const QRectF slice(source.left(), top, source.width(), qMin(sliceHeight, source.bottom() - top));
                const QRectF target(0, 0, page.width(), slice.height() * scale);
                scene->render(&painter, target, slice, Qt::KeepAspectRatio);
            }
            painted = painter.end();
        }
    }
    if (!painted || QFileInfo(partial).size() == 0) {
        QFile::remove(partial);
        err = tr("Die Datei %1 konnte nicht geschrieben werden.").arg(QDir::toNativeSeparators(path));
        return false;
    }
    if (std::rename(QFile::encodeName(partial).constData(), QFile::encodeName(path).constData()) != 0) {
        QFile::remove(partial);
        err = tr("Die Datei %1 konnte nicht ersetzt werden.").arg(QDir::toNativeSeparators(path));
        return false;
    }
    return true;
}
