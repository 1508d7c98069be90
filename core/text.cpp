#include "core/text.h"

#include <charconv>
#include <chrono>
#include <climits>
#include <cmath>
#include <cstdint>
#include <mutex>
#include <utility>

namespace galmora {

Text concat_text(std::initializer_list<std::string_view> pieces) {
    std::size_t size = 0;
    for (std::string_view piece : pieces) size += piece.size();
    Text joined;
    joined.reserve(size);
    for (std::string_view piece : pieces) joined.append(piece);
    return joined;
}

Text right_text(std::string_view t, int n) {
    if (n <= 0) return {};
    const std::size_t count = static_cast<std::size_t>(n);
    if (count >= t.size()) return Text(t);
    return Text(t.substr(t.size() - count));
}

int find_text(std::string_view haystack, std::string_view needle) {
    if (needle.empty()) return haystack.empty() ? -1 : 1;
    std::size_t p = 0;
    while (p + needle.size() <= haystack.size()) {
        if (haystack.compare(p, needle.size(), needle) == 0) return static_cast<int>(p + 1);
        // A byte of 0x80 or above leads a two-byte character: matches start
        // only on character boundaries.
        p += static_cast<unsigned char>(haystack[p]) >= 0x80 ? 2 : 1;
    }
    return -1;
}

Text to_text(int value) {
    return std::to_string(value);
}

// "%.13g" as in the C locale, whatever locale the window set for the process.
Text to_text(double value) {
    char buffer[64];
    const auto written =
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::general, 13);
    if (written.ec != std::errc()) return {};
    return Text(buffer, written.ptr);
}

Text to_text(ByteView bytes) {
    std::size_t end = 0;
    while (end < bytes.size() && bytes[end] != 0) ++end;
    return Text(reinterpret_cast<const char*>(bytes.data()), end);
}

namespace {

// Full-width ASCII (A3 A1..A3 FE) and the ideographic space (A1 A1) become
// their ASCII forms; other two-byte characters stay whole.
std::string fold_full_width(std::string_view t) {
    std::string folded;
    folded.reserve(t.size());
    for (std::size_t i = 0; i < t.size();) {
        const auto lead = static_cast<unsigned char>(t[i]);
        if (lead < 0x80 || i + 1 == t.size()) {
            folded.push_back(t[i]);
            ++i;
            continue;
        }
        const auto trail = static_cast<unsigned char>(t[i + 1]);
        if (lead == 0xA3 && trail >= 0xA1 && trail <= 0xFE) {
            folded.push_back(static_cast<char>(trail - 0x80));
        } else if (lead == 0xA1 && trail == 0xA1) {
            folded.push_back(' ');
        } else {
            folded.append(t.substr(i, 2));
        }
        i += 2;
    }
    return folded;
}

bool is_c_space(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

// atoi, but saturating at the 32-bit bounds instead of overflowing.
int read_leading_integer(std::string_view t) {
    std::size_t i = 0;
    while (i < t.size() && is_c_space(t[i])) ++i;
    bool negative = false;
    if (i < t.size() && (t[i] == '+' || t[i] == '-')) negative = t[i++] == '-';
    const std::int64_t limit = negative ? -static_cast<std::int64_t>(INT_MIN) : INT_MAX;
    std::int64_t magnitude = 0;
    for (; i < t.size() && t[i] >= '0' && t[i] <= '9'; ++i) {
        magnitude = magnitude * 10 + (t[i] - '0');
        if (magnitude > limit) magnitude = limit;
    }
    return static_cast<int>(negative ? -magnitude : magnitude);
}

int saturate_to_int(double x) {
    if (std::isnan(x)) return 0;
    if (x <= static_cast<double>(INT_MIN)) return INT_MIN;
    if (x >= static_cast<double>(INT_MAX)) return INT_MAX;
    return static_cast<int>(x);
}

}  // namespace

int to_integer(std::string_view t) {
    return read_leading_integer(fold_full_width(t));
}

int floor_to_int(double x) {
    double whole = 0;
    const double fraction = std::modf(x, &whole);
    // A quotient that misses a whole number only by rounding counts as it.
    if (std::fabs(fraction) > 0.999999999999) x = x > 0 ? whole + 1 : whole - 1;
    return saturate_to_int(std::floor(x));
}

bool nearly_equal(double a, double b) {
    return std::fabs(a - b) <= 1e-7;
}

ByteView as_bytes(std::string_view t) {
    return ByteView(reinterpret_cast<const std::uint8_t*>(t.data()), t.size());
}

namespace {

// A small linear congruential generator with the classic rand() range. One
// sequence for the whole program, drawn from any thread: every draw and
// seeding holds random_mutex, so draws are never lost or repeated.
std::mutex random_mutex;
std::uint32_t random_state = 1;
std::uint32_t seed_counter = 0;

// The caller holds random_mutex.
int next_random() {
    random_state = random_state * 214013u + 2531011u;
    return static_cast<int>((random_state >> 16) & 0x7FFF);
}

// Bounds as random_int leaves them, 0 <= lo <= hi; the caller holds
// random_mutex. Equal bounds draw nothing.
int draw_between(int lo, int hi) {
    if (lo == hi) return lo;
    const std::int64_t span = static_cast<std::int64_t>(hi) - lo + 1;
    return static_cast<int>(lo + next_random() % span);
}

}  // namespace

void seed_random() {
    using namespace std::chrono;
    const auto tick = static_cast<std::uint32_t>(
        duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
    const std::lock_guard lock(random_mutex);
    random_state = tick + seed_counter;
    // Two seedings within one millisecond still start from different seeds.
    seed_counter += ((tick + seed_counter) & 0xFF) + 100;
}

int random_int(int lo, int hi) {
    if (lo < 0) lo = 0;
    if (hi < 0) hi = 0;
    if (lo > hi) std::swap(lo, hi);
    const std::lock_guard lock(random_mutex);
    return draw_between(lo, hi);
}

// The nine digits are consecutive draws, even when other threads draw too.
Text random_suffix() {
    Text suffix;
    suffix.reserve(9);
    const std::lock_guard lock(random_mutex);
    for (int i = 0; i < 9; ++i) suffix.push_back(static_cast<char>('0' + draw_between(0, 9)));
    return suffix;
}

}  // namespace galmora
