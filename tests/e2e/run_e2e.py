#!/usr/bin/python3
"""The real program under a private X server, used as a person would.

Usage: run_e2e.py <path of zolvex> <screenshot folder>

Starts Zolvex in a fresh working folder with an empty ./Data, clicks through
the main menu and the three pages where the pictures are drawn, declares a
bank account, cash, an expense type and a recipient in their dialogs, books
an expense and a transfer, answers the message boxes, and checks with the
year file on disk that every booking arrived and every refusal wrote nothing.
A second program on the same year file must be turned away. Screenshots of
every stage go to the screenshot folder.

Runs with Debian's /usr/bin/python3 (it has the AT-SPI bindings). Exit code 0
means everything held.
"""

import os
import shutil
import signal
import subprocess
import sys
import tempfile
import traceback

# The helper modules beside this file; no byte-code files in the source tree.
sys.dont_write_bytecode = True
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

from desktop import Desktop, DesktopError, wait_until  # noqa: E402
from person import (ACCOUNTS_HEADER, AFA_TOP, CARD_BOOK, CARD_SHOW, EXPENSES_HEADER,  # noqa: E402
                    INCOME_HEADER, MAIN_MENU, STATUS_INFO, TITLE_BOX,
                    MainWindow, Person, YearFile, card_picture, near)
from report import FAULTS, check, elapsed, step  # noqa: E402
import screenreader  # noqa: E402
from screenreader import Application, wait_node  # noqa: E402

# The whole run must end well before the test driver's own limit.
RUN_LIMIT = 240

BANK = "Sparkasse Zürich"
BANK_NUMBER = "CH93-0076-2011"
CASH = "Kasse"
EXPENSE_TYPE = "Lebensmittel"
RECIPIENT = "Bäckerei O'Neill"
REMARK = "Wocheneinkauf Käse"


class Stopped(Exception):
    pass


def _stop_run(signum, frame):
    raise Stopped("stopped by signal %d" % signum)


