#include "expenseentrydetail.h"

#include <QDebug>
#include <QSqlRecord>
#include <QVariant>

ExpenseEntryDetail::ExpenseEntryDetail()
{
    init();
}

ExpenseEntryDetail::ExpenseEntryDetail(int id)
{
    init();
    m_id = id;
}

ExpenseEntryDetail::ExpenseEntryDetail(const QSqlRecord &row)
{
    init();
    readBaseFields(row);
    readFields(row);
}

ExpenseEntryDetail::ExpenseEntryDetail(const ExpenseEntryDetail &other)
    : FinanceBase(other)
{
    init();
    assign(other);
}

ExpenseEntryDetail &ExpenseEntryDetail::operator=(const ExpenseEntryDetail &other)
{
    FinanceBase::operator=(other);
    return assign(other);
}

void ExpenseEntryDetail::init()
{
    m_className = QStringLiteral("ExpenseEntryDetail");
    m_typeCode = ExpenseEntryDetailCode;
    m_expenseId = 0;
    m_subTypeId = 0;
    m_amount = 0.0;
    m_secondAmount = 0.0;
}

void ExpenseEntryDetail::readFields(const QSqlRecord &row)
{
    m_expenseId = row.value(QStringLiteral("ausgaben_id")).toInt();
    m_subTypeId = row.value(QStringLiteral("ausgaben_sub_typ_id")).toInt();
    m_amount = row.value(QStringLiteral("betrag")).toDouble();
    m_remark = row.value(QStringLiteral("bemerkung")).toString();
}

void ExpenseEntryDetail::showPolymorphism()
{
    qDebug() << " Show Polymorphism -> ExpenseEntryDetail: " << getClassName();
}

FinanceBase &ExpenseEntryDetail::assign(const FinanceBase &other)
{
    if (const auto *detail = dynamic_cast<const ExpenseEntryDetail *>(&other))
        assign(*detail);
    return *this;
}

ExpenseEntryDetail &ExpenseEntryDetail::assign(const ExpenseEntryDetail &other)
{
    m_expenseId = other.m_expenseId;
    m_subTypeId = other.m_subTypeId;
    m_amount = other.m_amount;
    m_secondAmount = other.m_secondAmount;
    m_remark = other.m_remark;
    return *this;
}

bool ExpenseEntryDetail::isEqual(const FinanceBase &other) const
{
    return m_id == other.getId();
}
