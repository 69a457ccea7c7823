// Feedback at a glance: the marks of a marked list, the score and where a
// practice stands, what the sliders mean; the 学习 menu that gathers the learning
// features and turns the feedback off. The logic's texts stay as they are.
#include "form/setting_controls.h"
#include "practice/expected_copy.h"
#include "shell/qt/marked_cells.h"
#include "shell/qt/menu_corner.h"
#include "shell/qt/practice_status.h"
#include "window_fixture.h"

#include <QAction>
#include <QApplication>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QTest>

#include <gtest/gtest.h>

namespace tessaly::qt::testing {
namespace {

// A practice of three callsigns: the first copied, the second with one character
// written wrong, the third left without an answer; then stopped.
void practise(WindowFixture& f) {
    f.form().controls().Text2.setText("3");
    f.window().syncFromModel();
    QTest::mouseClick(f.button("Command4"), Qt::LeftButton);
    const auto lines = f.practiceLines();
    for (int row = 0; row < 2; ++row) {
        for (int ms = 0; ms < 60'000 && !f.form().reader().waitingForAnswer(); ms += 100) f.advance(100);
        std::string copy = ExpectedCopy(lines[static_cast<std::size_t>(row)]);
        if (row == 1) copy[1] = copy[1] == 'E' ? 'F' : 'E';
        QTest::keyClicks(f.answerBox(), QString::fromStdString(copy));
        QTest::keyClick(f.answerBox(), Qt::Key_Return);
    }
    QTest::mouseClick(f.button("Command5"), Qt::LeftButton);
}

// How many pixels of a cell are mostly of `colour`'s hue: red or green.
int pixelsLike(WindowFixture& f, int row, int column, bool red) {
    QTreeWidgetItem* item = f.list()->topLevelItem(row);
    QRect cell = f.list()->visualItemRect(item);
    cell.setLeft(f.list()->header()->sectionViewportPosition(column));
    cell.setWidth(f.list()->columnWidth(column));
    const QImage image = f.list()->viewport()->grab(cell).toImage();
    int n = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QColor c(image.pixel(x, y));
            const int main = red ? c.red() : c.green();
            const int other = red ? std::max(c.green(), c.blue()) : std::max(c.red(), c.blue());
            n += main > 90 && main - other > 70;
        }
    return n;
}

QStringList texts(const QMenu& menu) {
    QStringList list;
    for (const QAction* a : menu.actions()) list << (a->isSeparator() ? QStringLiteral("-") : a->text());
    return list;
}

QAction* item(const QMenu& menu, const QString& text) {
    for (QAction* a : menu.actions())
        if (a->text() == text) return a;
    return nullptr;
}

TEST(Feedback, AMarkedListShowsItsWrongCharactersAndMarksInColourButKeepsItsTexts) {
    WindowFixture f;
    f.window().show();
    practise(f);
    const auto& rows = f.form().controls().ListView1.rows;
    ASSERT_EQ(rows[0][3], "Y");
    ASSERT_EQ(rows[1][3], "N");
    for (int r = 0; r < 3; ++r)
        for (int c = 0; c < 4; ++c)
            EXPECT_EQ(f.list()->topLevelItem(r)->text(c).toStdString(), rows[static_cast<std::size_t>(r)][static_cast<std::size_t>(c)]);

    const AnswerMarks* wrong = f.list()->marksOf(2);
    ASSERT_TRUE(wrong);
    std::vector<bool> second(rows[1][1].size(), false);
    second[1] = true;
    EXPECT_EQ(wrong->wrongTyped, second);
    EXPECT_EQ(wrong->missed, second);

    f.list()->clearSelection();  // the colours as they show on the rows not selected
    EXPECT_EQ(pixelsLike(f, 0, 1, true), 0) << "a copied answer has nothing red";
    EXPECT_GT(pixelsLike(f, 1, 1, true), 0) << "the wrong character is red";
    EXPECT_GT(pixelsLike(f, 0, 3, false), 0) << "Y is green";
    EXPECT_GT(pixelsLike(f, 1, 3, true), 0) << "N is red";
    EXPECT_GT(pixelsLike(f, 2, 3, true), 0) << "N of a row left empty is red";

    // Off from the 学习 menu: as the list was drawn before.
    f.window().refreshLearningMenu();
    QAction* feedback = item(*f.window().learningMenu(), QStringLiteral("显示对错与进度"));
    ASSERT_TRUE(feedback && feedback->isCheckable() && feedback->isChecked());
    feedback->trigger();
    EXPECT_FALSE(f.window().feedbackShown());
    EXPECT_EQ(f.list()->marksOf(2), nullptr);
    EXPECT_EQ(pixelsLike(f, 1, 1, true), 0);
    EXPECT_EQ(pixelsLike(f, 1, 3, true), 0);
    EXPECT_EQ(pixelsLike(f, 0, 3, false), 0);
    EXPECT_TRUE(f.window().practiceStatus()->isHidden());
}

// An answer too long for its cell ends in an ellipsis; the marks of what shows stay.
TEST(Feedback, ALongAnswerEndsInAnEllipsis) {
    const QFont font = QApplication::font();
    const QString answer = QStringLiteral("BG1ABCDEFG");
    QTextCharFormat bold;
    bold.setFontWeight(QFont::Bold);
    QFont boldFont(font);
    boldFont.setBold(true);
    const int whole = QFontMetrics(boldFont).horizontalAdvance(answer);
    for (const int width : {whole + 4, whole / 2}) {
        QList<QTextLayout::FormatRange> ranges{{2, 8, bold}};
        const QString shown = elidedMarked(answer, ranges, font, width);
        if (width > whole) {
            EXPECT_EQ(shown, answer);
            EXPECT_EQ(ranges.front().length, 8);
            continue;
        }
        ASSERT_TRUE(shown.endsWith(QChar(0x2026))) << shown.toStdString();
        EXPECT_TRUE(answer.startsWith(shown.chopped(1)));
        EXPECT_LE(QFontMetrics(boldFont).horizontalAdvance(shown), width);
        ASSERT_EQ(ranges.size(), 1);
        EXPECT_EQ(ranges.front().start + ranges.front().length, shown.size() - 1) << "no mark on the ellipsis";
    }
}

TEST(Feedback, TheMenuBarSaysWhereThePracticeStandsThenTheScore) {
    WindowFixture f;
    f.window().show();
    QLabel* status = f.window().practiceStatus();
    EXPECT_TRUE(status->isHidden()) << "nothing before a practice";
    f.form().controls().Text2.setText("3");
    QTest::mouseClick(f.button("Command4"), Qt::LeftButton);
    EXPECT_EQ(status->text(), QStringLiteral("第 1/3 组 · 报读中"));
    for (int ms = 0; ms < 60'000 && !f.form().reader().waitingForAnswer(); ms += 100) f.advance(100);
    EXPECT_EQ(status->text(), QStringLiteral("第 1/3 组 · 请输入"));
    QTest::keyClicks(f.answerBox(), "x");
    QTest::keyClick(f.answerBox(), Qt::Key_Return);
    f.advance(1200);
    EXPECT_EQ(status->text(), QStringLiteral("第 2/3 组 · 报读中"));
    QTest::mouseClick(f.button("Command5"), Qt::LeftButton);
    EXPECT_EQ(status->text(), QStringLiteral("正确 0/3（0%）"));
    EXPECT_FALSE(status->isHidden());
    // The list's summary keeps its own text, for the pointer.
    f.session.input().hover("ListView1");
    f.window().syncFromModel();
    EXPECT_EQ(f.list()->toolTip(), QStringLiteral("本次练习呼号听抄正确共0个"));
}

TEST(Feedback, StatusTexts) {
    using S = PracticeStatus::Stage;
    using R = PracticeStatus::Run;
    const struct {
        PracticeStatus status;
        const char* text;
    } cases[] = {
        {{S::Idle, 0, 0, 0}, ""},
        {{S::Reading, 2, 5, 0}, "第 2/5 组 · 报读中"},
        {{S::WaitingForAnswer, 5, 5, 0}, "第 5/5 组 · 请输入"},
        {{S::ReadingOver, 5, 5, 0}, "报读完毕 · 请输入"},
        {{S::Marked, 0, 5, 3}, "正确 3/5（60%）"},
        {{S::Marked, 0, 5, 5}, "正确 5/5（100%）"},
        {{S::Marked, 0, 500, 499}, "正确 499/500（99%）"},  // 100% only for all
        {{S::Marked, 0, 500, 1}, "正确 1/500（1%）"},       // 0% only for none
        {{S::Reading, 3, 5, 0, true}, "第 3/5 组 · 本组答案已记下"},
        {{S::WaitingForAnswer, 3, 5, 0, true}, "第 3/5 组 · 本组答案已记下，报读等下一次回车"},
        {{S::Reading, 3, 20, 0, false, R::Running, 20}, "阈值测试 · 第 3/20 · +2 dB"},
        {{S::WaitingForAnswer, 4, 20, 0, true, R::Running, -35}, "阈值测试 · 第 4/20 · -3.5 dB"},
        {{S::Idle, 0, 0, 0, false, R::Armed}, "阈值测试 · 待开始"},
        {{S::Marked, 0, 5, 3, false, R::Armed}, "正确 3/5（60%） · 阈值测试 · 待开始"},
        {{S::Marked, 0, 7, 3, false, R::Unfinished}, "正确 3/7（43%） · 阈值测试没有做完"},
        {{S::Reading, 2, 0, 0, false, R::None, 0, 3, 5}, "呼叫堆积 · 第 2 轮 · 3 个电台在呼叫 · 已联络 5"},
    };
    for (const auto& c : cases) EXPECT_EQ(statusText(c.status), QString::fromUtf8(c.text)) << c.text;
}

TEST(Feedback, TheStatusSharesTheCornerWithTheNoSoundNotice) {
    WindowFixture f;
    f.window().show();
    QTest::mouseClick(f.button("Command4"), Qt::LeftButton);
    f.soundNow = {SoundState::Silent, 1};
    f.session.pollSound();
    QApplication::processEvents();
    QLabel* status = f.window().practiceStatus();
    QLabel* notice = f.window().noSoundNotice();
    ASSERT_TRUE(status->isVisible() && notice->isVisible());
    EXPECT_GE(status->width(), status->sizeHint().width());
    EXPECT_GE(notice->width(), notice->sizeHint().width());
    EXPECT_FALSE(status->geometry().intersects(notice->geometry()));
    EXPECT_EQ(f.window().menuBar()->height(), f.window().menuBar()->actionGeometry(f.window().quitAction()).height())
        << "the corner leaves the menu bar as high as its menus";
}

TEST(Feedback, SlidersSayWhatTheirValuesMean) {
    WindowFixture f;
    const struct {
        int value;
        const char* seconds;
    } speeds[] = {{0, "0.5"}, {1, "0.62"}, {5, "1.1"}, {10, "1.7"}};
    for (const auto& s : speeds) {
        QTest::keyClick(f.slider("Slider1"), Qt::Key_Home);
        for (int i = 0; i < s.value; ++i) QTest::keyClick(f.slider("Slider1"), Qt::Key_Right);
        EXPECT_TRUE(f.slider("Slider1")->toolTip().contains(QStringLiteral("每个字符 %1 秒").arg(s.seconds)))
            << f.slider("Slider1")->toolTip().toStdString();
    }
    QTest::keyClick(f.slider("Slider2"), Qt::Key_PageUp);
    const QString tone = f.slider("Slider2")->toolTip();
    EXPECT_TRUE(tone.contains(QStringLiteral("%1 Hz").arg(f.form().controls().Slider2.value.get()))) << tone.toStdString();
    EXPECT_TRUE(tone.contains(QStringLiteral("不改变说话人的音高"))) << "an emphasis, not the voice's pitch";
}

TEST(LearningMenu, GathersTheLearningFeaturesAndTheListMenuKeepsItsFour) {
    WindowFixture f;
    f.window().refreshLearningMenu();
    EXPECT_EQ(texts(*f.window().learningMenu()),
              (QStringList{"重听", "错误分析", "侧重弱项", "导出成绩…", "-", "保存学习记录", "学习进度", "删除学习记录…", "-",
                           "显示对错与进度", "-", "阈值测试", "呼叫堆积", "报读人声", "数字读法", "电离层路径", "接收机滤波"}));
    EXPECT_EQ(texts(*f.window().listMenu(1)), (QStringList{"重听", "错误分析", "侧重弱项", "导出成绩…"}));
    // Nothing marked yet: nothing to hear again or to save.
    EXPECT_FALSE(item(*f.window().learningMenu(), QStringLiteral("重听"))->isEnabled());
    EXPECT_FALSE(item(*f.window().learningMenu(), QStringLiteral("导出成绩…"))->isEnabled());

    practise(f);
    f.list()->setCurrentItem(f.list()->topLevelItem(1));
    emit f.window().learningMenu()->aboutToShow();  // as it opens
    QAction* replay = item(*f.window().learningMenu(), QStringLiteral("重听"));
    ASSERT_TRUE(replay->isEnabled()) << "for the list's current row";
    const int clips = f.operationsOf("clip", "create");
    replay->trigger();
    f.advance(20'000);
    EXPECT_EQ(f.operationsOf("clip", "create") - clips, static_cast<int>(f.form().review().lastRecord().rows[1].line.size()));

    QAction* drill = item(*f.window().learningMenu(), QStringLiteral("侧重弱项"));
    drill->trigger();
    EXPECT_TRUE(f.form().review().drill());
    emit f.window().learningMenu()->aboutToShow();
    EXPECT_TRUE(item(*f.window().learningMenu(), QStringLiteral("侧重弱项"))->isChecked()) << "the state, afresh";
    EXPECT_TRUE(item(*f.window().listMenu(0), QStringLiteral("侧重弱项"))->isChecked());
}

// The voice submenus set what the script's speaker and digits set, and show it afresh.
TEST(LearningMenu, SpeakerAndDigitsAreTheSettingsOfThatName) {
    WindowFixture f;
    f.window().refreshLearningMenu();
    const auto submenu = [&f](const QString& name) { return item(*f.window().learningMenu(), name)->menu(); };
    EXPECT_EQ(texts(*submenu(QStringLiteral("报读人声"))),
              (QStringList{"各词表原来的声音", "awb", "kal", "rms", "slt", "slt-hts", "随机"}));
    EXPECT_EQ(item(*submenu(QStringLiteral("报读人声")), "awb")->toolTip(), QStringLiteral("男声，苏格兰口音"));
    const struct {
        const char *menu, *item, *setting, *value;
    } cases[] = {
        {"报读人声", "slt-hts", "speaker", "slt-hts"},
        {"报读人声", "随机", "speaker", "varied"},
        {"数字读法", "数字代码 NADAZERO…", "digits", "figures"},
        {"报读人声", "各词表原来的声音", "speaker", "default"},
        {"数字读法", "按解释词读", "digits", "set"},
    };
    for (const auto& c : cases) {
        item(*submenu(QString::fromUtf8(c.menu)), QString::fromUtf8(c.item))->trigger();
        const SettingsFields fields = settingsFields(settingsOf(f.form()));
        EXPECT_NE(std::find(fields.begin(), fields.end(), std::pair<std::string, std::string>(c.setting, c.value)), fields.end())
            << c.item;
        emit f.window().learningMenu()->aboutToShow();
        EXPECT_TRUE(item(*submenu(QString::fromUtf8(c.menu)), QString::fromUtf8(c.item))->isChecked()) << c.item;
    }
}

}  // namespace
}  // namespace tessaly::qt::testing
