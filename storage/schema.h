#pragma once

// Creates the full schema and the two settings rows in a freshly created
// year file (first row of every table gets id 1). Statement results are
// ignored.
void createTables();

// Upgrades a file of schema version 1.3 to 1.4: adds the income-source
// column of the movements (0 for all), the VAT column of the income sources,
// replaces all income sources by the three standard ones, and creates the
// settings table with the transition rows. Nothing in the program runs it on
// its own; it must only be run on purpose on a 1.3 file.
void migrateDb13To14();
