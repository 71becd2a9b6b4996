#include "incomeentry.h"

#include <QDebug>
#include <QSqlRecord>
#include <QVariant>

IncomeEntry::IncomeEntry()
{
    init();
}

IncomeEntry::IncomeEntry(int id)
{
    init();
    m_id = id;
}

IncomeEntry::IncomeEntry(const QSqlRecord &row, bool asSource)
{
    init();
    readBaseFields(row);
    if (asSource)
        readSourceFields(row);
    else
        readMovementFields(row);
    m_isSource = asSource;
}

IncomeEntry::IncomeEntry(double volume)
{
    init();
    m_volume = volume;
    m_isSource = true;
}

IncomeEntry::IncomeEntry(const IncomeEntry &other)
    : FinanceBase(other)
{
    init();
    assign(other);
}

IncomeEntry &IncomeEntry::operator=(const IncomeEntry &other)
{
    FinanceBase::operator=(other);
    return assign(other);
}

void IncomeEntry::init()
{
    m_className = QStringLiteral("IncomeEntry");
    m_typeCode = IncomeEntryCode;
    m_amount = 0.0;
    m_incomeSourceId = 0;
    m_volume = 0.0;
    m_vat = 0.0;
    m_isSource = false;
}

void IncomeEntry::readMovementFields(const QSqlRecord &row)
{
    m_date = row.value(QStringLiteral("startdate")).toDate();
    m_amount = row.value(QStringLiteral("betrag")).toDouble();
    m_incomeSourceId = row.value(QStringLiteral("einnahme_quelle_id")).toInt();
    m_remark = row.value(QStringLiteral("bemerkung")).toString();
}

void IncomeEntry::readSourceFields(const QSqlRecord &row)
{
    m_volume = row.value(QStringLiteral("betrags_volumen")).toDouble();
    m_vat = row.value(QStringLiteral("mwst")).toDouble();
    m_remark = row.value(QStringLiteral("bemerkung")).toString();
}

void IncomeEntry::showPolymorphism()
{
    qDebug() << " Show Polymorphism -> IncomeEntry: " << getClassName();
}

FinanceBase &IncomeEntry::assign(const FinanceBase &other)
{
    if (const auto *entry = dynamic_cast<const IncomeEntry *>(&other))
        assign(*entry);
    return *this;
}

IncomeEntry &IncomeEntry::assign(const IncomeEntry &other)
{
    m_amount = other.m_amount;
    m_incomeSourceId = other.m_incomeSourceId;
    m_remark = other.m_remark;
    m_volume = other.m_volume;
    m_vat = other.m_vat;
    m_isSource = other.m_isSource;
    return *this;
}

bool IncomeEntry::isEqual(const FinanceBase &other) const
{
    return m_id == other.getId();
}
