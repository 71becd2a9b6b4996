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

// The lists are built in one pass over the caches with look-up tables by id.
// Each per-id sum adds its amounts in list order, so the results equal those
// of a walk per line.

namespace {
const QString TotalName = QStringLiteral("Total:");

ExpenseEntry *expenseTotal(double sum)
{
    auto *total = new ExpenseEntry;
    total->setExpenseTypeId(0);
    total->setName(TotalName);
    total->setAmount(sum);
    total->setTotalRow(true);
    return total;
}
} // namespace

void DataProvider::getExpensesOfType(QList<ExpenseEntry *> &out, int typeId)
{
    if (m_expenses.isEmpty())
        loadExpenses();
    out.clear();
    double sum = 0.0;
    for (const ExpenseEntry *e : std::as_const(m_expenses)) {
        if (typeId < 1 || e->getExpenseTypeId() == typeId) {
            out.append(new ExpenseEntry(*e));
            sum += e->getAmount();
        }
    }
    out.append(expenseTotal(sum));
}

void DataProvider::getExpensesOfSubType(QList<ExpenseEntry *> &out, int subTypeId)
{
    if (m_expenses.isEmpty())
        loadExpenses();
    // Detail amounts by expense id, in the order the query gives them.
    QHash<int, QList<double>> amounts;
    double sum = 0.0;
    QSqlQuery query;
    if (runQuery(query, QStringLiteral("SELECT * FROM ausgaben_detail WHERE ausgaben_sub_typ_id = '%1' ")
                            .arg(subTypeId))) {
        const RecordReader columns = ExpenseEntryDetail::reader(query);
        while (query.next()) {
            const ExpenseEntryDetail detail(columns);
            amounts[detail.getExpenseId()].append(detail.getAmount());
            sum += detail.getAmount();
        }
    }
    // Newest expense first; the lines of one expense in reverse detail
    // order, ahead of whatever the list held already.
    QList<ExpenseEntry *> lines;
    for (const ExpenseEntry *e : std::as_const(m_expenses)) {
        const auto it = amounts.constFind(e->getId());
        if (it == amounts.constEnd())
            continue;
        for (auto a = it->crbegin(); a != it->crend(); ++a) {
            auto *line = new ExpenseEntry(*e);
            line->setAmount(*a);
            lines.append(line);
        }
    }
    out = lines + out;
    out.append(expenseTotal(sum));
}

void DataProvider::getExpensesOfRecipient(QList<ExpenseEntry *> &out, int recipientId)
{
    double sum = 0.0;
    for (const ExpenseEntry *e : std::as_const(m_expenses)) {
        if (e->getRecipientId() == recipientId) {
            out.append(new ExpenseEntry(*e));
            sum += e->getAmount();
        }
    }
    out.append(expenseTotal(sum));
}

void DataProvider::getExpenseTypeTotals(QList<ExpenseEntry *> &out, QList<ExpenseEntry *> &expenses)
{
    QHash<int, double> spent;
    for (const ExpenseEntry *e : std::as_const(expenses))
        spent[e->getExpenseTypeId()] += e->getAmount();

    double budgets = 0.0;
    double total = 0.0;
    for (const ExpenseTypeEntry *type : std::as_const(m_expenseTypes)) {
        auto *line = new ExpenseEntry(type->getBudget());
        line->setName(type->getName());
        line->setAmount(spent.value(type->getId(), 0.0));
        out.append(line);
        budgets += type->getBudget();
        total += line->getAmount();
    }
    auto *totalLine = new ExpenseEntry(budgets);
    totalLine->setName(TotalName);
    totalLine->setRemark(TotalName);
    totalLine->setAmount(total);
    totalLine->setTotalRow(true);
    out.append(totalLine);
}

