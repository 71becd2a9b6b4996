#pragma once

// Creates the full schema and the two settings rows in a fresh year file.
void createTables();

// Upgrades a file of schema version 1.3 to 1.4.
void migrateDb13To14();
