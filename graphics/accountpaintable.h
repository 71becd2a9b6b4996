#pragma once

#include "financepaintable.h"

class Account;

// An account line of the accounts overview, or its title box.
class AccountPaintable : public RecordPaintable<Account>
{
    Q_DECLARE_TR_FUNCTIONS(AccountPaintable)
public:
    using RecordPaintable::RecordPaintable;

    void paintEntry(int recordId, PictureScene *scene, const QFont &font, const QColor &colour) override;
    void paintButton(int recordId, PictureScene *scene, const QFont &font, const QColor &colour) override;
};
