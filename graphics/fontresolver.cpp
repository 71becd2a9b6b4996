#include "fontresolver.h"

#include <QFontDatabase>
#include <QHash>
#include <QList>

namespace {

// Families drawn with the same advance widths as the requested ones.
const struct
{
    const char *requested;
    const char *twin;
} MetricTwins[] = {
    {"Arial Narrow", "Liberation Sans Narrow"},
    {"Arial", "Liberation Sans"},
    {"Helvetica", "Liberation Sans"},
    {"Times New Roman", "Liberation Serif"},
    {"Courier New", "Liberation Mono"},
};

// For families without a twin: the report columns were laid out for narrow
// faces, so a narrow one keeps texts inside them.
const char *const NarrowFallback = "Liberation Sans Narrow";

QString lookUp(const QString &requested)
{
    // "Helvetica [Cronyx]": the part in brackets names the foundry.
    const QString name = requested.section(QLatin1Char('['), 0, 0).trimmed();
    if (QFontDatabase::hasFamily(name))
        return name;
    for (const auto &entry : MetricTwins) {
        const QString twin = QString::fromLatin1(entry.twin);
        if (name.compare(QLatin1String(entry.requested), Qt::CaseInsensitive) == 0
            && QFontDatabase::hasFamily(twin))
            return twin;
    }
    if (QFontDatabase::hasFamily(QString::fromLatin1(NarrowFallback)))
        return QString::fromLatin1(NarrowFallback);
    return QFontDatabase::systemFont(QFontDatabase::GeneralFont).family();
}

} // namespace

QString FontResolver::family(const QString &requested)
{
    // Asked for on every card and report; the font database does not change
    // while the program runs.
    static QHash<QString, QString> known;
    auto found = known.constFind(requested);
    if (found == known.cend())
        found = known.insert(requested, lookUp(requested));
    return found.value();
}

QFont FontResolver::font(const QString &requested, const QString &style, int pointSize)
{
    QFont font(family(requested), pointSize);
    font.setItalic(style.compare(QLatin1String("italic"), Qt::CaseInsensitive) == 0);
    return font;
}

namespace {
QList<QFont> registeredSceneFonts;
}

void FontResolver::registerSceneFonts()
{
    const struct
    {
        const char *family;
        int points;
        int pixels;
    } sizes[] = {{"Kalinga", 20, 33}, {"Kalinga", 14, 23}, {"Kalinga", 12, 20}, {"Kalinga", 11, 18},
                 {"Arial Narrow", 10, 16}};
    registeredSceneFonts.clear();
    for (const auto &size : sizes) {
        QFont sized = font(QString::fromLatin1(size.family), QStringLiteral("italic"), size.points);
        // The layout of the pictures is measured in pixels, so the font must
        // have exactly this pixel size whatever the screen resolution.
        sized.setPixelSize(size.pixels);
        registeredSceneFonts.append(sized);
    }
}

QFont FontResolver::sceneFont(int index)
{
    return registeredSceneFonts.value(index, QFont(QStringLiteral("Arial")));
}

void FontResolver::forgetSceneFonts()
{
    registeredSceneFonts.clear();
}
