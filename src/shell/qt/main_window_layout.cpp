// Where every control of the main window sits at the window's normal size, in
// twips of its container's client area, with its caption and font. The client
// area moves them when the window is larger or smaller.
#include "shell/qt/answer_box.h"
#include "shell/qt/answer_list.h"
#include "shell/qt/client_area.h"
#include "shell/qt/fonts.h"
#include "shell/qt/frame.h"
#include "shell/qt/learning_menu.h"
#include "shell/qt/main_window.h"
#include "shell/qt/menu_corner.h"
#include "shell/qt/twips.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>

namespace tessaly::qt {

namespace {

// Captions drawn with a CJK face need more height than the 12 px (180 twips) some
// of these controls were drawn for: such a widget grows about its vertical centre,
// and (captions only) to the right when its caption is wider than its box.
enum class Fit { None, Height, Caption };

void place(QWidget* w, QRect r, Fit fit = Fit::Caption) {
    const QSize hint = w->sizeHint();
    if (fit != Fit::None && hint.height() > r.height()) {
        const int grow = hint.height() - r.height();
        r.adjust(0, -grow / 2, 0, grow - grow / 2);
    }
    if (fit == Fit::Caption && hint.width() > r.width()) r.setWidth(hint.width());
    w->setGeometry(r);
}

Frame* frame(QWidget* parent, const char* caption, QRect r) {
    auto* box = new Frame(QString::fromUtf8(caption), parent);
    box->setGeometry(r);
    return box;
}

QLabel* label(QWidget* parent, const char* caption, QRect r) {
    auto* l = new QLabel(QString::fromUtf8(caption), parent);
    place(l, r);
    return l;
}

QString qs(const std::string& s) { return QString::fromStdString(s); }

}  // namespace

void MainWindow::buildLayout() {
    auto* client = client_ = new ClientArea(this);
    client->setFont(uiFont());
    client->resize(ClientArea::normalSize());
    setCentralWidget(client);
    menuBar()->setFont(uiFont());

    auto option = [this](QWidget* parent, OptionButton& model, QRect r) {
        auto* w = new QRadioButton(qs(model.caption), parent);
        place(w, r);
        bind(model, w);
    };
    auto check = [this](QWidget* parent, CheckBox& model, QRect r) {
        auto* w = new QCheckBox(qs(model.caption), parent);
        place(w, r);
        bind(model, w);
    };
    auto slider = [this](QWidget* parent, Slider& model, int tickInterval, QRect r) -> QSlider* {
        auto* w = new QSlider(Qt::Horizontal, parent);
        w->setRange(model.min, model.max);
        w->setSingleStep(model.smallChange);
        w->setPageStep(model.largeChange);
        w->setTickInterval(tickInterval);
        w->setTickPosition(QSlider::TicksBelow);
        w->setValue(model.value);
        place(w, r, Fit::Height);
        bind(model, w);
        return w;
    };

    list_ = new AnswerList(client);
    list_->setGeometry(twipsRect(120, 120, 6495, 7695));
    bind(form_.ListView1, list_);

    Frame* timing = frame(client, "计时", twipsRect(6720, 120, 2535, 690));
    label6_ = new QLabel(qs(form_.Label6.caption), timing);
    label6_->setFont(clockFont());
    place(label6_, twipsRect(360, 180, 1815, 375));
    bind(form_.Label6, label6_);

    Frame* settings = frame(client, "设置", twipsRect(6720, 840, 2535, 5655));

    Frame* noise = frame(settings, "噪音与干扰", twipsRect(120, 200, 2295, 1110));
    option(noise, form_.Option1, twipsRect(120, 200, 615, 255));
    option(noise, form_.Option2, twipsRect(840, 200, 615, 255));
    option(noise, form_.Option3, twipsRect(1560, 200, 495, 255));
    option(noise, form_.Option4, twipsRect(120, 480, 495, 255));
    option(noise, form_.Option5, twipsRect(840, 480, 495, 255));
    option(noise, form_.Option6, twipsRect(1560, 480, 495, 255));
    check(noise, form_.Check1, twipsRect(120, 780, 855, 255));
    check(noise, form_.Check2, twipsRect(840, 780, 735, 255));
    check(noise, form_.Check3, twipsRect(1560, 780, 710, 255));

    Frame* words = frame(settings, "选择解释法", twipsRect(120, 1320, 2295, 1095));
    option(words, form_.Option7[4], twipsRect(120, 240, 1815, 180));
    option(words, form_.Option7[0], twipsRect(120, 520, 735, 180));
    option(words, form_.Option7[1], twipsRect(1200, 520, 735, 180));
    option(words, form_.Option7[2], twipsRect(120, 780, 735, 255));
    option(words, form_.Option7[3], twipsRect(1200, 780, 735, 255));

    // A higher speed value is a longer reading interval: "fast" is the left end.
    Frame* speed = frame(settings, "报读速度", twipsRect(120, 2460, 2295, 615));
    label(speed, "快", twipsRect(120, 260, 255, 255));
    speed_ = slider(speed, form_.Slider1, 1, twipsRect(360, 240, 1575, 255));
    label(speed, "慢", twipsRect(2000, 260, 255, 255));

    Frame* tone = frame(settings, "音调", twipsRect(120, 3120, 2295, 615));
    label(tone, "低", twipsRect(120, 260, 255, 255));
    tone_ = slider(tone, form_.Slider2, 1000, twipsRect(360, 240, 1575, 255));
    label(tone, "高", twipsRect(2000, 260, 255, 255));

    Frame* variation = frame(settings, "随机变化", twipsRect(120, 3780, 2295, 495));
    check(variation, form_.Check4, twipsRect(100, 220, 855, 180));
    check(variation, form_.Check5, twipsRect(810, 220, 735, 180));
    check(variation, form_.Check6, twipsRect(1520, 220, 735, 180));

    Frame* mode = frame(settings, "报读方式", twipsRect(120, 4300, 2295, 495));
    option(mode, form_.Option8, twipsRect(240, 220, 855, 180));
    option(mode, form_.Option9, twipsRect(1320, 220, 855, 210));

    Frame* source = frame(settings, "呼号生成方式", twipsRect(120, 4800, 2295, 495));
    option(source, form_.Option10, twipsRect(240, 200, 855, 255));
    option(source, form_.Option11, twipsRect(1320, 200, 855, 255));

    label(settings, "请输入本次练习组数", twipsRect(120, 5295, 1695, 255));
    auto* text2 = new QLineEdit(qs(form_.Text2.text()), settings);
    // 60 twips above its classic place: grown to the CJK font's height, it would cross the frame's border.
    place(text2, twipsRect(1800, 5265, 495, 270), Fit::Height);
    bind(form_.Text2, text2);

    auto* command4 = new QPushButton(qs(form_.Command4.caption), client);
    command4->setToolTip(qs(form_.Command4.toolTip));
    place(command4, twipsRect(6960, 6600, 855, 345), Fit::None);
    bind(form_.Command4, command4);
    auto* command5 = new QPushButton(qs(form_.Command5.caption), client);
    command5->setToolTip(qs(form_.Command5.toolTip));
    place(command5, twipsRect(8160, 6600, 855, 345), Fit::None);
    bind(form_.Command5, command5);

    // The frame comes first so that the answer box lies on top of it.
    Frame* answer = frame(client, "输入呼号", twipsRect(6720, 6960, 2535, 855));
    text6_ = new AnswerBox(client);
    text6_->setFont(arialFont(18));
    text6_->setToolTip(qs(form_.Text6.toolTip));
    place(text6_, twipsRect(6840, 7200, 2295, 495), Fit::None);
    text6_->setEnabled(false);
    bind(form_.Text6, text6_);

    client->setList(list_);
    client->addColumnTop(timing);
    client->setSettings(settings);
    for (QWidget* part : {static_cast<QWidget*>(command4), static_cast<QWidget*>(command5), static_cast<QWidget*>(answer),
                          static_cast<QWidget*>(text6_)})
        client->addColumnBottom(part);

    quit_ = menuBar()->addAction(qs(form_.mquit.caption));
    bindMenu(form_.mquit, quit_);
    about_ = menuBar()->addAction(qs(form_.mabout.caption));
    bindMenu(form_.mabout, about_);
    learning_ = menuBar()->addMenu(QStringLiteral("学习(&L)"));
    connect(learning_, &QMenu::aboutToShow, this, [this] { refreshLearningMenu(); });
    refreshLearningMenu();

    corner_ = new MenuCorner(menuBar());
    menuBar()->setCornerWidget(corner_, Qt::TopRightCorner);
    corner_->fitTheBarsHeight(*menuBar());
}

}  // namespace tessaly::qt
