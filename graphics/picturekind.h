#pragma once

// What a click on a picture does. The values are the kinds the pictures
// have always carried. Inert, Unused and any value not named here are not
// dispatched.
enum class PictureKind {
    Inert = 0,             // drawn, but a click does nothing
    IncomePage = 1,        // main menu
    ExpensesPage = 2,      // main menu
    AccountsPage = 3,      // main menu
    ExpenseOverview = 4,
    AccountAction = 5,     // deposit, transfer or movement maintenance, by the data text
    BookExpense = 6,
    RecordReport = 7,      // the detail report of the record
    AccountOverview = 8,
    Quit = 10,             // main menu
    Unused = 11,           // shown at the quit picture's size; nothing draws or dispatches it
    IncomeOverview = 12,
    RecipientOverview = 13,
    BackToMainMenu = 14,
    DrillDown = 15,        // the arrow of a list row
    HelpPage = 16,
    ChangeYear = 17,
    ChooseYearFile = 19,
    MasterData = 20,       // a master-data dialog, by the data text
    CheckBalances = 21,
    Backups = 22,          // the dialog of the verified copies
    ExportCsv = 23,        // the open year's data as CSV files
    ExportPdf = 24         // the report shown in the output area as a PDF file
};
