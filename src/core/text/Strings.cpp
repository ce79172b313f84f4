#include "text/Strings.h"

#include <chrono>
#include <random>

namespace kelvra {
namespace {

// A replacement not shorter than the searched text could, in rare patterns, keep producing new
// occurrences for ever; past these bounds the text is returned unchanged.
constexpr std::size_t kMaxGrowingReplacements = 1u << 20;
constexpr std::size_t kMaxResultBytes = 64u * 1024u * 1024u;

// Seeded once per thread from the random device mixed with the clock, so two codes made in
// the same clock tick still differ.
std::mt19937& Generator() {
    thread_local std::mt19937 generator = [] {
        std::random_device device;
        const auto ticks = static_cast<std::uint64_t>(
            std::chrono::high_resolution_clock::now().time_since_epoch().count());
        std::seed_seq seed{device(), device(), static_cast<unsigned>(ticks),
                           static_cast<unsigned>(ticks >> 32)};
        return std::mt19937(seed);
    }();
    return generator;
}

long long RandomBelow(long long bound) {
    std::uniform_int_distribution<long long> distribution(0, bound - 1);
    return distribution(Generator());
}

} // namespace

std::string ReplaceAll(std::string text, const std::string& searched,
                       const std::string& replacement) {
    if (searched.empty() || replacement.find(searched) != std::string::npos) {
        return text;
    }
    // Same result as replacing the first occurrence and searching again from the start, in one
    // pass: `done` never holds an occurrence, so the first one to appear is the leftmost. The
    // replacement goes back in front of the unread rest (kept reversed) to be scanned again.
    const bool growing = replacement.size() >= searched.size();
    std::string rest(text.rbegin(), text.rend());
    std::string done;
    done.reserve(text.size());
    std::size_t replacements = 0;
    while (!rest.empty()) {
        done += rest.back();
        rest.pop_back();
        if (done.size() >= searched.size() &&
            done.compare(done.size() - searched.size(), searched.size(), searched) == 0) {
            done.resize(done.size() - searched.size());
            rest.append(replacement.rbegin(), replacement.rend());
            if (growing && (++replacements > kMaxGrowingReplacements ||
                            done.size() + rest.size() > kMaxResultBytes)) {
                return text;
            }
        }
    }
    return done;
}

std::string MakeRandomCode(const std::string& s) {
    long long first = RandomBelow(99999); // 0 .. 99998
    if (first < 10000) {
        first += 10000;
    }
    std::string code = std::to_string(first) + s;
    const std::size_t n = s.size();
    if (n == 0 || n >= 9) {
        return code + std::to_string(n);
    }
    const std::size_t width = 9 - n;
    long long nines = 0;
    for (std::size_t i = 0; i < width; ++i) {
        nines = nines * 10 + 9;
    }
    std::string middle = std::to_string(RandomBelow(nines)); // 0 .. nines - 1
    for (std::size_t digit = middle.size(); middle.size() < width; ++digit) {
        middle += static_cast<char>('0' + digit);
    }
    return code + middle + std::to_string(n);
}

} // namespace kelvra
