#include "engine/core/suggest/period_finder.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <vector>

#include "engine/core/suggest/byte_classes.h"

namespace velmora::suggest {

namespace {

// How far above chance a period must be, in standard deviations, and in
// its share of what perfect alignment would add.
constexpr double kLeastScore = 8.0;
constexpr double kLeastGain = 0.3;
// How close to the best a shorter period may come and still win.
constexpr double kTolerance = 0.25;
// Records up to this long are looked for first.
constexpr std::size_t kShortRecords = 4096;

// An in-place radix-2 transform on separate real and imaginary parts
// (std::complex's product checks for infinities on every call), with the
// twiddle factors of each stage side by side. Single precision halves the
// memory it streams through; the counts need no more than about a hundred
// in a hundred thousand.
class Transform {
public:
    explicit Transform(std::size_t size) : n_(size) {
        // The last stage's factors; every other stage takes every so many.
        const double step = 2 * std::acos(-1.0) / static_cast<double>(size);
        std::vector<float> c(size / 2), s(size / 2);
        for (std::size_t factor = 0; factor < size / 2; ++factor) {
            c[factor] = static_cast<float>(std::cos(step * static_cast<double>(factor)));
            s[factor] = static_cast<float>(std::sin(step * static_cast<double>(factor)));
        }
        for (std::size_t half = 1; half < size; half <<= 1) {
            for (std::size_t factor = 0; factor < half; ++factor) {
                cos_.push_back(c[factor * (size / (2 * half))]);
                sin_.push_back(s[factor * (size / (2 * half))]);
            }
        }
    }

