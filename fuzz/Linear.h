#pragma once

// Shared by the fuzz targets: the contract that the time spent grows in
// proportion to the input, checked on the input repeated to 256 KiB and to
// 1 MiB. Four times the input may take at most eight times as long (plus
// a margin for a busy machine); quadratic work takes sixteen times.

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <functional>
#include <string>
#include <string_view>

namespace fuzzing {

inline std::string repeatedTo(std::string_view unit, std::size_t size) {
    std::string out;
    out.reserve(size + unit.size());
    while (!unit.empty() && out.size() < size)
        out += unit;
    out.resize(unit.empty() ? 0 : size);
    return out;
}

// Processor time of the whole process (threads included), not the time on
// the clock: waits for the disk (a save's fsync) and other programs on a
// busy machine would otherwise pass for work.
inline double secondsFor(const std::function<void(const std::string&)>& work,
                         const std::string& input) {
    std::clock_t started = std::clock();
    work(input);
    return static_cast<double>(std::clock() - started) / CLOCKS_PER_SEC;
}

// Checks one input in 128, chosen by its bytes, since each check
// handles more than a megabyte. A first failed check is measured again
// before it counts, so that a moment of load on the machine is no finding.
inline void checkLinear(std::string_view unit,
                        const std::function<void(const std::string&)>& work) {
    if (unit.empty() || std::hash<std::string_view>{}(unit) % 128 != 0)
        return;
    std::string small = repeatedTo(unit, 256 << 10);
    std::string large = repeatedTo(unit, 1 << 20);
    for (int attempt = 0; attempt < 2; ++attempt) {
        double smallTime = secondsFor(work, small);
        double largeTime = secondsFor(work, large);
        if (largeTime <= 8 * smallTime + 0.25)
            return;
        if (attempt == 1) {
            std::fprintf(stderr, "not linear: 256 KiB took %.3f s, 1 MiB took %.3f s\n", smallTime,
                         largeTime);
            std::abort();
        }
    }
}

// Fails the run with a message: a broken contract is a finding.
[[noreturn]] inline void broken(const char* contract) {
    std::fprintf(stderr, "contract broken: %s\n", contract);
    std::abort();
}

inline void require(bool holds, const char* contract) {
    if (!holds)
        broken(contract);
}

} // namespace fuzzing
