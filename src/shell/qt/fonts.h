#pragma once
// The window's fonts, each with fallbacks for systems that lack the named face:
// Arial -> Liberation Sans (same metrics) -> DejaVu Sans; the Chinese faces ->
// Noto CJK, which Debian ships.
#include <QFont>

namespace tessaly::qt {

QFont uiFont();                     // captions of the window: 9 pt
QFont arialFont(double points);     // the answer list and the answer box
QFont clockFont();                  // the elapsed time: 18 pt bold
QFont songFont(double points, bool bold = false);  // the About box
QFont kaiFont(double points);       // the loader's notice

}  // namespace tessaly::qt
