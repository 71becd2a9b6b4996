#include "dataprovider.h"

DataProvider *DataProvider::s_instance = nullptr;

DataProvider *DataProvider::instance()
{
    if (!s_instance)
        s_instance = new DataProvider;
    return s_instance;
}

void DataProvider::release()
{
    delete s_instance;
    s_instance = nullptr;
}
