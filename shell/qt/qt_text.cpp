#include "shell/qt/qt_text.h"

#include "core/codepage.h"

namespace galmora {

QString to_qstring(const Text& text) {
    return QString::fromStdString(utf8_string(text));
}

Text from_qstring(const QString& text) {
    return local_text(text.toStdString());
}

std::size_t local_size(const QString& text) {
    return from_qstring(text).size();
}

}  // namespace galmora
