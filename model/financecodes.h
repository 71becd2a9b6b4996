#pragma once

// The codes the year file keeps in its numeric columns. Each kind of code
// has a namespace of its own, so a use reads as what it is
// (AccountType::Bank) and still compares with the int the record holds.

// konten.konto_typ
namespace AccountType {
enum Code {
    Counter = 11, // looked up for expenses and deposits; no dialog creates one
    Bank = 12,
    Own = 13      // an instrument's own account, and the extra rows of the accounts overview
};
}

// konten.stat
namespace AccountState {
enum Code { Inactive = 0, Active = 1 };
}

// zahlungsmittel.zahlungsmittel_typ
namespace InstrumentType {
enum Code {
    Cash = 21,
    Voucher = 22,
    PrepaidCard = 23, // a card with a balance of its own
    LinkedCard = 24,  // a card drawing on a bank account
    Account = 25,     // the instrument every bank account gets with it
    AccountsPage = 26 // the header of the accounts page; never stored
};
}

// konto_bewegungen.tx_typ
namespace MovementType {
enum Code { Expense = 21, Transfer = 22, Income = 23 };
}

// konto_bewegungen.op_flag: the direction seen from konto_id_von.
namespace OpFlag {
enum Code { MoneyOut = 0, MoneyIn = 1 };
}

// konto_bewegungen.stat: every movement is written booked.
namespace MovementState {
enum Code { Booked = 31 };
}
