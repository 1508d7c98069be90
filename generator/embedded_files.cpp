#include "generator/embedded_files.h"

namespace galmora {

ByteView find_embedded(std::span<const EmbeddedFile> table, std::string_view name) {
    for (const EmbeddedFile& file : table) {
        if (file.name == name) return file.bytes;
    }
    return {};
}

}  // namespace galmora
