#include "yeargenerator.h"

#include "balancecheck.h"
#include "dataprovider.h"

#include <QDate>
#include <QSet>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QStringList>
#include <QTime>
#include <QVariant>

#include <algorithm>
#include <cmath>
#include <iterator>
#include <random>
#include <vector>

// Named rather than anonymous: the benchmark compiles this file by inclusion.
namespace yeargen {

// Random numbers that are the same on every platform for the same seed:
// mt19937's output is fixed by the standard, the distributions below are our own.
class Random
{
public:
    explicit Random(quint32 seed) : m_engine(seed) {}

    // In [0, 1).
    double uniform()
    {
        const quint64 high = m_engine() >> 5;
        const quint64 low = m_engine() >> 6;
        return double(high * 67108864ull + low) / 9007199254740992.0;
    }
    // In [0, n).
    int below(int n) { return n <= 1 ? 0 : std::min(n - 1, int(uniform() * n)); }
    int between(int low, int high) { return low + below(high - low + 1); }
    bool chance(double p) { return uniform() < p; }
    double normal()
    {
        const double u1 = 1.0 - uniform();
        const double u2 = uniform();
        return std::sqrt(-2.0 * std::log(u1)) * std::cos(6.283185307179586 * u2);
    }
    // Index 0 is the most frequent; the higher the skew, the steeper.
    int skewed(int n, double skew) { return n <= 1 ? 0 : std::min(n - 1, int(n * std::pow(uniform(), skew))); }
    int weighted(const std::vector<double> &weights)
    {
        double total = 0.0;
        for (double w : weights)
            total += w;
        double x = uniform() * total;
        for (size_t i = 0; i < weights.size(); ++i) {
            if (x < weights[i])
                return int(i);
            x -= weights[i];
        }
        return int(weights.size()) - 1;
    }
    quint32 raw() { return m_engine(); }

private:
    std::mt19937 m_engine;
};

qint64 roundUp(qint64 cents, qint64 step)
{
    return cents <= 0 ? 0 : ((cents + step - 1) / step) * step;
}

double money(qint64 cents)
{
    return double(cents) / 100.0;
}

// ---- Master data ------------------------------------------------------------

struct AccountDef
{
    const char *name;
    int type;        // konto_typ
    int state;       // stat
    const char *number;
    const char *description;
};

enum AccountIndex { Post, Ubs, Savings, Business, OldBook, Cash, Voucher, Prepaid, AccountCount };

const AccountDef Accounts[AccountCount] = {
    {"Postkonto", 12, 1, "CH12 0900 0000 3012 3456 7", "Bank-Account"},
    {"UBS Privatkonto", 12, 1, "CH93 0027 3273 1234 5678 9", "Bank-Account"},
    {"Sparkonto", 12, 1, "CH56 0483 5012 3456 7800 9", "Bank-Account"},
    {"Geschäftskonto", 12, 1, "CH44 3199 9123 0008 8901 2", "Bank-Account"},
    {"Altes Sparheft", 12, 0, "CH10 0077 8000 0000 1234 5", "Bank-Account"},
    {"Bargeld", 13, 1, "", "Bargeld"},
    {"Reka-Check", 13, 1, "", "Check"},
    {"Prepaid Mastercard", 13, 1, "", "Kreditkarte Prepaid"},
};

struct InstrumentDef
{
    const char *name;
    int type;        // zahlungsmittel_typ
    int account;     // AccountIndex
    bool linked;     // hat_konto_verbindung
    const char *cardNumber;
    const char *description;
};

enum InstrumentIndex {
    PostPi, UbsPi, SavingsPi, BusinessPi, OldBookPi, CashPi, VoucherPi, PrepaidPi, VisaPi, MasterPi, MaestroPi,
    InstrumentCount
};

const InstrumentDef Instruments[InstrumentCount] = {
    {"Postkonto", 25, Post, true, "CH12 0900 0000 3012 3456 7", "Bank-Account"},
    {"UBS Privatkonto", 25, Ubs, true, "CH93 0027 3273 1234 5678 9", "Bank-Account"},
    {"Sparkonto", 25, Savings, true, "CH56 0483 5012 3456 7800 9", "Bank-Account"},
    {"Geschäftskonto", 25, Business, true, "CH44 3199 9123 0008 8901 2", "Bank-Account"},
    {"Altes Sparheft", 25, OldBook, true, "CH10 0077 8000 0000 1234 5", "Bank-Account"},
    {"Bargeld", 21, Cash, false, "", "Bargeld"},
    {"Reka-Check", 22, Voucher, false, "", "Check"},
    {"Prepaid Mastercard", 23, Prepaid, false, "5413 3300 8901 2345", "Kreditkarte Prepaid"},
    {"Visa", 24, Post, true, "4111 1111 1111 1111", "Kreditkarte"},
    {"Mastercard", 24, Ubs, true, "5500 0000 0000 0004", "Kreditkarte"},
    {"Maestro", 24, Ubs, true, "6759 6498 2643 8453", "Debitkarte"},
};

struct TypeDef
{
    const char *name;
    double weight;       // share of the bookings
    double median;       // typical amount
    double spread;       // sigma of the log-normal amount
    bool bills;          // paid from the bank rather than at a counter
    bool budgeted;
    QStringList subTypes;
    QStringList stems;   // recipient names, combined with places
    QStringList remarks;
};

std::vector<TypeDef> expenseTypes()
{
    return {
        {"Lebensmittel", 30, 42, 0.75, false, true,
         {"Grundnahrung", "Getränke", "Fleisch & Fisch", "Gemüse & Früchte", "Bäckerei"},
         {"Migros", "Coop", "Denner", "Aldi", "Lidl", "Volg", "Spar", "Landi", "Metzgerei Keller",
          "Bäckerei Huber", "Käserei Studer", "Hofladen Graf", "Müller's Laden"},
         {"Wocheneinkauf", "", "Znüni", "Getränke für Fest", "", "Vorrat"}},
        {"Restaurant", 10, 38, 0.6, false, true, {"Mittagessen", "Abendessen", "Café"},
         {"Restaurant Löwen", "Café Spitz", "Pizzeria Roma", "Gasthof Kreuz", "Sushi Bar Yoko", "Bistro Central",
          "Take-away Dragon"},
         {"", "mit Kollegen", "Geschäftsessen", "Geburtstag"}},
        {"Wohnen", 3, 900, 0.5, true, true, {"Miete", "Nebenkosten", "Strom", "Internet"},
         {"Immobilien AG", "Verwaltung Wyss", "EWB Energie", "Wasserversorgung", "Hauswart Meier"},
         {"Monatsmiete", "Akonto", "Schlussrechnung", ""}},
        {"Mobilität", 10, 36, 0.8, false, true, {"ÖV", "Benzin", "Parkieren", "Auto-Service"},
         {"SBB", "BLS", "Shell", "BP", "Avia", "Garage Frei", "Parkhaus City", "Mobility"},
         {"", "Halbtax", "Tanken", "Service 30'000 km"}},
        {"Gesundheit", 4, 85, 0.9, false, true, {"Arzt", "Apotheke", "Zahnarzt", "Krankenkasse"},
         {"Dr. med. Brunner", "Apotheke Amavita", "Zahnarzt Dr. Kunz", "Helsana", "Physio Vital"},
         {"", "Kontrolle", "Franchise", "Prämie"}},
        {"Kleidung", 5, 75, 0.7, false, true, {"Damen", "Herren", "Kinder", "Schuhe"},
         {"H&M", "Zara", "C&A", "Ochsner Shoes", "Manor", "Globus", "Vögele"}, {"", "Ausverkauf", "Winterjacke"}},
        {"Freizeit", 8, 45, 0.8, false, true, {"Sport", "Kino & Theater", "Bücher", "Hobby"},
         {"Kino Rex", "Stadttheater", "Orell Füssli", "Thalia", "Fitnesspark", "Sport XX", "Hallenbad"},
         {"", "Abo", "Geschenkgutschein", "Eintritt"}},
        {"Ferien", 2, 380, 0.9, false, true, {"Reise", "Hotel", "Ausflüge"},
         {"Hotelplan", "Kuoni", "Hotel Alpenblick", "Bergbahnen", "Swiss"}, {"", "Anzahlung", "Skiferien"}},
        {"Haushalt", 8, 32, 0.9, false, true, {"Reinigung", "Geräte", "Möbel"},
         {"IKEA", "Jumbo", "Hornbach", "Interdiscount", "Fust", "Micasa"}, {"", "Ersatz", "Putzmittel"}},
        {"Versicherungen", 1, 320, 0.6, true, true, {},
         {"Mobiliar", "AXA", "Zurich", "Generali", "Baloise"}, {"Jahresprämie", "Quartalsrate", ""}},
        {"Steuern", 0.5, 1600, 0.7, true, true, {"Staat", "Gemeinde", "Bund"},
         {"Steuerverwaltung", "Gemeinde", "Eidg. Steuerverwaltung"}, {"Rate", "Schlussabrechnung"}},
        {"Kommunikation", 3, 58, 0.4, true, true, {},
         {"Swisscom", "Sunrise", "Salt"}, {"Monatsrechnung", "", "Roaming"}},
        {"Geschenke", 3, 55, 0.8, false, true, {},
         {"Blumen Meyer", "Confiserie Sprüngli", "Spielwaren Franz Carl Weber", "Weinhandlung"},
         {"", "Geburtstag", "Weihnachten", "Hochzeit"}},
        {"Diverses", 4, 22, 1.0, false, false, {},
         {"Post", "Kiosk", "Coiffeur Bella", "Reinigung Express", "Schuhmacher"}, {"", "Porto", "Haarschnitt"}},
    };
}

const char *const Places[] = {
    "Bern", "Zürich", "Basel", "Luzern", "Thun", "Biel", "Olten", "Aarau", "Winterthur", "St. Gallen",
    "Chur", "Fribourg", "Solothurn", "Burgdorf", "Langenthal", "Baden", "Zug", "Schaffhausen", "Wil", "Uster",
    "Köniz", "Ostermundigen", "Muri", "Spiez", "Interlaken", "Lyss", "Worb", "Münsingen", "Belp", "Zollikofen",
};
const int PlaceCount = int(sizeof(Places) / sizeof(Places[0]));

const char *const FreeRecipients[] = {"Marktstand", "Flohmarkt", "Kollekte", "Parkuhr", "Automat", "Strassenfest"};

struct SourceDef
{
    const char *name;
    const char *remark;
    double vat;
};

enum SourceIndex { Salary, Fees, Rent, Interest, Bonus, Inheritance, SourceCount };

const SourceDef Sources[SourceCount] = {
    {"Lohn", "Arbeitgeber", 0.0},
    {"Honorare", "Rechnung", 7.7},
    {"Mieteinnahmen", "Studio", 0.0},
    {"Zinsen", "Sparkonto", 0.0},
    {"Bonus", "Arbeitgeber", 0.0},
    {"Erbschaft", "erwartet", 0.0},
};

const char *const MonthNames[] = {"Januar", "Februar", "März", "April", "Mai", "Juni", "Juli",
                                  "August", "September", "Oktober", "November", "Dezember"};

// ---- Bookings -----------------------------------------------------------------

struct Share
{
    int subType;     // global sub-type index
    qint64 cents;
};

struct Expense
{
    int type;
    int instrument;
    int recipient;   // index into the recipients, -1 for a free-text name
    QString freeName;
    QString remark;
    qint64 cents;
    std::vector<Share> shares;   // empty: booked as "to be split", no detail yet
};

struct Deposit
{
    int source;
    int account;
    qint64 cents;
    QString remark;
};

struct Transfer
{
    int from;
    int to;
    qint64 cents;
    QString remark;
};

enum BookingKind { ExpenseBooking, DepositBooking, TransferBooking };

struct Booking
{
    int day;
    quint32 tie;
    BookingKind kind;
    int index;
};

struct RecipientDef
{
    QString name;
    int type;
};

} // namespace yeargen

