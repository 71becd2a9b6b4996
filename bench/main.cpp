// zolvex_bench: how long the program takes to answer the user at a given
// size of the year file. See the README for how to run it.
//
//   zolvex_bench N [--seed S] [--runs R] [--keep]   generate a year of N expenses, measure
//   zolvex_bench --file PATH [--runs R] [--keep]    measure a copy of an existing year file
//   zolvex_bench --generate N --out PATH [--seed S] only write a year file
//   --data-only: stop after the data layer (opening, loaders, summary lists)
//
// Every figure is the median of R runs (default 5), in milliseconds, one
// "name: value" per line; lines starting with "#" describe the run.

#include "yeargenerator.h"

#include "account.h"
#include "applwindow.h"
#include "backupstore.h"
#include "colorsetting.h"
#include "database.h"
#include "dataprovider.h"
#include "expenseentry.h"
#include "expenseentrydetail.h"
#include "expensetypeentry.h"
#include "incomeentry.h"
#include "imageitem.h"
#include "menudispatcher.h"
#include "paymentinstruction.h"
#include "picturescene.h"
#include "recipient.h"
#include "reportpainter.h"
#include "schema.h"
#include "yearfilecheck.h"

#include <QApplication>
#include <QDate>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QGraphicsView>
#include <QLibrary>
#include <QProcess>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTemporaryDir>
#include <QTextStream>
#include <QVariant>

#include <sqlite3.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <memory>
#include <vector>

namespace {

QTextStream out(stdout);

void note(const QString &text)
{
    out << "# " << text << Qt::endl;
}

void report(const QString &name, double value)
{
    out << name << ": " << QString::number(value, 'f', 2) << Qt::endl;
}

double median(std::vector<double> values)
{
    if (values.empty())
        return 0.0;
    std::sort(values.begin(), values.end());
    const size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2.0;
}

// Runs measure() runs times; each call returns the milliseconds of the part it timed.
double medianOf(int runs, const std::function<double()> &measure)
{
    std::vector<double> times;
    for (int i = 0; i < runs; ++i)
        times.push_back(measure());
    return median(times);
}

double elapsedMs(const QElapsedTimer &timer)
{
    return double(timer.nsecsElapsed()) / 1.0e6;
}

// Lets the event loop do what a click leaves behind: scene updates and the
// repaint of the views.
void settle()
{
    for (int i = 0; i < 3; ++i) {
        QCoreApplication::sendPostedEvents();
        QCoreApplication::processEvents(QEventLoop::AllEvents);
    }
}

QString procStatus(const char *key)
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return QString();
    const QString wanted = QString::fromLatin1(key) + QLatin1Char(':');
    for (const QByteArray &line : status.readAll().split('\n')) {
        const QString text = QString::fromLatin1(line);
        if (text.startsWith(wanted))
            return text.mid(wanted.size()).trimmed();
    }
    return QString();
}

double procStatusMb(const char *key)
{
    return procStatus(key).section(QLatin1Char(' '), 0, 0).toDouble() / 1024.0;
}

void describeMachine()
{
    QString cpu;
    int cores = 0;
    QFile info(QStringLiteral("/proc/cpuinfo"));
    if (info.open(QIODevice::ReadOnly)) {
        for (const QByteArray &line : info.readAll().split('\n')) {
            if (line.startsWith("model name")) {
                ++cores;
                if (cpu.isEmpty())
                    cpu = QString::fromLatin1(line.mid(line.indexOf(':') + 1)).trimmed();
            }
        }
    }
    QString memory;
    QFile meminfo(QStringLiteral("/proc/meminfo"));
    if (meminfo.open(QIODevice::ReadOnly))
        memory = QString::fromLatin1(meminfo.readLine()).section(QLatin1Char(':'), 1).trimmed();
    note(QStringLiteral("machine: %1 cores, %2, MemTotal %3").arg(cores).arg(cpu, memory));
}

// ---- SQLite's own full read ---------------------------------------------------

// The driver's library, called directly: what reading every row costs
// without any layer of ours or Qt's.
struct SqliteApi
{
    decltype(&sqlite3_open_v2) open = nullptr;
    decltype(&sqlite3_close) close = nullptr;
    decltype(&sqlite3_prepare_v2) prepare = nullptr;
    decltype(&sqlite3_step) step = nullptr;
    decltype(&sqlite3_finalize) finalize = nullptr;
    decltype(&sqlite3_column_count) columnCount = nullptr;
    decltype(&sqlite3_column_type) columnType = nullptr;
    decltype(&sqlite3_column_int64) columnInt64 = nullptr;
    decltype(&sqlite3_column_double) columnDouble = nullptr;
    decltype(&sqlite3_column_text) columnText = nullptr;
    decltype(&sqlite3_column_bytes) columnBytes = nullptr;

