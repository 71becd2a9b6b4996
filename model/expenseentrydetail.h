#pragma once

#include "financebase.h"

class QSqlQuery;

// A row of `ausgaben_detail`: the share of an expense booked on one
// sub-type.
//
// Columns: ausgaben_id -> expenseId, ausgaben_sub_typ_id -> subTypeId,
// betrag -> amount, bemerkung -> remark. secondAmount is filled by the
// sub-type overview for display.
class ExpenseEntryDetail : public FinanceBase
{
public:
    ExpenseEntryDetail();
    explicit ExpenseEntryDetail(int id);
    explicit ExpenseEntryDetail(const QSqlRecord &row);
    // The row the reader is on; the reader comes from reader().
    explicit ExpenseEntryDetail(const RecordReader &row);
    ExpenseEntryDetail(const ExpenseEntryDetail &other);
    ExpenseEntryDetail &operator=(const ExpenseEntryDetail &other);
    using FinanceBase::operator=;

    void showPolymorphism() override;
    FinanceBase &assign(const FinanceBase &other) override;
    ExpenseEntryDetail &assign(const ExpenseEntryDetail &other);
    bool isEqual(const FinanceBase &other) const override;

    void readFields(const QSqlRecord &row);
    void readFields(const RecordReader &row);
    // Finds the columns of a detail row in the query's result once, for
    // reading all of its rows.
    static RecordReader reader(const QSqlQuery &query);

    int getExpenseId() const { return m_expenseId; }
    void setExpenseId(int id) { m_expenseId = id; }
    int getSubTypeId() const { return m_subTypeId; }
    void setSubTypeId(int id) { m_subTypeId = id; }
    double getAmount() const { return m_amount; }
    void setAmount(double amount) { m_amount = amount; }
    double getSecondAmount() const { return m_secondAmount; }
    void setSecondAmount(double amount) { m_secondAmount = amount; }
    QString getRemark() const { return m_remark; }
    void setRemark(const QString &remark) { m_remark = remark; }

private:
    void init();

    int m_expenseId;
    int m_subTypeId;
    double m_amount;
    double m_secondAmount;
    QString m_remark;
};
