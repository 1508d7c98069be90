#pragma once
// The bytes of an embedded site file, to compare with what was placed.

#include <string>
#include <string_view>

#include "generator/asset_store.h"

namespace galmora::testing {

inline std::string embedded(std::string_view name) {
    const ByteView bytes = AssetStore::embedded(name);
    return std::string(bytes.begin(), bytes.end());
}

}  // namespace galmora::testing
