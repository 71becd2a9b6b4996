#include "recipient.h"

#include "recordreader.h"

#include <QSqlRecord>

namespace {

const QString columnNames[] = { QStringLiteral("id"), QStringLiteral("name") };

} // namespace

Recipient::Recipient()
    : m_paidSum(0.0)
{
    m_className = QStringLiteral("Recipient");
    m_typeCode = RecipientCode;
}

Recipient::Recipient(int id)
    : Recipient()
{
    m_id = id;
}

// Only id and name: the recipients overview needs nothing else of the row.
Recipient::Recipient(const QSqlRecord &row)
    : Recipient()
{
    readBaseFields(row);
}

Recipient::Recipient(const RecordReader &row)
    : Recipient()
{
    readBaseFields(row);
}

RecordReader Recipient::reader(const QSqlQuery &query)
{
    return RecordReader(query, columnNames);
}

Recipient::Recipient(const Recipient &other)
    : FinanceBase(other), m_paidSum(other.m_paidSum)
{
    m_className = QStringLiteral("Recipient");
    m_typeCode = RecipientCode;
}

Recipient &Recipient::operator=(const Recipient &other)
{
    FinanceBase::operator=(other);
    return assign(other);
}

FinanceBase &Recipient::assign(const FinanceBase &other)
{
    if (const auto *recipient = dynamic_cast<const Recipient *>(&other))
        assign(*recipient);
    return *this;
}

Recipient &Recipient::assign(const Recipient &other)
{
    m_paidSum = other.m_paidSum;
    return *this;
}

bool Recipient::isEqual(const FinanceBase &other) const
{
    return m_id == other.getId();
}
