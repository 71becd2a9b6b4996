#include "colorsetting.h"

#include <QDebug>
#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>

ColorSetting *ColorSetting::s_instance = nullptr;

ColorSetting *ColorSetting::instance()
{
    if (!s_instance)
        s_instance = new ColorSetting;
    return s_instance;
}

void ColorSetting::release()
{
    delete s_instance;
    s_instance = nullptr;
}

ColorSetting::ColorSetting()
    : m_yearCurrent(true)
{
}

int ColorSetting::getSetting(const QString &category, const QString &name, QString &version)
{
    version = QStringLiteral("0.0");
    QSqlQuery query;
    query.prepare(QStringLiteral("SELECT * FROM settings WHERE category = :cat AND name = :nam"));
    query.bindValue(QStringLiteral(":cat"), category);
    query.bindValue(QStringLiteral(":nam"), name);
    if (!query.exec() || !query.next())
        return 0;
    version = query.value(QStringLiteral("version")).toString();
    return query.value(QStringLiteral("value")).toInt();
}

void ColorSetting::updateSetting(const QString &category, const QString &name, int value,
                                 const QString &version)
{
    QSqlQuery query;
    query.prepare(QStringLiteral(
        "UPDATE settings SET value = :val, version = :vers WHERE category = :cat AND name = :nam"));
    query.bindValue(QStringLiteral(":val"), value);
    query.bindValue(QStringLiteral(":vers"), version);
    query.bindValue(QStringLiteral(":cat"), category);
    query.bindValue(QStringLiteral(":nam"), name);
    if (!query.exec())
        qDebug() << "updateSetting:" << query.lastError().text();
}

void ColorSetting::resetSettings()
{
    QSqlQuery query;
    query.exec(QStringLiteral("DELETE FROM settings"));
    query.exec(QStringLiteral(
        "INSERT INTO settings (category,name,value,version) VALUES ('MY_ZOLVEX', 'CURRENT_YEAR', 1, '1')"));
    query.exec(QStringLiteral(
        "INSERT INTO settings (category,name,value,version) VALUES ('MY_ZOLVEX', 'DB_VERSION', 13, '1.3')"));
}

void ColorSetting::updateDbVersion()
{
    updateSetting(QStringLiteral("MY_ZOLVEX"), QStringLiteral("DB_VERSION"), 14, QStringLiteral("1.4"));
}

bool ColorSetting::checkDbVersion(const QString &programVersion, QString &out)
{
    getSetting(QStringLiteral("MY_ZOLVEX"), QStringLiteral("DB_VERSION"), out);
    return programVersion.left(3) == out;
}

void ColorSetting::bookingDateRange(int days, QDate &first, QDate &last)
{
    const QDate today = QDate::currentDate();
    first = today.addDays(-days);
    last = today.addDays(days);
    QString version;
    const int year = getSetting(QStringLiteral("MY_ZOLVEX"), QStringLiteral("CURRENT_YEAR"), version);
    if (year <= 1)
        return;     // not stamped yet
    first = qMax(first, QDate(year, 1, 1));
    last = qMin(last, QDate(year, 12, 31));
    if (first > last) {
        // Today lies outside the file's year: any day of that year.
        first = QDate(year, 1, 1);
        last = QDate(year, 12, 31);
    }
}
