#include "financebase.h"

#include "recordreader.h"

#include <QSqlRecord>
#include <QVariant>

FinanceBase::FinanceBase()
    : m_className(QStringLiteral("FinanceBase")),
      m_typeCode(FinanceBaseCode),
      m_id(0),
      m_totalRow(false)
{
}

FinanceBase::FinanceBase(const FinanceBase &other)
    : m_typeCode(FinanceBaseCode),
      m_id(0),
      m_totalRow(false)
{
    FinanceBase::operator=(other);
}

FinanceBase::~FinanceBase() = default;

FinanceBase &FinanceBase::operator=(const FinanceBase &other)
{
    if (this == &other)
        return *this;
    m_className = other.getClassName();
    m_id = other.m_id;
    m_date = other.m_date;
    m_typeCode = other.m_typeCode;
    m_name = other.m_name;
    return *this;
}

FinanceBase::Notes &FinanceBase::notes()
{
    if (!m_notes)
        m_notes = std::make_unique<Notes>();
    return *m_notes;
}

// A null text reads the same whether stored or not.
void FinanceBase::setDescription(const QString &description)
{
    if (m_notes || !description.isNull())
        notes().description = description;
}

void FinanceBase::setLastError(const QString &error)
{
    if (m_notes || !error.isNull())
        notes().lastError = error;
}

bool FinanceBase::operator==(const FinanceBase &other) const
{
    return m_id == other.m_id;
}

QString FinanceBase::getClassName() const
{
    return m_className;
}

bool FinanceBase::isOfType(int code) const
{
    return m_typeCode == code;
}

int FinanceBase::getDefaultCode() const
{
    return 0;
}

void FinanceBase::showPolymorphism()
{
}

QString FinanceBase::getDateString() const
{
    // A null date formats as an empty string.
    return m_date.toString(QStringLiteral("dd.MM.yyyy"));
}

void FinanceBase::readBaseFields(const QSqlRecord &row)
{
    m_id = row.value(QStringLiteral("id")).toInt();
    m_name = row.value(QStringLiteral("name")).toString();
}

void FinanceBase::readBaseFields(const RecordReader &row)
{
    m_id = row.toInt(IdColumn);
    m_name = row.toString(NameColumn);
}
