#include "paymentinstruction.h"

#include "dataprovider.h"

#include <QDebug>
#include <QSqlRecord>
#include <QVariant>

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
{
    init();
    readBaseFields(row);
    readFields(row);
}

PaymentInstruction::PaymentInstruction(const QString &name)
{
    init();
    DataProvider *data = DataProvider::instance();
    m_id = data->getIdByName(QStringLiteral("zahlungsmittel"), name);
    data->refreshRecord(this);
    m_name = name;
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
    m_instrumentType = 23;
    m_accountType = 19;
    m_accountId = 0;
    m_bankAccount = false;
    m_accountLink = false;
}

void PaymentInstruction::readFields(const QSqlRecord &row)
{
    m_instrumentType = row.value(QStringLiteral("zahlungsmittel_typ")).toInt();
    m_accountId = row.value(QStringLiteral("konto_id")).toInt();
    m_accountLink = row.value(QStringLiteral("hat_konto_verbindung")).toBool();
    m_cardNumber = row.value(QStringLiteral("karten_nummer")).toString();
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
