#include "accountentry.h"

#include <QDebug>
#include <QSqlRecord>
#include <QVariant>

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
{
    init();
    readBaseFields(row);
    readFields(row);
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
    m_opFlag = 0;
    m_amount = 0.0;
    m_paymentInstrumentId = 0;
    m_expenseId = 0;
}

void AccountEntry::readFields(const QSqlRecord &row)
{
    m_date = row.value(QStringLiteral("startdate")).toDate();
    m_amount = row.value(QStringLiteral("betrag")).toDouble();
    m_fromAccount = row.value(QStringLiteral("konto_id_von")).toInt();
    m_toAccount = row.value(QStringLiteral("konto_id_nach")).toInt();
    m_txType = row.value(QStringLiteral("tx_typ")).toInt();
    m_txId = row.value(QStringLiteral("tx_id")).toString();
    m_state = row.value(QStringLiteral("stat")).toInt();
    m_opFlag = row.value(QStringLiteral("op_flag")).toInt();
    m_remark = row.value(QStringLiteral("bemerkung")).toString();
    m_paymentInstrumentId = row.value(QStringLiteral("zahlungsmittel_id")).toInt();
    m_expenseId = row.value(QStringLiteral("ausgabe_id")).toInt();
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
