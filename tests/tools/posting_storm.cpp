// Books and reverses postings on ./Data/finanzen.dat of the given folder in
// an endless loop, so that a test can kill it at any moment and check that
// the file stayed consistent. Usage: posting_storm <folder> <seed>
#include "dataprovider.h"
#include "expenseentry.h"
#include "yearfilecheck.h"

#include <QCoreApplication>
#include <QDate>
#include <QDir>
#include <QRandomGenerator>
#include <QSqlDatabase>
#include <QSqlQuery>

#include <cstdio>

namespace {

QVariant scalar(const QString &sql)
{
    QSqlQuery query;
    return query.exec(sql) && query.next() ? query.value(0) : QVariant();
}

} // namespace

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

    const int instruments[] = {1, 2, 3, 4};
    for (;;) {
        QString err;
        const double amount = (1 + random.bounded(2000)) / 100.0;
        switch (random.bounded(8)) {
        case 0:
        case 1:
        case 2: {
            ExpenseEntry e;
            const int instrument = instruments[random.bounded(3)];
            e.setDate(QDate::currentDate());
            e.setAmount(amount);
            e.setExpenseTypeId(1);
            e.setExpenseTypeName(QStringLiteral("Lebensmittel"));
            e.setRecipientId(1);
            e.setRecipientName(QStringLiteral("Migros"));
            e.setPaymentInstrumentId(instrument);
            e.setPaymentInstrumentName(QStringLiteral("Zahlungsmittel"));
            e.setRemark(QStringLiteral("Sturm"));
            data->postExpense(&e, 1, false, err);
            break;
        }
        case 3:
            data->postDeposit(random.bounded(2) ? 1 : 3, amount * 10, QStringLiteral("Lohn"),
                              QDate::currentDate(), 1, err);
            break;
        case 4:
            if (random.bounded(2))
                data->postTransfer(1, 4, amount, QStringLiteral("an Sparkonto"), QStringLiteral("von Postkonto"),
                                   QDate::currentDate(), err);
            else
                data->postTransfer(4, 1, amount, QStringLiteral("an Postkonto"), QStringLiteral("von Sparkonto"),
                                   QDate::currentDate(), err);
            break;
        case 5: {
            const int id = scalar(QStringLiteral("SELECT id FROM ausgaben ORDER BY random() LIMIT 1")).toInt();
            if (id > 0)
                data->reverseExpense(id, err);
            break;
        }
        case 6: {
            const QString txId =
                scalar(QStringLiteral("SELECT tx_id FROM konto_bewegungen WHERE tx_typ = 22 ORDER BY random() LIMIT 1"))
                    .toString();
            if (!txId.isEmpty())
                data->reverseTransfer(txId, err);
            break;
        }
        default: {
            const int id =
                scalar(QStringLiteral("SELECT id FROM konto_bewegungen WHERE tx_typ = 23 ORDER BY random() LIMIT 1"))
                    .toInt();
            if (id > 0)
                data->reverseMovement(id, err);
            break;
        }
        }
    }
}
