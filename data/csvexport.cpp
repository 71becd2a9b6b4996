#include "csvexport.h"

#include <QDate>
#include <QDir>
#include <QLocale>
#include <QSaveFile>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>

namespace {

// A split expense gives one line per detail row, with the detail's amount.
const char *const ExpensesSql =
    "SELECT a.startdate, a.ausgaben_typ, s.name, a.beguenstigter, a.zahlungsmittel, "
    "COALESCE(d.betrag, a.betrag), COALESCE(NULLIF(d.bemerkung, ''), a.bemerkung) "
    "FROM ausgaben a LEFT JOIN ausgaben_detail d ON d.ausgaben_id = a.id "
    "LEFT JOIN ausgaben_sub_typen s ON s.id = d.ausgaben_sub_typ_id ORDER BY a.startdate, a.id, d.id";
const char *const MovementsSql =
    "SELECT m.startdate, v.name, n.name, m.betrag, m.bemerkung FROM konto_bewegungen m "
    "LEFT JOIN konten v ON v.id = m.konto_id_von LEFT JOIN konten n ON n.id = m.konto_id_nach "
    "ORDER BY m.startdate, m.id";
const char *const AccountsSql =
    "SELECT name, konto_nummer, initial_betrag, betrag FROM konten ORDER BY id";

} // namespace

CsvExport::CsvExport(const QString &folder)
    : m_folder(folder)
{
}

QString CsvExport::field(const QString &text)
{
    if (!text.contains(QLatin1Char(';')) && !text.contains(QLatin1Char('"')) && !text.contains(QLatin1Char('\n'))
        && !text.contains(QLatin1Char('\r')))
        return text;
    QString quoted = text;
    quoted.replace(QLatin1Char('"'), QStringLiteral("\"\""));
    return QLatin1Char('"') + quoted + QLatin1Char('"');
}

// Without thousands separators, so that every spreadsheet reads it as a number.
QString CsvExport::amount(double value)
{
    return QString::number(value, 'f', 2).replace(QLatin1Char('.'), QLatin1Char(','));
}

bool CsvExport::write(QString &err)
{
    m_lines = 0;
    if (!QDir().mkpath(m_folder)) {
        err = tr("Der Ordner %1 kann nicht angelegt werden.").arg(QDir::toNativeSeparators(m_folder));
        return false;
    }
    return writeFile(QStringLiteral("ausgaben.csv"),
                     {tr("Datum"), tr("Ausgabentyp"), tr("Unterbereich"), tr("Begünstigter"), tr("Zahlungsmittel"),
                      tr("Betrag"), tr("Bemerkung")},
                     QLatin1String(ExpensesSql), err)
        && writeFile(QStringLiteral("bewegungen.csv"),
                     {tr("Datum"), tr("Von Konto"), tr("Nach Konto"), tr("Betrag"), tr("Bemerkung")},
                     QLatin1String(MovementsSql), err)
        && writeFile(QStringLiteral("konten.csv"),
                     {tr("Konto"), tr("Kontonummer"), tr("Eröffnungsbetrag"), tr("Saldo")},
                     QLatin1String(AccountsSql), err);
}

bool CsvExport::writeFile(const QString &name, const QStringList &header, const QString &sql, QString &err)
{
    const QString path = m_folder + QLatin1Char('/') + name;
    QSqlQuery query;
    query.setForwardOnly(true);
    if (!query.exec(sql)) {
        err = query.lastError().text();
        return false;
    }
    // QSaveFile writes under a temporary name and renames on commit.
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        err = file.errorString();
        return false;
    }
    QString text = QStringLiteral("\xFEFF") + header.join(QLatin1Char(';')) + QStringLiteral("\r\n");
    while (query.next()) {
        QStringList fields;
        for (int i = 0; i < query.record().count(); ++i) {
            const QVariant value = query.value(i);
            const QDate date = QDate::fromString(value.toString().left(10), Qt::ISODate);
            if (query.record().fieldName(i) == QLatin1String("startdate"))
                fields << (date.isValid() ? date.toString(QStringLiteral("dd.MM.yyyy")) : QString());
            else if (value.typeId() == QMetaType::Double)
                fields << amount(value.toDouble());
            else
                fields << field(value.toString());
        }
        text += fields.join(QLatin1Char(';')) + QStringLiteral("\r\n");
        ++m_lines;
    }
    if (file.write(text.toUtf8()) < 0 || !file.commit()) {
        err = tr("%1: %2").arg(QDir::toNativeSeparators(path), file.errorString());
        return false;
    }
    return true;
}