    bool load()
    {
        QLibrary library(QStringLiteral("sqlite3"), 0);
        if (!library.load())
            return false;
        auto get = [&library](auto &fn, const char *name) {
            fn = reinterpret_cast<std::remove_reference_t<decltype(fn)>>(library.resolve(name));
            return fn != nullptr;
        };
        return get(open, "sqlite3_open_v2") && get(close, "sqlite3_close") && get(prepare, "sqlite3_prepare_v2")
            && get(step, "sqlite3_step") && get(finalize, "sqlite3_finalize")
            && get(columnCount, "sqlite3_column_count") && get(columnType, "sqlite3_column_type")
            && get(columnInt64, "sqlite3_column_int64") && get(columnDouble, "sqlite3_column_double")
            && get(columnText, "sqlite3_column_text") && get(columnBytes, "sqlite3_column_bytes");
    }
};

// Opens the file, steps every row of every table ("SELECT *") and fetches
// every value, closes the file. Returns the number of rows read.
qint64 sqliteFullRead(const SqliteApi &api, const QString &path, const QStringList &tables)
{
    sqlite3 *db = nullptr;
    if (api.open(QFile::encodeName(path).constData(), &db, SQLITE_OPEN_READONLY, nullptr) != SQLITE_OK) {
        api.close(db);
        return -1;
    }
    qint64 rows = 0;
    qint64 sink = 0;
    for (const QString &table : tables) {
        sqlite3_stmt *stmt = nullptr;
        const QByteArray sql = QStringLiteral("SELECT * FROM %1").arg(table).toUtf8();
        if (api.prepare(db, sql.constData(), -1, &stmt, nullptr) != SQLITE_OK)
            continue;
        const int columns = api.columnCount(stmt);
        while (api.step(stmt) == SQLITE_ROW) {
            ++rows;
            for (int c = 0; c < columns; ++c) {
                switch (api.columnType(stmt, c)) {
                case SQLITE_INTEGER: sink += api.columnInt64(stmt, c); break;
                case SQLITE_FLOAT: sink += qint64(api.columnDouble(stmt, c)); break;
                case SQLITE_TEXT: api.columnText(stmt, c); sink += api.columnBytes(stmt, c); break;
                default: break;
                }
            }
        }
        api.finalize(stmt);
    }
    api.close(db);
    // Keeps the reads from being optimised away.
    static volatile qint64 s_sink = 0;
    s_sink = s_sink + sink;
    return rows;
}

// The same through Qt's driver, as the program's loaders read.
qint64 qtFullRead(const QString &path, const QStringList &tables)
{
    const QString name = QStringLiteral("bench-full-read");
    qint64 rows = 0;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        db.setDatabaseName(path);
        db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_READONLY"));
        if (db.open()) {
            for (const QString &table : tables) {
                QSqlQuery query(db);
                query.setForwardOnly(true);
                if (!query.exec(QStringLiteral("SELECT * FROM %1").arg(table)))
                    continue;
                const int columns = query.record().count();
                while (query.next()) {
                    ++rows;
                    for (int c = 0; c < columns; ++c)
                        query.value(c);
                }
            }
            db.close();
        }
    }
    QSqlDatabase::removeDatabase(name);
    return rows;
}

// ---- The year file ------------------------------------------------------------

void closeYearFile()
{
    DataProvider::release();
    {
        QSqlDatabase db = QSqlDatabase::database(QLatin1String(QSqlDatabase::defaultConnection), false);
        if (db.isValid())
            db.close();
    }
    if (QSqlDatabase::contains(QLatin1String(QSqlDatabase::defaultConnection)))
        QSqlDatabase::removeDatabase(QLatin1String(QSqlDatabase::defaultConnection));
}

int generateFile(int expenses, quint32 seed, const QString &path)
{
    QFile::remove(path);
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"));
    db.setDatabaseName(path);
    if (!db.open()) {
        out << "cannot create " << path << Qt::endl;
        return 1;
    }
    createTables();
    YearGenerator::Options options;
    options.expenses = expenses;
    options.seed = seed;
    YearGenerator generator(options);
    QString err;
    if (!generator.fill(err)) {
        out << "generation failed: " << err << Qt::endl;
        return 1;
    }
    if (!YearGenerator::verify(err)) {
        out << "balances inconsistent: " << err << Qt::endl;
        return 1;
    }
    const YearGenerator::Stats &s = generator.stats();
    note(QStringLiteral("generated: %1 expenses (%2 split), %3 detail rows, %4 movements (%5 deposits, %6 "
                        "transfer pairs), %7 recipients, %8 expense types with %9 sub-types, %10 accounts, "
                        "%11 payment instruments; balances verified")
             .arg(s.expenses).arg(s.splitExpenses).arg(s.details).arg(s.movements).arg(s.deposits)
             .arg(s.transfers).arg(s.recipients).arg(s.expenseTypes).arg(s.subTypes).arg(s.accounts)
             .arg(s.instruments));
    return 0;
}

