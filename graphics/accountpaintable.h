#pragma once

#include "financepaintable.h"

class Account;

// An account line of the accounts overview, or its title box.
class AccountPaintable : public FinancePaintable
{
    Q_DECLARE_TR_FUNCTIONS(AccountPaintable)
public:
    AccountPaintable(const QPoint &position, Account *record);
    explicit AccountPaintable(Account *record);

    bool isType(int typeCode) const override;
    void paintEntry(int recordId, PictureScene *scene, const QFont &font, const QColor &colour) override;
    void paintButton(int recordId, PictureScene *scene, const QFont &font, const QColor &colour) override;

private:
    int m_recordType;
    Account *m_record;
};
