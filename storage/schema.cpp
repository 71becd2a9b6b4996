#include "schema.h"

void createTables() {}
void migrateDb13To14() {}
