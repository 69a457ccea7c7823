#include "shell/qt/fonts.h"

#include <QStringList>

namespace tessaly::qt {

namespace {
QFont withFamilies(const QStringList& families, double points, bool bold = false) {
    QFont font;
    font.setFamilies(families);
    font.setPointSizeF(points);
    font.setBold(bold);
    return font;
}

const QStringList kChineseSans{"Microsoft YaHei", "Noto Sans CJK SC", "WenQuanYi Micro Hei", "Droid Sans Fallback"};
}  // namespace

QFont uiFont() {
    // A sans face reads better than a Song face at 9 pt (12 px) on screen.
    return withFamilies(QStringList{"SimSun", "宋体"} + kChineseSans, 9);
}

QFont arialFont(double points) {
    return withFamilies(QStringList{"Arial", "Liberation Sans", "DejaVu Sans"} + kChineseSans, points);
}

QFont clockFont() {
    // DejaVu Sans shares the wide, open shapes of the named face.
    return withFamilies({"MS Reference Sans Serif", "Verdana", "DejaVu Sans", "Liberation Sans"}, 18, true);
}

QFont songFont(double points, bool bold) {
    return withFamilies({"SimSun", "宋体", "NSimSun", "Noto Serif CJK SC", "AR PL UMing CN", "Noto Sans CJK SC"},
                        points, bold);
}

QFont kaiFont(double points) {
    return withFamilies({"KaiTi", "楷体_GB2312", "楷体", "AR PL UKai CN", "Noto Serif CJK SC", "Noto Sans CJK SC"},
                        points);
}

}  // namespace tessaly::qt
