#include "resample.h"

#include <windows.h>
#include <emmintrin.h>

#include <algorithm>
#include <cstring>
#include <new>
#include <utility>
#include <vector>

namespace {

// Weights are fixed point with 14 fraction bits and sum to exactly one, so a
// flat area stays exactly flat.
constexpr int kWeightBits = 14;
constexpr int kOne = 1 << kWeightBits;
// Horizontal results keep 7 more bits than a byte: enough that the vertical
// pass adds no visible rounding, few enough to stay a signed 16-bit value
// (the SSE2 path multiplies them as such; both paths compute the same).
constexpr int kExtraBits = 7;
constexpr int kMiddleShift = kWeightBits - kExtraBits;
constexpr int kFinalShift = kWeightBits + kExtraBits;

// Source pixels and weights that make each target pixel along one axis.
struct Taps {
    std::vector<int> first;     // first source index of target i
    std::vector<int> count;     // number of source pixels of target i
    std::vector<int> weights;   // count[i] weights of target i, at offset[i]
    std::vector<int> offset;
    int widest = 0;
};

void AddTap(Taps& taps, std::vector<int64_t>& raw, int64_t total) {
    // Each share rounded down, then the units still missing handed one each
    // to the shares that lost most: the weights sum to exactly kOne and each
    // stays within one unit of its share. (Giving the whole remainder to one
    // tap drives it negative at large reductions, 375 taps of 43.7 units.)
    const size_t start = taps.weights.size();
    std::vector<std::pair<int64_t, size_t>> lost(raw.size());
    int sum = 0;
    for (size_t k = 0; k < raw.size(); ++k) {
        const int64_t exact = raw[k] * kOne;
        const int weight = static_cast<int>(exact / total);
        taps.weights.push_back(weight);
        sum += weight;
        lost[k] = {exact % total, k};
    }
    const size_t missing = static_cast<size_t>(kOne - sum);
    // Largest loss first; among equals the earlier tap, so every run agrees.
    std::partial_sort(lost.begin(), lost.begin() + missing, lost.end(),
                      [](const std::pair<int64_t, size_t>& a, const std::pair<int64_t, size_t>& b) {
                          return a.first != b.first ? a.first > b.first : a.second < b.second;
                      });
    for (size_t k = 0; k < missing; ++k) ++taps.weights[start + lost[k].second];
    taps.widest = std::max(taps.widest, static_cast<int>(raw.size()));
}

// Taps of target pixels [from, from + count) of a scaling of sourceLength to
// targetLength; each pixel's taps depend on its index alone, so a part of
// the target gets the very taps the whole would.
Taps MakeTaps(int sourceLength, int targetLength, int from, int count) {
    Taps taps;
    taps.first.resize(count);
    taps.count.resize(count);
    taps.offset.resize(count);
    std::vector<int64_t> raw;
    for (int n = 0; n < count; ++n) {
        const int i = from + n;
        raw.clear();
        taps.offset[n] = static_cast<int>(taps.weights.size());
        if (sourceLength > targetLength) {
            // In units of 1/(source*target) of the axis: target pixel i covers
            // [i*source, (i+1)*source), source pixel j covers [j*target, (j+1)*target).
            const int64_t begin = static_cast<int64_t>(i) * sourceLength;
            const int64_t end = begin + sourceLength;
            const int firstPixel = static_cast<int>(begin / targetLength);
            const int lastPixel = static_cast<int>((end - 1) / targetLength);
            for (int j = firstPixel; j <= lastPixel; ++j) {
                const int64_t from = std::max<int64_t>(begin, static_cast<int64_t>(j) * targetLength);
                const int64_t to = std::min<int64_t>(end, static_cast<int64_t>(j + 1) * targetLength);
                raw.push_back(to - from);
            }
            taps.first[n] = firstPixel;
            AddTap(taps, raw, sourceLength);
        } else {
            // Pixel centres: target centre i + 1/2 lies at source position
            // (2i + 1) * source / (2 * target) - 1/2, in units of 1/(2*target).
            const int64_t unit = 2 * static_cast<int64_t>(targetLength);
            const int64_t position = (2 * static_cast<int64_t>(i) + 1) * sourceLength - targetLength;
            const int left = position < 0 ? 0 : static_cast<int>(position / unit);
            const int64_t fraction = position < 0 ? 0 : position % unit;
            if (left >= sourceLength - 1 || fraction == 0) {
                taps.first[n] = std::min(left, sourceLength - 1);
                raw.push_back(1);
                AddTap(taps, raw, 1);
            } else {
                taps.first[n] = left;
                raw.push_back(unit - fraction);
                raw.push_back(fraction);
                AddTap(taps, raw, unit);
            }
        }
        taps.count[n] = static_cast<int>(raw.size());
    }
    return taps;
}

// Source pixels [*begin, *end) that taps read.
void Span(const Taps& taps, int* begin, int* end) {
    *begin = taps.first.front();
    *end = taps.first.back() + taps.count.back();
    for (size_t n = 0; n < taps.first.size(); ++n) {
        *begin = std::min(*begin, taps.first[n]);
        *end = std::max(*end, taps.first[n] + taps.count[n]);
    }
}

bool ValidJob(const ScaleJob& job) {
    return job.sourceWidth > 0 && job.sourceHeight > 0 && job.fullWidth > 0 && job.fullHeight > 0 &&
           job.left >= 0 && job.top >= 0 && job.left < job.right && job.top < job.bottom &&
           job.right <= job.fullWidth && job.bottom <= job.fullHeight;
}

void FilterRow(const uint8_t* source, const Taps& taps, uint16_t* out, int width) {
    for (int i = 0; i < width; ++i) {
        const uint8_t* pixel = source + taps.first[i] * 4;
        const int* weight = taps.weights.data() + taps.offset[i];
        uint32_t b = 0, g = 0, r = 0, a = 0;
        for (int k = 0; k < taps.count[i]; ++k, pixel += 4) {
            const uint32_t w = static_cast<uint32_t>(weight[k]);
            b += w * pixel[0];
            g += w * pixel[1];
            r += w * pixel[2];
            a += w * pixel[3];
        }
        constexpr uint32_t half = 1u << (kMiddleShift - 1);
        out[0] = static_cast<uint16_t>((b + half) >> kMiddleShift);
        out[1] = static_cast<uint16_t>((g + half) >> kMiddleShift);
        out[2] = static_cast<uint16_t>((r + half) >> kMiddleShift);
        out[3] = static_cast<uint16_t>((a + half) >> kMiddleShift);
        out += 4;
    }
}

// Values [begin, end) of the target row.
void BlendValues(const uint16_t* const* rows, const int* weight, int count, uint8_t* out, size_t begin, size_t end) {
    constexpr uint32_t half = 1u << (kFinalShift - 1);
    for (size_t v = begin; v < end; ++v) {
        uint32_t sum = 0;
        for (int k = 0; k < count; ++k) sum += static_cast<uint32_t>(weight[k]) * rows[k][v];
        out[v] = static_cast<uint8_t>((sum + half) >> kFinalShift);
    }
}

void BlendRows(const uint16_t* const* rows, const int* weight, int count, uint8_t* out, size_t values) {
    BlendValues(rows, weight, count, out, 0, values);
}

// The same sums with SSE2, two taps per multiply-add: the pixels' channels
// of two taps interleaved as 16-bit values against their two weights. The
// stack is realigned because 32-bit Windows keeps it only 4-byte aligned.
inline __m128i __attribute__((target("sse2"))) WeightPair(const int* weight, int k, int count) {
    const int second = k + 1 < count ? weight[k + 1] : 0;
    return _mm_set1_epi32((second << 16) | weight[k]);
}

inline __m128i __attribute__((target("sse2"))) LoadPixel(const uint8_t* pixel) {
    int32_t value;
    memcpy(&value, pixel, 4);
    return _mm_cvtsi32_si128(value);
}

__attribute__((target("sse2"), force_align_arg_pointer)) void FilterRowSse2(const uint8_t* source, const Taps& taps,
                                                                            uint16_t* out, int width) {
    const __m128i zero = _mm_setzero_si128();
    const __m128i half = _mm_set1_epi32(1 << (kMiddleShift - 1));
    for (int i = 0; i < width; ++i, out += 4) {
        const uint8_t* pixel = source + taps.first[i] * 4;
        const int* weight = taps.weights.data() + taps.offset[i];
        const int count = taps.count[i];
        __m128i sum = half;
        for (int k = 0; k < count; k += 2) {
            const __m128i second = k + 1 < count ? LoadPixel(pixel + (k + 1) * 4) : zero;
            const __m128i pair = _mm_unpacklo_epi8(_mm_unpacklo_epi8(LoadPixel(pixel + k * 4), second), zero);
            sum = _mm_add_epi32(sum, _mm_madd_epi16(pair, WeightPair(weight, k, count)));
        }
        const __m128i shifted = _mm_srai_epi32(sum, kMiddleShift);
        _mm_storel_epi64(reinterpret_cast<__m128i*>(out), _mm_packs_epi32(shifted, shifted));
    }
}

__attribute__((target("sse2"), force_align_arg_pointer)) void BlendRowsSse2(const uint16_t* const* rows,
                                                                            const int* weight, int count, uint8_t* out,
                                                                            size_t values) {
    const __m128i half = _mm_set1_epi32(1 << (kFinalShift - 1));
    size_t v = 0;
    for (; v + 8 <= values; v += 8) {
        __m128i low = half, high = half;
        for (int k = 0; k < count; k += 2) {
            const __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i*>(rows[k] + v));
            const __m128i b = k + 1 < count ? _mm_loadu_si128(reinterpret_cast<const __m128i*>(rows[k + 1] + v))
                                            : _mm_setzero_si128();
            const __m128i weights = WeightPair(weight, k, count);
            low = _mm_add_epi32(low, _mm_madd_epi16(_mm_unpacklo_epi16(a, b), weights));
            high = _mm_add_epi32(high, _mm_madd_epi16(_mm_unpackhi_epi16(a, b), weights));
        }
        const __m128i words = _mm_packs_epi32(_mm_srai_epi32(low, kFinalShift), _mm_srai_epi32(high, kFinalShift));
        _mm_storel_epi64(reinterpret_cast<__m128i*>(out + v), _mm_packus_epi16(words, words));
    }
    BlendValues(rows, weight, count, out, v, values);
}

