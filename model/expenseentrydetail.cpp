#include "expenseentrydetail.h"

#include "recordreader.h"

#include <QDebug>
#include <QSqlRecord>
#include <QVariant>

namespace {

enum Column { ExpenseIdColumn = FinanceBase::FirstOwnColumn, SubTypeIdColumn, AmountColumn, RemarkColumn };

const QString columnNames[] = {
    QStringLiteral("id"), QStringLiteral("name"), QStringLiteral("ausgaben_id"),
    QStringLiteral("ausgaben_sub_typ_id"), QStringLiteral("betrag"), QStringLiteral("bemerkung"),
};

} // namespace

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
    : ExpenseEntryDetail(RecordReader(row, columnNames))
{
}

ExpenseEntryDetail::ExpenseEntryDetail(const RecordReader &row)
{
    init();
    readBaseFields(row);
    readFields(row);
}

RecordReader ExpenseEntryDetail::reader(const QSqlQuery &query)
{
    return RecordReader(query, columnNames);
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
    readFields(RecordReader(row, columnNames));
}

void ExpenseEntryDetail::readFields(const RecordReader &row)
{
    m_expenseId = row.toInt(ExpenseIdColumn);
    m_subTypeId = row.toInt(SubTypeIdColumn);
    m_amount = row.toDouble(AmountColumn);
    m_remark = row.toSharedString(RemarkColumn);
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
