#pragma once

#include <QDate>
#include <QFont>
#include <QList>
#include <QRectF>
#include <QString>
#include <QStringList>

class QGraphicsView;
class SceneProvider;

// The application-wide settings object: the settings rows of the year file,
// the year-is-current flag, the font families and registered fonts the
// drawing code uses, and the scene provider of the main window.
// Created on first use (after the year file is open); the main window
// releases it when it goes away.
class ColorSetting
{
public:
    // A font registered by the main window, with the data it was made from.
    struct FontEntry
    {
        bool inUse = false;
        QFont font;
        int code = 0;
        QRectF rect;
        QString name;
        int pointSize = 0;
        int pixelSize = 0;
    };

    static ColorSetting *instance();
    static void release();

    // False while the open file does not belong to the current calendar
    // year; bookings are refused then.
    bool isYearCurrent() const { return m_yearCurrent; }
    void setYearCurrent(bool current) { m_yearCurrent = current; }

    QString currentFontFamily() const { return m_currentFontFamily; }
    QStringList preferredFamilies() const { return m_preferredFamilies; }

    // Appends an in-use entry; the font is forced to pixelSize.
    void addFont(const QFont &font, int code, const QRectF &rect, const QString &name,
                 int pointSize, int pixelSize);
    // The registered font at index, or the first preferred family at its
    // default size when there is no such entry.
    QFont font(int index) const;
    int fontCount() const { return m_fonts.size(); }
    FontEntry fontEntry(int index) const { return m_fonts.value(index); }

    // Non-owning; registered by the main window.
    void setSceneProvider(SceneProvider *provider) { m_sceneProvider = provider; }
    SceneProvider *sceneProvider() const { return m_sceneProvider; }
    void setMenuView(QGraphicsView *view) { m_menuView = view; }
    QGraphicsView *menuView() const { return m_menuView; }

    // Settings rows (category + name as key), on the default connection.
    // Value of the row, 0 when it is missing or unreadable; version gets the
    // row's version text, "0.0" when there is no row.
    int getSetting(const QString &category, const QString &name, QString &version);
    // Changes an existing row; a missing row stays missing. Errors go to the
    // debug output only.
    void updateSetting(const QString &category, const QString &name, int value, const QString &version);
    // Back to the initial rows of a file of schema version 1.3.
    void resetSettings();
    // Marks the file as schema version 1.4.
    void updateDbVersion();
    // True when the file's schema version equals the first three characters
    // of programVersion ("1.4.2" -> "1.4"); out gets the file's version.
    bool checkDbVersion(const QString &programVersion, QString &out);
    // The dates a booking may carry: within days of today and inside the
    // year the file is stamped with, so that no booking lands in a year
    // whose file this is not.
    void bookingDateRange(int days, QDate &first, QDate &last);
    // Empties the booking tables (movements, details, expenses, incomes) at
    // the year change. Returns false when a statement failed, so that a
    // caller running it inside a transaction can roll back.
    bool clearBookings();

private:
    ColorSetting();
    static ColorSetting *s_instance;

    bool m_yearCurrent;
    QString m_currentFontFamily;
    QStringList m_preferredFamilies;
    QList<FontEntry> m_fonts;
    SceneProvider *m_sceneProvider = nullptr;
    QGraphicsView *m_menuView = nullptr;
};
