#pragma once
// What the practice logic asks of the window: message boxes, focus, quitting and
// the About box.
#include "practice/form_host.h"

#include <QMessageBox>
#include <QPointer>
#include <QString>

#include <functional>

class QMessageBox;
class QWidget;

namespace tessaly::qt {

class AboutBox;
class MainWindow;

class DesktopHost final : public FormHost {
public:
    // Shows a message and returns once it is answered.
    using MessagePresenter = std::function<void(QWidget* parent, const QString& title, const QString& text)>;
    // Modal, with the information icon and a 确定 button.
    static void informationBox(QWidget* parent, const QString& title, const QString& text);
    // Asks and returns once answered: true for yes.
    using QuestionPresenter = std::function<bool(QWidget* parent, const QString& title, const QString& text)>;
    // Modal, with the question icon, 是 and 否, 否 the default (Enter or Esc keep what is there).
    static bool questionBox(QWidget* parent, const QString& title, const QString& text);

    DesktopHost(MessagePresenter presenter, std::function<void()> quit, QuestionPresenter asker = {});
    ~DesktopHost() override;
    void setWindow(MainWindow* window) { window_ = window; }

    void messageBox(const std::string& title, const std::string& text) override;
    bool askYesNo(const std::string& title, const std::string& text) override;
    void focusControl(const std::string& name) override;
    void quitNow() override;
    // A threshold run was marked: a small box says the result, without stopping the window.
    void thresholdFound(const ThresholdFound& found) override;
    QMessageBox* thresholdBox() const { return threshold_.data(); }
    // A pile-up ended: the same kind of box lists every caller and how it went.
    void practiceEvent(const PracticeEvent& event) override;
    QMessageBox* pileupBox() const { return pileup_.data(); }
    void showAbout() override;

    // The main window closed: the About box goes with it, so that nothing keeps the program running.
    void closeAbout();
    // The open About box, or null.
    AboutBox* aboutBox() const;

private:
    MessagePresenter presenter_;
    QuestionPresenter asker_;
    std::function<void()> quit_;
    MainWindow* window_ = nullptr;
    QPointer<AboutBox> about_;
    QPointer<QMessageBox> threshold_, pileup_;
    // A small box for a result, made once and shown again without stopping the window.
    QMessageBox* resultBox(QPointer<QMessageBox>& box, const QString& title);
};

}  // namespace tessaly::qt
