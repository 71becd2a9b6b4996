#include "expensetypeentry.h"

#include "recordreader.h"

#include <QDebug>
#include <QSqlRecord>
#include <QVariant>

namespace {

enum Column { BudgetColumn = FinanceBase::FirstOwnColumn };

const QString columnNames[] = { QStringLiteral("id"), QStringLiteral("name"), QStringLiteral("budget") };

} // namespace

ExpenseTypeEntry::ExpenseTypeEntry()
    : m_budget(0.0)
{
    m_className = QStringLiteral("ExpenseTypeEntry");
    m_typeCode = ExpenseTypeEntryCode;
}

ExpenseTypeEntry::ExpenseTypeEntry(int id)
    : ExpenseTypeEntry()
{
    m_id = id;
}

ExpenseTypeEntry::ExpenseTypeEntry(const QSqlRecord &row)
    : ExpenseTypeEntry(RecordReader(row, columnNames))
{
}

ExpenseTypeEntry::ExpenseTypeEntry(const RecordReader &row)
    : ExpenseTypeEntry()
{
    readBaseFields(row);
    readFields(row);
}

RecordReader ExpenseTypeEntry::reader(const QSqlQuery &query)
{
    return RecordReader(query, columnNames);
}

ExpenseTypeEntry::ExpenseTypeEntry(double budget)
    : ExpenseTypeEntry()
{
    m_budget = budget;
}

ExpenseTypeEntry::ExpenseTypeEntry(const ExpenseTypeEntry &other)
    : FinanceBase(other), m_budget(other.m_budget)
{
    m_className = QStringLiteral("ExpenseTypeEntry");
    m_typeCode = ExpenseTypeEntryCode;
}

ExpenseTypeEntry &ExpenseTypeEntry::operator=(const ExpenseTypeEntry &other)
{
    FinanceBase::operator=(other);
    return assign(other);
}

void ExpenseTypeEntry::readFields(const QSqlRecord &row)
{
    readFields(RecordReader(row, columnNames));
}

void ExpenseTypeEntry::readFields(const RecordReader &row)
{
    m_budget = row.toDouble(BudgetColumn);
}

void ExpenseTypeEntry::showPolymorphism()
{
    qDebug() << " Show Polymorphism -> ExpenseTypeEntry: " << getClassName();
}

FinanceBase &ExpenseTypeEntry::assign(const FinanceBase &other)
{
    if (const auto *type = dynamic_cast<const ExpenseTypeEntry *>(&other))
        assign(*type);
    return *this;
}

ExpenseTypeEntry &ExpenseTypeEntry::assign(const ExpenseTypeEntry &other)
{
    m_budget = other.m_budget;
    return *this;
}

bool ExpenseTypeEntry::isEqual(const FinanceBase &other) const
{
    return m_id == other.getId();
}