class Story:
    def __init__(self, program, shots, desktop, work):
        self.program = program
        self.desktop = desktop
        self.work = work
        self.person = Person(desktop, shots)
        self.db_path = os.path.join(work, "Data", "finanzen.dat")
        self.lock_path = self.db_path + ".lock"
        self.db = YearFile(self.db_path)
        self.app = None
        self.main = None
        self.process = None

    # ------------------------------------------------------------ program

    def start_program(self):
        env = self.desktop.env(QT_QPA_PLATFORM="xcb", QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1",
                               QT_ACCESSIBILITY="1", LANG="C.UTF-8", LC_ALL="C.UTF-8", HOME=self.work,
                               XDG_RUNTIME_DIR=os.path.join(self.work, ".runtime"))
        os.makedirs(env["XDG_RUNTIME_DIR"], mode=0o700, exist_ok=True)
        log_path = os.path.join(self.work, "program-%03d.log" % len(
            [name for name in os.listdir(self.work) if name.startswith("program-")]))
        with open(log_path, "w") as log:
            return self.desktop.spawn("zolvex", [self.program], cwd=self.work, env=env, stdout=log,
                                      stderr=subprocess.STDOUT)

    def wait_exit(self, process, timeout, what):
        try:
            code = process.wait(timeout=timeout)
        except subprocess.TimeoutExpired:
            raise DesktopError("%s did not end within %d s" % (what, timeout))
        self.desktop.forget(process)
        return code

    def open_main_window(self):
        self.process = self.start_program()
        self.app = Application(self.process, 30)
        self.main = MainWindow(self.desktop, self.app)
        step("main window found; drawing areas at %s" % self.main.viewports)
        for name in ("Eingang", "Ausgang", "Konten", "quit"):
            self.main.wait_picture("hfa", MAIN_MENU[name], "main-menu picture " + name)

    def open_page(self, name, header_picture):
        # The title box under the main menu changes to the page's header.
        before = self.desktop.snapshot()
        self.main.click_picture("hfa", MAIN_MENU[name], "main-menu picture " + name)
        self.main.wait_redrawn("hfa", TITLE_BOX, before, "the page header of " + name)
        self.main.wait_picture("hfa", header_picture, "the pictures of the page header of " + name)

    # ------------------------------------------------------------ chapters

    def first_start(self):
        step("start the program in %s" % self.work)
        self.open_main_window()
        self.person.screenshot("main-menu")
        check(os.path.exists(self.db_path), "no year file ./Data/finanzen.dat was created")
        check(os.path.exists(self.lock_path), "the running program holds no lock ./Data/finanzen.dat.lock")
        tables = {row["name"] for row in self.db.rows("SELECT name FROM sqlite_master WHERE type = 'table'")}
        for table in ("konten", "zahlungsmittel", "ausgaben", "ausgaben_detail", "ausgaben_typen",
                      "beguenstigte", "konto_bewegungen", "settings"):
            check(table in tables, "the new year file has no table %s" % table)

    def second_program_turned_away(self):
        step("start a second program on the same year file")
        with open(self.db_path, "rb") as f:
            before = f.read()
        second = self.start_program()
        second_app = Application(second, 30)
        self.person.answer_box(second_app, "Finanzdatei in Gebrauch",
                               "wird bereits von einem anderen laufenden Zolvex verwendet",
                               shot="second-program-refused")
        code = self.wait_exit(second, 15, "the second program")
        check(code == 1, "the second program ended with code %s instead of 1" % code)
        check(self.process.poll() is None, "the first program ended when the second one was turned away")
        with open(self.db_path, "rb") as f:
            check(f.read() == before, "the second program changed the year file")
        check(os.path.exists(self.lock_path), "the second program removed the first one's lock")
        check(self.db.integrity() == "ok", "the year file is damaged after the second start")

    def declare_accounts(self):
        person, main, db = self.person, self.main, self.db
        step("open the accounts page")
        self.open_page("Konten", ACCOUNTS_HEADER["PaymentSettings"])
        person.screenshot("accounts-page")

        step("declare a bank account; an opening amount of 0 is refused first")
        dialog = main.open_dialog("hfa", ACCOUNTS_HEADER["AccountSettings"], "'Konten bearbeiten'", "Konto")
        person.fill(dialog, "Name:", BANK)
        person.fill(dialog, "Konto-Nummer:", BANK_NUMBER)
        person.fill(dialog, "Eröffnungsbetrag:", "0")
        person.press(dialog, "Speichern")
        person.answer_box(self.app, "Betrag ungültig!", "Eröffnungs-Limite: 999999.0", shot="account-zero-refused")
        check(db.count("konten") == 0, "a refused account was written to the file")
        check(person.field(dialog, "Name:").text == BANK, "the dialog lost the name after the refusal")
        person.fill(dialog, "Eröffnungsbetrag:", "1500")
        person.press(dialog, "Speichern")
        self.account = wait_until(lambda: db.one("SELECT * FROM konten WHERE konto_typ = 12"), 10, 0.1,
                                  "the bank account in the file")
        account = self.account
        check(account["name"] == BANK, "the account's name on disk is %r" % account["name"])
        check(account["konto_nummer"] == BANK_NUMBER, "the account's number on disk is %r" % account["konto_nummer"])
        check(near(account["initial_betrag"], 1500) and near(account["betrag"], 1500),
              "the account's amounts on disk are %r / %r" % (account["initial_betrag"], account["betrag"]))
        check(account["stat"] == 1, "the new account is not active (stat %r)" % account["stat"])
        self.bank_instrument = db.one("SELECT * FROM zahlungsmittel WHERE zahlungsmittel_typ = 25")
        own = self.bank_instrument
        check(own is not None and own["konto_id"] == account["id"] and own["name"] == BANK
              and own["hat_konto_verbindung"] == 1,
              "the account's own payment instrument on disk is %r" % own)
        wait_node(dialog, "table cell", BANK, timeout=10, what="the new account in the dialog's list")
        person.screenshot("account-dialog")
        person.press(dialog, "Schliessen")
        self.app.wait_gone("dialog", "Konto")

        step("declare cash")
        dialog = main.open_dialog("hfa", ACCOUNTS_HEADER["PaymentSettings"], "'Zahlungsmittel bearbeiten'",
                                  "Zahlungsmittel")
        cash_choice = wait_node(dialog, "radio button", "Bargeld", timeout=10)
        person.click_node(cash_choice)
        wait_until(lambda: cash_choice.checked and person.field(dialog, "Eröffnungsbetrag:").enabled, 5, 0.05,
                   "the choice of Bargeld")
        name = person.field(dialog, "Name:").text
        check(name == "z.B. Kasse", "the name field shows %r after choosing Bargeld" % name)
        check(not person.field(dialog, "Nummer:").enabled, "the number field stays open for cash")
        person.fill(dialog, "Name:", CASH)
        person.fill(dialog, "Eröffnungsbetrag:", "200")
        person.press(dialog, "Speichern")
        self.cash = wait_until(lambda: db.one("SELECT * FROM zahlungsmittel WHERE name = ?", (CASH,)), 10, 0.1,
                               "the cash in the file")
        cash = self.cash
        check(cash["zahlungsmittel_typ"] == 21 and cash["hat_konto_verbindung"] == 0,
              "the cash on disk has type %r, link %r" % (cash["zahlungsmittel_typ"], cash["hat_konto_verbindung"]))
        self.cash_account = db.one("SELECT * FROM konten WHERE id = ?", (cash["konto_id"],))
        check(self.cash_account is not None and self.cash_account["konto_typ"] == 13
              and near(self.cash_account["betrag"], 200),
              "the cash's own account on disk is %r" % self.cash_account)
        wait_node(dialog, "table cell", CASH, timeout=10, what="the cash in the dialog's list")
        person.screenshot("payment-instrument-dialog")
        person.press(dialog, "Schliessen")
        self.app.wait_gone("dialog", "Zahlungsmittel")

        # The dialogs redrew the cards while open; cards are listed by name.
        self.cards = [row["name"] for row in db.rows(
            "SELECT z.name FROM zahlungsmittel z JOIN konten k ON k.id = z.konto_id "
            "WHERE k.stat = 1 ORDER BY z.name")]
        check(self.cards == [CASH, BANK], "the file lists the instruments %r" % self.cards)
        for index, card in enumerate(self.cards):
            main.wait_picture("efa", card_picture(index, CARD_SHOW), "'anzeigen' on the card %r" % card)
        person.screenshot("accounts-cards")

    def declare_expense_master_data(self):
        person, main, db = self.person, self.main, self.db
        step("open the expenses page")
        self.open_page("Ausgang", EXPENSES_HEADER["ExpenseSettings"])
        person.screenshot("expenses-page")

        step("declare an expense type")
        dialog = main.open_dialog("hfa", EXPENSES_HEADER["ExpenseSettings"], "'Ausgabetypen bearbeiten'",
                                  "Ausgabentypen")
        person.fill(dialog, "Ausgabentyp:", EXPENSE_TYPE)
        person.fill(dialog, "Vorausichtliches Budget:", "4800")
        person.press(dialog, "Speichern")
        self.expense_type = wait_until(lambda: db.one("SELECT * FROM ausgaben_typen"), 10, 0.1,
                                       "the expense type in the file")
        check(self.expense_type["name"] == EXPENSE_TYPE and near(self.expense_type["budget"], 4800),
              "the expense type on disk is %r" % self.expense_type)
        wait_node(dialog, "table cell", EXPENSE_TYPE, timeout=10, what="the expense type in the dialog's list")
        person.screenshot("expense-type-dialog")
        person.press(dialog, "Schliessen")
        self.app.wait_gone("dialog", "Ausgabentypen")
        main.wait_picture("efa", card_picture(0, CARD_BOOK), "'erfassen' on the card %r" % EXPENSE_TYPE)

        step("declare a recipient whose name has an apostrophe")
        main.click_picture("hfa", EXPENSES_HEADER["RecipientSettings"], "'Begünstigte bearbeiten'")
        try:
            dialog = self.app.wait_window("dialog", "Begünstigte", 8)
        except DesktopError:
            dialog = None
            check(False, "clicking 'Begünstigte bearbeiten' on the expenses page opens no recipients dialog")
            person.screenshot("recipients-dialog-missing")
        if dialog is not None:
            person.fill(dialog, "Name des Begünstigten:", RECIPIENT)
            person.press(dialog, "Speichern")
            row = wait_until(lambda: db.one("SELECT * FROM beguenstigte"), 10, 0.1, "the recipient in the file")
            check(row["name"] == RECIPIENT, "the recipient on disk is %r" % row["name"])
            wait_node(dialog, "table cell", RECIPIENT, timeout=10, what="the recipient in the dialog's list")
            person.screenshot("recipients-dialog")
            person.press(dialog, "Schliessen")
            self.app.wait_gone("dialog", "Begünstigte")
        self.recipient = db.one("SELECT * FROM beguenstigte WHERE name = ?", (RECIPIENT,))

    def book_expense(self):
        person, main, db = self.person, self.main, self.db
        account = self.account
        step("book an expense on the card %s; more than the balance is refused first" % EXPENSE_TYPE)
        dialog = main.open_dialog("efa", card_picture(0, CARD_BOOK), "'erfassen' of %s" % EXPENSE_TYPE, "Ausgabe")
        type_field = person.field(dialog, "Ausgabentyp:")
        check(type_field.text == EXPENSE_TYPE and not type_field.enabled,
              "the expense dialog's type field shows %r" % type_field.text)
        person.choose(dialog, "Zahlungsmittel:", BANK)
        person.fill(dialog, "Betrag:", "2000", leave_with_tab=True)
        person.press(dialog, "Speichern")
        person.answer_box(self.app, "Betrags-Überschreitung", "Betrag nicht verfügbar!", shot="expense-too-large")
        check(db.count("ausgaben") == 0, "an expense above the balance was written to the file")
        check(near(db.balance(account["id"]), 1500), "a refused expense changed the account balance")

        person.fill(dialog, "Betrag:", "42.50", leave_with_tab=True)
        if self.recipient is not None:
            person.choose(dialog, "Begünstigter:", RECIPIENT)
        else:
            # "Andere" with the name typed beside it, when no recipient could be declared.
            person.fill_beside(dialog, "Begünstigter:", RECIPIENT)
        person.fill_beside(dialog, "Datum/Bem:", REMARK)
        person.press(dialog, "Speichern")
        expense = wait_until(lambda: db.one("SELECT * FROM ausgaben"), 10, 0.1, "the expense in the file")
        check(near(expense["betrag"], 42.5), "the expense's amount on disk is %r" % expense["betrag"])
        check(expense["beguenstigter"] == RECIPIENT, "the expense's recipient on disk is %r" % expense["beguenstigter"])
        if self.recipient is not None:
            check(expense["beguenstigter_id"] == self.recipient["id"],
                  "the expense's recipient id on disk is %r" % expense["beguenstigter_id"])
        check(expense["zahlungsmittel"] == BANK and expense["zahlungsmittel_id"] == self.bank_instrument["id"],
              "the expense's payment instrument on disk is %r / %r"
              % (expense["zahlungsmittel"], expense["zahlungsmittel_id"]))
        check(expense["ausgaben_typ"] == EXPENSE_TYPE and expense["ausgaben_typ_id"] == self.expense_type["id"],
              "the expense's type on disk is %r / %r" % (expense["ausgaben_typ"], expense["ausgaben_typ_id"]))
        check(expense["bemerkung"] == REMARK, "the expense's remark on disk is %r" % expense["bemerkung"])
        balance = db.balance(account["id"])
        check(near(balance, 1457.5), "the bank balance after the expense is %r, expected 1457.50" % balance)
        movements = db.rows("SELECT * FROM konto_bewegungen WHERE ausgabe_id = ?", (expense["id"],))
        check(len(movements) == 1 and near(movements[0]["betrag"], 42.5)
              and movements[0]["konto_id_von"] == account["id"] and movements[0]["op_flag"] == 0
              and movements[0]["tx_typ"] == 21 and movements[0]["zahlungsmittel_id"] == self.bank_instrument["id"],
              "the expense's account movements on disk are %r" % movements)
        wait_node(dialog, "table cell", REMARK, timeout=10, what="the expense in the dialog's list")
        amount = person.field(dialog, "Betrag:").text
        check(amount == "0.0", "the amount field shows %r after booking" % amount)
        person.screenshot("expense-booked")
        person.press(dialog, "Schliessen")
        self.app.wait_gone("dialog", "Ausgabe")

        step("show the expense type's report")
        before = self.desktop.snapshot()
        main.click_picture("efa", card_picture(0, CARD_SHOW), "'anzeigen' of %s" % EXPENSE_TYPE)
        main.wait_redrawn("afa", AFA_TOP, before, "the expense type's report in the AFA")
        person.screenshot("expense-type-report")

    def book_transfer(self):
        person, main, db = self.person, self.main, self.db
        account, cash_account = self.account, self.cash_account
        step("open the accounts page again")
        self.open_page("Konten", ACCOUNTS_HEADER["PaymentSettings"])
        step("transfer from %s to %s" % (BANK, CASH))
        dialog = main.open_dialog("efa", card_picture(self.cards.index(BANK), CARD_BOOK),
                                  "'interne Transaktion' of %s" % BANK, "Interne Transaktion")
        source = person.field(dialog, "Belastungskonto:").text
        check(source == BANK, "the transfer dialog charges %r" % source)
        person.choose(dialog, "Überweisung an:", CASH)
        person.fill(dialog, "Betrag von:", "300", leave_with_tab=True)
        person.fill(dialog, "Bemerkung:", "Bargeldbezug")
        person.press(dialog, "Speichern")

        def both_legs():
            legs = db.rows("SELECT * FROM konto_bewegungen WHERE tx_typ = 22 ORDER BY op_flag")
            return legs if len(legs) == 2 else None
        out_leg, in_leg = wait_until(both_legs, 10, 0.1, "the transfer's two movements in the file")
        check(out_leg["tx_id"] and out_leg["tx_id"] == in_leg["tx_id"],
              "the transfer's movements carry tx_id %r and %r" % (out_leg["tx_id"], in_leg["tx_id"]))
        check(out_leg["op_flag"] == 0 and out_leg["konto_id_von"] == account["id"]
              and out_leg["konto_id_nach"] == cash_account["id"] and near(out_leg["betrag"], 300),
              "the outgoing movement on disk is %r" % out_leg)
        check(in_leg["op_flag"] == 1 and in_leg["konto_id_von"] == cash_account["id"]
              and in_leg["konto_id_nach"] == account["id"] and near(in_leg["betrag"], 300),
              "the incoming movement on disk is %r" % in_leg)
        check(out_leg["bemerkung"] == "An: %s - Bargeldbezug" % CASH,
              "the outgoing movement's remark is %r" % out_leg["bemerkung"])
        check(in_leg["bemerkung"] == "Von: %s - Bargeldbezug" % BANK,
              "the incoming movement's remark is %r" % in_leg["bemerkung"])
        bank_balance, cash_balance = db.balance(account["id"]), db.balance(cash_account["id"])
        check(near(bank_balance, 1157.5), "the bank balance after the transfer is %r, expected 1157.50" % bank_balance)
        check(near(cash_balance, 500), "the cash balance after the transfer is %r, expected 500.00" % cash_balance)
        wait_node(dialog, "table cell", "An: %s - Bargeldbezug" % CASH, timeout=10,
                  what="the transfer in the dialog's list")
        person.screenshot("transfer-booked")
        person.press(dialog, "Schliessen")
        self.app.wait_gone("dialog", "Interne Transaktion")

        step("show the accounts overview with the new balances")
        before = self.desktop.snapshot()
        main.click_picture("hfa", ACCOUNTS_HEADER["overview"], "'Konten + Zahlungsmittel anzeigen'")
        main.wait_redrawn("afa", AFA_TOP, before, "the accounts overview redrawn in the AFA")
        person.screenshot("accounts-overview")

    def income_page_and_help(self):
        person, main = self.person, self.main
        step("open the income page, go back to the main menu, show the help page")
        self.open_page("Eingang", INCOME_HEADER["IncomeSettings"])
        person.screenshot("income-page")
        main.click_picture("hfa", INCOME_HEADER["back"], "'zurück'")
        main.wait_picture("hfa", STATUS_INFO, "'Info' in the status box")
        wait_until(lambda: main.area_content("efa", (0, 0, 440, 200)) < 0.01, 10, 0.2, "the emptied input area")
        before = self.desktop.snapshot()
        main.click_picture("hfa", STATUS_INFO, "'Info'")
        main.wait_redrawn("afa", AFA_TOP, before, "the help page in the AFA")
        person.screenshot("help-page")

    def quit_and_check_file(self):
        db = self.db
        step("quit with the quit picture")
        self.main.click_picture("hfa", MAIN_MENU["quit"], "quit")
        code = self.wait_exit(self.process, 20, "the program")
        check(code == 0, "the program ended with code %s after quitting" % code)
        check(not os.path.exists(self.lock_path), "the lock file stays after the program ended")

        step("check the year file after the program ended")
        check(db.integrity() == "ok", "the year file is damaged")
        counts = {table: db.count(table) for table in
                  ("konten", "zahlungsmittel", "ausgaben_typen", "ausgaben", "konto_bewegungen")}
        check(counts == {"konten": 2, "zahlungsmittel": 2, "ausgaben_typen": 1, "ausgaben": 1,
                         "konto_bewegungen": 3}, "the file holds %r" % counts)
        bank, cash = db.balance(self.account["id"]), db.balance(self.cash_account["id"])
        check(near(bank, 1157.5) and near(cash, 500), "balances on disk after closing: %r, %r" % (bank, cash))

    def restart(self):
        step("start the program again on the same folder")
        self.open_main_window()
        self.open_page("Konten", ACCOUNTS_HEADER["PaymentSettings"])
        for index, card in enumerate(self.cards):
            self.main.wait_picture("efa", card_picture(index, CARD_SHOW), "'anzeigen' on the card %r" % card)
        wait_until(lambda: self.main.area_content("afa", AFA_TOP) > 0.02, 10, 0.2, "the overview in the AFA")
        self.person.screenshot("restarted-accounts-page")
        self.main.click_picture("hfa", MAIN_MENU["quit"], "quit")
        code = self.wait_exit(self.process, 20, "the restarted program")
        check(code == 0, "the restarted program ended with code %s" % code)

    def run(self):
        self.first_start()
        self.second_program_turned_away()
        self.declare_accounts()
        self.declare_expense_master_data()
        self.book_expense()
        self.book_transfer()
        self.income_page_and_help()
        self.quit_and_check_file()
        self.restart()


