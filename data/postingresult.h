#pragma once

#include <QString>

// What a posting tells its caller: booked, or why not, with the title and
// the text of the box a dialog shows for it. Whatever the reason, a posting
// that did not book left the file and the caches as they were.
struct PostingResult
{
    enum Reason {
        Booked,
        InvalidAmount,  // 0.00 or less
        MissingAccount, // the instrument or its account is unknown
        NotAvailable,   // the account lacks the money
        SameAccount,    // a transfer whose two sides are one account
        NotFound,       // the booking to take back is gone
        NotAPair,       // a transfer key that does not join exactly two movements
        WriteFailed     // the file refused a write
    };

    Reason reason = Booked;
    QString title;
    QString text;

    bool ok() const { return reason == Booked; }
    // Refusals of what the user asked for, as opposed to what was not found
    // or could not be written.
    bool refusesInput() const
    {
        return reason == InvalidAmount || reason == MissingAccount || reason == NotAvailable
               || reason == SameAccount;
    }

    static PostingResult booked() { return {}; }
    static PostingResult refused(Reason reason, const QString &title, const QString &text)
    {
        return {reason, title, text};
    }
};
