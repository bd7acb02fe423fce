#include "resample.h"

#include <algorithm>
#include <new>
#include <vector>

namespace {

// Weights are fixed point with 14 fraction bits and sum to exactly one, so a
// flat area stays exactly flat.
constexpr int kWeightBits = 14;
constexpr int kOne = 1 << kWeightBits;
// Horizontal results keep 8 more bits than a byte (16 bits in all), so the
// vertical pass adds no rounding of its own.
constexpr int kMiddleShift = kWeightBits - 8;
constexpr int kFinalShift = kWeightBits + 8;

// Source pixels and weights that make each target pixel along one axis.
struct Taps {
    std::vector<int> first;     // first source index of target i
    std::vector<int> count;     // number of source pixels of target i
    std::vector<int> weights;   // count[i] weights of target i, at offset[i]
    std::vector<int> offset;
    int widest = 0;
};

void AddTap(Taps& taps, std::vector<int64_t>& raw, int64_t total) {
    // Round each share, then give the remainder to the largest so they sum
    // to exactly kOne.
    int sum = 0, largest = 0;
    const size_t start = taps.weights.size();
    for (size_t k = 0; k < raw.size(); ++k) {
        int weight = static_cast<int>((raw[k] * kOne + total / 2) / total);
        taps.weights.push_back(weight);
        sum += weight;
        if (weight > taps.weights[start + largest]) largest = static_cast<int>(k);
    }
    taps.weights[start + largest] += kOne - sum;
    taps.widest = std::max(taps.widest, static_cast<int>(raw.size()));
}

Taps MakeTaps(int sourceLength, int targetLength) {
    Taps taps;
    taps.first.resize(targetLength);
    taps.count.resize(targetLength);
    taps.offset.resize(targetLength);
    std::vector<int64_t> raw;
    for (int i = 0; i < targetLength; ++i) {
        raw.clear();
        taps.offset[i] = static_cast<int>(taps.weights.size());
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
            taps.first[i] = firstPixel;
            AddTap(taps, raw, sourceLength);
        } else {
            // Pixel centres: target centre i + 1/2 lies at source position
            // (2i + 1) * source / (2 * target) - 1/2, in units of 1/(2*target).
            const int64_t unit = 2 * static_cast<int64_t>(targetLength);
            const int64_t position = (2 * static_cast<int64_t>(i) + 1) * sourceLength - targetLength;
            const int left = position < 0 ? 0 : static_cast<int>(position / unit);
            const int64_t fraction = position < 0 ? 0 : position % unit;
            if (left >= sourceLength - 1 || fraction == 0) {
                taps.first[i] = std::min(left, sourceLength - 1);
                raw.push_back(1);
                AddTap(taps, raw, 1);
            } else {
                taps.first[i] = left;
                raw.push_back(unit - fraction);
                raw.push_back(fraction);
                AddTap(taps, raw, unit);
            }
        }
        taps.count[i] = static_cast<int>(raw.size());
    }
    return taps;
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

}  // namespace

bool Resample(const PixelRows& source, const MutablePixelRows& target) {
    try {
        const Taps across = MakeTaps(source.width, target.width);
        const Taps down = MakeTaps(source.height, target.height);
        // Filtered source rows, each made once: consecutive target rows share
        // at most their boundary rows, so a ring as deep as the widest
        // vertical footprint is enough.
        const int depth = down.widest;
        const size_t values = static_cast<size_t>(target.width) * 4;
        std::vector<uint16_t> ring(values * depth);
        std::vector<int> held(depth, -1);
        std::vector<const uint16_t*> rows(depth);

        for (int y = 0; y < target.height; ++y) {
            const int first = down.first[y], count = down.count[y];
            const int* weight = down.weights.data() + down.offset[y];
            for (int k = 0; k < count; ++k) {
                const int j = first + k;
                const int slot = j % depth;
                uint16_t* row = ring.data() + values * slot;
                if (held[slot] != j) {
                    FilterRow(source.top + source.stride * j, across, row, target.width);
                    held[slot] = j;
                }
                rows[k] = row;
            }
            uint8_t* out = target.top + target.stride * y;
            constexpr uint32_t half = 1u << (kFinalShift - 1);
            for (size_t v = 0; v < values; ++v) {
                uint32_t sum = 0;
                for (int k = 0; k < count; ++k) sum += static_cast<uint32_t>(weight[k]) * rows[k][v];
                out[v] = static_cast<uint8_t>((sum + half) >> kFinalShift);
            }
        }
        return true;
    } catch (const std::bad_alloc&) {
        return false;
    }
}