using namespace yeargen;

struct YearGenerator::Private
{
    Options options;
    Stats stats;
    Random random;
    int year = 0;
    int days = 365;

    std::vector<TypeDef> types;
    std::vector<int> subTypeType;          // global sub-type index -> type
    std::vector<std::vector<int>> subTypesOfType;
    std::vector<RecipientDef> recipients;
    std::vector<std::vector<int>> recipientsOfType;
    std::vector<Expense> expenses;
    std::vector<Deposit> deposits;
    std::vector<Transfer> transfers;
    std::vector<Booking> bookings;
    qint64 opening[AccountCount] = {};
    qint64 balance[AccountCount] = {};
    std::vector<qint64> budgets;
    qint64 volumes[SourceCount] = {};

    explicit Private(const Options &o) : options(o), random(o.seed) {}

    QDate dateOf(int day) const { return QDate(year, 1, 1).addDays(day); }
    int firstDayOfMonth(int month) const { return QDate(year, 1, 1).daysTo(QDate(year, month, 1)); }
    int monthOf(int day) const { return dateOf(day).month(); }

    void addBooking(int day, BookingKind kind, int index) { bookings.push_back({day, random.raw(), kind, index}); }

    void buildMasterData();
    void buildExpenses();
    void buildFeeding();
    void buildIncome();
    void settleBalances();
    bool write(QString &err);
};

