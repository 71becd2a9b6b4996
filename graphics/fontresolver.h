#pragma once

#include <QFont>
#include <QString>

// The program asks for its fonts by the names of the system it was first
// drawn on ("Arial Narrow", "Arial", "Kalinga", "Helvetica [Cronyx]").
// Where such a family is missing, the toolkit would fall back to its
// upright default face, about a third wider than Arial Narrow, so that row
// texts run into the next column. Every font the program makes by name
// comes from here instead: the installed family itself, else its installed
// metric twin (same widths), else a narrow sans; style and size stay.
namespace FontResolver {

// The installed family to use for the requested one.
QString family(const QString &requested);

// Like QFontDatabase::font(): the requested family in style ("italic" or
// anything else for upright) at pointSize, resolved as above.
QFont font(const QString &requested, const QString &style, int pointSize);

// Registers the five text sizes of the scenes (replacing earlier ones),
// index 0 the largest, 4 the narrow one of the report rows; each font is
// forced to the pixel size the layout was measured in.
void registerSceneFonts();
// The registered text size at index; plain Arial while none is registered.
QFont sceneFont(int index);
// Back to no registered sizes, when the main window goes away.
void forgetSceneFonts();

} // namespace FontResolver
