#pragma once
// What the sliders' values mean, for their tooltips: the reading's pace in seconds
// per character, and the voice's tone as the centre of a boost (an emphasis of
// that band, not the speaker's pitch).
#include <QString>

namespace tessaly::qt {

QString speedTip(int sliderValue);
QString toneTip(int sliderValue);

}  // namespace tessaly::qt
