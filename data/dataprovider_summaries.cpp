#include "dataprovider.h"
#include "recordreader.h"

#include "account.h"
#include "accountentry.h"
#include "expenseentry.h"
#include "expenseentrydetail.h"
#include "expensetypeentry.h"
#include "incomeentry.h"
#include "paymentinstruction.h"
#include "recipient.h"

#include <QSqlQuery>
#include <QVariant>

#include <memory>

// The lists are built in one pass over the caches with look-up tables by id.
// Each per-id sum adds its amounts in list order, so the results equal those
// of a walk per line.

namespace {
const QString TotalName = QStringLiteral("Total:");

std::unique_ptr<ExpenseEntry> expenseTotal(double sum)
{
    auto total = std::make_unique<ExpenseEntry>();
    total->setExpenseTypeId(0);
    total->setName(TotalName);
    total->setAmount(sum);
    total->setTotalRow(true);
    return total;
}
} // namespace

RecordList<ExpenseEntry> DataProvider::getExpensesOfType(int typeId)
{
    if (m_expenses.isEmpty())
        loadExpenses();
    RecordList<ExpenseEntry> out;
    double sum = 0.0;
    for (const ExpenseEntry *e : std::as_const(m_expenses)) {
        if (typeId < 1 || e->getExpenseTypeId() == typeId) {
            out.appendOwned(std::make_unique<ExpenseEntry>(*e));
            sum += e->getAmount();
        }
    }
    out.appendOwned(expenseTotal(sum));
    return out;
}

RecordList<ExpenseEntry> DataProvider::getExpensesOfSubType(int subTypeId)
{
    if (m_expenses.isEmpty())
        loadExpenses();
    // Detail amounts by expense id, in the order the query gives them.
    QHash<int, QList<double>> amounts;
    double sum = 0.0;
    QSqlQuery query;
    query.setForwardOnly(true);
    query.prepare(QStringLiteral("SELECT * FROM ausgaben_detail WHERE ausgaben_sub_typ_id = ?"));
    query.addBindValue(subTypeId);
    if (!query.exec()) {
        s_readFailed = true;
    } else {
        const RecordReader columns = ExpenseEntryDetail::reader(query);
        while (query.next()) {
            const ExpenseEntryDetail detail(columns);
            amounts[detail.getExpenseId()].append(detail.getAmount());
            sum += detail.getAmount();
        }
    }
    // Newest expense first; the lines of one expense in reverse detail order.
    RecordList<ExpenseEntry> out;
    for (const ExpenseEntry *e : std::as_const(m_expenses)) {
        const auto it = amounts.constFind(e->getId());
        if (it == amounts.constEnd())
            continue;
        for (auto a = it->crbegin(); a != it->crend(); ++a)
            out.appendOwned(std::make_unique<ExpenseEntry>(*e))->setAmount(*a);
    }
    out.appendOwned(expenseTotal(sum));
    return out;
}

RecordList<ExpenseEntry> DataProvider::getExpensesOfRecipient(int recipientId)
{
    RecordList<ExpenseEntry> out;
    double sum = 0.0;
    for (const ExpenseEntry *e : std::as_const(m_expenses)) {
        if (e->getRecipientId() == recipientId) {
            out.appendOwned(std::make_unique<ExpenseEntry>(*e));
            sum += e->getAmount();
        }
    }
    out.appendOwned(expenseTotal(sum));
    return out;
}

RecordList<ExpenseEntry> DataProvider::getExpenseTypeTotals(const QList<ExpenseEntry *> &expenses)
{
    QHash<int, double> spent;
    for (const ExpenseEntry *e : std::as_const(expenses))
        spent[e->getExpenseTypeId()] += e->getAmount();

    RecordList<ExpenseEntry> out;
    double budgets = 0.0;
    double total = 0.0;
    for (const ExpenseTypeEntry *type : std::as_const(m_expenseTypes)) {
        ExpenseEntry *line = out.appendOwned(std::make_unique<ExpenseEntry>(type->getBudget()));
        line->setName(type->getName());
        line->setAmount(spent.value(type->getId(), 0.0));
        budgets += type->getBudget();
        total += line->getAmount();
    }
    ExpenseEntry *totalLine = out.appendOwned(std::make_unique<ExpenseEntry>(budgets));
    totalLine->setName(TotalName);
    totalLine->setRemark(TotalName);
    totalLine->setAmount(total);
    totalLine->setTotalRow(true);
    return out;
}

