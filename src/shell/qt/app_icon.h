#pragma once
// The program's icon, drawn from its SVG at whatever size is asked for.
#include <QIcon>
#include <QPixmap>

namespace tessaly::qt {

QIcon appIcon();
// The icon at exactly width x height logical pixels, sharp on high-dpi screens.
QPixmap appPicture(int width, int height, qreal devicePixelRatio);

}  // namespace tessaly::qt
