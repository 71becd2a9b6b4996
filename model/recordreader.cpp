#include "recordreader.h"

#include <QSqlQuery>

RecordReader::RecordReader(const QSqlQuery &query, const QString *names, int count)
    : m_query(&query)
{
    // The result's columns, without values.
    locate(query.record(), names, count);
}

RecordReader::RecordReader(const QSqlRecord &row, const QString *names, int count)
    : m_row(row)
{
    locate(row, names, count);
}

void RecordReader::locate(const QSqlRecord &layout, const QString *names, int count)
{
    m_positions.resize(count);
    for (int slot = 0; slot < count; ++slot)
        m_positions[slot] = layout.indexOf(names[slot]);
}

QVariant RecordReader::value(int slot) const
{
    const int pos = position(slot);
    if (pos < 0)
        return QVariant();
    return m_query ? m_query->value(pos) : m_row.value(pos);
}

int RecordReader::toInt(int slot) const
{
    const QVariant v = value(slot);
    // The driver gives integer columns as qlonglong; the general conversion
    // to int truncates them the same way.
    if (v.typeId() == QMetaType::LongLong)
        return int(v.toLongLong());
    return v.toInt();
}

QString RecordReader::toSharedString(int slot) const
{
    const QString text = toString(slot);
    // A reader of one record has nothing to share with.
    if (!m_query || text.isEmpty())
        return text;
    const auto known = m_texts.constFind(text);
    if (known != m_texts.constEnd())
        return *known;
    m_texts.insert(text);
    return text;
}

namespace {

// Value of count ASCII digits at text, -1 when one of them is not a digit.
int digitsValue(const QChar *text, int count)
{
    int result = 0;
    for (int i = 0; i < count; ++i) {
        const char16_t c = text[i].unicode();
        if (c < u'0' || c > u'9')
            return -1;
        result = result * 10 + (c - u'0');
    }
    return result;
}

} // namespace

QDate RecordReader::toDate(int slot) const
{
    const QVariant v = value(slot);
    // Dates are stored as "yyyy-MM-dd" text. Parsing that form here gives
    // what the ISO parser behind QVariant::toDate() gives, at a fraction of
    // the cost; every other form goes to that parser.
    if (v.typeId() == QMetaType::QString) {
        const QString text = v.toString();
        if (text.size() == 10 && text.at(4) == u'-' && text.at(7) == u'-') {
            const QChar *c = text.constData();
            const int year = digitsValue(c, 4);
            const int month = digitsValue(c + 5, 2);
            const int day = digitsValue(c + 8, 2);
            if (year > 0 && month >= 0 && day >= 0)
                return QDate(year, month, day);
        }
    }
    return v.toDate();
}
