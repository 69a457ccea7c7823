#pragma once
// The About box: modeless, without an owner, so the main window stays usable and
// the box may outlive it. It deletes itself when closed.
#include <QDialog>
#include <QUrl>

#include <functional>

class QLabel;
class QPushButton;

namespace tessaly::qt {

class AboutBox final : public QDialog {
public:
    // Without an address (the default) the box shows no contact line at all.
    explicit AboutBox(const QString& address = contactAddress());

    // The contact address, fixed when the program is configured; empty unless set.
    static QString contactAddress();
    // How the mail link is opened; the desktop's mail handler unless replaced.
    // Whether it worked is not looked at: without a mail client nothing happens.
    static std::function<void(const QUrl&)>& urlOpener();

    QLabel* contactLabel() const { return contact_; }
    QPushButton* okButton() const { return ok_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QString address_;
    QLabel* contact_ = nullptr;
    QPushButton* ok_ = nullptr;
};

}  // namespace tessaly::qt
