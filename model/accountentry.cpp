#include "accountentry.h"

#include "recordreader.h"

#include <QDebug>
#include <QSqlRecord>
#include <QVariant>

namespace {

enum Column {
    DateColumn = FinanceBase::FirstOwnColumn, AmountColumn, FromAccountColumn, ToAccountColumn,
    TxTypeColumn, TxIdColumn, StateColumn, OpFlagColumn, RemarkColumn, InstrumentIdColumn,
    ExpenseIdColumn
};

const QString columnNames[] = {
    QStringLiteral("id"), QStringLiteral("name"), QStringLiteral("startdate"), QStringLiteral("betrag"),
    QStringLiteral("konto_id_von"), QStringLiteral("konto_id_nach"), QStringLiteral("tx_typ"),
    QStringLiteral("tx_id"), QStringLiteral("stat"), QStringLiteral("op_flag"), QStringLiteral("bemerkung"),
    QStringLiteral("zahlungsmittel_id"), QStringLiteral("ausgabe_id"),
};

} // namespace

AccountEntry::AccountEntry()
{
    init();
}

AccountEntry::AccountEntry(int id)
{
    init();
    m_id = id;
}

AccountEntry::AccountEntry(const QSqlRecord &row)
    : AccountEntry(RecordReader(row, columnNames))
{
}

AccountEntry::AccountEntry(const RecordReader &row)
{
    init();
    readBaseFields(row);
    readFields(row);
}

RecordReader AccountEntry::reader(const QSqlQuery &query)
{
    return RecordReader(query, columnNames);
}

AccountEntry::AccountEntry(const AccountEntry &other)
    : FinanceBase(other)
{
    init();
    assign(other);
}

AccountEntry &AccountEntry::operator=(const AccountEntry &other)
{
    FinanceBase::operator=(other);
    return assign(other);
}

void AccountEntry::init()
{
    m_className = QStringLiteral("AccountEntry");
    m_typeCode = AccountEntryCode;
    m_fromAccount = 0;
    m_toAccount = 0;
    m_txType = 29;
    m_state = 0;
    m_opFlag = OpFlag::MoneyOut;
    m_amount = 0.0;
    m_paymentInstrumentId = 0;
    m_expenseId = 0;
}

void AccountEntry::readFields(const QSqlRecord &row)
{
    readFields(RecordReader(row, columnNames));
}

void AccountEntry::readFields(const RecordReader &row)
{
    m_date = row.toDate(DateColumn);
    m_amount = row.toDouble(AmountColumn);
    m_fromAccount = row.toInt(FromAccountColumn);
    m_toAccount = row.toInt(ToAccountColumn);
    m_txType = row.toInt(TxTypeColumn);
    m_txId = row.toString(TxIdColumn);
    m_state = row.toInt(StateColumn);
    m_opFlag = row.toInt(OpFlagColumn);
    m_remark = row.toSharedString(RemarkColumn);
    m_paymentInstrumentId = row.toInt(InstrumentIdColumn);
    m_expenseId = row.toInt(ExpenseIdColumn);
}

void AccountEntry::showPolymorphism()
{
    qDebug() << " Show Polymorphism -> AccountEntry: " << getClassName();
}

FinanceBase &AccountEntry::assign(const FinanceBase &other)
{
    if (const auto *entry = dynamic_cast<const AccountEntry *>(&other))
        assign(*entry);
    return *this;
}

AccountEntry &AccountEntry::assign(const AccountEntry &other)
{
    m_amount = other.m_amount;
    m_fromAccount = other.m_fromAccount;
    m_toAccount = other.m_toAccount;
    m_txType = other.m_txType;
    m_txId = other.m_txId;
    m_state = other.m_state;
    m_opFlag = other.m_opFlag;
    m_remark = other.m_remark;
    m_paymentInstrumentId = other.m_paymentInstrumentId;
    m_expenseId = other.m_expenseId;
    return *this;
}

bool AccountEntry::isEqual(const FinanceBase &other) const
{
    return m_id == other.getId();
}
