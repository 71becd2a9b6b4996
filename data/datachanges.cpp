#include "datachanges.h"

DataChanges *DataChanges::instance()
{
    static DataChanges changes;
    return &changes;
}
