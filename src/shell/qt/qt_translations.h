#pragma once
// Qt's own texts in Chinese: the file dialog (查找范围, 文件名, 保存), the text boxes'
// context menu (撤销, 复制, 粘贴), the standard buttons. The window is Chinese
// whatever the system's language, so Qt's standard parts are too. The catalogue
// comes with Qt (Debian: qt6-translations-l10n); without it they stay English.
class QCoreApplication;

namespace tessaly::qt {

// True when the catalogue was found and installed.
bool loadQtTranslations(QCoreApplication& app);

}  // namespace tessaly::qt
