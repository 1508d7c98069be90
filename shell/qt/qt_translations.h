#pragma once
// Qt's own texts (standard buttons, the folder and file dialogs) in Chinese
// whatever the user's locale, like the rest of the window.

class QCoreApplication;

namespace galmora {

// Installs Qt's Chinese translations into the application; false when they
// are not installed on this system (Qt's texts then stay English).
bool load_chinese_qt_translations(QCoreApplication& application);

}  // namespace galmora
