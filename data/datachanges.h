#pragma once

#include <QObject>

// What a successful write changed, so that the views showing it can redraw.
enum class DataArea {
    PaymentInstruments, // bank accounts and payment instruments
    ExpenseTypes,       // expense types and their sub-types
    ExpenseSubTypes,
    IncomeSources,
    Recipients,
    Bookings            // expenses, incomes, movements and balances
};

// Announces the data layer's successful writes. The data layer calls
// announce() after a write went through; windows connect to changed() and
// redraw what shows the area. One instance per process.
class DataChanges : public QObject
{
    Q_OBJECT

public:
    static DataChanges *instance();
    static void announce(DataArea area) { emit instance()->changed(area); }

signals:
    void changed(DataArea area);

private:
    DataChanges() = default;
};
