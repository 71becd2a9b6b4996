#pragma once

#include "financebase.h"

class QSqlQuery;

// A row of `beguenstigte` (payee). Only id and name are read from the row;
// paidSum is accumulated by the recipients overview.
class Recipient : public FinanceBase
{
public:
    Recipient();
    explicit Recipient(int id);
    explicit Recipient(const QSqlRecord &row);
    // The row the reader is on; the reader comes from reader().
    explicit Recipient(const RecordReader &row);
    // Finds id and name in the query's result once, for reading all of
    // its rows.
    static RecordReader reader(const QSqlQuery &query);
    Recipient(const Recipient &other);
    Recipient &operator=(const Recipient &other);
    using FinanceBase::operator=;

    FinanceBase &assign(const FinanceBase &other) override;
    Recipient &assign(const Recipient &other);
    bool isEqual(const FinanceBase &other) const override;

    double getPaidSum() const { return m_paidSum; }
    void setPaidSum(double sum) { m_paidSum = sum; }
    void addPaidSum(double amount) { m_paidSum += amount; }

private:
    double m_paidSum;
};
