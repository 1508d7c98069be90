#pragma once
// Names and paths inside the library. Every folder or file the library
// creates or deletes is one bare name below a known folder, so a name is
// checked before it becomes part of a path.

#include <string_view>

#include "core/text.h"

namespace galmora {

// A name that stays one entry of its folder: not empty, not "." or "..",
// without "/". In GB18030 the byte "/" never occurs inside a multi-byte
// character, so a byte test is exact.
bool is_bare_name(std::string_view name);

// A byte below 0x20 or 0x7F; like "/", never part of a multi-byte character.
bool has_control_character(std::string_view name);

// "img", "js" and "stylecss": the asset folders of a main gallery, never a
// sub-gallery.
bool is_asset_folder(std::string_view name);

// True when the path names an entry, exactly: no wildcards.
bool entry_exists(const Text& path);

// folder + "/" + name.
Text child_path(const Text& folder, std::string_view name);

// Whether path is root + "/" + a bare name: a main gallery, never the root
// itself nor anything outside it.
bool is_main_gallery_path(const Text& root, const Text& path);

}  // namespace galmora
