#pragma once

#include <QDate>
#include <QString>

// The application-wide settings object: the settings rows of the year file
// and the year-is-current flag.
// Created on first use (after the year file is open); the main window
// releases it when it goes away.
class ColorSetting
{
public:
    static ColorSetting *instance();
    static void release();

    // False while the open file does not belong to the current calendar
    // year; bookings are refused then.
    bool isYearCurrent() const { return m_yearCurrent; }
    void setYearCurrent(bool current) { m_yearCurrent = current; }

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

private:
    ColorSetting();
    static ColorSetting *s_instance;

    bool m_yearCurrent;
};
