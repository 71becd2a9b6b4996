#include "expenseentry.h"

#include "recordreader.h"

#include <QSqlRecord>
#include <QVariant>

namespace {

enum Column {
    DateColumn = FinanceBase::FirstOwnColumn, AmountColumn, RecipientNameColumn, RecipientIdColumn,
    InstrumentNameColumn, InstrumentIdColumn, RemarkColumn, TypeNameColumn, TypeIdColumn
};

const QString columnNames[] = {
    QStringLiteral("id"), QStringLiteral("name"), QStringLiteral("startdate"), QStringLiteral("betrag"),
    QStringLiteral("beguenstigter"), QStringLiteral("beguenstigter_id"), QStringLiteral("zahlungsmittel"),
    QStringLiteral("zahlungsmittel_id"), QStringLiteral("bemerkung"), QStringLiteral("ausgaben_typ"),
    QStringLiteral("ausgaben_typ_id"),
};

} // namespace

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
    : ExpenseEntry(RecordReader(row, columnNames))
{
}

ExpenseEntry::ExpenseEntry(const RecordReader &row)
{
    init();
    readBaseFields(row);
    readFields(row);
}

RecordReader ExpenseEntry::reader(const QSqlQuery &query)
{
    return RecordReader(query, columnNames);
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
    const QString description = getDescription();
    assign(other);
    setDescription(description);
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
    readFields(RecordReader(row, columnNames));
}

void ExpenseEntry::readFields(const RecordReader &row)
{
    m_date = row.toDate(DateColumn);
    m_amount = row.toDouble(AmountColumn);
    m_recipientName = row.toSharedString(RecipientNameColumn);
    m_recipientId = row.toInt(RecipientIdColumn);
    m_paymentInstrumentName = row.toSharedString(InstrumentNameColumn);
    m_paymentInstrumentId = row.toInt(InstrumentIdColumn);
    m_remark = row.toSharedString(RemarkColumn);
    m_expenseTypeName = row.toSharedString(TypeNameColumn);
    m_expenseTypeId = row.toInt(TypeIdColumn);
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
    setDescription(other.getDescription());

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
