#pragma once
#include <QObject>

namespace tessaly::qt::testing {

class AboutBoxTest : public QObject {
    Q_OBJECT
private slots:
    void opensOnceAndCloses();
    void contactLinkOpensAMailToTheAddress();
    void loaderShowsItsNoticeWithoutAFrame();
    void everyCaptionFitsItsControl();
};

}  // namespace tessaly::qt::testing