// Old processors without SSE2 (the system still runs on some) take the
// plain path.
bool HaveSse2() { return IsProcessorFeaturePresent(PF_XMMI64_INSTRUCTIONS_AVAILABLE) != 0; }

}  // namespace

namespace {

// Rows of a picture already in memory.
class MemoryRows : public RowSupply {
public:
    MemoryRows(const PixelRows& source, int left) : source_(source), left_(left) {}
    const uint8_t* Row(int y) override { return source_.top + source_.stride * y + left_ * 4; }

private:
    PixelRows source_;
    int left_;
};

}  // namespace

bool ReadArea(const ScaleJob& job, SourceArea* area) {
    if (!ValidJob(job)) return false;
    try {
        const Taps across = MakeTaps(job.sourceWidth, job.fullWidth, job.left, job.right - job.left);
        const Taps down = MakeTaps(job.sourceHeight, job.fullHeight, job.top, job.bottom - job.top);
        Span(across, &area->left, &area->right);
        Span(down, &area->top, &area->bottom);
        return true;
    } catch (const std::bad_alloc&) {
        return false;
    }
}

bool Resample(const PixelRows& source, const MutablePixelRows& target, bool plainOnly) {
    const ScaleJob job = {source.width, source.height, target.width, target.height, 0, 0, target.width, target.height};
    SourceArea area;
    if (!ReadArea(job, &area)) return false;
    MemoryRows rows(source, area.left);
    return ResampleWindow(job, rows, target, plainOnly);
}

