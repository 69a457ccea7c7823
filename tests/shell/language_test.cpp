// Chinese wherever the user looks: Qt's own dialogs and menus (the suites load
// Qt's catalogue as the program does), the export's dialog and its confirmation,
// the error analysis's words and punctuation.
#include "learning/error_analysis.h"
#include "shell/qt/analysis_window.h"
#include "shell/qt/export_dialog.h"
#include "window_fixture.h"

#include <QAbstractButton>
#include <QDialogButtonBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <memory>

namespace tessaly::qt::testing {
namespace {

bool hasChinese(const QString& text) {
    for (const QChar c : text)
        if (c.unicode() >= 0x4e00 && c.unicode() <= 0x9fff) return true;
    return false;
}

TEST(Language, TheExportDialogIsChineseAndStartsInTheHomeFolder) {
    const auto dialog = exportDialog(nullptr, QDir::homePath());
    dialog->setOption(QFileDialog::DontUseNativeDialog);  // Qt's own, as where no desktop provides one
    EXPECT_EQ(QDir(dialog->directory()).canonicalPath(), QDir(QDir::homePath()).canonicalPath());
    EXPECT_TRUE(dialog->selectedFiles().value(0).endsWith(QStringLiteral(".csv")));
    for (const char* name : {"lookInLabel", "fileNameLabel", "fileTypeLabel"}) {
        const auto* label = dialog->findChild<QLabel*>(QString::fromLatin1(name));
        ASSERT_TRUE(label) << name;
        EXPECT_TRUE(hasChinese(label->text())) << name << ": " << label->text().toStdString();
    }
    const auto* buttons = dialog->findChild<QDialogButtonBox*>();
    ASSERT_TRUE(buttons);
    for (QAbstractButton* b : buttons->buttons()) EXPECT_TRUE(hasChinese(b->text())) << b->text().toStdString();
}

TEST(Language, TextBoxMenusAreChinese) {
    QLineEdit edit;
    const std::unique_ptr<QMenu> menu(edit.createStandardContextMenu());
    int items = 0;
    for (QAction* a : menu->actions()) {
        if (a->isSeparator()) continue;
        ++items;
        EXPECT_TRUE(hasChinese(a->text())) << a->text().toStdString();
    }
    EXPECT_GE(items, 5);
}

TEST(Language, AnExportSaysWhereTheFileWentAndTheNextStartsThere) {
    WindowFixture f;
    EXPECT_EQ(f.window().exportFolder(), QDir::homePath()) << "the home folder at first";
    f.form().controls().Text2.setText("2");
    f.button("Command4")->click();
    f.button("Command5")->click();
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    const QString path = folder.filePath(QStringLiteral("成绩.csv"));
    f.window().chooseExportFile = [&] { return path.toStdString(); };
    f.window().exportResults();
    ASSERT_TRUE(QFileInfo::exists(path));
    ASSERT_EQ(f.messages.size(), 1u);
    EXPECT_EQ(f.messages[0].title, QStringLiteral("导出成绩"));
    EXPECT_EQ(f.messages[0].text, QStringLiteral("成绩已保存到：\n") + QDir::toNativeSeparators(path));
    EXPECT_EQ(QDir(f.window().exportFolder()).canonicalPath(), QDir(folder.path()).canonicalPath());

    // One that cannot be written says why, and nothing more.
    f.window().chooseExportFile = [&] { return folder.filePath(QStringLiteral("无此目录/x.csv")).toStdString(); };
    f.window().exportResults();
    ASSERT_EQ(f.messages.size(), 2u);
    EXPECT_FALSE(f.messages[1].text.contains(QStringLiteral("已保存")));
}

TEST(Language, TheAnalysisSpeaksWithFullWidthPunctuationAndSaysWhatItTakes) {
    ErrorAnalysis analysis;
    EXPECT_FALSE(analysisSummary(analysis).contains(QLatin1Char(',')));
    // V written as B twice; 8 read twice, written as A once; Y left out, read only once.
    analysis.addPractice({{"BA1X", "VA1XY"}, {"B8", "V8"}});
    analysis.addPractice({{"WA", "W8"}});
    const QString text = analysisSummary(analysis);
    for (const QChar halfWidth : {QLatin1Char(':'), QLatin1Char(','), QLatin1Char(';')})
        EXPECT_FALSE(text.contains(halfWidth)) << text.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("读过至少两次"))) << text.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("最需要练习（读过至少两次、错得最多的字符）：V 8"))) << text.toStdString();

    AnalysisWindow window(analysis);
    const auto& rows = window.rows();
    const auto y = std::find_if(rows.begin(), rows.end(), [](const UnitBar& b) { return b.unit == QStringLiteral("Y"); });
    ASSERT_NE(y, rows.end());
    EXPECT_EQ(y->omitted, 1) << "left out, as `tessaly stats` counts it";
    const auto v = std::find_if(rows.begin(), rows.end(), [](const UnitBar& b) { return b.unit == QStringLiteral("V"); });
    ASSERT_NE(v, rows.end());
    EXPECT_EQ(v->writtenAs, QStringLiteral("B"));
    EXPECT_EQ(v->omitted, 0);
}

}  // namespace
}  // namespace tessaly::qt::testing