void DataProvider::getExpenseSubTypeTotals(int typeId, QList<ExpenseEntry *> &expenseList,
                                           QList<ExpenseEntryDetail *> &out)
{
    out.clear();
    QList<QSqlRecord> rows;
    getExpenseSubTypeRows(typeId, rows);
    QHash<int, ExpenseEntryDetail *> lineOfSubType;
    for (const QSqlRecord &row : std::as_const(rows)) {
        auto *line = new ExpenseEntryDetail;
        line->setName(row.value(QStringLiteral("name")).toString());
        line->setSubTypeId(row.value(QStringLiteral("id")).toInt());
        line->setAmount(0.0);
        if (!lineOfSubType.contains(line->getSubTypeId()))
            lineOfSubType.insert(line->getSubTypeId(), line);
        out.append(line);
    }

    if (m_details.isEmpty())
        loadExpenseDetails();
    ensureDetailIndex();
    double sum = 0.0;
    for (const ExpenseEntry *e : std::as_const(expenseList)) {
        if (e->isTotalRow())
            continue;
        sum += e->getAmount();
        for (const ExpenseEntryDetail *d : m_detailIndex.value(e->getId())) {
            if (ExpenseEntryDetail *line = lineOfSubType.value(d->getSubTypeId()))
                line->setAmount(line->getAmount() + d->getAmount());
        }
    }
    auto *total = new ExpenseEntryDetail;
    total->setName(TotalName);
    total->setAmount(sum);
    total->setTotalRow(true);
    out.append(total);
}

void DataProvider::getRecipientTotals(QList<Recipient *> &out)
{
    if (m_expenses.isEmpty())
        loadExpenses();
    QHash<int, Recipient *> byId;
    for (Recipient *r : std::as_const(m_recipients)) {
        r->setPaidSum(0.0);
        if (!byId.contains(r->getId()))
            byId.insert(r->getId(), r);
        out.append(r);
    }
    auto *others = new Recipient;
    others->setName(QStringLiteral("Andere"));
    auto *total = new Recipient;
    total->setName(TotalName);
    total->setTotalRow(true);
    for (const ExpenseEntry *e : std::as_const(m_expenses)) {
        Recipient *r = byId.value(e->getRecipientId(), others);
        r->addPaidSum(e->getAmount());
        total->addPaidSum(e->getAmount());
    }
    out.append(others);
    out.append(total);
}

void DataProvider::getIncomeSourceTotals(QList<IncomeEntry *> &out, QList<IncomeEntry *> &incomeMovements)
{
    QHash<int, double> received;
    for (const IncomeEntry *m : std::as_const(incomeMovements))
        received[m->getIncomeSourceId()] += m->getAmount();

    double volumes = 0.0;
    double total = 0.0;
    for (const IncomeEntry *source : std::as_const(m_incomeSources)) {
        auto *line = new IncomeEntry(source->getVolume());
        line->setName(source->getName());
        line->setAmount(received.value(source->getId(), 0.0));
        out.append(line);
        volumes += source->getVolume();
        total += line->getAmount();
    }
    auto *totalLine = new IncomeEntry(volumes);
    totalLine->setName(TotalName);
    totalLine->setRemark(TotalName);
    totalLine->setAmount(total);
    totalLine->setTotalRow(true);
    out.append(totalLine);
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
        if (m->getOpFlag() == MoneyIn)
            credits += m->getAmount();
        else
            debits += m->getAmount();
    }
    acc->setIncomingSum(credits);
    acc->setOutgoingSum(debits);
}

void DataProvider::getAccountOverview(QList<PaymentInstruction *> &instruments, QList<Account *> &out)
{
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

    double debits = 0.0, credits = 0.0, opening = 0.0, balance = 0.0;
    for (PaymentInstruction *p : std::as_const(instruments)) {
        Account *a = nullptr;
        Account *bank = nullptr;
        if (p->isBankAccount() && p->getInstrumentType() != AccountInstrument) {
            // A card drawing on a bank account gets a line of its own.
            bank = getAccount(p->getAccountId());
            a = new Account;
            a->setAccountType(OwnAccount);
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
        }
        a->setName(p->getName());
        if (a->getAccountType() == OwnAccount) {
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
        out.append(a);
    }
    auto *total = new Account;
    total->setName(TotalName);
    total->setTotalRow(true);
    total->setOpeningAmount(opening);
    total->setBalance(balance);
    total->setIncomingSum(credits);
    total->setOutgoingSum(debits);
    out.append(total);
}

void DataProvider::getAccountOverview(PaymentInstruction *p, QList<Account *> &out)
{
    if (!p)
        return;
    Account *a = nullptr;
    if (p->getInstrumentType() == LinkedCard) {
        a = new Account;
        a->setAccountType(OwnAccount);
    } else {
        a = getAccount(p->getAccountId());
        if (!a)
            return;
        computeAccountMovements(a, p->getId());
    }
    a->setName(p->getName());
    if (a->getAccountType() == OwnAccount) {
        QList<ExpenseEntry *> expenses;
        getExpensesOfPaymentInstrument(p->getId(), expenses);
        a->addOutgoingSum(sumAmounts(expenses));
    }
    out.append(a);
}
