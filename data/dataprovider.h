#pragma once

// The one data-access object (skeleton; filled in by the data-layer work).
class DataProvider
{
public:
    static DataProvider *instance();
    // Destroys the instance and its caches; the next instance() reloads.
    static void release();

private:
    DataProvider() = default;
    static DataProvider *s_instance;
};
