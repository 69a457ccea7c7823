#include "shell/qt/setting_tips.h"

#include "practice/reading_pace.h"
#include "sound/voice_tone.h"

namespace tessaly::qt {

namespace {
// Seconds with no more decimals than they need: 0.62, 1.1, 0.5.
QString seconds(int ms) {
    QString text = QString::number(ms / 1000.0, 'f', 2);
    while (text.endsWith(QLatin1Char('0'))) text.chop(1);
    if (text.endsWith(QLatin1Char('.'))) text.chop(1);
    return text;
}
}  // namespace

QString speedTip(int value) {
    return QStringLiteral("每个字符 %1 秒（向左更快，向右更慢）").arg(seconds(readerIntervalMs(value)));
}

QString toneTip(int value) {
    return QStringLiteral("加重 %1 Hz 附近的声音 %2 dB：只突出这一频段，不改变说话人的音高")
        .arg(value)
        .arg(static_cast<int>(kToneBoostGainDb));
}

}  // namespace tessaly::qt