RecordList<ExpenseEntryDetail> DataProvider::getExpenseSubTypeTotals(int typeId,
                                                                     const QList<ExpenseEntry *> &expenses)
{
    RecordList<ExpenseEntryDetail> out;
    QList<QSqlRecord> rows;
    getExpenseSubTypeRows(typeId, rows);
    QHash<int, ExpenseEntryDetail *> lineOfSubType;
    for (const QSqlRecord &row : std::as_const(rows)) {
        ExpenseEntryDetail *line = out.appendOwned(std::make_unique<ExpenseEntryDetail>());
        line->setName(row.value(QStringLiteral("name")).toString());
        line->setSubTypeId(row.value(QStringLiteral("id")).toInt());
        line->setAmount(0.0);
        if (!lineOfSubType.contains(line->getSubTypeId()))
            lineOfSubType.insert(line->getSubTypeId(), line);
    }

    if (m_details.isEmpty())
        loadExpenseDetails();
    ensureDetailIndex();
    double sum = 0.0;
    for (const ExpenseEntry *e : expenses) {
        if (e->isTotalRow())
            continue;
        sum += e->getAmount();
        for (const ExpenseEntryDetail *d : m_detailIndex.value(e->getId())) {
            if (ExpenseEntryDetail *line = lineOfSubType.value(d->getSubTypeId()))
                line->setAmount(line->getAmount() + d->getAmount());
        }
    }
    ExpenseEntryDetail *total = out.appendOwned(std::make_unique<ExpenseEntryDetail>());
    total->setName(TotalName);
    total->setAmount(sum);
    total->setTotalRow(true);
    return out;
}

RecordList<Recipient> DataProvider::getRecipientTotals()
{
    if (m_expenses.isEmpty())
        loadExpenses();
    RecordList<Recipient> out;
    QHash<int, Recipient *> byId;
    for (Recipient *r : std::as_const(m_recipients)) {
        r->setPaidSum(0.0);
        if (!byId.contains(r->getId()))
            byId.insert(r->getId(), r);
        out.appendBorrowed(r);
    }
    Recipient *others = out.appendOwned(std::make_unique<Recipient>());
    others->setName(QStringLiteral("Andere"));
    Recipient *total = out.appendOwned(std::make_unique<Recipient>());
    total->setName(TotalName);
    total->setTotalRow(true);
    for (const ExpenseEntry *e : std::as_const(m_expenses)) {
        Recipient *r = byId.value(e->getRecipientId(), others);
        r->addPaidSum(e->getAmount());
        total->addPaidSum(e->getAmount());
    }
    return out;
}

RecordList<IncomeEntry> DataProvider::getIncomeSourceTotals(const QList<IncomeEntry *> &incomeMovements)
{
    QHash<int, double> received;
    for (const IncomeEntry *m : incomeMovements)
        received[m->getIncomeSourceId()] += m->getAmount();

    RecordList<IncomeEntry> out;
    double volumes = 0.0;
    double total = 0.0;
    for (const IncomeEntry *source : std::as_const(m_incomeSources)) {
        IncomeEntry *line = out.appendOwned(std::make_unique<IncomeEntry>(source->getVolume()));
        line->setName(source->getName());
        line->setAmount(received.value(source->getId(), 0.0));
        volumes += source->getVolume();
        total += line->getAmount();
    }
    IncomeEntry *totalLine = out.appendOwned(std::make_unique<IncomeEntry>(volumes));
    totalLine->setName(TotalName);
    totalLine->setRemark(TotalName);
    totalLine->setAmount(total);
    totalLine->setTotalRow(true);
    return out;
}

