#include "shell/qt/qt_translations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>

namespace galmora {

bool load_chinese_qt_translations(QCoreApplication& application) {
    auto* translator = new QTranslator(&application);
    const bool loaded = translator->load(QStringLiteral("qtbase_zh_CN"),
                                         QLibraryInfo::path(QLibraryInfo::TranslationsPath)) &&
                        QCoreApplication::installTranslator(translator);
    if (!loaded) delete translator;
    return loaded;
}

}  // namespace galmora
