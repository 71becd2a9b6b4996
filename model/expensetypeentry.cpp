#include "expensetypeentry.h"

#include <QDebug>
#include <QSqlRecord>
#include <QVariant>

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
    : ExpenseTypeEntry()
{
    readBaseFields(row);
    readFields(row);
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
    m_budget = row.value(QStringLiteral("budget")).toDouble();
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
