#pragma once

#include <QCoreApplication>
#include <QString>

// Turns the open year file into the file of a new year, as one transaction:
// the bookings of the closed year go, bookings dated after it stay (with
// their details and movements), every opening amount becomes the balance
// less the effect of the bookings that stay, so that no balance moves, and
// the file is stamped with the new year. The first step that fails stops
// the rest; everything is then rolled back and the caches equal the file.
class YearRollover
{
    Q_DECLARE_TR_FUNCTIONS(YearRollover)

public:
    YearRollover(int closedYear, int newYear);

    // err: the German reason when it returns false.
    bool run(QString &err);

    // Bookings dated after the closed year that the new year keeps.
    int keptBookings() const { return m_kept; }

private:
    bool exec(const QString &sql, QString &err, int bindCount = 0);
    bool countKept(QString &err);
    bool openWithoutKeptBookings(QString &err);
    bool stampYear(QString &err);

    QString m_lastDay;   // "yyyy-12-31" of the closed year
    int m_newYear;
    int m_kept = 0;
};