void YearGenerator::Private::buildMasterData()
{
    types = expenseTypes();
    subTypesOfType.assign(types.size(), {});
    for (size_t t = 0; t < types.size(); ++t) {
        for (int s = 0; s < types[t].subTypes.size(); ++s) {
            subTypesOfType[t].push_back(int(subTypeType.size()));
            subTypeType.push_back(int(t));
        }
    }

    // A household knows a few hundred payees, a business thousands.
    const int count = std::clamp(options.expenses / 10, 200, 3000);
    double totalWeight = 0.0;
    for (const TypeDef &type : types)
        totalWeight += type.weight;
    recipientsOfType.assign(types.size(), {});
    for (size_t t = 0; t < types.size(); ++t) {
        const double share = 0.5 * types[t].weight / totalWeight + 0.5 / double(types.size());
        const int ofType = std::max(2, int(std::lround(count * share)));
        const QStringList &stems = types[t].stems;
        for (int k = 0; k < ofType; ++k) {
            QString name = stems.at(k % stems.size());
            const int place = k / stems.size();
            if (place > 0)
                name += QLatin1Char(' ') + QString::fromUtf8(Places[(place - 1) % PlaceCount]);
            if (place > PlaceCount)
                name += QStringLiteral(" %1").arg((place - 1) / PlaceCount + 1);
            recipientsOfType[t].push_back(int(recipients.size()));
            recipients.push_back({DataProvider::truncated(name, 38), int(t)});
        }
    }
}