    void run(std::vector<float>& re, std::vector<float>& im, bool inverse) const {
        // Each value to the place of its index's bits reversed.
        for (std::size_t at = 1, reversed = 0; at < n_; ++at) {
            std::size_t bit = n_ >> 1;
            for (; reversed & bit; bit >>= 1) reversed ^= bit;
            reversed ^= bit;
            if (at < reversed) {
                std::swap(re[at], re[reversed]);
                std::swap(im[at], im[reversed]);
            }
        }
        const float sign = inverse ? 1.0f : -1.0f;
        for (std::size_t half = 1; half < n_; half <<= 1) {
            // This stage's factors start at half - 1.
            const float* wr = &cos_[half - 1];
            const float* wi = &sin_[half - 1];
            for (std::size_t block = 0; block < n_; block += 2 * half) {
                float* ar = &re[block];
                float* ai = &im[block];
                float* br = &re[block + half];
                float* bi = &im[block + half];
                for (std::size_t pair = 0; pair < half; ++pair) {
                    const float vr = br[pair] * wr[pair] - bi[pair] * sign * wi[pair];
                    const float vi = br[pair] * sign * wi[pair] + bi[pair] * wr[pair];
                    br[pair] = ar[pair] - vr;
                    bi[pair] = ai[pair] - vi;
                    ar[pair] += vr;
                    ai[pair] += vi;
                }
            }
        }
    }

private:
    std::size_t n_;
    std::vector<float> cos_, sin_;
};

// Bytes from 0x80 up line up as binary: text holds an accented letter now
// and then, a binary value half its bytes.
ByteClass alignmentClass(unsigned char c) { return c < 0x80 ? byteClass(c) : Binary; }

// The first `n` bytes' classes, and the chance that two bytes picked at
// random are of one class.
struct Classes {
    std::vector<ByteClass> of;
    double chance = 0;
};

Classes classesOf(std::string_view sample, std::size_t n) {
    Classes classes;
    classes.of.resize(n);
    std::array<double, kByteClassCount> share{};
    for (std::size_t i = 0; i < n; ++i) {
        classes.of[i] = alignmentClass(static_cast<unsigned char>(sample[i]));
        share[classes.of[i]] += 1.0 / static_cast<double>(n);
    }
    for (double s : share) classes.chance += s * s;
    return classes;
}

// The number of bytes whose class equals the class `p` bytes on, for every
// p at once, scaled: see agreementByPeriod. Class c is the root of unity
// w^c (w = e^(2 pi i/5)): the sum of w^(j(c - c')) over j = 0..4 is 5 for
// equal classes and 0 otherwise, and j = 3, 4 mirror j = 2, 1, so two
// autocorrelations in the frequency domain count every match.
std::vector<float> matchPower(const std::vector<ByteClass>& classes, std::size_t size) {
    const std::size_t n = classes.size();
    const Transform transform(size);
    std::vector<float> power(size, 0.0f), re(size), im(size);
    const double turn = 2 * std::acos(-1.0) / kByteClassCount;
    for (int harmonic = 1; harmonic <= 2; ++harmonic) {
        std::array<float, kByteClassCount> cosine{}, sine{};
        for (int c = 0; c < kByteClassCount; ++c) {
            cosine[c] = static_cast<float>(std::cos(turn * harmonic * c));
            sine[c] = static_cast<float>(std::sin(turn * harmonic * c));
        }
        for (std::size_t at = 0; at < size; ++at) {
            re[at] = at < n ? cosine[classes[at]] : 0.0f;
            im[at] = at < n ? sine[classes[at]] : 0.0f;
        }
        transform.run(re, im, false);
        for (std::size_t frequency = 0; frequency < size; ++frequency)
            power[frequency] += re[frequency] * re[frequency] + im[frequency] * im[frequency];
    }
    std::fill(im.begin(), im.end(), 0.0f);
    transform.run(power, im, true);
    return power;
}

// The share of bytes of the class of the byte p on, p from 1 to one past
// `most`.
std::vector<double> agreementByPeriod(const std::vector<ByteClass>& classes, std::size_t most) {
    const std::size_t n = classes.size();
    std::size_t size = 1;
    while (size < n + most) size <<= 1;
    const std::vector<float> power = matchPower(classes, size);
    std::vector<double> agreement(most + 2, 0.0);
    for (std::size_t p = 1; p <= most + 1; ++p) {
        const double pairs = static_cast<double>(n - p);
        agreement[p] = std::round((pairs + 2 * power[p] / static_cast<double>(size)) / kByteClassCount) / pairs;
    }
    return agreement;
}

// A period stands out from the periods beside it (runs of one class agree
// most at the shortest distances and fade, with no peak), and far from
// chance; the shortest close to the best wins.
Period standingOut(const std::vector<double>& agreement, std::size_t n, double chance) {
    const std::size_t most = agreement.size() - 2;
    std::vector<std::size_t> peaks;
    double best = 0;
    for (std::size_t p = 2; p <= most; ++p) {
        const double a = agreement[p], pairs = static_cast<double>(n - p);
        if (a < agreement[p - 1] || a <= agreement[p + 1]) continue;
        const double score = (a - chance) / std::sqrt(chance * (1 - chance) / pairs);
        if (score < kLeastScore || (a - chance) / (1 - chance) < kLeastGain) continue;
        peaks.push_back(p);
        best = std::max(best, a);
    }
    for (std::size_t p : peaks)
        if (agreement[p] >= best - kTolerance * (best - chance)) return {p, agreement[p]};
    return {};
}

// The period up to `longest`, weighed on three of the longest records.
Period periodUpTo(std::string_view sample, std::size_t longest) {
    const std::size_t n = std::min(sample.size(), 3 * longest);
    const std::size_t most = std::min(longest, n / 2);
    if (most < 2) return {};
    const Classes classes = classesOf(sample, n);
    if (classes.chance > 0.999) return {};  // bytes of one class line up at every period
    return standingOut(agreementByPeriod(classes.of, most), n, classes.chance);
}

}  // namespace

Period findPeriod(std::string_view sample, std::size_t longest) {
    // Short records first, on far fewer bytes.
    if (longest > kShortRecords)
        if (Period p = periodUpTo(sample, kShortRecords); p.length > 0) return p;
    return periodUpTo(sample, longest);
}

}  // namespace velmora::suggest
