#pragma once

#include <QDate>
#include <QString>

#include <memory>

class QSqlRecord;
class RecordReader;

// Base of every in-memory record of the year file.
//
// Accessor naming used by all record classes:
//  - getters are `getXxx()` with English field names (`getAmount()`,
//    `getAccountId()`, `getBalance()`), boolean fields read as `isXxx()` /
//    `hasXxx()` (`isTotalRow()`, `isSource()`, `hasAccountLink()`);
//  - setters are `setXxx(value)` with the same English name;
//  - running sums and counters also have `addXxx(value)` (and
//    `incrementXxx()` / `decrementXxx()` for counts).
//  Columns map to fields as documented in each record's header.
//
// Copying: every subclass has operator=(const Same &) = the base operator=
// followed by assign(); so description, lastError and totalRow of the target
// are never overwritten by an assignment (ExpenseEntry included). The
// subclass copy constructors copy the base fields the same way plus all of
// the class's own fields. Each subclass also has a typed
// assign(const Same &) beside the virtual one.
//
// Ids are SQLite row ids; 0 means "not stored yet" / "none".
class FinanceBase
{
public:
    // Class codes: what the data layer dispatches on and what a renderer
    // records about the object it draws. Not to be confused with the values
    // of the type columns (konto_typ, zahlungsmittel_typ, ...).
    enum ClassCode {
        AccountCode = 11,
        PaymentInstructionCode = 13,
        RecipientCode = 14,
        AccountEntryCode = 15,
        ExpenseEntryCode = 16,
        ExpenseTypeEntryCode = 17,
        ExpenseEntryDetailCode = 18,
        IncomeEntryCode = 19,
        FinanceBaseCode = 20
    };

    FinanceBase();
    // Copies what operator= copies; description, lastError and totalRow
    // start empty.
    FinanceBase(const FinanceBase &other);
    virtual ~FinanceBase();

    // Copies class name, id, date, class code and name. Description,
    // lastError and the summary-line marker stay as they were: they belong
    // to the target object, not to the row.
    virtual FinanceBase &operator=(const FinanceBase &other);
    // Records are the same when their ids are; the class is not compared.
    virtual bool operator==(const FinanceBase &other) const;
    bool operator!=(const FinanceBase &other) const { return !(*this == other); }

    virtual QString getClassName() const;
    virtual bool isOfType(int code) const;
    virtual int getDefaultCode() const;
    // One line on the debug output naming the dynamic class.
    virtual void showPolymorphism();
    // Copies the subclass's own fields from a record of the same class;
    // a record of another class leaves the target unchanged.
    virtual FinanceBase &assign(const FinanceBase &other) = 0;
    // Same as operator== (ids), for records of the same class.
    virtual bool isEqual(const FinanceBase &other) const = 0;

    int getTypeCode() const { return m_typeCode; }

    int getId() const { return m_id; }
    void setId(int id) { m_id = id; }
    QDate getDate() const { return m_date; }
    void setDate(const QDate &date) { m_date = date; }
    QString getName() const { return m_name; }
    void setName(const QString &name) { m_name = name; }
    QString getDescription() const { return m_notes ? m_notes->description : QString(); }
    void setDescription(const QString &description);
    QString getLastError() const { return m_notes ? m_notes->lastError : QString(); }
    void setLastError(const QString &error);
    // True for a summary line ("Total:") of a list rather than a stored row.
    bool isTotalRow() const { return m_totalRow; }
    void setTotalRow(bool totalRow) { m_totalRow = totalRow; }

    // The one date format of the program: "dd.MM.yyyy"; empty for a null date.
    QString getDateString() const;

    // Reads the columns "id" and "name"; a missing column gives 0 / "".
    void readBaseFields(const QSqlRecord &row);

    // A reader made for a record class (its static reader()) has "id" and
    // "name" in the first two slots, the class's own columns after them.
    enum BaseColumn { IdColumn = 0, NameColumn = 1, FirstOwnColumn = 2 };
    void readBaseFields(const RecordReader &row);

protected:
    QString m_className;
    int m_typeCode;
    int m_id;
    QDate m_date;
    QString m_name;
    bool m_totalRow;

private:
    // Few records carry a description or an error (accounts, a failed
    // write); these live apart until one is set, so that the many booking
    // records of a year stay small.
    struct Notes
    {
        QString description;
        QString lastError;
    };
    Notes &notes();

    std::unique_ptr<Notes> m_notes;
};
