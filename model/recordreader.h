#pragma once

#include <QDate>
#include <QSet>
#include <QSqlRecord>
#include <QString>
#include <QVarLengthArray>
#include <QVariant>

class QSqlQuery;

// Reads the columns a record class needs from the rows of a query.
//
// The columns are looked up by name once, when the reader is made (the way
// QSqlRecord::indexOf() finds them); every row is then read by position.
// A reader made on a query reads whatever row the query is on, so one reader
// serves a whole result. A reader made on a QSqlRecord reads that one row.
//
// Columns are addressed by slot: the position of the name in the list the
// reader was made with. A name the result does not have reads as an invalid
// value (0, 0.0, "", null date), as QSqlRecord::value() does.
class RecordReader
{
public:
    template <int N>
    RecordReader(const QSqlQuery &query, const QString (&names)[N])
        : RecordReader(query, names, N)
    {
    }
    template <int N>
    RecordReader(const QSqlRecord &row, const QString (&names)[N])
        : RecordReader(row, names, N)
    {
    }
    RecordReader(const QSqlQuery &query, const QString *names, int count);
    RecordReader(const QSqlRecord &row, const QString *names, int count);

    // Position of the slot's column in the row, -1 when the row lacks it.
    int position(int slot) const { return m_positions.value(slot, -1); }
    QVariant value(int slot) const;

    // Same results as the QVariant conversions.
    int toInt(int slot) const;
    double toDouble(int slot) const { return value(slot).toDouble(); }
    bool toBool(int slot) const { return value(slot).toBool(); }
    QString toString(int slot) const { return value(slot).toString(); }
    // As toString(), for columns whose texts repeat from row to row (names
    // copied from the master data): equal texts read through one reader
    // share one string, so a cache of many rows holds each text once.
    QString toSharedString(int slot) const;
    // Same result as QVariant::toDate(); the stored form "yyyy-MM-dd" is
    // read without the general date parser.
    QDate toDate(int slot) const;

private:
    void locate(const QSqlRecord &layout, const QString *names, int count);

    const QSqlQuery *m_query = nullptr;
    QSqlRecord m_row;
    QVarLengthArray<int, 16> m_positions;
    mutable QSet<QString> m_texts;
};
