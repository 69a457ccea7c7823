#include "shell/qt/export_dialog.h"

#include <QDateTime>
#include <QScreen>

namespace tessaly::qt {

std::unique_ptr<QFileDialog> exportDialog(QWidget* parent, const QString& folder) {
    auto dialog = std::make_unique<QFileDialog>(parent, QStringLiteral("导出成绩"), folder,
                                                QStringLiteral("CSV 表格 (*.csv)"));
    dialog->setAcceptMode(QFileDialog::AcceptSave);
    dialog->setFileMode(QFileDialog::AnyFile);
    dialog->setDefaultSuffix(QStringLiteral("csv"));
    dialog->selectFile(
        QStringLiteral("tessaly-%1.csv").arg(QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmm"))));
    if (const QScreen* s = parent ? parent->screen() : nullptr) {
        // Qt's own dialog asks for more than a small or magnified screen has: within
        // the screen, less room for a title bar and borders (logical px).
        const QSize room = s->availableGeometry().size() - QSize(12, 42);
        dialog->setMinimumSize(dialog->minimumSizeHint().boundedTo(room));
        dialog->resize(dialog->sizeHint().boundedTo(room));
    }
    return dialog;
}

}  // namespace tessaly::qt