int scalarInt(const QString &sql)
{
    QSqlQuery query;
    if (!query.exec(sql) || !query.next())
        return 0;
    return query.value(0).toInt();
}

QString scalarText(const QString &sql)
{
    QSqlQuery query;
    if (!query.exec(sql) || !query.next())
        return QString();
    return query.value(0).toString();
}

// ---- Clicks -------------------------------------------------------------------

ImageItem *findPicture(PictureScene *scene, const std::function<bool(ImageItem *)> &wanted)
{
    if (!scene)
        return nullptr;
    const QList<QGraphicsItem *> items = scene->items();
    for (QGraphicsItem *item : items) {
        auto *picture = dynamic_cast<ImageItem *>(item);
        if (picture && wanted(picture))
            return picture;
    }
    return nullptr;
}

ImageItem *pictureOfKind(PictureScene *scene, PictureKind kind)
{
    return findPicture(scene, [kind](ImageItem *p) { return p->kind() == kind; });
}

ImageItem *pictureOfRecord(PictureScene *scene, PictureKind kind, int recordType, int recordId)
{
    return findPicture(scene, [=](ImageItem *p) {
        return p->kind() == kind && p->recordType() == recordType && p->recordId() == recordId;
    });
}

// A drill-down arrow of a report row, by the class code and id it opens.
ImageItem *drillPicture(PictureScene *scene, int code, int id)
{
    return findPicture(scene, [=](ImageItem *p) {
        return p->kind() == PictureKind::DrillDown && p->data(ImageItem::DrillDownClass).toInt() == code
            && p->data(ImageItem::DrillDownId).toInt() == id;
    });
}

// Clicks the picture as the user would and waits until the window has
// caught up; returns the milliseconds. A missing picture (the page did not
// draw it) falls back to fallback(), noted once. emptyFirst, when given, is
// cleared before the clock starts, so that a figure does not depend on how
// large the page before it was (clearing is measured on its own).
double click(ImageItem *picture, const QString &what, const std::function<void()> &fallback,
             PictureScene *emptyFirst = nullptr)
{
    static QStringList noted;
    if (emptyFirst) {
        emptyFirst->clearScene();
        settle();
    }
    QElapsedTimer timer;
    timer.start();
    if (picture) {
        MenuDispatcher::instance()->imageClicked(picture->kind(), picture);
    } else {
        if (!noted.contains(what)) {
            noted << what;
            note(QStringLiteral("%1: no picture to click, the report is drawn directly").arg(what));
        }
        fallback();
    }
    settle();
    return elapsedMs(timer);
}

// Reads every cache a posting may have emptied, so that a reload deferred
// to the next read is counted with the posting.
void touchCaches()
{
    DataProvider *data = DataProvider::instance();
    QList<ExpenseEntryDetail *> details;
    data->getExpenseDetails(0, details);
    QList<ExpenseEntry *> expenses;
    data->getExpensesOfPaymentInstrument(0, expenses);
    QList<AccountEntry *> movements;
    data->getAccountMovements(0, movements);
}

struct Options
{
    int expenses = 0;
    quint32 seed = 1;
    int runs = 5;
    bool keep = false;
    bool dataOnly = false;
    QString file;
    QString generateTo;
};

void usage()
{
    out << "usage: zolvex_bench N [--seed S] [--runs R] [--keep] [--data-only]\n"
           "       zolvex_bench --file PATH [--runs R] [--keep] [--data-only]\n"
           "       zolvex_bench --generate N --out PATH [--seed S]" << Qt::endl;
}

bool parse(const QStringList &args, Options &o)
{
    for (int i = 1; i < args.size(); ++i) {
        const QString &a = args.at(i);
        const QString next = i + 1 < args.size() ? args.at(i + 1) : QString();
        if (a == QLatin1String("--seed")) {
            o.seed = next.toUInt();
            ++i;
        } else if (a == QLatin1String("--runs")) {
            o.runs = std::max(1, next.toInt());
            ++i;
        } else if (a == QLatin1String("--file")) {
            o.file = next;
            ++i;
        } else if (a == QLatin1String("--generate")) {
            o.expenses = next.toInt();
            o.generateTo = QStringLiteral("-");
            ++i;
        } else if (a == QLatin1String("--out")) {
            o.generateTo = next;
            ++i;
        } else if (a == QLatin1String("--keep")) {
            o.keep = true;
        } else if (a == QLatin1String("--data-only")) {
            o.dataOnly = true;
        } else if (!a.startsWith(QLatin1String("--")) && a.toInt() > 0) {
            o.expenses = a.toInt();
        } else {
            return false;
        }
    }
    if (!o.generateTo.isEmpty())
        return o.expenses > 0 && o.generateTo != QLatin1String("-");
    return o.expenses > 0 || !o.file.isEmpty();
}

