// One-off check, not part of the test command: every positive finite binary32 angle
// through the JSON format's degrees text and back (version 3: the editor's values as
// it shows them, any other through the factor), with the metres text as well.
// Negative values are their mirror image (reading, multiplying and rounding are
// symmetric in sign). Prints failures, the count of values by number of digits, how
// many are written as the editor shows them, the longest texts and the values whose
// product lands nearest a binary32 halfway point.
//
// Built and run by hand, from the top of the repository (one command line):
//   g++ -std=c++20 -O2 -pthread -fPIC -Isrc/core -Isrc/format tools/json-degrees-exhaustive.cpp
//       src/format/jsonnumbers.cpp src/format/valuetext.cpp src/core/slidervalues.cpp
//       src/core/modcameramath.cpp $(pkg-config --cflags --libs Qt6Core)
//       -o /tmp/json-degrees-exhaustive && nice /tmp/json-degrees-exhaustive

#include "camerarecord.h"
#include "jsonnumbers.h"

#include <algorithm>
#include <array>
#include <cfloat>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <mutex>
#include <thread>
#include <vector>

namespace {

struct Hard
{
    double distance; // from the nearest halfway point, in units of the value's spacing
    std::uint32_t bits;
};

struct Tally
{
    std::uint64_t failures = 0;
    std::array<std::uint64_t, 20> byDigits{};
    std::vector<Hard> hardest; // the smallest distances seen
    std::vector<std::uint32_t> longest;
    std::uint64_t onGrid = 0;
    std::size_t longestText = 0;
    std::uint32_t longestTextBits = 0;
};

// Every angle field converts alike; the Zoom stands for them.
constexpr int Angle = 6;

int digitCount(const std::string &text)
{
    const std::string mantissa = text.substr(0, text.find('e'));
    const std::size_t first = mantissa.find_first_of("123456789");
    int count = 0;
    for (std::size_t i = first; i < mantissa.size(); ++i)
        count += mantissa[i] >= '0' && mantissa[i] <= '9';
    // Trailing zeros of a whole number are not significant.
    if (mantissa.find('.') == std::string::npos) {
        for (std::size_t i = mantissa.size(); i-- > first && mantissa[i] == '0';)
            --count;
    }
    return count;
}

void run(std::uint32_t from, std::uint32_t to, Tally *tally)
{
    for (std::uint64_t bits = from; bits < to; ++bits) {
        const float value = floatFromBits(std::uint32_t(bits));
        const std::optional<std::string> text = kestrelcam::degreesNumberText(Angle, value);
        const kestrelcam::StoredNumber back =
            text ? kestrelcam::angleFromText(*text, Angle)
                 : kestrelcam::StoredNumber{kestrelcam::StoredNumber::Malformed};
        const std::optional<std::string> metres = kestrelcam::storedNumberText(value);
        const kestrelcam::StoredNumber metresBack = kestrelcam::storedFromText(*metres);
        if (back.status != kestrelcam::StoredNumber::Ok || floatBits(back.value) != bits ||
            metresBack.status != kestrelcam::StoredNumber::Ok ||
            floatBits(metresBack.value) != bits) {
            if (++tally->failures < 20)
                std::printf("FAIL 0x%08x %s\n", unsigned(bits), text ? text->c_str() : "-");
            continue;
        }
        if (kestrelcam::editorHundredths(*text)) {
            ++tally->onGrid;
            continue; // the editor's value: not converted through the factor
        }
        if (text->size() > tally->longestText) {
            tally->longestText = text->size();
            tally->longestTextBits = std::uint32_t(bits);
        }
        const int digits = digitCount(*text);
        ++tally->byDigits[std::size_t(digits)];
        if (digits >= 10 && tally->longest.size() < 50)
            tally->longest.push_back(std::uint32_t(bits));
        double degrees = 0;
        std::from_chars(text->data(), text->data() + text->size(), degrees);
        const double product = degrees * kestrelcam::DegreesToRadiansFactor;
        const double below = (double(value) + double(std::nextafter(value, 0.0f))) / 2;
        const double above = value == FLT_MAX
                                 ? kestrelcam::FloatOverflowThreshold
                                 : (double(value) + double(std::nextafter(value, INFINITY))) / 2;
        const double spacing = above - below;
        const double distance = std::min(product - below, above - product) / spacing;
        if (tally->hardest.size() < 40 || distance < tally->hardest.back().distance) {
            tally->hardest.push_back({distance, std::uint32_t(bits)});
            std::sort(tally->hardest.begin(), tally->hardest.end(),
                      [](const Hard &a, const Hard &b) { return a.distance < b.distance; });
            if (tally->hardest.size() > 40)
                tally->hardest.pop_back();
        }
    }
}

} // namespace

int main()
{
    const std::uint32_t end = 0x7f800000; // the infinity; NaNs above it
    const unsigned threads = 2;
    std::vector<Tally> tallies(threads);
    std::vector<std::thread> workers;
    for (unsigned i = 0; i < threads; ++i) {
        const std::uint32_t from = std::uint32_t(std::uint64_t(end) * i / threads);
        const std::uint32_t to = std::uint32_t(std::uint64_t(end) * (i + 1) / threads);
        workers.emplace_back(run, from, to, &tallies[i]);
    }
    for (std::thread &worker : workers)
        worker.join();

    Tally all;
    for (const Tally &tally : tallies) {
        all.failures += tally.failures;
        for (std::size_t d = 0; d < all.byDigits.size(); ++d)
            all.byDigits[d] += tally.byDigits[d];
        all.hardest.insert(all.hardest.end(), tally.hardest.begin(), tally.hardest.end());
        all.longest.insert(all.longest.end(), tally.longest.begin(), tally.longest.end());
        all.onGrid += tally.onGrid;
        if (tally.longestText > all.longestText) {
            all.longestText = tally.longestText;
            all.longestTextBits = tally.longestTextBits;
        }
    }
    std::sort(all.hardest.begin(), all.hardest.end(),
              [](const Hard &a, const Hard &b) { return a.distance < b.distance; });
    std::printf("values checked: %u, failures: %llu\n", unsigned(end),
                static_cast<unsigned long long>(all.failures));
    std::printf("written as the editor shows them: %llu\n",
                static_cast<unsigned long long>(all.onGrid));
    std::printf("longest text: %zu characters, 0x%08x %s\n", all.longestText,
                unsigned(all.longestTextBits),
                kestrelcam::degreesNumberText(Angle, floatFromBits(all.longestTextBits))->c_str());
    for (std::size_t d = 0; d < all.byDigits.size(); ++d) {
        if (all.byDigits[d])
            std::printf("%2zu digits: %llu\n", d, static_cast<unsigned long long>(all.byDigits[d]));
    }
    for (std::size_t i = 0; i < std::min<std::size_t>(all.hardest.size(), 40); ++i) {
        const float value = floatFromBits(all.hardest[i].bits);
        std::printf("hard 0x%08x %s distance %.3g\n", unsigned(all.hardest[i].bits),
                    kestrelcam::degreesNumberText(Angle, value)->c_str(), all.hardest[i].distance);
    }
    for (const std::uint32_t bits : all.longest)
        std::printf("long 0x%08x %s\n", unsigned(bits),
                    kestrelcam::degreesNumberText(Angle, floatFromBits(bits))->c_str());
    return all.failures ? 1 : 0;
}
