#pragma once
// Where 导出成绩… saves: Qt's own save dialog (in Chinese once Qt's translations
// are loaded), opened in `folder` with a name of the date and time, for CSV files.
#include <QFileDialog>

#include <memory>

namespace tessaly::qt {

std::unique_ptr<QFileDialog> exportDialog(QWidget* parent, const QString& folder);

}  // namespace tessaly::qt
