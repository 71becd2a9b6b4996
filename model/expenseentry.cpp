#include "expenseentry.h"

#include <QSqlRecord>
#include <QVariant>

ExpenseEntry::ExpenseEntry()
{
    init();
}

ExpenseEntry::ExpenseEntry(int id)
{
    init();
    m_id = id;
}

ExpenseEntry::ExpenseEntry(const QSqlRecord &row)
{
    init();
    readBaseFields(row);
    readFields(row);
}

ExpenseEntry::ExpenseEntry(double budget)
{
    init();
    m_budget = budget;
    m_hasBudget = true;
}

ExpenseEntry::ExpenseEntry(const ExpenseEntry &other)
    : FinanceBase(other)
{
    init();
    assign(other);
}

ExpenseEntry &ExpenseEntry::operator=(const ExpenseEntry &other)
{
    FinanceBase::operator=(other);
    // The expense's own copy also takes the description; keep the target's,
    // as every other record's operator= does.
    const QString description = m_description;
    assign(other);
    m_description = description;
    return *this;
}

void ExpenseEntry::init()
{
    m_className = QStringLiteral("ExpenseEntry");
    m_typeCode = ExpenseEntryCode;
    m_amount = 0.0;
    m_recipientId = 0;
    m_paymentInstrumentId = 0;
    m_expenseTypeId = 0;
    m_budget = 0.0;
    m_hasBudget = false;
}

void ExpenseEntry::readFields(const QSqlRecord &row)
{
    m_date = row.value(QStringLiteral("startdate")).toDate();
    m_amount = row.value(QStringLiteral("betrag")).toDouble();
    m_recipientName = row.value(QStringLiteral("beguenstigter")).toString();
    m_recipientId = row.value(QStringLiteral("beguenstigter_id")).toInt();
    m_paymentInstrumentName = row.value(QStringLiteral("zahlungsmittel")).toString();
    m_paymentInstrumentId = row.value(QStringLiteral("zahlungsmittel_id")).toInt();
    m_remark = row.value(QStringLiteral("bemerkung")).toString();
    m_expenseTypeName = row.value(QStringLiteral("ausgaben_typ")).toString();
    m_expenseTypeId = row.value(QStringLiteral("ausgaben_typ_id")).toInt();
}

FinanceBase &ExpenseEntry::assign(const FinanceBase &other)
{
    if (const auto *entry = dynamic_cast<const ExpenseEntry *>(&other))
        assign(*entry);
    return *this;
}

ExpenseEntry &ExpenseEntry::assign(const ExpenseEntry &other)
{
    m_typeCode = other.m_typeCode;
    m_id = other.m_id;
    m_date = other.m_date;
    m_name = other.m_name;
    m_description = other.m_description;

    m_amount = other.m_amount;
    m_recipientName = other.m_recipientName;
    m_recipientId = other.m_recipientId;
    m_paymentInstrumentName = other.m_paymentInstrumentName;
    m_paymentInstrumentId = other.m_paymentInstrumentId;
    m_remark = other.m_remark;
    m_expenseTypeName = other.m_expenseTypeName;
    m_expenseTypeId = other.m_expenseTypeId;
    m_budget = other.m_budget;
    m_hasBudget = other.m_hasBudget;
    return *this;
}

bool ExpenseEntry::isEqual(const FinanceBase &other) const
{
    return m_id == other.getId();
}
