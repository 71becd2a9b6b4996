#pragma once

#include "financebase.h"

class QSqlQuery;

// Either an income movement (a `konto_bewegungen` row carrying an
// einnahme_quelle_id) or an income source (a row of `einnahme_quelle`);
// isSource() tells which.
//
// Movement columns: startdate -> date, betrag -> amount,
// einnahme_quelle_id -> incomeSourceId, bemerkung -> remark.
// Source columns: betrags_volumen -> volume, mwst -> vat, bemerkung -> remark.
class IncomeEntry : public FinanceBase
{
public:
    IncomeEntry();
    explicit IncomeEntry(int id);
    // asSource false: movement columns; true: income-source columns.
    IncomeEntry(const QSqlRecord &row, bool asSource);
    // The row the reader is on; the reader comes from reader(), made for
    // the same kind of row.
    IncomeEntry(const RecordReader &row, bool asSource);
    // Income source that only carries an expected volume (summary lines).
    explicit IncomeEntry(double volume);
    IncomeEntry(const IncomeEntry &other);
    IncomeEntry &operator=(const IncomeEntry &other);
    using FinanceBase::operator=;

    void showPolymorphism() override;
    FinanceBase &assign(const FinanceBase &other) override;
    IncomeEntry &assign(const IncomeEntry &other);
    bool isEqual(const FinanceBase &other) const override;

    void readMovementFields(const QSqlRecord &row);
    void readSourceFields(const QSqlRecord &row);
    void readMovementFields(const RecordReader &row);
    void readSourceFields(const RecordReader &row);
    // Finds the columns of an income source (asSource) or an income
    // movement in the query's result once, for reading all of its rows.
    static RecordReader reader(const QSqlQuery &query, bool asSource);

    double getAmount() const { return m_amount; }
    void setAmount(double amount) { m_amount = amount; }
    int getIncomeSourceId() const { return m_incomeSourceId; }
    void setIncomeSourceId(int id) { m_incomeSourceId = id; }
    QString getRemark() const { return m_remark; }
    void setRemark(const QString &remark) { m_remark = remark; }
    // Yearly volume expected from an income source.
    double getVolume() const { return m_volume; }
    void setVolume(double volume) { m_volume = volume; }
    // Value-added-tax rate in percent.
    double getVat() const { return m_vat; }
    void setVat(double vat) { m_vat = vat; }
    bool isSource() const { return m_isSource; }
    void setSource(bool isSource) { m_isSource = isSource; }

private:
    void init();

    double m_amount;
    int m_incomeSourceId;
    QString m_remark;
    double m_volume;
    double m_vat;
    bool m_isSource;
};
