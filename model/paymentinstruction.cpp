#include "paymentinstruction.h"

#include "recordreader.h"

#include <QDebug>
#include <QSqlRecord>
#include <QVariant>

namespace {

enum Column {
    InstrumentTypeColumn = FinanceBase::FirstOwnColumn, AccountIdColumn, AccountLinkColumn, CardNumberColumn
};

const QString columnNames[] = {
    QStringLiteral("id"), QStringLiteral("name"), QStringLiteral("zahlungsmittel_typ"), QStringLiteral("konto_id"),
    QStringLiteral("hat_konto_verbindung"), QStringLiteral("karten_nummer"),
};

} // namespace

PaymentInstruction::PaymentInstruction()
{
    init();
}

PaymentInstruction::PaymentInstruction(int id)
{
    init();
    m_id = id;
}

PaymentInstruction::PaymentInstruction(const QSqlRecord &row)
    : PaymentInstruction(RecordReader(row, columnNames))
{
}

PaymentInstruction::PaymentInstruction(const RecordReader &row)
{
    init();
    readBaseFields(row);
    readFields(row);
}

RecordReader PaymentInstruction::reader(const QSqlQuery &query)
{
    return RecordReader(query, columnNames);
}

PaymentInstruction::PaymentInstruction(const PaymentInstruction &other)
    : FinanceBase(other)
{
    init();
    assign(other);
    m_instrumentType = other.m_instrumentType;
    m_accountType = other.m_accountType;
}

PaymentInstruction &PaymentInstruction::operator=(const PaymentInstruction &other)
{
    FinanceBase::operator=(other);
    return assign(other);
}

void PaymentInstruction::init()
{
    m_className = QStringLiteral("PaymentInstruction");
    m_typeCode = PaymentInstructionCode;
    m_instrumentType = InstrumentType::PrepaidCard;
    m_accountType = 19;
    m_accountId = 0;
    m_bankAccount = false;
    m_accountLink = false;
}

void PaymentInstruction::readFields(const QSqlRecord &row)
{
    readFields(RecordReader(row, columnNames));
}

void PaymentInstruction::readFields(const RecordReader &row)
{
    m_instrumentType = row.toInt(InstrumentTypeColumn);
    m_accountId = row.toInt(AccountIdColumn);
    m_accountLink = row.toBool(AccountLinkColumn);
    m_cardNumber = row.toString(CardNumberColumn);
}

void PaymentInstruction::showPolymorphism()
{
    qDebug() << " Show Polymorphism -> PaymentInstruction: " << getClassName();
}

FinanceBase &PaymentInstruction::assign(const FinanceBase &other)
{
    if (const auto *instrument = dynamic_cast<const PaymentInstruction *>(&other))
        assign(*instrument);
    return *this;
}

PaymentInstruction &PaymentInstruction::assign(const PaymentInstruction &other)
{
    m_accountId = other.m_accountId;
    m_bankAccount = other.m_bankAccount;
    m_accountLink = other.m_accountLink;
    m_cardNumber = other.m_cardNumber;
    return *this;
}

bool PaymentInstruction::isEqual(const FinanceBase &other) const
{
    return m_id == other.getId();
}
