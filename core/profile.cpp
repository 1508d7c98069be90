#include "core/profile.h"

#include <optional>
#include <string>
#include <unordered_map>

#include "core/files.h"
#include "core/profile_lines.h"

namespace galmora {

using profile::LineKind;

namespace {

std::string_view as_text(const Bytes& bytes) {
    return std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size());
}

}  // namespace

struct ProfileSnapshot::Index {
    using Keys = std::unordered_map<std::string, std::string_view>;
    bool path_given = false;  // a blank path reads as the empty text, default ignored
    std::string contents;
    std::vector<std::string_view> section_names;
    // Folded section name to the keys of its first occurrence.
    std::unordered_map<std::string, Keys> sections;

    void build() {
        Keys* current = nullptr;
        profile::for_each_line(contents, [&](std::string_view text) {
            const profile::ProfileLine line = profile::parse_line(text);
            if (line.kind == LineKind::Section) {
                section_names.push_back(line.name);
                auto [entry, first] = sections.try_emplace(profile::folded_name(line.name));
                current = first ? &entry->second : nullptr;
            } else if (line.kind == LineKind::Key && current != nullptr) {
                current->try_emplace(profile::folded_name(line.name), line.raw_value);
            }
            return true;
        });
    }
};

ProfileSnapshot::ProfileSnapshot(std::unique_ptr<Index> index) : index_(std::move(index)) {}
ProfileSnapshot::~ProfileSnapshot() = default;
ProfileSnapshot::ProfileSnapshot(ProfileSnapshot&&) noexcept = default;
ProfileSnapshot& ProfileSnapshot::operator=(ProfileSnapshot&&) noexcept = default;

ProfileSnapshot ProfileSnapshot::load(const Text& file) {
    const Text path = profile::clean_path(file);
    if (!path.empty()) {
        if (std::optional<Bytes> contents = read_file(path)) return parse(as_text(*contents));
    }
    auto index = std::make_unique<Index>();
    index->path_given = !path.empty();
    return ProfileSnapshot(std::move(index));
}

ProfileSnapshot ProfileSnapshot::parse(std::string_view contents) {
    auto index = std::make_unique<Index>();
    index->path_given = true;
    index->contents.assign(profile::without_byte_order_mark(contents));
    index->build();
    return ProfileSnapshot(std::move(index));
}

Text ProfileSnapshot::value(std::string_view section, std::string_view key,
                            std::string_view default_value) const {
    const std::string_view wanted_section = profile::clean_name(section);
    const std::string_view wanted_key = profile::clean_name(key);
    if (!index_ || !index_->path_given || wanted_section.empty() || wanted_key.empty()) return {};
    const auto keys = index_->sections.find(profile::folded_name(wanted_section));
    if (keys != index_->sections.end()) {
        const auto raw = keys->second.find(profile::folded_name(wanted_key));
        if (raw != keys->second.end()) return profile::finished_value(raw->second);
    }
    return profile::finished_default(default_value);
}

std::vector<Text> ProfileSnapshot::section_names() const {
    std::vector<Text> names;
    if (!index_) return names;
    names.reserve(index_->section_names.size());
    for (std::string_view name : index_->section_names) names.emplace_back(name);
    return names;
}

}  // namespace galmora