// ---- The measurements -----------------------------------------------------------

int runBenchmark(const Options &o)
{
    QTemporaryDir work;
    work.setAutoRemove(!o.keep);
    if (!work.isValid() || !QDir(work.path()).mkdir(QStringLiteral("Data"))) {
        out << "cannot create a working folder" << Qt::endl;
        return 1;
    }
    const QString fileName = work.path() + QStringLiteral("/Data/finanzen.dat");
    describeMachine();

    if (!o.file.isEmpty()) {
        // Measured on a copy: the postings below must not touch the original.
        if (!QFile::copy(o.file, fileName)) {
            out << "cannot copy " << o.file << Qt::endl;
            return 1;
        }
        QFile::setPermissions(fileName, QFile::ReadOwner | QFile::WriteOwner);
        note(QStringLiteral("file: copy of %1").arg(QFileInfo(o.file).absoluteFilePath()));
    } else {
        // Generated in a process of its own, so that its memory does not
        // count into the peak below.
        QElapsedTimer timer;
        timer.start();
        QProcess generator;
        generator.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        generator.start(QCoreApplication::applicationFilePath(),
                        {QStringLiteral("--generate"), QString::number(o.expenses), QStringLiteral("--seed"),
                         QString::number(o.seed), QStringLiteral("--out"), fileName});
        generator.waitForFinished(-1);
        out << QString::fromUtf8(generator.readAllStandardOutput());
        if (generator.exitStatus() != QProcess::NormalExit || generator.exitCode() != 0) {
            out << "generation failed" << Qt::endl;
            return 1;
        }
        note(QStringLiteral("expenses: %1, seed %2, generated in %3 ms")
                 .arg(o.expenses).arg(o.seed).arg(QString::number(elapsedMs(timer), 'f', 0)));
    }
    note(QStringLiteral("file size: %1 MB, runs per figure: %2")
             .arg(QString::number(QFileInfo(fileName).size() / 1048576.0, 'f', 1)).arg(o.runs));
    if (o.keep)
        note(QStringLiteral("working folder kept: %1").arg(work.path()));
    QDir::setCurrent(work.path());
    const QString relative = QStringLiteral("./Data/finanzen.dat");

    // What is in the file, and its largest parts.
    if (!openDatabase(relative))
        return 1;
    const QStringList tables = QSqlDatabase::database().tables(QSql::Tables);
    QStringList counts;
    for (const QString &table : tables)
        counts << QStringLiteral("%1 %2").arg(table).arg(scalarInt(QStringLiteral("SELECT COUNT(*) FROM %1").arg(table)));
    note(QStringLiteral("rows: %1").arg(counts.join(QStringLiteral(", "))));
    const int largestType = scalarInt(QStringLiteral(
        "SELECT ausgaben_typ_id FROM ausgaben GROUP BY ausgaben_typ_id ORDER BY COUNT(*) DESC, ausgaben_typ_id LIMIT 1"));
    const int largestSubType = scalarInt(QStringLiteral(
        "SELECT d.ausgaben_sub_typ_id FROM ausgaben_detail d JOIN ausgaben a ON a.id = d.ausgaben_id "
        "WHERE a.ausgaben_typ_id = %1 GROUP BY d.ausgaben_sub_typ_id ORDER BY COUNT(*) DESC, 1 LIMIT 1")
        .arg(largestType));
    const int largestRecipient = scalarInt(QStringLiteral(
        "SELECT beguenstigter_id FROM ausgaben WHERE beguenstigter_id > 0 GROUP BY beguenstigter_id "
        "ORDER BY COUNT(*) DESC, 1 LIMIT 1"));
    const int largestInstrument = scalarInt(QStringLiteral(
        "SELECT zahlungsmittel_id FROM ausgaben GROUP BY zahlungsmittel_id ORDER BY COUNT(*) DESC, 1 LIMIT 1"));
    const int largestSource = scalarInt(QStringLiteral(
        "SELECT einnahme_quelle_id FROM konto_bewegungen WHERE tx_typ = 23 AND einnahme_quelle_id > 0 "
        "GROUP BY einnahme_quelle_id ORDER BY COUNT(*) DESC, 1 LIMIT 1"));
    // The posting targets: the linked instrument used most, and a transfer
    // from the richest bank account to another account's instrument.
    const int bookingInstrument = scalarInt(QStringLiteral(
        "SELECT a.zahlungsmittel_id FROM ausgaben a JOIN zahlungsmittel z ON z.id = a.zahlungsmittel_id "
        "WHERE z.hat_konto_verbindung = 1 GROUP BY a.zahlungsmittel_id ORDER BY COUNT(*) DESC, 1 LIMIT 1"));
    const int transferFrom = scalarInt(QStringLiteral(
        "SELECT z.id FROM zahlungsmittel z JOIN konten k ON k.id = z.konto_id WHERE z.zahlungsmittel_typ = 25 "
        "AND k.stat = 1 ORDER BY k.betrag DESC, z.id LIMIT 1"));
    const int transferTo = scalarInt(QStringLiteral(
        "SELECT z.id FROM zahlungsmittel z WHERE z.konto_id <> (SELECT konto_id FROM zahlungsmittel WHERE id = %1) "
        "ORDER BY z.zahlungsmittel_typ = 21 DESC, z.id LIMIT 1").arg(transferFrom));
    note(QStringLiteral("largest expense type %1 (%2 expenses), its largest sub-type %3 (%4 details), largest "
                        "recipient %5 (%6 expenses), largest payment instrument %7 (%8 expenses)")
             .arg(scalarText(QStringLiteral("SELECT name FROM ausgaben_typen WHERE id = %1").arg(largestType)))
             .arg(scalarInt(QStringLiteral("SELECT COUNT(*) FROM ausgaben WHERE ausgaben_typ_id = %1").arg(largestType)))
             .arg(scalarText(QStringLiteral("SELECT name FROM ausgaben_sub_typen WHERE id = %1").arg(largestSubType)))
             .arg(scalarInt(QStringLiteral("SELECT COUNT(*) FROM ausgaben_detail WHERE ausgaben_sub_typ_id = %1")
                                .arg(largestSubType)))
             .arg(scalarText(QStringLiteral("SELECT name FROM beguenstigte WHERE id = %1").arg(largestRecipient)))
             .arg(scalarInt(QStringLiteral("SELECT COUNT(*) FROM ausgaben WHERE beguenstigter_id = %1")
                                .arg(largestRecipient)))
             .arg(scalarText(QStringLiteral("SELECT name FROM zahlungsmittel WHERE id = %1").arg(largestInstrument)))
             .arg(scalarInt(QStringLiteral("SELECT COUNT(*) FROM ausgaben WHERE zahlungsmittel_id = %1")
                                .arg(largestInstrument))));
    closeYearFile();

    // SQLite's own full read, for the ratio.
    SqliteApi sqlite;
    double sqliteRead = 0.0;
    if (sqlite.load()) {
        sqliteRead = medianOf(o.runs, [&] {
            QElapsedTimer timer;
            timer.start();
            sqliteFullRead(sqlite, relative, tables);
            return elapsedMs(timer);
        });
        report(QStringLiteral("sqlite_full_read"), sqliteRead);
    } else {
        note(QStringLiteral("libsqlite3 not found; no SQLite reference"));
    }
    report(QStringLiteral("qtsql_full_read"), medianOf(o.runs, [&] {
        QElapsedTimer timer;
        timer.start();
        qtFullRead(relative, tables);
        return elapsedMs(timer);
    }));

    // Opening the file and loading every cache, from cold each time.
    const double opening = medianOf(o.runs, [&] {
        closeYearFile();
        QElapsedTimer timer;
        timer.start();
        openDatabase(relative);
        DataProvider::instance();
        return elapsedMs(timer);
    });
    report(QStringLiteral("open_and_caches"), opening);
    if (sqliteRead > 0.0)
        report(QStringLiteral("open_and_caches_vs_sqlite_read_ratio"), opening / sqliteRead);
    // What the program checks at start besides (integrity, safety settings).
    const QString damage = YearFileCheck::verifyOpenedFile(relative);
    note(damage.isEmpty() ? QStringLiteral("the program's start-up check accepts the file")
                          : QStringLiteral("the program's start-up check refuses the file: %1").arg(damage));
    report(QStringLiteral("startup_file_checks"), medianOf(o.runs, [&] {
        QElapsedTimer timer;
        timer.start();
        YearFileCheck::verifyOpenedFile(relative);
        YearFileCheck::applySafetySettings();
        return elapsedMs(timer);
    }));
    // The verified copy every start writes; the copies go with the temporary folder.
    report(QStringLiteral("startup_backup"), medianOf(o.runs, [&] {
        QElapsedTimer timer;
        timer.start();
        QString err;
        BackupStore().write(err);
        return elapsedMs(timer);
    }));

    // Where the opening time goes: each cache loader on its own.
    {
        DataProvider *data = DataProvider::instance();
        const std::pair<const char *, void (DataProvider::*)()> loaders[] = {
            {"load_accounts", &DataProvider::loadAccounts},
            {"load_movements", &DataProvider::loadAccountMovements},
            {"load_expenses", &DataProvider::loadExpenses},
            {"load_details", &DataProvider::loadExpenseDetails},
            {"load_expense_types", &DataProvider::loadExpenseTypes},
            {"load_payment_instruments", &DataProvider::loadPaymentInstruments},
            {"load_income_sources", &DataProvider::loadIncomeSources},
            {"load_recipients", &DataProvider::loadRecipients},
        };
        for (const auto &loader : loaders) {
            report(QString::fromLatin1(loader.first), medianOf(o.runs, [&] {
                QElapsedTimer timer;
                timer.start();
                (data->*loader.second)();
                return elapsedMs(timer);
            }));
        }
    }

    // The summary lists alone, without drawing: what the data layer takes
    // of each report.
    {
        DataProvider *data = DataProvider::instance();
        auto timed = [&](const char *name, const std::function<void()> &work) {
            report(QString::fromLatin1(name), medianOf(o.runs, [&] {
                QElapsedTimer timer;
                timer.start();
                work();
                return elapsedMs(timer);
            }));
        };
        timed("list_expense_overview", [&] {
            data->getExpenseTypeTotals(data->getExpensesOfType(0).rows());
        });
        timed("list_expense_type", [&] {
            data->getExpenseSubTypeTotals(largestType, data->getExpensesOfType(largestType).rows());
        });
        timed("list_sub_type_expenses", [&] {
            data->getExpensesOfSubType(largestSubType);
        });
        timed("list_recipient_overview", [&] {
            data->getRecipientTotals();
        });
        timed("list_recipient_expenses", [&] {
            data->getExpensesOfRecipient(largestRecipient);
        });
        timed("list_income_overview", [&] {
            data->getIncomeSourceTotals(data->getIncomeMovements(0).rows());
        });
        timed("list_account_overview", [&] {
            for (Account *a : data->getAccountOverview())
                a->setLinkedCount(0);
        });
    }

    if (o.dataOnly) {
        report(QStringLiteral("peak_rss_mb"), procStatusMb("VmHWM"));
        closeYearFile();
        QDir::setCurrent(QDir::tempPath());
        return 0;
    }

    // The main window's first screen: built, shown and painted.
    report(QStringLiteral("first_screen"), medianOf(o.runs, [&] {
        QElapsedTimer timer;
        timer.start();
        auto *window = new ApplWindow(false);
        window->show();
        settle();
        const double ms = elapsedMs(timer);
        delete window;
        settle();
        return ms;
    }));

    auto *window = new ApplWindow(false);
    window->show();
    settle();
    PictureScene *hfa = window->hfaScene();
    PictureScene *efa = window->efaScene();
    PictureScene *afa = window->afaScene();
    DataProvider *data = DataProvider::instance();

    // The three pages: header, cards and overview in one click each.
    ImageItem *incomePage = pictureOfKind(hfa, PictureKind::IncomePage);
    ImageItem *expensePage = pictureOfKind(hfa, PictureKind::ExpensesPage);
    ImageItem *accountPage = pictureOfKind(hfa, PictureKind::AccountsPage);
    auto drawPage = [&](PictureKind kind) {
        ReportPainter painter;
        if (kind == PictureKind::IncomePage) {
            painter.showIncomeSourceCards(efa);
            painter.showIncomeOverview(afa);
        } else if (kind == PictureKind::ExpensesPage) {
            painter.showExpenseTypeCards(efa);
            painter.showExpenseOverview(afa);
        } else {
            painter.showPaymentInstrumentCards(efa);
            painter.showAccountOverview(afa);
        }
    };
    std::vector<double> incomeTimes, expenseTimes, accountTimes;
    for (int i = 0; i < o.runs; ++i) {
        incomeTimes.push_back(click(incomePage, QStringLiteral("page_income"), [&] { drawPage(PictureKind::IncomePage); }, afa));
        expenseTimes.push_back(click(expensePage, QStringLiteral("page_expenses"), [&] { drawPage(PictureKind::ExpensesPage); }, afa));
        accountTimes.push_back(click(accountPage, QStringLiteral("page_accounts"), [&] { drawPage(PictureKind::AccountsPage); }, afa));
    }
    report(QStringLiteral("page_income"), median(incomeTimes));
    report(QStringLiteral("page_expenses"), median(expenseTimes));
    report(QStringLiteral("page_accounts"), median(accountTimes));

    // Income page: the overview alone and the report of the busiest source.
    click(incomePage, QStringLiteral("page_income"), [&] { drawPage(PictureKind::IncomePage); });
    std::vector<double> incomeOverview, incomeReport;
    for (int i = 0; i < o.runs; ++i) {
        incomeOverview.push_back(click(pictureOfKind(hfa, PictureKind::IncomeOverview), QStringLiteral("overview_income"),
                                       [&] { ReportPainter().showIncomeOverview(afa); }, afa));
        incomeReport.push_back(click(pictureOfRecord(efa, PictureKind::RecordReport, 19, largestSource), QStringLiteral("report_income_source"),
                                     [&] {
            ReportPainter().showIncomeSourceReport(afa, data->getIncomeSource(largestSource).get());
        }, afa));
    }
    report(QStringLiteral("overview_income"), median(incomeOverview));
    report(QStringLiteral("report_income_source"), median(incomeReport));

    // Expenses page: overviews, the largest type with its largest sub-type,
    // the recipients with the largest one.
    click(expensePage, QStringLiteral("page_expenses"), [&] { drawPage(PictureKind::ExpensesPage); });
    const std::unique_ptr<ExpenseTypeEntry> type = data->getExpenseType(largestType);
    std::vector<double> expenseOverview, typeReport, subTypeDrill, recipientOverview, recipientDrill, clearing;
    int typeReportItems = 0;
    for (int i = 0; i < o.runs; ++i) {
        expenseOverview.push_back(click(pictureOfKind(hfa, PictureKind::ExpenseOverview), QStringLiteral("overview_expenses"),
                                        [&] { ReportPainter().showExpenseOverview(afa); }, afa));
        typeReport.push_back(click(pictureOfRecord(efa, PictureKind::RecordReport, 17, largestType), QStringLiteral("report_expense_type"), [&] {
            ReportPainter().showExpenseTypeReport(afa, type.get());
        }, afa));
        if (i == 0)
            typeReportItems = int(afa->items().size());
        subTypeDrill.push_back(click(drillPicture(afa, 18, largestSubType), QStringLiteral("drill_sub_type"),
                                     [&] { ReportPainter().showSubTypeExpenses(afa, largestSubType, Qt::red); }));
        // Leaving the largest report: everything on it is deleted.
        QElapsedTimer timer;
        timer.start();
        afa->clearScene();
        settle();
        clearing.push_back(elapsedMs(timer));
        recipientOverview.push_back(click(pictureOfKind(hfa, PictureKind::RecipientOverview), QStringLiteral("overview_recipients"),
                                          [&] { ReportPainter().showRecipientOverview(afa); }, afa));
        recipientDrill.push_back(click(drillPicture(afa, 14, largestRecipient), QStringLiteral("drill_recipient"),
                                       [&] { ReportPainter().showRecipientExpenses(afa, largestRecipient, Qt::red); }));
    }
    note(QStringLiteral("items on the expense-type report: %1").arg(typeReportItems));
    report(QStringLiteral("overview_expenses"), median(expenseOverview));
    report(QStringLiteral("report_expense_type"), median(typeReport));
    report(QStringLiteral("drill_sub_type"), median(subTypeDrill));
    report(QStringLiteral("clear_expense_type_report"), median(clearing));
    report(QStringLiteral("overview_recipients"), median(recipientOverview));
    report(QStringLiteral("drill_recipient"), median(recipientDrill));

    // Accounts page: the overview and the busiest payment instrument.
    click(accountPage, QStringLiteral("page_accounts"), [&] { drawPage(PictureKind::AccountsPage); });
    std::vector<double> accountOverview, instrumentReport;
    for (int i = 0; i < o.runs; ++i) {
        accountOverview.push_back(click(pictureOfKind(hfa, PictureKind::AccountOverview), QStringLiteral("overview_accounts"),
                                        [&] { ReportPainter().showAccountOverview(afa); }, afa));
        instrumentReport.push_back(click(pictureOfRecord(efa, PictureKind::RecordReport, 13, largestInstrument),
                                         QStringLiteral("report_payment_instrument"), [&] {
            ReportPainter().showPaymentInstrumentReport(afa, data->getPaymentInstrument(largestInstrument, true));
        }, afa));
    }
    report(QStringLiteral("overview_accounts"), median(accountOverview));
    report(QStringLiteral("report_payment_instrument"), median(instrumentReport));

    // Postings through the data layer, each with its cache refresh.
    const PaymentInstruction *instrument = data->getPaymentInstrument(bookingInstrument, true);
    const std::unique_ptr<ExpenseTypeEntry> bookedType = data->getExpenseType(largestType);
    const Recipient *recipient = data->getRecipient(largestRecipient);
    const QDate bookingDate = QDate(QDate::currentDate().year(), 6, 30);
    std::vector<double> book, unbook, transfer, untransfer;
    bool postingsOk = instrument && bookedType;
    if (!postingsOk)
        note(QStringLiteral("no expense paid with a linked instrument in the file: postings not measured"));
    for (int i = 0; i < o.runs && postingsOk; ++i) {
        ExpenseEntry e;
        e.setDate(bookingDate);
        e.setAmount(12.35);
        e.setExpenseTypeId(largestType);
        e.setExpenseTypeName(bookedType->getName());
        e.setRecipientId(largestRecipient);
        e.setRecipientName(recipient ? recipient->getName() : QStringLiteral("Andere"));
        e.setPaymentInstrumentId(instrument->getId());
        e.setPaymentInstrumentName(instrument->getName());
        e.setRemark(QStringLiteral("Benchmark"));
        PostingResult result;
        QElapsedTimer timer;
        timer.start();
        result = data->postExpense(&e, largestSubType, largestSubType == 0);
        postingsOk = result.ok();
        touchCaches();
        book.push_back(elapsedMs(timer));
        if (!postingsOk) {
            note(QStringLiteral("booking failed: %1").arg(result.text));
            break;
        }
        timer.restart();
        result = data->reverseExpense(e.getId());
        postingsOk = result.ok();
        touchCaches();
        unbook.push_back(elapsedMs(timer));
        if (!postingsOk) {
            note(QStringLiteral("deleting the booking failed: %1").arg(result.text));
            break;
        }

        timer.restart();
        result = data->postTransfer(transferFrom, transferTo, 50.0, QStringLiteral("Benchmark nach"),
                                    QStringLiteral("Benchmark von"), bookingDate);
        postingsOk = result.ok();
        touchCaches();
        transfer.push_back(elapsedMs(timer));
        if (!postingsOk) {
            note(QStringLiteral("transfer failed: %1").arg(result.text));
            break;
        }
        const QString txId = scalarText(QStringLiteral("SELECT tx_id FROM konto_bewegungen ORDER BY id DESC LIMIT 1"));
        timer.restart();
        result = data->reverseTransfer(txId);
        postingsOk = result.ok();
        touchCaches();
        untransfer.push_back(elapsedMs(timer));
        if (!postingsOk)
            note(QStringLiteral("deleting the transfer failed: %1").arg(result.text));
    }
    report(QStringLiteral("book_expense"), median(book));
    report(QStringLiteral("delete_expense"), median(unbook));
    report(QStringLiteral("book_transfer"), median(transfer));
    report(QStringLiteral("delete_transfer"), median(untransfer));

    // After all that the file and the caches must still agree.
    QString err;
    const int cached = int(data->getExpensesOfType(0).size()) - 1;
    const int stored = scalarInt(QStringLiteral("SELECT COUNT(*) FROM ausgaben"));
    const bool balancesOk = YearGenerator::verify(err);
    note(QStringLiteral("after the postings: %1 expenses in the file, %2 in the cache; balances %3")
             .arg(stored).arg(cached).arg(balancesOk ? QStringLiteral("consistent") : err));

    report(QStringLiteral("peak_rss_mb"), procStatusMb("VmHWM"));
    report(QStringLiteral("rss_mb"), procStatusMb("VmRSS"));

    delete window;
    closeYearFile();
    QDir::setCurrent(QDir::tempPath());
    return postingsOk && balancesOk && cached == stored ? 0 : 2;
}

} // namespace

int main(int argc, char *argv[])
{
    // Measured without a screen, like the tests.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // The program's debug lines and the offscreen platform's remarks would
    // drown the figures; real warnings still go to stderr.
    qInstallMessageHandler([](QtMsgType type, const QMessageLogContext &, const QString &message) {
        if (type == QtDebugMsg || type == QtInfoMsg || message.contains(QLatin1String("propagateSizeHints"))
            || message.startsWith(QLatin1String("QStandardPaths:")))
            return;
        std::fprintf(stderr, "%s\n", qPrintable(message));
        if (type == QtFatalMsg)
            std::abort();
    });
    QApplication app(argc, argv);

    Options options;
    if (!parse(app.arguments(), options)) {
        usage();
        return 1;
    }
    if (!options.generateTo.isEmpty())
        return generateFile(options.expenses, options.seed, options.generateTo);
    return runBenchmark(options);
}
