#pragma once
// The notices that tell the user a write failed: which file, and why.

#include <optional>

#include "core/files.h"
#include "core/text.h"
#include "library/generation_record.h"

namespace galmora {

// Why, in a few words: "磁盘空间不足" and the like.
Text write_problem_cause(std::optional<WriteProblem> problem);

// A generation refused before it wrote anything: config.ini cannot take its
// record.
Text generation_config_refusal(const Text& config_path, WriteProblem problem);

// A generation whose page was written but which could not be recorded or
// put on the main page, and so was taken back (or could not be).
struct CommitFailure {
    CommitOutcome outcome;
    bool folder_created = false;
    Text config_path;
    std::optional<WriteProblem> config_problem;  // as found after the failure
    Text main_page_path;
    Text sub_gallery_folder;
};
Text commit_failure_notice(const CommitFailure& failure);

// A setting (a switch, the chosen main gallery) config.ini did not take.
Text setting_not_stored(const Text& setting, const Text& config_path,
                        std::optional<WriteProblem> problem);
// config.ini missing at start-up and not creatable.
Text config_not_created(const Text& config_path, std::optional<WriteProblem> problem);
// The last line after a deletion whose main page could not be rewritten.
Text main_page_not_rebuilt(const Text& path);
// A folder the library needs (a main gallery, its img folder) not made.
Text folder_not_created(const Text& folder);

}  // namespace galmora
