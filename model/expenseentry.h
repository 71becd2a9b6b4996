#pragma once

#include "financebase.h"

class QSqlQuery;

// A row of `ausgaben` (one expense), or a per-type summary line of the
// expense-type overview.
//
// Columns: startdate -> date, betrag -> amount, beguenstigter ->
// recipientName, beguenstigter_id -> recipientId, zahlungsmittel ->
// paymentInstrumentName, zahlungsmittel_id -> paymentInstrumentId,
// bemerkung -> remark, ausgaben_typ -> expenseTypeName, ausgaben_typ_id ->
// expenseTypeId. The three names are copies taken at booking time.
// budget / hasBudget only matter for summary lines.
class ExpenseEntry : public FinanceBase
{
public:
    ExpenseEntry();
    explicit ExpenseEntry(int id);
    explicit ExpenseEntry(const QSqlRecord &row);
    // The row the reader is on; the reader comes from reader().
    explicit ExpenseEntry(const RecordReader &row);
    // Summary line carrying the budget of its expense type.
    explicit ExpenseEntry(double budget);
    ExpenseEntry(const ExpenseEntry &other);
    ExpenseEntry &operator=(const ExpenseEntry &other);
    using FinanceBase::operator=;

    // Unlike the other records this also copies the base fields
    // (class code, id, date, name, description).
    FinanceBase &assign(const FinanceBase &other) override;
    ExpenseEntry &assign(const ExpenseEntry &other);
    bool isEqual(const FinanceBase &other) const override;

    // Reads the expense's own columns (not id/name).
    void readFields(const QSqlRecord &row);
    void readFields(const RecordReader &row);
    // Finds the columns of an expense in the query's result once, for
    // reading all of its rows.
    static RecordReader reader(const QSqlQuery &query);

    double getAmount() const { return m_amount; }
    void setAmount(double amount) { m_amount = amount; }
    QString getRecipientName() const { return m_recipientName; }
    void setRecipientName(const QString &name) { m_recipientName = name; }
    int getRecipientId() const { return m_recipientId; }
    void setRecipientId(int id) { m_recipientId = id; }
    QString getPaymentInstrumentName() const { return m_paymentInstrumentName; }
    void setPaymentInstrumentName(const QString &name) { m_paymentInstrumentName = name; }
    int getPaymentInstrumentId() const { return m_paymentInstrumentId; }
    void setPaymentInstrumentId(int id) { m_paymentInstrumentId = id; }
    QString getRemark() const { return m_remark; }
    void setRemark(const QString &remark) { m_remark = remark; }
    QString getExpenseTypeName() const { return m_expenseTypeName; }
    void setExpenseTypeName(const QString &name) { m_expenseTypeName = name; }
    int getExpenseTypeId() const { return m_expenseTypeId; }
    void setExpenseTypeId(int id) { m_expenseTypeId = id; }
    double getBudget() const { return m_budget; }
    void setBudget(double budget) { m_budget = budget; }
    bool hasBudget() const { return m_hasBudget; }
    void setHasBudget(bool hasBudget) { m_hasBudget = hasBudget; }

private:
    void init();

    // Ordered by size: a year holds many expenses.
    double m_amount;
    double m_budget;
    QString m_recipientName;
    QString m_paymentInstrumentName;
    QString m_remark;
    QString m_expenseTypeName;
    int m_recipientId;
    int m_paymentInstrumentId;
    int m_expenseTypeId;
    bool m_hasBudget;
};
