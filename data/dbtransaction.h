#pragma once

#include <QString>

// One SQLite transaction on the default connection for the lifetime of the
// object. Transactions nest: only the outermost one begins and commits; an
// inner one that is not committed dooms the outer one. A transaction that
// ends without a successful commit is rolled back, and DataProvider then
// re-reads its caches so that they equal the file again.
class DbTransaction
{
public:
    DbTransaction();
    ~DbTransaction();

    // Outermost: commits; on failure rolls back, reloads the caches and
    // hands back the driver's error text. Inner: succeeds unless a nested
    // transaction already failed.
    bool commit(QString &err);

    bool isOutermost() const { return m_outermost; }
    // Depth of the open transactions (0 when none is open).
    static int depth() { return s_depth; }

private:
    DbTransaction(const DbTransaction &) = delete;
    DbTransaction &operator=(const DbTransaction &) = delete;

    void rollback();

    bool m_outermost = false;
    bool m_finished = false;

    static int s_depth;
    static bool s_doomed;
    static QString s_error;
};
