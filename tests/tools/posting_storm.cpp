// Books and reverses postings on ./Data/finanzen.dat of the given folder in
// an endless loop, so that a test can kill it at any moment and check that
// the file stayed consistent. Usage: posting_storm <folder> <seed>
#include "dataprovider.h"
#include "expenseentry.h"
#include "yearfilecheck.h"

#include <QCoreApplication>
#include <QDir>
#include <QRandomGenerator>
#include <QSqlDatabase>
#include <QSqlQuery>

#include <cstdio>

static QVariant randomPick(const QString &sql)
{
    QSqlQuery query;
    return query.exec(sql + QStringLiteral(" ORDER BY random() LIMIT 1")) && query.next() ? query.value(0)
                                                                                         : QVariant();
}

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    if (argc < 3)
        return 2;
    QDir::setCurrent(QString::fromLocal8Bit(argv[1]));
    QRandomGenerator random(QByteArray(argv[2]).toUInt());
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"));
    db.setDatabaseName(QStringLiteral("./Data/finanzen.dat"));
    if (!db.open())
        return 3;
    YearFileCheck::applySafetySettings();
    DataProvider *data = DataProvider::instance();
    std::puts("ready");
    std::fflush(stdout);

    const QDate today = QDate::currentDate();
    for (;;) {
        const double amount = (1 + random.bounded(2000)) / 100.0;
        const bool toSavings = random.bounded(2);
        switch (random.bounded(6)) {
        case 0:
        case 1: {
            ExpenseEntry e;
            e.setDate(today);
            e.setAmount(amount);
            e.setExpenseTypeId(1);
            e.setExpenseTypeName(QStringLiteral("Lebensmittel"));
            e.setPaymentInstrumentId(1 + random.bounded(3));
            e.setRemark(QStringLiteral("Sturm"));
            data->postExpense(&e, 1, false);
            break;
        }
        case 2:
            data->postDeposit(toSavings ? 3 : 1, amount * 10, QStringLiteral("Lohn"), today, 1);
            break;
        case 3:
            data->postTransfer(toSavings ? 1 : 4, toSavings ? 4 : 1, amount, QStringLiteral("an"),
                               QStringLiteral("von"), today);
            break;
        case 4:
            data->reverseExpense(randomPick(QStringLiteral("SELECT id FROM ausgaben")).toInt());
            break;
        default:
            if (toSavings)
                data->reverseTransfer(randomPick(QStringLiteral("SELECT tx_id FROM konto_bewegungen "
                                                                "WHERE tx_typ = 22")).toString());
            else
                data->reverseMovement(randomPick(QStringLiteral("SELECT id FROM konto_bewegungen "
                                                                "WHERE tx_typ = 23")).toInt());
        }
    }
}