void YearGenerator::Private::buildExpenses()
{
    std::vector<double> typeWeights;
    for (const TypeDef &type : types)
        typeWeights.push_back(type.weight);
    //                                          Post Ubs Sav Bus Old Cash Vou Pre Visa Mast Maes
    const std::vector<double> counterWeights = {6,   2,  0,  4,  0,  32,  4,  5,  16,  8,   23};
    const std::vector<double> billWeights =    {45,  30, 0,  10, 0,  0,   0,  0,  10,  5,   0};

    expenses.reserve(size_t(options.expenses));
    for (int i = 0; i < options.expenses; ++i) {
        Expense e;
        e.type = random.weighted(typeWeights);
        const TypeDef &type = types[size_t(e.type)];
        e.instrument = random.weighted(type.bills ? billWeights : counterWeights);
        const double amount = type.median * std::exp(type.spread * random.normal());
        e.cents = std::clamp<qint64>(std::llround(amount * 100.0), 50, 9999900);

        if (random.chance(0.03)) {
            e.recipient = -1;
            e.freeName = QString::fromUtf8(FreeRecipients[random.below(int(std::size(FreeRecipients)))]);
        } else if (random.chance(0.02)) {
            e.recipient = random.below(int(recipients.size()));
        } else {
            const std::vector<int> &own = recipientsOfType[size_t(e.type)];
            e.recipient = own[size_t(random.skewed(int(own.size()), 2.5))];
        }
        e.remark = type.remarks.at(random.below(type.remarks.size()));

        // Types with sub-types: mostly one detail row for the whole amount,
        // sometimes split over two or three, rarely left to be split later.
        const std::vector<int> &subs = subTypesOfType[size_t(e.type)];
        if (!subs.empty()) {
            const double r = random.uniform();
            if (r < 0.85 || subs.size() < 2 || e.cents < 300) {
                if (r < 0.97)
                    e.shares.push_back({subs[size_t(random.skewed(int(subs.size()), 1.7))], e.cents});
            } else {
                const int parts = subs.size() > 2 && random.chance(0.4) ? 3 : 2;
                std::vector<int> chosen = subs;
                for (int p = 0; p < parts; ++p)
                    std::swap(chosen[size_t(p)], chosen[size_t(p + random.below(int(chosen.size()) - p))]);
                qint64 left = e.cents;
                for (int p = 0; p < parts; ++p) {
                    const qint64 part = p == parts - 1
                        ? left
                        : std::max<qint64>(1, std::llround(double(left) * (0.3 + 0.4 * random.uniform())));
                    e.shares.push_back({chosen[size_t(p)], part});
                    left -= part;
                }
            }
        }
        expenses.push_back(e);
        addBooking(random.below(days), ExpenseBooking, int(expenses.size()) - 1);
    }
}

