#pragma once

#include <QString>
#include <QtGlobal>

// Writes a realistic, internally consistent bookkeeping year into the year
// file open as the default connection (which must hold the empty schema):
// bank accounts, cash, a voucher, a prepaid card and cards linked to bank
// accounts; fourteen expense types with sub-types and budgets; hundreds to
// thousands of recipients; income sources; the given number of expenses with
// their detail rows (some split over several sub-types) and, for linked
// instruments, their movements; income deposits and transfer pairs that keep
// every account fed. Rows are written in booking order, the way the program
// itself would have written them, and every balance equals its opening
// amount plus what was booked on it. The same options give the same file.
class YearGenerator
{
public:
    struct Options
    {
        int expenses = 1000;
        quint32 seed = 1;
        int year = 0;           // 0: the running calendar year
    };

    // What was written.
    struct Stats
    {
        int accounts = 0;
        int instruments = 0;
        int expenseTypes = 0;
        int subTypes = 0;
        int recipients = 0;
        int incomeSources = 0;
        int expenses = 0;
        int details = 0;
        int splitExpenses = 0;
        int movements = 0;
        int deposits = 0;
        int transfers = 0;      // pairs
    };

    explicit YearGenerator(const Options &options);
    ~YearGenerator();

    // One transaction; on failure it is rolled back and err holds the
    // driver's text. Also stamps the settings row of the year.
    bool fill(QString &err);
    const Stats &stats() const;

    // Recomputes every balance from the bookings; false with a German report
    // in err when one differs (or when the file could not be read).
    static bool verify(QString &err);

private:
    YearGenerator(const YearGenerator &) = delete;
    YearGenerator &operator=(const YearGenerator &) = delete;

    struct Private;
    Private *d;
};
