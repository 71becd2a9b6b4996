#pragma once

#include <QList>

#include <memory>
#include <vector>

// The rows of a list the data layer hands out, in display order. Rows made
// for the list (copies, the "Andere" and "Total:" lines, card rows) belong
// to the list and go with it; the other rows are cache records borrowed from
// DataProvider. Either way, a holder of the list never deletes a row.
template<class Record>
class RecordList
{
public:
    // A cache record: shown in the list, deleted by its cache.
    void appendBorrowed(Record *record) { m_rows.append(record); }
    // A row of the list's own; returns it for filling in.
    Record *appendOwned(std::unique_ptr<Record> record)
    {
        m_rows.append(record.get());
        m_owned.push_back(std::move(record));
        return m_rows.last();
    }

    const QList<Record *> &rows() const { return m_rows; }
    qsizetype size() const { return m_rows.size(); }
    bool isEmpty() const { return m_rows.isEmpty(); }
    Record *at(qsizetype i) const { return m_rows.at(i); }
    Record *first() const { return m_rows.first(); }
    Record *last() const { return m_rows.last(); }
    typename QList<Record *>::const_iterator begin() const { return m_rows.cbegin(); }
    typename QList<Record *>::const_iterator end() const { return m_rows.cend(); }

private:
    QList<Record *> m_rows;
    std::vector<std::unique_ptr<Record>> m_owned;
};