// Cash, vouchers and the prepaid card are topped up from the bank every
// month by what they paid out; some of it goes to savings.
void YearGenerator::Private::buildFeeding()
{
    qint64 monthly[AccountCount][13] = {};
    for (const Booking &b : bookings) {
        const Expense &e = expenses[size_t(b.index)];
        monthly[Instruments[e.instrument].account][monthOf(b.day)] += e.cents;
    }
    auto transfer = [this](int day, int from, int to, qint64 cents, const QString &remark) {
        transfers.push_back({from, to, cents, remark});
        addBooking(day, TransferBooking, int(transfers.size()) - 1);
    };
    for (int month = 1; month <= 12; ++month) {
        const int first = firstDayOfMonth(month);
        const int length = QDate(year, month, 1).daysInMonth();
        // Cash in withdrawals of at most 800.
        qint64 cash = roundUp(monthly[Cash][month], 5000);
        while (cash > 0) {
            const qint64 part = std::min<qint64>(cash, 80000);
            transfer(first + random.below(std::min(length, 20)), random.chance(0.7) ? Post : Ubs, Cash, part,
                     QStringLiteral("Bargeldbezug"));
            cash -= part;
        }
        if (const qint64 vouchers = roundUp(monthly[Voucher][month], 10000))
            transfer(first, Post, Voucher, vouchers, QStringLiteral("Reka-Check Kauf"));
        if (const qint64 prepaid = roundUp(monthly[Prepaid][month], 10000))
            transfer(first, Ubs, Prepaid, prepaid, QStringLiteral("Aufladung Prepaid"));
        transfer(first + std::min(length - 1, 24), Post, Savings, 50000, QStringLiteral("Sparauftrag"));
    }
}

// Fixed income first; the business account's fees then cover whatever the
// private accounts need beyond it.
void YearGenerator::Private::buildIncome()
{
    auto deposit = [this](int day, int source, int account, qint64 cents, const QString &remark) {
        deposits.push_back({source, account, cents, remark});
        addBooking(day, DepositBooking, int(deposits.size()) - 1);
    };
    for (int month = 1; month <= 12; ++month) {
        const int first = firstDayOfMonth(month);
        deposit(first + 24, Salary, Post, month == 11 ? 1370000 : 685000,
                QStringLiteral("Lohn %1").arg(QString::fromUtf8(MonthNames[month - 1])));
        deposit(first, Rent, Ubs, 145000, QStringLiteral("Miete Studio %1").arg(QString::fromUtf8(MonthNames[month - 1])));
    }
    deposit(firstDayOfMonth(3) + 27, Bonus, Post, 500000, QStringLiteral("Bonus Vorjahr"));

    // Net outflow of the two private bank accounts per month.
    qint64 net[AccountCount][13] = {};
    for (const Booking &b : bookings) {
        const int month = monthOf(b.day);
        if (b.kind == ExpenseBooking) {
            const Expense &e = expenses[size_t(b.index)];
            net[Instruments[e.instrument].account][month] += e.cents;
        } else if (b.kind == TransferBooking) {
            const Transfer &t = transfers[size_t(b.index)];
            net[t.from][month] += t.cents;
            net[t.to][month] -= t.cents;
        } else {
            const Deposit &d = deposits[size_t(b.index)];
            net[d.account][month] -= d.cents;
        }
    }
    for (int month = 1; month <= 12; ++month) {
        for (int account : {Post, Ubs}) {
            if (const qint64 need = roundUp(net[account][month], 100000)) {
                transfers.push_back({Business, account, need, QStringLiteral("Privatbezug")});
                addBooking(firstDayOfMonth(month), TransferBooking, int(transfers.size()) - 1);
                net[Business][month] += need;
            }
        }
    }

    // Fees: about six percent more than the business account pays out.
    qint64 outflow = 0;
    for (int month = 1; month <= 12; ++month)
        outflow += net[Business][month];
    const int invoices = std::max(6, options.expenses / 30);
    std::vector<double> weights;
    double weightSum = 0.0;
    for (int i = 0; i < invoices; ++i) {
        weights.push_back(std::exp(0.5 * random.normal()));
        weightSum += weights.back();
    }
    const double target = double(std::max<qint64>(outflow, 0)) * 1.06 + 1000000.0;
    for (int i = 0; i < invoices; ++i) {
        const qint64 cents = std::max<qint64>(5000, std::llround(target * weights[size_t(i)] / weightSum / 5.0) * 5);
        deposit(random.below(days), Fees, Business, cents,
                QStringLiteral("Rechnung %1-%2").arg(year).arg(i + 1, 4, 10, QLatin1Char('0')));
    }
}

