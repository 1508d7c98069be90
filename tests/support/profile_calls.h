#pragma once
// One profile (INI) value read or written per call, the way the profile
// functions of the platform the library's files come from do it: the
// reference that the program's snapshot reads and document edits are
// checked against, key by key.

#include <string_view>

#include "core/text.h"

namespace galmora::testing {

Text read_profile(const Text& file, std::string_view section, std::string_view key,
                  std::string_view default_value = {});
bool write_profile(const Text& file, std::string_view section, std::string_view key,
                   std::string_view value);

}  // namespace galmora::testing
