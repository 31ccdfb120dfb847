// The check of the JSON format's angle texts over every positive finite binary32:
// each through the degrees text and back (version 3: the editor's values as it shows
// them, any other through the factor), with the metres text as well. Negative values
// are their mirror image (reading, multiplying and rounding are symmetric in sign).
// Prints failures, the count of values by number of digits, how many are written as
// the editor shows them, the longest texts, the values whose product lands nearest a
// binary32 halfway point, and a digest of every text written: it must equal the
// digest recorded below, so that a change to the code that writes the texts keeps
// every byte of them (a change meant to alter them records the new digests).
//
// Two modes, built by the target json-degrees-exhaustive (not part of `all`):
//   json-degrees-exhaustive            every value: 40 minutes of processor time,
//                                      20 on two idle cores
//   json-degrees-exhaustive --sampled  every 1021st value, and the 33 values around
//                                      each angle the editor stores: seconds (the
//                                      test command runs this one)
// Exit status: 0 every value reads back and the digest is as recorded, 1 otherwise.

#include "camerarecord.h"
#include "jsonnumbers.h"
#include "slidervalues.h"

#include <algorithm>
#include <array>
#include <cfloat>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <mutex>
#include <optional>
#include <string>
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
    std::uint64_t checked = 0;
    std::uint64_t digest = 0; // the sum of each value's hash: the same in any order
};

// The digests of every text written, by mode, as the texts were when recorded. A change
// meant to alter the texts records the digest the run prints.
constexpr std::uint64_t FullDigest = 0x1170784573a2dc25;
constexpr std::uint64_t SampledDigest = 0x600aa57ebd799c91;

// FNV-1a over a value's bits and its two texts.
std::uint64_t textHash(std::uint32_t bits, const std::optional<std::string> &degrees,
                       const std::optional<std::string> &metres)
{
    std::uint64_t hash = 0xcbf29ce484222325;
    const auto add = [&hash](unsigned char byte) { hash = (hash ^ byte) * 0x100000001b3; };
    for (int i = 0; i < 4; ++i)
        add(static_cast<unsigned char>(bits >> (8 * i)));
    for (const std::optional<std::string> *text : {&degrees, &metres}) {
        for (const char c : text->value_or("-"))
            add(static_cast<unsigned char>(c));
        add(0);
    }
    return hash;
}

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

void check(std::uint32_t bits, Tally *tally)
{
    const float value = floatFromBits(bits);
    const std::optional<std::string> text = kestrelcam::degreesNumberText(Angle, value);
    const kestrelcam::StoredNumber back =
        text ? kestrelcam::angleFromText(*text, Angle)
             : kestrelcam::StoredNumber{kestrelcam::StoredNumber::Malformed};
    const std::optional<std::string> metres = kestrelcam::storedNumberText(value);
    const kestrelcam::StoredNumber metresBack = kestrelcam::storedFromText(*metres);
    ++tally->checked;
    tally->digest += textHash(bits, text, metres);
    if (back.status != kestrelcam::StoredNumber::Ok || floatBits(back.value) != bits ||
        metresBack.status != kestrelcam::StoredNumber::Ok || floatBits(metresBack.value) != bits) {
        if (++tally->failures < 20)
            std::printf("FAIL 0x%08x %s\n", unsigned(bits), text ? text->c_str() : "-");
        return;
    }
    if (kestrelcam::editorHundredths(*text)) {
        ++tally->onGrid;
        return; // the editor's value: not converted through the factor
    }
    if (text->size() > tally->longestText) {
        tally->longestText = text->size();
        tally->longestTextBits = bits;
    }
    const int digits = digitCount(*text);
    ++tally->byDigits[std::size_t(digits)];
    if (digits >= 10 && tally->longest.size() < 50)
        tally->longest.push_back(bits);
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
        tally->hardest.push_back({distance, bits});
        std::sort(tally->hardest.begin(), tally->hardest.end(),
                  [](const Hard &a, const Hard &b) { return a.distance < b.distance; });
        if (tally->hardest.size() > 40)
            tally->hardest.pop_back();
    }
}

// The values of a run: every one below the infinity (the NaNs are above it), or a
// sorted list of them.
struct Values
{
    std::uint64_t count = 0x7f800000;
    std::vector<std::uint32_t> list;

    std::uint32_t operator[](std::uint64_t i) const
    {
        return list.empty() ? std::uint32_t(i) : list[std::size_t(i)];
    }
};

// Every 1021st value, and the 33 around each positive angle the editor stores (16 on
// either side), where its own texts meet the others.
Values sampledValues()
{
    Values values;
    for (std::uint64_t bits = 0; bits < values.count; bits += 1021)
        values.list.push_back(bits);
    for (int hundredths = 1; hundredths <= kestrelcam::EditorHundredthsLimit; ++hundredths) {
        const std::uint32_t bits = floatBits(fieldForPosition(Angle, hundredths));
        for (std::uint32_t near = bits - 16; near <= bits + 16; ++near)
            values.list.push_back(near);
    }
    std::sort(values.list.begin(), values.list.end());
    values.list.erase(std::unique(values.list.begin(), values.list.end()), values.list.end());
    values.count = values.list.size();
    return values;
}

void run(const Values *values, std::uint64_t from, std::uint64_t to, Tally *tally)
{
    for (std::uint64_t i = from; i < to; ++i)
        check((*values)[i], tally);
}

} // namespace

int main(int argc, char *argv[])
{
    const bool sampled = argc == 2 && std::strcmp(argv[1], "--sampled") == 0;
    if (argc > 2 || (argc == 2 && !sampled)) {
        std::fprintf(stderr, "usage: json-degrees-exhaustive [--sampled]\n");
        return 2;
    }
    const Values values = sampled ? sampledValues() : Values{};
    const unsigned threads = 2;
    std::vector<Tally> tallies(threads);
    std::vector<std::thread> workers;
    for (unsigned i = 0; i < threads; ++i) {
        const std::uint64_t from = values.count * i / threads;
        const std::uint64_t to = values.count * (i + 1) / threads;
        workers.emplace_back(run, &values, from, to, &tallies[i]);
    }
    for (std::thread &worker : workers)
        worker.join();

    Tally all;
    for (const Tally &tally : tallies) {
        all.failures += tally.failures;
        all.checked += tally.checked;
        all.digest += tally.digest;
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
    std::printf("values checked: %llu, failures: %llu\n",
                static_cast<unsigned long long>(all.checked),
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
    const bool asRecorded = all.digest == (sampled ? SampledDigest : FullDigest);
    std::printf("texts digest: %016llx, %s\n", static_cast<unsigned long long>(all.digest),
                asRecorded ? "as recorded" : "NOT AS RECORDED");
    return all.failures || !asRecorded ? 1 : 0;
}