// Opening amounts such that no account ever goes below zero during the
// year; balances follow from the bookings.
void YearGenerator::Private::settleBalances()
{
    std::sort(bookings.begin(), bookings.end(), [](const Booking &a, const Booking &b) {
        return a.day != b.day ? a.day < b.day : a.tie < b.tie;
    });

    qint64 running[AccountCount] = {};
    qint64 lowest[AccountCount] = {};
    auto apply = [&](int account, qint64 delta) {
        running[account] += delta;
        lowest[account] = std::min(lowest[account], running[account]);
    };
    for (const Booking &b : bookings) {
        if (b.kind == ExpenseBooking) {
            const Expense &e = expenses[size_t(b.index)];
            apply(Instruments[e.instrument].account, -e.cents);
        } else if (b.kind == TransferBooking) {
            const Transfer &t = transfers[size_t(b.index)];
            apply(t.from, -t.cents);
            apply(t.to, t.cents);
        } else {
            const Deposit &d = deposits[size_t(b.index)];
            apply(d.account, d.cents);
        }
    }
    for (int a = 0; a < AccountCount; ++a) {
        const qint64 buffer = Accounts[a].state ? 50000 + 10000 * random.below(46) : 123450;
        opening[a] = roundUp(-lowest[a], 10000) + buffer;
    }
    // Interest on the savings on the last day of the year.
    const qint64 interest = std::llround(double(opening[Savings] + running[Savings] / 2) * 0.004);
    if (interest > 0) {
        deposits.push_back({Interest, Savings, interest, QStringLiteral("Zinsgutschrift")});
        bookings.push_back({days - 1, ~0u, DepositBooking, int(deposits.size()) - 1});
        running[Savings] += interest;
    }
    for (int a = 0; a < AccountCount; ++a)
        balance[a] = opening[a] + running[a];

    // Budgets around what was spent (some types overspent, one without a
    // budget); expected income around what came in.
    std::vector<qint64> spent(types.size(), 0);
    for (const Expense &e : expenses)
        spent[size_t(e.type)] += e.cents;
    budgets.assign(types.size(), 0);
    for (size_t t = 0; t < types.size(); ++t) {
        if (types[t].budgeted)
            budgets[t] = std::max<qint64>(10000, roundUp(std::llround(double(spent[t]) * (0.85 + 0.4 * random.uniform())), 10000));
    }
    qint64 received[SourceCount] = {};
    for (const Deposit &d : deposits)
        received[d.source] += d.cents;
    for (int s = 0; s < SourceCount; ++s)
        volumes[s] = roundUp(std::llround(double(received[s]) * (0.95 + 0.2 * random.uniform())), 10000);
    volumes[Inheritance] = 2000000;
}

