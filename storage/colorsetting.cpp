#include "colorsetting.h"

ColorSetting *ColorSetting::s_instance = nullptr;

ColorSetting *ColorSetting::instance()
{
    if (!s_instance)
        s_instance = new ColorSetting;
    return s_instance;
}

void ColorSetting::release()
{
    delete s_instance;
    s_instance = nullptr;
}
