#pragma once

// Application-wide settings object (skeleton; filled in by storage work).
class ColorSetting
{
public:
    static ColorSetting *instance();
    static void release();

private:
    ColorSetting() = default;
    static ColorSetting *s_instance;
};