bool YearGenerator::Private::write(QString &err)
{
    QSqlDatabase db = QSqlDatabase::database();
    auto fail = [&](const QSqlQuery &query) {
        err = query.lastError().text();
        db.rollback();
        return false;
    };
    if (!db.transaction()) {
        err = db.lastError().text();
        return false;
    }
    const QDate yearStart(year, 1, 1);

    QSqlQuery q;
    int accountIds[AccountCount] = {};
    q.prepare(QStringLiteral("INSERT INTO konten (startdate,name,konto_typ,stat,konto_nummer,initial_betrag,betrag,"
                             "konto_beschreibung) VALUES (?,?,?,?,?,?,?,?)"));
    for (int a = 0; a < AccountCount; ++a) {
        q.addBindValue(yearStart);
        q.addBindValue(QString::fromUtf8(Accounts[a].name));
        q.addBindValue(Accounts[a].type);
        q.addBindValue(Accounts[a].state);
        q.addBindValue(QString::fromUtf8(Accounts[a].number));
        q.addBindValue(money(opening[a]));
        q.addBindValue(money(balance[a]));
        q.addBindValue(QString::fromUtf8(Accounts[a].description));
        if (!q.exec())
            return fail(q);
        accountIds[a] = q.lastInsertId().toInt();
    }
    stats.accounts = AccountCount;

    int instrumentIds[InstrumentCount] = {};
    q.prepare(QStringLiteral("INSERT INTO zahlungsmittel (zahlungsmittel_typ,konto_id,hat_konto_verbindung,"
                             "karten_nummer,beschreibung,name) VALUES (?,?,?,?,?,?)"));
    for (int i = 0; i < InstrumentCount; ++i) {
        q.addBindValue(Instruments[i].type);
        q.addBindValue(accountIds[Instruments[i].account]);
        q.addBindValue(Instruments[i].linked ? 1 : 0);
        q.addBindValue(QString::fromUtf8(Instruments[i].cardNumber));
        q.addBindValue(QString::fromUtf8(Instruments[i].description));
        q.addBindValue(QString::fromUtf8(Instruments[i].name));
        if (!q.exec())
            return fail(q);
        instrumentIds[i] = q.lastInsertId().toInt();
    }
    stats.instruments = InstrumentCount;

    std::vector<int> typeIds(types.size());
    q.prepare(QStringLiteral("INSERT INTO ausgaben_typen (name,budget) VALUES (?,?)"));
    for (size_t t = 0; t < types.size(); ++t) {
        q.addBindValue(QString::fromUtf8(types[t].name));
        q.addBindValue(money(budgets[t]));
        if (!q.exec())
            return fail(q);
        typeIds[t] = q.lastInsertId().toInt();
    }
    stats.expenseTypes = int(types.size());

    std::vector<int> subTypeIds(subTypeType.size());
    q.prepare(QStringLiteral("INSERT INTO ausgaben_sub_typen (ausgaben_typ_id,name) VALUES (?,?)"));
    for (size_t t = 0; t < types.size(); ++t) {
        for (int k = 0; k < types[t].subTypes.size(); ++k) {
            q.addBindValue(typeIds[t]);
            q.addBindValue(types[t].subTypes.at(k));
            if (!q.exec())
                return fail(q);
            subTypeIds[size_t(subTypesOfType[t][size_t(k)])] = q.lastInsertId().toInt();
        }
    }
    stats.subTypes = int(subTypeType.size());

    // The recipients dialog files every recipient under type 1.
    std::vector<int> recipientIds(recipients.size());
    q.prepare(QStringLiteral("INSERT INTO beguenstigte (ausgaben_typ_id,betrag_kumuliert,betrag_bonus,beschreibung,name) "
                             "VALUES (?,?,?,?,?)"));
    for (size_t r = 0; r < recipients.size(); ++r) {
        q.addBindValue(typeIds.front());
        q.addBindValue(0.0);
        q.addBindValue(0.0);
        q.addBindValue(QStringLiteral("<Beschreibung>"));
        q.addBindValue(recipients[r].name);
        if (!q.exec())
            return fail(q);
        recipientIds[r] = q.lastInsertId().toInt();
    }
    stats.recipients = int(recipients.size());

    int sourceIds[SourceCount] = {};
    q.prepare(QStringLiteral("INSERT INTO einnahme_quelle (betrags_volumen,eq_typ,stat,name,bemerkung,mwst) "
                             "VALUES (?,?,?,?,?,?)"));
    for (int s = 0; s < SourceCount; ++s) {
        q.addBindValue(money(volumes[s]));
        q.addBindValue(1);
        q.addBindValue(1);
        q.addBindValue(QString::fromUtf8(Sources[s].name));
        q.addBindValue(QString::fromUtf8(Sources[s].remark));
        q.addBindValue(Sources[s].vat);
        if (!q.exec())
            return fail(q);
        sourceIds[s] = q.lastInsertId().toInt();
    }
    stats.incomeSources = SourceCount;

    // The bookings, in the order they were made.
    QSqlQuery expenseQuery;
    expenseQuery.prepare(QStringLiteral("INSERT INTO ausgaben (ausgaben_typ,ausgaben_typ_id,betrag,beguenstigter,"
                                        "beguenstigter_id,zahlungsmittel,zahlungsmittel_id,bemerkung,startdate) "
                                        "VALUES (?,?,?,?,?,?,?,?,?)"));
    QSqlQuery detailQuery;
    detailQuery.prepare(QStringLiteral("INSERT INTO ausgaben_detail (ausgaben_id,ausgaben_sub_typ_id,betrag,bemerkung) "
                                       "VALUES (?,?,?,?)"));
    QSqlQuery movementQuery;
    movementQuery.prepare(QStringLiteral("INSERT INTO konto_bewegungen (startdate,betrag,konto_id_von,konto_id_nach,"
                                         "tx_typ,stat,op_flag,bemerkung,zahlungsmittel_id,ausgabe_id,tx_id,"
                                         "einnahme_quelle_id) VALUES (?,?,?,?,?,?,?,?,?,?,?,?)"));
    auto movement = [&](const QDate &date, qint64 cents, int from, int to, int txType, int opFlag,
                        const QString &remark, int instrumentId, int expenseId, const QString &txId, int sourceId) {
        movementQuery.addBindValue(date);
        movementQuery.addBindValue(money(cents));
        movementQuery.addBindValue(from);
        movementQuery.addBindValue(to);
        movementQuery.addBindValue(txType);
        movementQuery.addBindValue(31);
        movementQuery.addBindValue(opFlag);
        movementQuery.addBindValue(DataProvider::truncated(remark, 78));
        movementQuery.addBindValue(instrumentId);
        movementQuery.addBindValue(expenseId);
        movementQuery.addBindValue(txId);
        movementQuery.addBindValue(sourceId);
        ++stats.movements;
        return movementQuery.exec();
    };

    QSet<QString> txIds;
    int transferSeconds = 0;
    for (const Booking &b : bookings) {
        const QDate date = dateOf(b.day);
        if (b.kind == ExpenseBooking) {
            const Expense &e = expenses[size_t(b.index)];
            const TypeDef &type = types[size_t(e.type)];
            const InstrumentDef &pi = Instruments[e.instrument];
            const QString typeName = QString::fromUtf8(type.name);
            expenseQuery.addBindValue(typeName);
            expenseQuery.addBindValue(typeIds[size_t(e.type)]);
            expenseQuery.addBindValue(money(e.cents));
            expenseQuery.addBindValue(e.recipient < 0 ? e.freeName : recipients[size_t(e.recipient)].name);
            expenseQuery.addBindValue(e.recipient < 0 ? 0 : recipientIds[size_t(e.recipient)]);
            expenseQuery.addBindValue(QString::fromUtf8(pi.name));
            expenseQuery.addBindValue(instrumentIds[e.instrument]);
            expenseQuery.addBindValue(e.remark);
            expenseQuery.addBindValue(date);
            if (!expenseQuery.exec())
                return fail(expenseQuery);
            const int expenseId = expenseQuery.lastInsertId().toInt();
            ++stats.expenses;
            for (const Share &share : e.shares) {
                detailQuery.addBindValue(expenseId);
                detailQuery.addBindValue(subTypeIds[size_t(share.subType)]);
                detailQuery.addBindValue(money(share.cents));
                detailQuery.addBindValue(QStringLiteral("no remark!"));
                if (!detailQuery.exec())
                    return fail(detailQuery);
                ++stats.details;
            }
            if (e.shares.size() > 1)
                ++stats.splitExpenses;
            if (pi.linked && !movement(date, e.cents, accountIds[pi.account], 0, 21, 0,
                                       typeName + QStringLiteral(": ") + e.remark, instrumentIds[e.instrument],
                                       expenseId, QString(QLatin1String("")), 0))
                return fail(movementQuery);
        } else if (b.kind == DepositBooking) {
            const Deposit &d = deposits[size_t(b.index)];
            if (!movement(date, d.cents, accountIds[d.account], 0, 23, 1, d.remark, 0, 0,
                          QString(QLatin1String("")), sourceIds[d.source]))
                return fail(movementQuery);
            ++stats.deposits;
        } else {
            const Transfer &t = transfers[size_t(b.index)];
            // The key the program makes from the moment of booking.
            QTime moment = QTime(8, 0).addSecs(transferSeconds % 36000);
            transferSeconds += 7;
            QString txId = DataProvider::makeTxId(date, moment);
            while (txIds.contains(txId)) {
                moment = moment.addMSecs(1);
                txId = DataProvider::makeTxId(date, moment);
            }
            txIds.insert(txId);
            const QString from = QString::fromUtf8(Accounts[t.from].name);
            const QString to = QString::fromUtf8(Accounts[t.to].name);
            if (!movement(date, t.cents, accountIds[t.from], accountIds[t.to], 22, 0,
                          t.remark + QStringLiteral(" nach ") + to, 0, 0, txId, 0)
                || !movement(date, t.cents, accountIds[t.to], accountIds[t.from], 22, 1,
                             t.remark + QStringLiteral(" von ") + from, 0, 0, txId, 0))
                return fail(movementQuery);
            ++stats.transfers;
        }
    }

    // The file belongs to the generated year.
    q.prepare(QStringLiteral("UPDATE settings SET value = ?, version = ? WHERE category = 'MY_ZOLVEX' "
                             "AND name = 'CURRENT_YEAR'"));
    q.addBindValue(year);
    q.addBindValue(QString::number(year));
    if (!q.exec())
        return fail(q);

    if (!db.commit()) {
        err = db.lastError().text();
        db.rollback();
        return false;
    }
    return true;
}

YearGenerator::YearGenerator(const Options &options)
    : d(new Private(options))
{
}

YearGenerator::~YearGenerator()
{
    delete d;
}

bool YearGenerator::fill(QString &err)
{
    // Each fill starts from the seed again.
    const Options options = d->options;
    delete d;
    d = new Private(options);
    d->year = d->options.year > 0 ? d->options.year : QDate::currentDate().year();
    d->days = QDate(d->year, 1, 1).daysInYear();
    d->buildMasterData();
    d->buildExpenses();
    d->buildFeeding();
    d->buildIncome();
    d->settleBalances();
    return d->write(err);
}

const YearGenerator::Stats &YearGenerator::stats() const
{
    return d->stats;
}

bool YearGenerator::verify(QString &err)
{
    BalanceCheck check;
    if (!check.run(err))
        return false;
    if (!check.differences().isEmpty()) {
        err = check.report();
        return false;
    }
    return true;
}