double DataProvider::sumAmounts(QList<ExpenseEntry *> &list)
{
    double sum = 0.0;
    for (const ExpenseEntry *e : std::as_const(list))
        sum += e->getAmount();
    return sum;
}

void DataProvider::computeAccountMovements(Account *acc, int piId)
{
    if (!acc)
        return;
    if (m_movements.isEmpty())
        loadAccountMovements();
    double credits = 0.0;
    double debits = 0.0;
    const int accountId = acc->getId();
    for (const AccountEntry *m : std::as_const(m_movements)) {
        if (m->getFromAccount() != accountId) {
            if (m->getPaymentInstrumentId() == piId)
                debits += m->getAmount();
            continue;
        }
        if (m->getPaymentInstrumentId() != 0 && m->getPaymentInstrumentId() != piId)
            continue;
        if (m->getOpFlag() == OpFlag::MoneyIn)
            credits += m->getAmount();
        else
            debits += m->getAmount();
    }
    acc->setIncomingSum(credits);
    acc->setOutgoingSum(debits);
}

RecordList<Account> DataProvider::getAccountOverview()
{
    QList<PaymentInstruction *> instruments;
    getPaymentInstruments(instruments);
    if (m_expenses.isEmpty())
        loadExpenses();
    // Expense sums per instrument, each in cache order.
    QHash<int, double> spentByInstrument;
    for (const ExpenseEntry *e : std::as_const(m_expenses))
        spentByInstrument[e->getPaymentInstrumentId()] += e->getAmount();
    // The counts describe this overview only; start every account at 0.
    for (Account *a : std::as_const(m_accounts))
        a->setLinkedCount(0);

    RecordList<Account> out;
    double debits = 0.0, credits = 0.0, opening = 0.0, balance = 0.0;
    for (PaymentInstruction *p : std::as_const(instruments)) {
        Account *a = nullptr;
        Account *bank = nullptr;
        if (p->isBankAccount() && p->getInstrumentType() != InstrumentType::Account) {
            // A card drawing on a bank account gets a line of its own.
            bank = getAccount(p->getAccountId());
            a = out.appendOwned(std::make_unique<Account>());
            a->setAccountType(AccountType::Own);
            a->setLinkedCount(1);
            if (bank) {
                bank->incrementLinkedCount();
                a->setColour(bank->getColour());
            }
        } else {
            a = getAccount(p->getAccountId());
            if (!a)
                continue;
            computeAccountMovements(a, p->getId());
            out.appendBorrowed(a);
        }
        a->setName(p->getName());
        if (a->getAccountType() == AccountType::Own) {
            const double spent = spentByInstrument.value(p->getId(), 0.0);
            if (a->getLinkedCount() != 0 && spent == 0.0) {
                a->setLinkedCount(0);
                if (bank)
                    bank->decrementLinkedCount();
            }
            a->addOutgoingSum(spent);
        }
        debits += a->getOutgoingSum();
        credits += a->getIncomingSum();
        opening += a->getOpeningAmount();
        balance += a->getBalance();
    }
    Account *total = out.appendOwned(std::make_unique<Account>());
    total->setName(TotalName);
    total->setTotalRow(true);
    total->setOpeningAmount(opening);
    total->setBalance(balance);
    total->setIncomingSum(credits);
    total->setOutgoingSum(debits);
    return out;
}

RecordList<Account> DataProvider::getAccountOverview(PaymentInstruction *p)
{
    RecordList<Account> out;
    if (!p)
        return out;
    Account *a = nullptr;
    if (p->getInstrumentType() == InstrumentType::LinkedCard) {
        a = out.appendOwned(std::make_unique<Account>());
        a->setAccountType(AccountType::Own);
    } else {
        a = getAccount(p->getAccountId());
        if (!a)
            return out;
        computeAccountMovements(a, p->getId());
        out.appendBorrowed(a);
    }
    a->setName(p->getName());
    if (a->getAccountType() == AccountType::Own) {
        QList<ExpenseEntry *> expenses;
        getExpensesOfPaymentInstrument(p->getId(), expenses);
        a->addOutgoingSum(sumAmounts(expenses));
    }
    return out;
}
