// core called from several threads at once, as picture work on worker
// threads calls it beside the window's thread: every thread gets the answer
// a single thread gets. CI also runs these under ThreadSanitizer.

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <functional>
#include <latch>
#include <optional>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "core/codepage.h"
#include "core/files.h"
#include "tests/support/temp_dir.h"
#include "tests/support/text_helpers.h"

namespace galmora {

using testing::compare_text;
using testing::to_bytes;
namespace {

using testing::TempDir;

constexpr int kThreads = 4;

// Runs body(thread number) on kThreads threads that start together.
void on_threads(const std::function<void(int)>& body) {
    std::latch start(kThreads);
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t)
        threads.emplace_back([&, t] {
            start.arrive_and_wait();
            body(t);
        });
    for (std::thread& thread : threads) thread.join();
}

// Every conversion of one text, taken both as local text and as UTF-8.
struct Conversions {
    Bytes utf8_bytes;
    std::string utf8;
    std::optional<std::string> strict_utf8;
    std::string in_pieces;
    std::optional<Text> strict_local;
    Text local;
    bool operator==(const Conversions&) const = default;
};

Conversions convert(const std::string& text) {
    Conversions result{to_utf8(text),      utf8_string(text), strict_utf8(text), {},
                       strict_local(text), local_text(text)};
    to_utf8_in_pieces(
        text,
        [&](ByteView piece) { return result.in_pieces.append(piece.begin(), piece.end()), true; },
        64);
    return result;
}

std::vector<std::string> varied_texts() {
    std::vector<std::string> texts = {
        "plain ASCII",
        "\xCD\xBC\xBF\xE2 gallery \xB7\xE7\xBE\xB0.jpg",  // 图库, 风景 in GB18030
        "\x94\x39\xFC\x36"
        "12 \x81\x30\x81\x30 \xE3\x32\x9A\x35",  // four-byte forms: 😀, U+0080, U+10FFFF
        "\xB0\x5C\\\xB0\x5C"
        "a",                      // 癨, whose trail byte is "\"
        "a\xFF"                   // bytes that never convert
        "b\x80\xB0 \x81\x30\x81"  // and cut-off sequences
        "\x94\x39\xFC",
        "风景 😀 图库/癨.png",           // UTF-8
        "a\xE4\xBD \xED\xA0\x80 \xC3",  // broken UTF-8: cut, surrogate, lone lead
    };
    std::string long_text;
    for (int i = 0; i < 300; ++i) long_text += texts[i % texts.size()];
    texts.push_back(long_text);  // many stretches, and more than one round of iconv
    return texts;
}

TEST(ConcurrentConversions, GiveEachThreadTheSingleThreadedAnswer) {
    const std::vector<std::string> texts = varied_texts();
    std::vector<Conversions> expected;
    for (const std::string& text : texts) expected.push_back(convert(text));
    std::vector<int> mismatches(kThreads, 0);
    on_threads([&](int thread) {
        // Each thread starts at another text, so different texts meet.
        for (std::size_t round = 0; round < 40 * texts.size(); ++round) {
            const std::size_t which = (round + static_cast<std::size_t>(thread)) % texts.size();
            if (!(convert(texts[which]) == expected[which])) ++mismatches[thread];
        }
    });
    EXPECT_EQ(mismatches, std::vector<int>(kThreads, 0));
}

TEST(ConcurrentRandomDraws, GiveNineDigitsAndFreshDraws) {
    constexpr int kDraws = 1000;
    std::vector<std::vector<Text>> drawn(kThreads);
    on_threads([&](int thread) {
        seed_random();
        for (int i = 0; i < kDraws; ++i) {
            drawn[thread].push_back(random_suffix());
            random_int(0, 99);  // single draws between the suffixes of others
        }
    });
    std::set<Text> distinct;
    for (const std::vector<Text>& suffixes : drawn)
        for (const Text& suffix : suffixes) {
            ASSERT_EQ(suffix.size(), 9u) << suffix;
            ASSERT_EQ(suffix.find_first_not_of("0123456789"), Text::npos) << suffix;
            distinct.insert(suffix);
        }
    // Threads that read the same state would draw the same digits.
    EXPECT_GT(distinct.size(), kThreads * kDraws - 10u);
}

int mode_of(const std::string& path) {
    struct stat status;
    return ::stat(path.c_str(), &status) == 0 ? static_cast<int>(status.st_mode & 07777) : -1;
}

TEST(ConcurrentFileWrites, LeaveEveryFileWholeWithTheModeTheUmaskGives) {
    constexpr int kFiles = 12;
    const auto name = [](int thread, int file) {
        return "风景 " + std::to_string(thread) + "-" + std::to_string(file);
    };
    const auto contents = [](int thread, int file) {
        return std::string(static_cast<std::size_t>(thread * 100 + file), 'x') + "end";
    };
    TempDir dir;
    const mode_t old_mask = ::umask(027);
    std::vector<int> failures(kThreads, 0);
    on_threads([&](int thread) {
        for (int file = 0; file < kFiles; ++file) {
            const Bytes bytes = to_bytes(contents(thread, file));
            failures[thread] +=
                !replace_file_atomically(dir.file_text("replaced " + name(thread, file)), bytes);
            failures[thread] += !write_file(dir.file_text("written " + name(thread, file)), bytes);
            // One file replaced by every thread in turn.
            failures[thread] += !replace_file_atomically(dir.file_text("shared"), bytes);
        }
    });
    EXPECT_EQ(::umask(old_mask), 027);
    EXPECT_EQ(failures, std::vector<int>(kThreads, 0));
    for (int thread = 0; thread < kThreads; ++thread)
        for (int file = 0; file < kFiles; ++file)
            for (const char* kind : {"replaced ", "written "}) {
                const std::string path = kind + name(thread, file);
                EXPECT_EQ(dir.contents(path), contents(thread, file)) << path;
                EXPECT_EQ(mode_of(dir.file(path)), 0640) << path;
            }
    EXPECT_TRUE(dir.contents("shared").ends_with("end"));
    EXPECT_EQ(mode_of(dir.file("shared")), 0640);
    // Every file, and no temporary file left behind.
    int entries = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(dir.path()))
        ++entries;
    EXPECT_EQ(entries, 2 * kThreads * kFiles + 1);
}

}  // namespace
}  // namespace galmora
