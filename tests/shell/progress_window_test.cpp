// The learning record in the window: the settings restored at start, the 学习进度
// window with and without a record, the review boxes in the analysis, and the
// record deleted after a question.
#include "learning/learning_record.h"
#include "learning/learning_settings.h"
#include "learning/review_boxes.h"
#include "practice/expected_copy.h"
#include "shell/qt/analysis_window.h"
#include "shell/qt/progress_window.h"
#include "support/record_folders.h"
#include "window_fixture.h"

#include <QAction>
#include <QApplication>
#include <QChartView>
#include <QDateTime>
#include <QLabel>
#include <QLineSeries>
#include <QMenu>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <filesystem>

namespace tessaly::qt::testing {
namespace {

using tessaly::testing::RecordFolders;

QAction* item(QMenu& menu, const QString& text) {
    emit menu.aboutToShow();
    for (QAction* a : menu.actions())
        if (a->text() == text) return a;
    return nullptr;
}

QAction* learningItem(WindowFixture& f, const QString& text) {
    f.window().refreshLearningMenu();
    return item(*f.window().learningMenu(), text);
}

// A practice of two callsigns, both copied right.
void practise(WindowFixture& f) {
    f.form().controls().Text2.setText("2");
    f.window().syncFromModel();
    QTest::mouseClick(f.button("Command4"), Qt::LeftButton);
    for (const std::string& line : f.practiceLines()) {
        for (int ms = 0; ms < 60'000 && !f.form().reader().waitingForAnswer(); ms += 100) f.advance(100);
        QTest::keyClicks(f.answerBox(), QString::fromStdString(ExpectedCopy(line)));
        QTest::keyClick(f.answerBox(), Qt::Key_Return);
    }
}

void expectFullWidthPunctuation(const QString& text) {
    for (const QChar halfWidth : {QLatin1Char(','), QLatin1Char(':'), QLatin1Char(';'), QLatin1Char('('),
                                  QLatin1Char(')'), QLatin1Char('?')})
        EXPECT_FALSE(text.contains(halfWidth)) << text.toStdString();
}

// Three weeks of practices, written as the record keeps them: one a day on most days
// (none today), copying better as the days go; a threshold run every week; V missed
// in the week before last, K missed in the last week.
void writeRecord(const std::string& path, const std::string& today, int& days, int& thresholds) {
    const LearningRecord record(path);
    days = thresholds = 0;
    for (int day = -20; day <= -1; ++day) {
        if (day % 5 == 0) continue;  // a day off now and then
        PracticeRecord p{addDays(today, day), "08:30:00", "exam", "5", "S2", {"qrn"}, {}};
        const char* lines[] = {"VA1AB", "BK2KX", "JA3XY", "BA4MN"};
        for (int n = 0; n < 4; ++n) {
            std::string answer = lines[n];
            if (n == 0 && day >= -14 && day <= -8) answer = "BA1AB";  // V written as B
            if (n == 1 && day >= -7) answer = "BX2XX";                 // K written as X
            p.rows.push_back({n + 1, answer, lines[n], answer == lines[n], lines[n]});
        }
        p.seconds = 300;
        if (day % 7 == 0) {
            p.thresholdDb = -day / 7.0 - 4;  // lower, better, week by week
            p.thresholdSe = 0.8;
            p.noise = "snr";
            ++thresholds;
        }
        std::string error;
        ASSERT_TRUE(record.append(p, error)) << error;
        ++days;
    }
}

TEST(ProgressWindow, WithTheRecordOffItSaysInOneLineHowToTurnItOn) {
    RecordFolders folders;
    WindowFixture f;
    QAction* progress = learningItem(f, QStringLiteral("学习进度"));
    ASSERT_NE(progress, nullptr);
    progress->trigger();
    ProgressWindow* w = f.window().progressWindow();
    ASSERT_TRUE(w && w->isVisible());
    EXPECT_EQ(w->windowTitle(), QStringLiteral("学习进度"));
    EXPECT_EQ(w->summary()->text(), recordOffNote());
    EXPECT_FALSE(w->summary()->text().contains(QLatin1Char('\n')));
    EXPECT_TRUE(w->summary()->text().contains(QStringLiteral("保存学习记录")));
    EXPECT_FALSE(w->copyRateChart()->isVisible());
    EXPECT_FALSE(w->trends()->isVisible());
    expectFullWidthPunctuation(w->summary()->text());
    QApplication::setActiveWindow(w);
    QTest::keyClick(w, Qt::Key_Escape);
    EXPECT_FALSE(w->isVisible());
    EXPECT_TRUE(folders.kept().empty()) << "the window reads nothing while the record is off";
}

TEST(ProgressWindow, ChartsTheDaysAndThresholdsAndComparesTheLastWeekWithTheOneBefore) {
    RecordFolders folders;
    WindowFixture f;
    int days = 0, thresholds = 0;
    writeRecord(folders.record(), f.form().review().keeper().today(), days, thresholds);
    ASSERT_GT(thresholds, 1);

    learningItem(f, QStringLiteral("保存学习记录"))->trigger();
    ASSERT_TRUE(f.form().review().recording());
    EXPECT_TRUE(learningItem(f, QStringLiteral("保存学习记录"))->isChecked());
    ProgressWindow* w = f.window().showProgress();
    ASSERT_TRUE(w->isVisible());

    const QString summary = w->summary()->text();
    EXPECT_TRUE(summary.contains(QStringLiteral("练习了 %1 天，共 %1 次练习，用时 %2 小时 %3 分钟")
                                     .arg(days)
                                     .arg(days * 5 / 60)
                                     .arg(days * 5 % 60)))
        << summary.toStdString();
    EXPECT_TRUE(summary.contains(QString::fromStdString(folders.record())));
    expectFullWidthPunctuation(summary.section(QLatin1Char('\n'), 0, 0));

    // A point a day, oldest first, the copy rate in percent.
    QLineSeries* rates = w->copyRates();
    ASSERT_EQ(rates->count(), days);
    for (int i = 1; i < rates->count(); ++i) EXPECT_LT(rates->at(i - 1).x(), rates->at(i).x());
    const QDate firstDay = QDate::currentDate().addDays(-19);
    EXPECT_EQ(QDateTime::fromMSecsSinceEpoch(static_cast<qint64>(rates->at(0).x())).date(), firstDay);
    EXPECT_DOUBLE_EQ(rates->at(0).y(), 100.0);
    EXPECT_DOUBLE_EQ(rates->at(rates->count() - 1).y(), 75.0) << "K missed in the last week";
    // A point a threshold run, the thresholds as kept.
    ASSERT_TRUE(w->thresholdChart()->isVisible());
    EXPECT_FALSE(w->thresholdNote()->isVisible());
    ASSERT_EQ(w->thresholds()->count(), thresholds);
    EXPECT_DOUBLE_EQ(w->thresholds()->at(thresholds - 1).y(), -3.0);

    // K worst in the last week, missed once before; V missed only in the week before.
    QTableWidget* table = w->trends();
    ASSERT_GE(table->rowCount(), 2);
    EXPECT_EQ(table->item(0, 0)->text(), QStringLiteral("K"));
    EXPECT_TRUE(table->item(0, 1)->text().contains(QStringLiteral("100%"))) << table->item(0, 1)->text().toStdString();
    EXPECT_TRUE(table->item(0, 3)->text().startsWith(QStringLiteral("变差"))) << table->item(0, 3)->text().toStdString();
    int v = -1;
    for (int row = 0; row < table->rowCount(); ++row)
        if (table->item(row, 0)->text() == QStringLiteral("V")) v = row;
    ASSERT_GE(v, 0);
    EXPECT_TRUE(table->item(v, 3)->text().startsWith(QStringLiteral("好转"))) << table->item(v, 3)->text().toStdString();

    // The analysis shows each character's box and when it is due: K missed yesterday
    // is in box 1 and due today.
    AnalysisWindow* analysis = f.window().showAnalysis();
    const auto& rows = analysis->rows();
    const auto k = std::find_if(rows.begin(), rows.end(), [](const UnitBar& b) { return b.unit == QStringLiteral("K"); });
    ASSERT_NE(k, rows.end());
    EXPECT_EQ(k->review, QStringLiteral("第1盒，该复习了"));
    EXPECT_TRUE(analysis->summary()->text().contains(QStringLiteral("复习盒"))) << analysis->summary()->text().toStdString();
    expectFullWidthPunctuation(analysis->summary()->text());

    // A practice marked today adds its day to the open window.
    practise(f);
    EXPECT_EQ(w->copyRates()->count(), days + 1);
    EXPECT_DOUBLE_EQ(w->copyRates()->at(days).y(), 100.0);
}

TEST(ProgressWindow, TheRecordOnButEmptySaysSo) {
    RecordFolders folders;
    WindowFixture f;
    learningItem(f, QStringLiteral("保存学习记录"))->trigger();
    ProgressWindow* w = f.window().showProgress();
    EXPECT_TRUE(w->summary()->text().startsWith(QStringLiteral("学习记录已打开，还没有记下练习"))) << w->summary()->text().toStdString();
    EXPECT_FALSE(w->copyRateChart()->isVisible());
    practise(f);
    EXPECT_TRUE(w->copyRateChart()->isVisible());
    EXPECT_EQ(w->copyRates()->count(), 1);
    EXPECT_FALSE(w->thresholdChart()->isVisible());
    EXPECT_TRUE(w->thresholdNote()->isVisible()) << "no threshold run yet";
}

TEST(RecordInTheWindow, TheStartBringsBackTheLastPracticesSettingsAndTheDrill) {
    RecordFolders folders;
    {
        // Off: a window that restores reads the missing settings file and writes nothing.
        WindowFixture off(false, true);
        EXPECT_FALSE(off.form().review().recording());
        EXPECT_TRUE(off.option("Option7(4)")->isChecked());
        EXPECT_TRUE(folders.kept().empty());
    }
    PracticeSettings last;
    last.words = WordSet::Places;
    last.speed = 3;
    last.tone = 1500;
    last.noise = 2;
    last.conditions = kQrn | kQsb;
    last.mode = ReadingMode::Continuous;
    last.source = CallsignSource::Library;
    last.groups = 12;
    last.agc = "slow";
    last.threshold = true;
    std::string error;
    ASSERT_TRUE(writeLearningSettings(folders.settings(), {true, last, true}, error)) << error;

    WindowFixture f(false, true);
    EXPECT_TRUE(f.form().review().recording());
    EXPECT_TRUE(f.form().review().drill());
    EXPECT_TRUE(f.option("Option7(1)")->isChecked());
    EXPECT_EQ(f.slider("Slider1")->value(), 3);
    EXPECT_EQ(f.slider("Slider2")->value(), 1500);
    EXPECT_TRUE(f.option("Option3")->isChecked()) << "noise S2";
    EXPECT_TRUE(f.check("Check1")->isChecked());
    EXPECT_FALSE(f.check("Check2")->isChecked());
    EXPECT_TRUE(f.check("Check3")->isChecked());
    EXPECT_TRUE(f.option("Option9")->isChecked()) << "continuous";
    EXPECT_TRUE(f.option("Option11")->isChecked()) << "the callsign library";
    EXPECT_EQ(f.groupCount()->text(), QStringLiteral("12"));
    EXPECT_EQ(f.form().band().agc(), "slow");
    EXPECT_FALSE(f.form().threshold().armed()) << "a threshold run is asked for each time";
    EXPECT_TRUE(learningItem(f, QStringLiteral("保存学习记录"))->isChecked());
    EXPECT_TRUE(learningItem(f, QStringLiteral("侧重弱项"))->isChecked());
    EXPECT_TRUE(f.messages.empty());

    // Unticked: forgotten at the next start.
    learningItem(f, QStringLiteral("保存学习记录"))->trigger();
    EXPECT_FALSE(f.form().review().recording());
    EXPECT_FALSE(std::filesystem::exists(folders.settings()));
    WindowFixture next(false, true);
    EXPECT_FALSE(next.form().review().recording());
    EXPECT_TRUE(next.option("Option7(4)")->isChecked());
}

TEST(RecordInTheWindow, DeletingAsksFirst) {
    RecordFolders folders;
    WindowFixture f;
    learningItem(f, QStringLiteral("保存学习记录"))->trigger();
    practise(f);
    ASSERT_TRUE(std::filesystem::exists(folders.record()));
    QAction* remove = learningItem(f, QStringLiteral("删除学习记录…"));
    remove->trigger();
    ASSERT_EQ(f.questions.size(), 1u);
    EXPECT_EQ(f.questions[0].title, QStringLiteral("删除学习记录"));
    expectFullWidthPunctuation(f.questions[0].text.section(QLatin1Char('\n'), 1));
    EXPECT_TRUE(std::filesystem::exists(folders.record())) << "否 keeps it";
    f.answerYes = true;
    learningItem(f, QStringLiteral("删除学习记录…"))->trigger();
    EXPECT_FALSE(std::filesystem::exists(folders.record()));
    EXPECT_TRUE(f.form().review().recording()) << "the record stays on, and starts afresh";
    EXPECT_TRUE(f.form().review().keeper().practices().empty());
}

TEST(RecordInTheWindow, TheQuestionBoxSaysYesAndNoInChineseAndNoIsTheDefault) {
    RecordFolders folders;
    std::string error;
    PracticeRecord p{"2024-05-01", "08:00:00", "exam", "5", "off", {}, {{1, "BA4XY", "BA4XY", true, "BA4XY"}}};
    ASSERT_TRUE(LearningRecord(folders.record()).append(p, error)) << error;
    WindowFixture f(true);
    // Enter on the box as it opens: the default, 否.
    QTimer::singleShot(0, [] {
        QWidget* box = QApplication::activeModalWidget();
        ASSERT_NE(box, nullptr);
        const QString texts = [&] {
            QString all;
            for (const QPushButton* b : box->findChildren<QPushButton*>()) all += b->text() + QLatin1Char('|');
            return all;
        }();
        EXPECT_TRUE(texts.contains(QStringLiteral("是")) && texts.contains(QStringLiteral("否"))) << texts.toStdString();
        QTest::keyClick(box, Qt::Key_Return);
    });
    f.window().act([](UserInput& in) { in.deleteRecord(); });
    EXPECT_TRUE(std::filesystem::exists(folders.record()));
}

}  // namespace
}  // namespace tessaly::qt::testing
