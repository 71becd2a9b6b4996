#include "incomeentry.h"

#include "recordreader.h"

#include <QDebug>
#include <QSqlRecord>
#include <QVariant>

namespace {

enum MovementColumn {
    DateColumn = FinanceBase::FirstOwnColumn, AmountColumn, SourceIdColumn, MovementRemarkColumn
};
enum SourceColumn { VolumeColumn = FinanceBase::FirstOwnColumn, VatColumn, SourceRemarkColumn };

const QString movementColumns[] = {
    QStringLiteral("id"), QStringLiteral("name"), QStringLiteral("startdate"), QStringLiteral("betrag"),
    QStringLiteral("einnahme_quelle_id"), QStringLiteral("bemerkung"),
};
const QString sourceColumns[] = {
    QStringLiteral("id"), QStringLiteral("name"), QStringLiteral("betrags_volumen"), QStringLiteral("mwst"),
    QStringLiteral("bemerkung"),
};

} // namespace

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
    : IncomeEntry(asSource ? RecordReader(row, sourceColumns) : RecordReader(row, movementColumns), asSource)
{
}

RecordReader IncomeEntry::reader(const QSqlQuery &query, bool asSource)
{
    return asSource ? RecordReader(query, sourceColumns) : RecordReader(query, movementColumns);
}

IncomeEntry::IncomeEntry(const RecordReader &row, bool asSource)
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
    readMovementFields(RecordReader(row, movementColumns));
}

void IncomeEntry::readSourceFields(const QSqlRecord &row)
{
    readSourceFields(RecordReader(row, sourceColumns));
}

void IncomeEntry::readMovementFields(const RecordReader &row)
{
    m_date = row.toDate(DateColumn);
    m_amount = row.toDouble(AmountColumn);
    m_incomeSourceId = row.toInt(SourceIdColumn);
    m_remark = row.toSharedString(MovementRemarkColumn);
}

void IncomeEntry::readSourceFields(const RecordReader &row)
{
    m_volume = row.toDouble(VolumeColumn);
    m_vat = row.toDouble(VatColumn);
    m_remark = row.toString(SourceRemarkColumn);
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
