#include "shell/qt/learning_menu.h"

#include "shell/qt/main_window.h"

#include "base/speakers.h"
#include "sound/path_presets.h"

#include <QAction>
#include <QActionGroup>
#include <QMenu>

#include <string>
#include <string_view>
#include <utility>

namespace tessaly::qt {

namespace {

struct LearningItem {
    bool inAnswerList;  // also in the answer list's context menu
    void (*add)(QMenu& menu, MainWindow& window, int row);
};

// 重听: the row's callsign once more, with the current word set, speed and tone.
void addReplay(QMenu& menu, MainWindow& w, int row) {
    QAction* replay = menu.addAction(QStringLiteral("重听"));
    replay->setEnabled(w.form().canReplay(row));
    QObject::connect(replay, &QAction::triggered, &w, [&w, row] { w.act([row](UserInput& in) { in.replay(row); }); });
}

// 错误分析: every marked practice since the program started, character by character.
void addAnalysis(QMenu& menu, MainWindow& w, int) {
    QObject::connect(menu.addAction(QStringLiteral("错误分析")), &QAction::triggered, &w, [&w] { w.showAnalysis(); });
}

// 侧重弱项: the next practices favour the characters most often missed.
void addDrill(QMenu& menu, MainWindow& w, int) {
    QAction* drill = menu.addAction(QStringLiteral("侧重弱项"));
    drill->setCheckable(true);
    drill->setChecked(w.form().review().drill());
    drill->setToolTip(QStringLiteral("下几次练习中，至少一半呼号含有最常听错的字符"));
    QObject::connect(drill, &QAction::toggled, &w, [&w](bool on) { w.act([on](UserInput& in) { in.setDrill(on); }); });
}

// 导出成绩…: the marked list as a CSV file, where the user chooses.
void addExport(QMenu& menu, MainWindow& w, int) {
    QAction* save = menu.addAction(QStringLiteral("导出成绩…"));
    save->setEnabled(!w.form().practice().practising() && w.form().review().canExport());
    QObject::connect(save, &QAction::triggered, &w, [&w] { w.exportResults(); });
}

// 保存学习记录: every marked practice kept in the learning record, and the window
// starting next time as this practice left it.
void addKeepRecord(QMenu& menu, MainWindow& w, int) {
    menu.addSeparator();
    QAction* keep = menu.addAction(QStringLiteral("保存学习记录"));
    keep->setCheckable(true);
    keep->setChecked(w.form().review().recording());
    keep->setToolTip(QStringLiteral("每次判过分的练习都记入学习记录；下次启动时沿用上次练习的设置和侧重弱项"));
    QObject::connect(keep, &QAction::toggled, &w, [&w](bool on) { w.act([on](UserInput& in) { in.setRecord(on); }); });
}

// 学习进度: the record over days, as charts and a table.
void addProgress(QMenu& menu, MainWindow& w, int) {
    QAction* progress = menu.addAction(QStringLiteral("学习进度"));
    progress->setToolTip(QStringLiteral("每天的正确率、每次的阈值、练习的天数和时间，以及每个字符最近一周的错误率"));
    QObject::connect(progress, &QAction::triggered, &w, [&w] { w.showProgress(); });
}

// 删除学习记录…: the whole record deleted, after a question.
void addDeleteRecord(QMenu& menu, MainWindow& w, int) {
    QAction* remove = menu.addAction(QStringLiteral("删除学习记录…"));
    remove->setToolTip(QStringLiteral("删除保存的全部学习记录（先询问）"));
    QObject::connect(remove, &QAction::triggered, &w, [&w] { w.act([](UserInput& in) { in.deleteRecord(); }); });
}

// 显示对错与进度: the marks in the list, the score and the practice's progress.
void addFeedback(QMenu& menu, MainWindow& w, int) {
    menu.addSeparator();
    QAction* feedback = menu.addAction(QStringLiteral("显示对错与进度"));
    feedback->setCheckable(true);
    feedback->setChecked(w.feedbackShown());
    feedback->setToolTip(QStringLiteral("答案中写错的字符、彩色的 Y 和 N、成绩和练习进行到哪里"));
    QObject::connect(feedback, &QAction::toggled, &w, [&w](bool on) { w.setFeedbackShown(on); });
}

// 阈值测试: the next Start measures the SNR at which half the callsigns are copied.
void addThreshold(QMenu& menu, MainWindow& w, int) {
    menu.addSeparator();
    QAction* run = menu.addAction(QStringLiteral("阈值测试"));
    run->setCheckable(true);
    run->setChecked(w.form().threshold().armed());
    run->setEnabled(!w.form().practice().practising());
    run->setToolTip(QStringLiteral("下一次开始时：噪音随答对答错升降，测出能听对一半呼号的信噪比（dB）"));
    QObject::connect(run, &QAction::toggled, &w, [&w](bool on) { w.act([on](UserInput& in) { in.setThreshold(on); }); });
}

// 电离层路径: both stations heard over a fading ionospheric path, one line each on how it sounds.
void addPath(QMenu& menu, MainWindow& w, int) {
    QMenu* paths = menu.addMenu(QStringLiteral("电离层路径"));
    paths->setToolTipsVisible(true);
    auto* group = new QActionGroup(paths);
    for (const PathPreset& preset : pathPresets()) {
        const QString name = QString::fromUtf8(preset.name);
        QAction* item = paths->addAction(QString::fromUtf8(preset.nameZh));
        item->setCheckable(true);
        item->setChecked(w.form().band().path() == preset.name);
        item->setToolTip(QString::fromUtf8(preset.descriptionZh));
        item->setStatusTip(item->toolTip());
        group->addAction(item);
        QObject::connect(item, &QAction::triggered, &w, [&w, name] {
            w.act([name](UserInput& in) { in.setPath(name.toStdString()); });
        });
    }
}

// 接收机滤波: what the listener's SSB receiver does: its passband, and its AGC.
void addReceiver(QMenu& menu, MainWindow& w, int) {
    QMenu* receiver = menu.addMenu(QStringLiteral("接收机滤波"));
    receiver->setToolTipsVisible(true);
    QAction* passband = receiver->addAction(QStringLiteral("SSB 通带 300–2700 Hz"));
    passband->setCheckable(true);
    passband->setChecked(w.form().band().passband());
    passband->setToolTip(QStringLiteral("像短波接收机一样只留下 300 到 2700 Hz：低沉的隆隆声和尖锐的嘶声都滤掉"));
    QObject::connect(passband, &QAction::toggled, &w, [&w](bool on) { w.act([on](UserInput& in) { in.setPassband(on); }); });
    receiver->addSeparator();
    auto* group = new QActionGroup(receiver);
    const std::pair<const char*, QString> speeds[] = {
        {"off", QStringLiteral("AGC 关")},
        {"fast", QStringLiteral("AGC 快（约 0.1 秒回升）")},
        {"medium", QStringLiteral("AGC 中（约 0.25 秒回升）")},
        {"slow", QStringLiteral("AGC 慢（约 0.5 秒回升）")},
    };
    for (const auto& [speed, label] : speeds) {
        QAction* item = receiver->addAction(label);
        item->setCheckable(true);
        item->setChecked(w.form().band().agc() == speed);
        item->setToolTip(QStringLiteral("自动增益：信号衰落时把声音拉回来；字与字之间的嘶声也随之升高约 11–20 dB"));
        group->addAction(item);
        QObject::connect(item, &QAction::triggered, &w,
                         [&w, speed = std::string(speed)] { w.act([speed](UserInput& in) { in.setAgc(speed); }); });
    }
}

// 呼叫堆积: from the next Start on, several stations call at once; each one copied
// and confirmed is worked. Its station count, or 不用; and whether callers keep coming.
void addPileup(QMenu& menu, MainWindow& w, int) {
    QMenu* pileup = menu.addMenu(QStringLiteral("呼叫堆积"));
    pileup->setToolTipsVisible(true);
    pileup->setEnabled(!w.form().practice().practising());
    auto* group = new QActionGroup(pileup);
    for (int stations = 0; stations <= Pileup::kMostStations; stations += stations == 0 ? Pileup::kFewestStations : 1) {
        QAction* item = pileup->addAction(stations == 0 ? QStringLiteral("不用") : QStringLiteral("%1 个电台同时呼叫").arg(stations));
        item->setCheckable(true);
        item->setChecked(w.form().pileup().stations() == stations);
        item->setToolTip(stations == 0 ? QStringLiteral("一次只报读一个呼号")
                                       : QStringLiteral("几个电台以不同的强弱、先后同时呼叫；抄对一个完整呼号按回车即联络上，"
                                                        "差一两个字符算抄错，以“?”结尾（如“4K?”）只让含有这几个字符的电台再呼叫"));
        group->addAction(item);
        QObject::connect(item, &QAction::triggered, &w,
                         [&w, stations] { w.act([stations](UserInput& in) { in.setPileup(stations); }); });
    }
    pileup->addSeparator();
    QAction* stream = pileup->addAction(QStringLiteral("不断有新电台加入"));
    stream->setCheckable(true);
    stream->setChecked(w.form().pileup().stream());
    stream->setToolTip(QStringLiteral("联络上一个，就有一个新电台加入，直到练习组数个电台都来过；不选则每轮一组固定的电台"));
    QObject::connect(stream, &QAction::toggled, &w, [&w](bool on) { w.act([on](UserInput& in) { in.setPileupStream(on); }); });
}

// 报读人声: whose voice reads: each word set's own, one built-in speaker, or a
// different one for each callsign (随机), as stations on the air are.
void addSpeaker(QMenu& menu, MainWindow& w, int) {
    QMenu* speakers = menu.addMenu(QStringLiteral("报读人声"));
    speakers->setToolTipsVisible(true);
    auto* group = new QActionGroup(speakers);
    const auto add = [&](const std::string& choice, const QString& label, const QString& tip) {
        QAction* item = speakers->addAction(label);
        item->setCheckable(true);
        item->setChecked(w.form().reader().speakerChoice() == choice);
        item->setToolTip(tip);
        item->setStatusTip(tip);
        group->addAction(item);
        QObject::connect(item, &QAction::triggered, &w, [&w, choice] { w.act([choice](UserInput& in) { in.setSpeaker(choice); }); });
    };
    add("default", QStringLiteral("各词表原来的声音"), QStringLiteral("每套解释词用它自己的录音"));
    for (const Speaker& speaker : builtInSpeakers())
        add(std::string(speaker.name), QString::fromUtf8(speaker.name.data(), static_cast<qsizetype>(speaker.name.size())),
            QString::fromUtf8(speaker.description.data(), static_cast<qsizetype>(speaker.description.size())));
    add("varied", QStringLiteral("随机"), QStringLiteral("每个呼号换一个报读人，像空中各不相同的电台"));
}

// 数字读法: the digits as the word set says them, or as the figure code words.
void addDigits(QMenu& menu, MainWindow& w, int) {
    QMenu* digits = menu.addMenu(QStringLiteral("数字读法"));
    digits->setToolTipsVisible(true);
    auto* group = new QActionGroup(digits);
    const std::pair<bool, std::pair<QString, QString>> choices[] = {
        {false,
         {QStringLiteral("按解释词读"), QStringLiteral("三级考试标准发音读作 ZE-RO、WUN、TOO、TREE、FOW-ER、FIFE、SIX、SEV-EN、AIT、"
                                                  "NIN-ER（航空读法），其他解释词读作 zero、one、two…")}},
        {true,
         {QStringLiteral("数字代码 NADAZERO…"),
          QStringLiteral("无线电规则的数字代码：NADAZERO、UNAONE、BISSOTWO、TERRATHREE、KARTEFOUR、PANTAFIVE、SOXISIX、"
                         "SETTESEVEN、OKTOEIGHT、NOVENINE，每个音节同样重读")}},
    };
    for (const auto& [figures, texts] : choices) {
        QAction* item = digits->addAction(texts.first);
        item->setCheckable(true);
        item->setChecked(w.form().reader().figures() == figures);
        item->setToolTip(texts.second);
        item->setStatusTip(texts.second);
        group->addAction(item);
        QObject::connect(item, &QAction::triggered, &w, [&w, on = figures] { w.act([on](UserInput& in) { in.setFigures(on); }); });
    }
}

// The items, in the menu's order.
constexpr LearningItem kLearningItems[] = {
    {true, addReplay},     {true, addAnalysis},   {true, addDrill},          {true, addExport},
    {false, addKeepRecord}, {false, addProgress}, {false, addDeleteRecord},
    {false, addFeedback},  {false, addThreshold}, {false, addPileup},        {false, addSpeaker},
    {false, addDigits},    {false, addPath},      {false, addReceiver},
};

}  // namespace

void fillLearningMenu(QMenu& menu, MainWindow& window, LearningMenuPlace place, int row) {
    menu.clear();
    menu.setToolTipsVisible(true);
    for (const LearningItem& item : kLearningItems)
        if (place == LearningMenuPlace::MenuBar || item.inAnswerList) item.add(menu, window, row);
}

}  // namespace tessaly::qt