bool ResampleWindow(const ScaleJob& job, RowSupply& supply, const MutablePixelRows& target, bool plainOnly) {
    if (!ValidJob(job) || target.width != job.right - job.left || target.height != job.bottom - job.top) return false;
    try {
        Taps across = MakeTaps(job.sourceWidth, job.fullWidth, job.left, target.width);
        const Taps down = MakeTaps(job.sourceHeight, job.fullHeight, job.top, target.height);
        // Columns counted from the first one read, as the supply hands rows.
        int columnBegin = 0, columnEnd = 0;
        Span(across, &columnBegin, &columnEnd);
        for (int& first : across.first) first -= columnBegin;
        // Filtered source rows, each made once: consecutive target rows share
        // at most their boundary rows, so a ring as deep as the widest
        // vertical footprint is enough.
        const int depth = down.widest;
        const size_t values = static_cast<size_t>(target.width) * 4;
        std::vector<uint16_t> ring(values * depth);
        std::vector<int> held(depth, -1);
        std::vector<const uint16_t*> rows(depth);
        const bool sse2 = !plainOnly && HaveSse2();
        auto filter = sse2 ? FilterRowSse2 : FilterRow;
        auto blend = sse2 ? BlendRowsSse2 : BlendRows;

        for (int y = 0; y < target.height; ++y) {
            const int first = down.first[y], count = down.count[y];
            const int* weight = down.weights.data() + down.offset[y];
            for (int k = 0; k < count; ++k) {
                const int j = first + k;
                const int slot = j % depth;
                uint16_t* row = ring.data() + values * slot;
                if (held[slot] != j) {
                    const uint8_t* source = supply.Row(j);
                    if (!source) return false;
                    filter(source, across, row, target.width);
                    held[slot] = j;
                }
                rows[k] = row;
            }
            blend(rows.data(), weight, count, target.top + target.stride * y, values);
        }
        return true;
    } catch (const std::bad_alloc&) {
        return false;
    }
}