def report_stop(story, desktop, shots):
    """What the screen showed when the run stopped."""
    if story is not None and story.process is not None and story.process.poll() is not None:
        print("[e2e] the program had ended with code %s" % story.process.returncode)
    try:
        if story is not None and story.app is not None:
            print("[e2e] what the screen reader saw:")
            for window in story.app.windows():
                print("\n".join(window.dump()))
    except Exception:
        pass
    try:
        if desktop.display:
            path = desktop.screenshot(os.path.join(shots, "failure.png"))
            print("[e2e] screenshot of the failure: %s" % path)
    except Exception:
        pass


def main():
    if len(sys.argv) != 3:
        print(__doc__)
        return 2
    program = os.path.abspath(sys.argv[1])
    shots = os.path.abspath(sys.argv[2])
    if not os.access(program, os.X_OK):
        print("not a program: %s" % program)
        return 2
    os.makedirs(shots, exist_ok=True)
    for old in os.listdir(shots):
        if old.endswith(".png"):
            os.remove(os.path.join(shots, old))

    signal.signal(signal.SIGTERM, _stop_run)
    signal.signal(signal.SIGALRM, _stop_run)
    signal.alarm(RUN_LIMIT)

    work = tempfile.mkdtemp(prefix="zolvex-e2e-")
    os.mkdir(os.path.join(work, "Data"))
    desktop = Desktop(step)
    story = None
    completed = False
    try:
        desktop.start()
        screenreader.connect(desktop)
        story = Story(program, shots, desktop, work)
        story.run()
        completed = True
    except (Exception, Stopped) as error:
        FAULTS.append("the run stopped: %s" % error)
        print("[e2e] the run stopped:", flush=True)
        traceback.print_exc()
        report_stop(story, desktop, shots)
    finally:
        signal.alarm(0)
        desktop.stop()
        if not completed or FAULTS:
            for name in sorted(os.listdir(work)):
                if name.startswith("program-") and name.endswith(".log"):
                    with open(os.path.join(work, name), errors="replace") as log:
                        text = log.read().strip()
                    if text:
                        print("[e2e] output of the program (%s):\n%s" % (name, text))
        shutil.rmtree(work, ignore_errors=True)

    step("done in %.1f s" % elapsed())
    if FAULTS:
        print("[e2e] FAILED (%d):" % len(FAULTS))
        for fault in FAULTS:
            print("  - " + fault)
        return 1
    print("[e2e] PASSED")
    return 0


if __name__ == "__main__":
    sys.exit(main())
