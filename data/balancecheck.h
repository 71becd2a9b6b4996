#pragma once

#include <QHash>
#include <QList>
#include <QString>

// Recomputes every account's balance from its opening amount and the
// bookings, the way the postings move it, and compares it with the stored
// balance. Reads only; changes nothing.
//
// expected = opening amount
//          + incoming movements of the account (op_flag 1)
//          - outgoing movements other than expense movements (op_flag 0, no ausgabe_id)
//          - expenses paid with an instrument drawing on the account
// (an expense paid with a linked instrument also has a movement carrying its
// ausgabe_id; it is counted once, through the expense. The movement type is
// not used: movement maintenance lets the user change it.)
struct BalanceDifference
{
    int accountId = 0;
    QString accountName;
    double storedBalance = 0.0;
    double expectedBalance = 0.0;
};

class BalanceCheck
{
public:
    // What the bookings in the file did to each account, in cents, by
    // account id (the rule above without the opening amount). False when
    // the file could not be read; err then holds the driver's text.
    static bool bookingEffects(QHash<int, qint64> &effects, QString &err);

    // False when the file could not be read; err then holds the driver's text.
    bool run(QString &err);

    const QList<BalanceDifference> &differences() const { return m_differences; }
    int checkedAccounts() const { return m_checkedAccounts; }

    // The result in German, one line per differing account.
    QString report() const;

private:
    QList<BalanceDifference> m_differences;
    int m_checkedAccounts = 0;
};
