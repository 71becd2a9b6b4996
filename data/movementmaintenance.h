#pragma once

#include <QString>

// Corrections of single account movements from the maintenance dialog.
// Only the reference columns are touched: amount, date, accounts, stat and
// op_flag stay as booked, and no balance changes.
class MovementMaintenance
{
public:
    struct References
    {
        int paymentInstrumentId = 0;
        int expenseId = 0;
        QString txId;
        int txType = 0;
        int incomeSourceId = 0;
    };

    // Writes the five reference columns of the movement with the given id.
    // On failure err holds the database's error text and nothing changed.
    static bool updateReferences(int movementId, const References &refs, QString &err);
};
