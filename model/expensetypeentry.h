#pragma once

#include "financebase.h"

class QSqlQuery;

// A row of `ausgaben_typen`: an expense type with its yearly budget
// (column budget -> budget).
class ExpenseTypeEntry : public FinanceBase
{
public:
    ExpenseTypeEntry();
    explicit ExpenseTypeEntry(int id);
    explicit ExpenseTypeEntry(const QSqlRecord &row);
    // The row the reader is on; the reader comes from reader().
    explicit ExpenseTypeEntry(const RecordReader &row);
    // Not stored (id 0): carries a budget only.
    explicit ExpenseTypeEntry(double budget);
    ExpenseTypeEntry(const ExpenseTypeEntry &other);
    ExpenseTypeEntry &operator=(const ExpenseTypeEntry &other);
    using FinanceBase::operator=;

    void showPolymorphism() override;
    FinanceBase &assign(const FinanceBase &other) override;
    ExpenseTypeEntry &assign(const ExpenseTypeEntry &other);
    bool isEqual(const FinanceBase &other) const override;

    void readFields(const QSqlRecord &row);
    void readFields(const RecordReader &row);
    // Finds the columns of an expense type in the query's result once, for
    // reading all of its rows.
    static RecordReader reader(const QSqlQuery &query);

    double getBudget() const { return m_budget; }
    void setBudget(double budget) { m_budget = budget; }

private:
    double m_budget;
};
