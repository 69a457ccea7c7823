#include "shell/qt/desktop_host.h"

#include "form/session.h"

#include "shell/qt/about_box.h"
#include "shell/qt/main_window.h"

#include <QMessageBox>
#include <QPushButton>

namespace tessaly::qt {

void DesktopHost::informationBox(QWidget* parent, const QString& title, const QString& text) {
    QMessageBox box(QMessageBox::Information, title, text, QMessageBox::Ok, parent);
    // The window speaks Chinese, the About box's button included; Qt's own box would say "OK".
    box.button(QMessageBox::Ok)->setText(QStringLiteral("确定"));
    box.exec();
}

bool DesktopHost::questionBox(QWidget* parent, const QString& title, const QString& text) {
    QMessageBox box(QMessageBox::Question, title, text, QMessageBox::Yes | QMessageBox::No, parent);
    box.button(QMessageBox::Yes)->setText(QStringLiteral("是"));
    box.button(QMessageBox::No)->setText(QStringLiteral("否"));
    box.setDefaultButton(QMessageBox::No);
    box.setEscapeButton(QMessageBox::No);
    return box.exec() == QMessageBox::Yes;
}

DesktopHost::DesktopHost(MessagePresenter presenter, std::function<void()> quit, QuestionPresenter asker)
    : presenter_(presenter ? std::move(presenter) : MessagePresenter(informationBox)),
      asker_(asker ? std::move(asker) : QuestionPresenter(questionBox)), quit_(std::move(quit)) {}

DesktopHost::~DesktopHost() { delete about_.data(); }

void DesktopHost::messageBox(const std::string& title, const std::string& text) {
    presenter_(window_, QString::fromStdString(title), QString::fromStdString(text));
}

bool DesktopHost::askYesNo(const std::string& title, const std::string& text) {
    return asker_(window_, QString::fromStdString(title), QString::fromStdString(text));
}

void DesktopHost::focusControl(const std::string& name) {
    if (window_) window_->requestFocus(name);
}

void DesktopHost::quitNow() {
    if (window_) window_->skipUnloadOnClose();
    if (quit_) quit_();
}

QMessageBox* DesktopHost::resultBox(QPointer<QMessageBox>& box, const QString& title) {
    if (!box) {
        box = new QMessageBox(QMessageBox::Information, title, QString(), QMessageBox::Ok, window_);
        box->button(QMessageBox::Ok)->setText(QStringLiteral("确定"));
        box->setModal(false);
        box->setAttribute(Qt::WA_DeleteOnClose);
    }
    return box;
}

void DesktopHost::practiceEvent(const PracticeEvent& event) {
    if (!window_ || event.name != "pileupEnd") return;
    QMessageBox* box = resultBox(pileup_, QStringLiteral("呼叫堆积"));
    box->setText(QString::fromStdString(window_->form().practice().summaryAddition()));
    // Every caller: its callsign, how strong, how late, whose voice, and how it went.
    QString table = QStringLiteral("轮  呼号        强弱      起呼     人声      结果  呼叫次数\n");
    const auto outcome = [](PileupCaller::Outcome o) {
        switch (o) {
            case PileupCaller::Outcome::Worked: return QStringLiteral("联络上");
            case PileupCaller::Outcome::Busted: return QStringLiteral("抄错");
            case PileupCaller::Outcome::Missed: return QStringLiteral("漏掉");
            case PileupCaller::Outcome::Calling: break;
        }
        return QStringLiteral("呼叫中");
    };
    for (const PileupCaller& c : window_->form().pileup().callers())
        table += QStringLiteral("%1  %2  %3 dB  %4 毫秒  %5  %6  %7\n")
                     .arg(c.round, 2)
                     .arg(QString::fromStdString(c.caller.callsign), -10)
                     .arg(c.caller.levelHundredths / 100.0, 5, 'f', 1)
                     .arg(c.caller.offsetMs, 3)
                     .arg(c.caller.speaker.empty() ? QStringLiteral("默认") : QString::fromStdString(c.caller.speaker), -8)
                     .arg(outcome(c.outcome))
                     .arg(c.calls);
    box->setInformativeText(QStringLiteral("强弱是比本轮最强的电台弱多少；起呼是比这一轮呼叫开始晚多少。"
                                           "每小时联络数按整个练习的时间计算。"));
    box->setDetailedText(table);
    box->show();
    box->raise();
}

void DesktopHost::thresholdFound(const ThresholdFound& found) {
    if (!window_) return;
    resultBox(threshold_, QStringLiteral("阈值测试"));
    // The form has put the line under the list's summary: the same words here.
    threshold_->setText(QString::fromStdString(window_->form().practice().summaryAddition()));
    threshold_->setInformativeText(
        QStringLiteral("字符阈值是能听对一半字符时的信噪比（%1 个呼号，逐个字符计分测得）。括号内的 ± 是误差："
                       "真值约有三分之二的机会落在这个范围里。数值越低，越能在噪音中听清；两次相差约为 ± 的三倍以上，才算真的变了。")
            .arg(found.trials));
    threshold_->show();
    threshold_->raise();
}

void DesktopHost::closeAbout() {
    if (about_) about_->close();
}

AboutBox* DesktopHost::aboutBox() const {
    // A closed box is gone already, or about to be deleted.
    return about_ && about_->isVisible() ? about_.data() : nullptr;
}

void DesktopHost::showAbout() {
    if (AboutBox* open = aboutBox()) {
        open->raise();
        open->activateWindow();
        return;
    }
    about_ = new AboutBox;
    about_->show();
}

}  // namespace tessaly::qt
