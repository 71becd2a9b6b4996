#pragma once

#include <QCoreApplication>
#include <QString>
#include <QStringList>

// Writes the open year's expenses, account movements and accounts as CSV
// files a German spreadsheet opens without an import dialog: UTF-8 with a
// byte-order mark, ';' between fields, decimal comma, dates as dd.MM.yyyy,
// fields quoted where they hold ';', quotes or line breaks. A file already
// there is replaced only once the new one is complete.
class CsvExport
{
    Q_DECLARE_TR_FUNCTIONS(CsvExport)

public:
    explicit CsvExport(const QString &folder);

    // Writes ausgaben.csv, bewegungen.csv and konten.csv; err says why not.
    bool write(QString &err);
    // Data lines written (headers not counted).
    int lineCount() const { return m_lines; }

    static QString field(const QString &text);
    static QString amount(double value);

private:
    bool writeFile(const QString &name, const QStringList &header, const QString &sql, QString &err);

    QString m_folder;
    int m_lines = 0;
};
