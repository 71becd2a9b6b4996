#pragma once

// Creates the full schema and the two settings rows in a freshly created
// year file (first row of every table gets id 1). Statement results are
// ignored.
void createTables();

class QString;

// Upgrades a file of schema version 1.3 (no settings table, movements
// without income source, income sources without VAT rate) to 1.4 in one
// transaction. Every booking and every income source of the user is kept;
// old movements name no income source (0), old sources get the VAT rate 0,
// and an empty source list gets the three standard sources. The file is
// stamped with the year of its last booking. On failure nothing is changed
// and err holds the reason.
bool migrateDb13To14(QString &err);
