#include "headless/help_zh.h"

#include "base/speakers.h"
#include "sound/path_presets.h"

#include <cstdlib>
#include <utility>

namespace tessaly {
namespace {

struct CommandZh {
    std::string_view command;
    const char* purpose;
    std::initializer_list<const char*> arguments;
    std::initializer_list<std::pair<std::string_view, const char*>> options;
};

// An option's help goes on under its first line, as the English does.
const CommandZh kCommands[] = {
    {"script",
     "不开窗口，在虚拟时间里按脚本执行练习窗口的用户操作，并把发生的事件以 JSON Lines 打印出来。",
     {"FILE        脚本文件，每行一个操作（'-' 表示从标准输入读取）"},
     {{"--seed", "固定随机源，让同一次运行完全重现"},
      {"--trace", "同时打印每一个声音操作"},
      {"--wav", "把听者会听到的声音写入文件（48000 Hz，16 位）"},
      {"--live", "在声音设备上实时运行"},
      {"--interactive", "每收到一个操作就执行（来自 '-'，即标准输入）并立即打印其事件；\n"
                        "                 出错的行成为一个 \"error\" 事件，运行继续"},
      {"--voices", "用这个声音包里的录音代替内置语音"},
      {"--record", "像窗口一样使用学习记录：窗口上次打开了它就打开，侧重弱项照旧\n"
                   "                 （不加此选项时，只有脚本里的 'record on' 才使用学习记录）"}}},
    {"render",
     "用窗口的报读和声音把一整组练习渲染成 WAV 文件和答案；每个选项的默认值都与窗口相同。",
     {},
     {{"--out", "练习写到哪里（必需）"},
      {"--key", "写出答案：每行一个序号和呼号"},
      {"--groups", "练习的呼号数，1..500（20）"},
      {"--source", "随机生成的呼号，或呼号库里的真实呼号（random）"},
      {"--words", "字母的解释词（exam）"},
      {"--speed", "0 最快，10 最慢（5：每个字符 1.1 秒）"},
      {"--tone", "语音音调提升的中心频率，Hz（2500）"},
      {"--noise", "背景噪声强度（off）"},
      {"--qrn", "天电干扰"},
      {"--qrm", "干扰电台"},
      {"--qsb", "衰落"},
      {"--vary-noise", "噪声随机变化"},
      {"--vary-speed", "速度随机变化"},
      {"--vary-tone", "音调随机变化"},
      {"--mode", "每个呼号后停顿，或连续报读（grouped）"},
      {"--answer-pause", "grouped：每个呼号后留给作答的停顿（4）"},
      {"--snr", "按这个信噪比放背景噪声，代替噪声强度，-60..60"},
      {"--passband", "经过 SSB 接收机 300-2700 Hz 的通带收听"},
      {"--agc", "接收机的自动增益控制（off）"},
      {"--digits", "数字按词表读，或用数字代码词读（set）"},
      {"--pileup", "N 个电台（2..6）同时呼叫的呼叫堆积，共 --groups 轮；没有人回答"},
      {"--pileup-stream", "呼叫堆积的电台连续不断地来：共 --groups 个"},
      {"--voices", "用这个声音包里的录音代替内置语音"},
      {"--seed", "每次生成同样的练习"}}},
    {"voices",
     "检查一个声音包（以录音编号命名的 WAV 文件：001.wav .. 326.wav、00.wav .. 19.wav、\n"
     "PORTABLE.wav、MOBILE.wav、QRP.wav），不开始练习。",
     {"DIR         声音包所在的文件夹"},
     {}},
    {"stats",
     "按从早到晚显示每次练习的成绩、历次阈值测试的阈值，以及最常抄错的字符和它们的复习盒。\n"
     "不给文件时读取学习记录（$XDG_DATA_HOME/tessaly/record.csv，在“保存学习记录”打开时保存）；\n"
     "给了文件时读取这些成绩文件（窗口里的“导出成绩”，脚本里的 export）。",
     {"FILE.csv    成绩文件；不给：学习记录"},
     {{"--json", "把结果打印成一个 JSON 对象，代替文字"},
      {"--png", "同时把结果画成一张图"}}},
};

const CommandZh* find(std::string_view command) {
    for (const CommandZh& c : kCommands)
        if (c.command == command) return &c;
    return nullptr;
}

}  // namespace

bool chineseLocale() {
    for (const char* name : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        const char* value = std::getenv(name);
        if (value && *value) return std::string_view(value).substr(0, 2) == "zh";
    }
    return false;
}

std::string purposeZh(std::string_view command) {
    const CommandZh* c = find(command);
    return c ? c->purpose : "";
}

std::string argumentZh(std::string_view command, std::size_t index) {
    const CommandZh* c = find(command);
    return c && index < c->arguments.size() ? c->arguments.begin()[index] : "";
}

std::string optionHelpZh(std::string_view command, std::string_view option) {
    if (command == "render" && option == "--path") return "两个电台都经过的电离层路径：" + pathPresetNames() + "（off）";
    if (command == "render" && option == "--speaker")
        return "谁来报读：内置的一位报读者（" + speakerNames() + "），或 varied：每个呼号换一位（各词表自己的）";
    const CommandZh* c = find(command);
    if (!c) return "";
    for (const auto& [name, text] : c->options)
        if (name == option) return text;
    return "";
}

const char* const kProgramHelp =
    "Tessaly: practise copying callsigns read aloud, as in a licence exam.\n"
    "\n"
    "usage:\n"
    "  tessaly [--voices DIR]  open the practice window (with the clips of a voice pack)\n"
    "  tessaly script FILE     run a script of user actions without a window, in virtual\n"
    "                          time, printing what happens as JSON Lines\n"
    "  tessaly render ...      render a whole practice to a WAV file and its answer key\n"
    "  tessaly voices DIR      check a voice pack: which clips it replaces, their length and level\n"
    "  tessaly stats [FILE.csv] progress: copy rates, thresholds, the characters missed most,\n"
    "                          from the learning record or exported results\n"
    "  tessaly COMMAND --help  the options of a command\n"
    "  tessaly --help          this text\n";

const char* const kProgramHelpZh =
    "Tessaly：练习听抄语音报读的呼号，像操作证书考试那样。\n"
    "\n"
    "用法：\n"
    "  tessaly [--voices DIR]  打开练习窗口（可用声音包里的录音）\n"
    "  tessaly script FILE     不开窗口，在虚拟时间里执行用户操作的脚本，\n"
    "                          把发生的事件以 JSON Lines 打印出来\n"
    "  tessaly render ...      把一整组练习渲染成 WAV 文件和答案\n"
    "  tessaly voices DIR      检查声音包：它替换了哪些录音，各自的长度和音量\n"
    "  tessaly stats [FILE.csv] 进度：正确率、阈值、最常抄错的字符，\n"
    "                          来自学习记录或导出的成绩\n"
    "  tessaly COMMAND --help  某个命令的选项\n"
    "  tessaly --help          本说明\n";

}  // namespace tessaly
