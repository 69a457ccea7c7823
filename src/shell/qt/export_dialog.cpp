#include "shell/qt/export_dialog.h"

#include <QDateTime>

namespace tessaly::qt {

std::unique_ptr<QFileDialog> exportDialog(QWidget* parent, const QString& folder) {
    auto dialog = std::make_unique<QFileDialog>(parent, QStringLiteral("导出成绩"), folder,
                                                QStringLiteral("CSV 表格 (*.csv)"));
    dialog->setAcceptMode(QFileDialog::AcceptSave);
    dialog->setFileMode(QFileDialog::AnyFile);
    dialog->setDefaultSuffix(QStringLiteral("csv"));
    dialog->selectFile(
        QStringLiteral("tessaly-%1.csv").arg(QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmm"))));
    return dialog;
}

}  // namespace tessaly::qt
