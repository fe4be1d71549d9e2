#include "display/raster_fill.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <numeric>
#include <vector>

namespace tesk {
namespace {

constexpr int kFirstRowOffset = DisplayRaster::FIRST_VIEW_ROW; // row 20 holds viewStart
constexpr uint32_t kDirectLevelLimit = 1u << 22;

using Levels = std::array<uint32_t, 256>;

const std::array<uint8_t, CELLS_PER_FRAME> kEmptyFrame{};

// The value bytes of a frame slot; a negative number reads frame 0, a slot
// past the last one reads as an empty frame.
const uint8_t* frameBytes(const ProfileStore& store, int64_t frame) {
    if (frame < 0) frame = 0;
    if (frame > MAX_FRAME_INDEX) return kEmptyFrame.data();
    return store.frame(int(frame)).value.data();
}

bool inProfile(const ProfileStore& store, int frame) {
    return frame >= 0 && frame <= MAX_FRAME_INDEX && store.frame(frame).inProfile();
}

// Round, ties to even (the rounding mode in force is round-to-nearest-even).
int roundSqrt(double x) {
    return int(std::nearbyint(std::sqrt(x)));
}

// The up-inverse as a table over every level 0..highest: the smallest code n
// with T[n] >= v, built from the codes taken from the highest level down.
void buildUpInverse(const Levels& T, std::vector<uint8_t>& up) {
    std::array<uint8_t, 256> order;
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(), [&](uint8_t a, uint8_t b) { return T[a] > T[b]; });
    const uint32_t top = T[order[0]];
    up.assign(std::size_t(top) + 1, 255);
    int best = 255;
    std::size_t to = std::size_t(top) + 1; // levels from `to` on are done
    for (uint8_t n : order) {
        const std::size_t level = T[n];
        if (level + 1 < to) {
            std::fill(up.begin() + std::ptrdiff_t(level + 1), up.begin() + std::ptrdiff_t(to),
                      uint8_t(best));
            to = level + 1;
        }
        best = std::min(best, int(n));
    }
    std::fill(up.begin(), up.begin() + std::ptrdiff_t(to), uint8_t(best));
}

// The literal up-inverse: searching up from code 0; 255 when no level reaches v.
uint8_t searchUp(const Levels& T, uint64_t v) {
    for (int n = 0; n < 256; ++n)
        if (T[n] >= v) return uint8_t(n);
    return 255;
}

struct UpTable {
    const uint8_t* table;
    uint8_t operator()(const Levels&, uint64_t v) const { return table[v]; }
};
struct UpSearch {
    uint8_t operator()(const Levels& T, uint64_t v) const { return searchUp(T, v); }
};

// Every pairwise difference of the first `count` codes is below the threshold.
bool closeTogether(const uint8_t* codes, int count, int threshold) {
    for (int x = 0; x < count; ++x)
        for (int y = x + 1; y < count; ++y)
            if (std::abs(int(codes[x]) - int(codes[y])) >= threshold) return false;
    return true;
}

template <class Up>
uint8_t combine(int method, int count, uint8_t a, const uint8_t* b, int threshold, const Levels& T,
                const Up& up) {
    using addition_method::Addition;
    using addition_method::LinearAddition;
    using addition_method::LinearMultiply;
    using addition_method::LinearSubtract;
    using addition_method::Multiply;
    using addition_method::Subtract;
    switch (method) {
    case Subtract:
    case LinearSubtract: {
        const uint8_t codes[4] = {a, b[0], b[1], b[2]};
        if (!closeTogether(codes, count, threshold)) return 255;
        method = method == Subtract ? Addition : Multiply;
        break;
    }
    default:
        break;
    }
    const unsigned a1 = a, b1 = b[0], b2 = b[1], b3 = b[2];
    switch (method) {
    case Addition: {
        const uint64_t sum =
            uint64_t(T[a1]) + T[b1] + (count >= 3 ? T[b2] : 0u) + (count >= 4 ? T[b3] : 0u);
        if (count == 2) return up(T, sum >> 1);
        if (count == 3) return up(T, (sum + 1) / 3); // nearest; thirds never tie
        return up(T, sum >> 2);
    }
    case Multiply:
        if (count == 2) return uint8_t(roundSqrt(double(a1 * b1)));
        if (count == 3) return uint8_t(roundSqrt(std::sqrt(double(b1 * b2)) * double(a1)));
        {
            const int m1 = roundSqrt(double(b1 * b2));
            const int m2 = roundSqrt(double(b3 * unsigned(m1)));
            return uint8_t(roundSqrt(double(a1 * unsigned(m2))));
        }
    case LinearAddition:
        if (count == 2) return uint8_t((a1 + b1) >> 1);
        if (count == 3) return uint8_t((a1 + b1 + b2 + 1) / 3);
        return uint8_t((a1 + b1 + b2 + b3) >> 2);
    case LinearMultiply:
        if (count == 2) return uint8_t((a1 * b1) >> 8);
        if (count == 3) return uint8_t((a1 * b1 * b2) >> 16);
        return uint8_t((((((a1 * b1) >> 8) * b2) >> 8) * b3) >> 8);
    default:
        return a;
    }
}

} // namespace

void fillRaster(DisplayRaster& raster, const ProfileStore& store, int32_t viewStart) {
    for (int r = 0; r < FILLED_ROWS; ++r)
        std::memcpy(raster.row(0, r), frameBytes(store, int64_t(viewStart) - kFirstRowOffset + r),
                    CELLS_PER_FRAME);
}

uint32_t reliefWindowMaximum(const ProfileStore& store, int32_t viewStart) {
    uint32_t highest = 0;
    for (int r = kFirstRowOffset; r <= kFirstRowOffset + DisplayRaster::VIEW_ROWS; ++r) {
        const uint8_t* f = frameBytes(store, int64_t(viewStart) - kFirstRowOffset + r);
        const uint32_t h = (uint32_t(f[cell::ReliefHeight]) << 16) |
                           (uint32_t(f[cell::ReliefHeight + 1]) << 8) | f[cell::ReliefHeight + 2];
        highest = std::max(highest, h);
    }
    return highest;
}

void fillRasterRelief(DisplayRaster& raster, const ProfileStore& store, int32_t viewStart,
                      double stretch) {
    constexpr int kLastColumn = SAMPLE_ROWS - 1;  // 527
    constexpr int kLastWritten = kLastColumn - 1; // the loop ends past column 526
    const double g = stretch > 0 ? 1.0 / stretch : 1.0;
    for (int r = 0; r < FILLED_ROWS; ++r) {
        const uint8_t* frame = frameBytes(store, int64_t(viewStart) - kFirstRowOffset + r);
        uint8_t* out = raster.row(0, r);
        uint8_t code = 0;
        for (int k = 0;; ++k) {
            const int column = int(std::trunc(k * g));
            if (column > kLastWritten) break;
            if (k < kLastColumn)
                code = frame[k];
            else if (code > 0)
                --code; // past the recorded rows the trace fades out
            out[column] = code;
            out[column + 1] = code;
        }
        std::memcpy(out + SAMPLE_ROWS, frame + SAMPLE_ROWS, CELLS_PER_FRAME - SAMPLE_ROWS);
    }
}

int reliefShiftRows(uint32_t referenceHeight, uint32_t height, int velocityCode, double nsPerRow,
                    double stretch) {
    const double centimetresPerRow = double(velocityCode) * nsPerRow * stretch;
    if (!(centimetresPerRow > 0)) return 0;
    const double rows =
        std::nearbyint((double(referenceHeight) - double(height)) * 100.0 / centimetresPerRow);
    return int(std::clamp(rows, 0.0, double(SAMPLE_ROWS)));
}

void shiftRasterForRelief(DisplayRaster& raster, const ProfileStore& store, int32_t viewStart,
                          uint32_t referenceHeight, int velocityCode, double nsPerRow,
                          double stretch) {
    constexpr int kLastShiftedRow = 711;
    std::memset(raster.row(0, 0), 0, CELLS_PER_FRAME);
    for (int r = 1; r <= kLastShiftedRow; ++r) {
        const uint8_t* frame = frameBytes(store, int64_t(viewStart) - kFirstRowOffset + r);
        const uint32_t height = (uint32_t(frame[cell::ReliefHeight]) << 16) |
                                (uint32_t(frame[cell::ReliefHeight + 1]) << 8) |
                                frame[cell::ReliefHeight + 2];
        const int n = reliefShiftRows(referenceHeight, height, velocityCode, nsPerRow, stretch);
        if (n == 0) continue;
        uint8_t* row = raster.row(0, r);
        std::memmove(row + n, row, std::size_t(SAMPLE_ROWS - n));
        std::memset(row, 0, std::size_t(n));
    }
}

int profileStart(const ProfileStore& store, int frame) {
    int f = std::max(frame, 0);
    if (inProfile(store, f)) {
        while (f > 0 && inProfile(store, f - 1)) --f;
        return f;
    }
    while (f <= store.frameCount && !inProfile(store, f)) ++f;
    return f;
}

int nextProfileStart(const ProfileStore& store, int frame) {
    int f = std::max(frame, 0);
    while (inProfile(store, f)) ++f;
    while (f <= store.frameCount && !inProfile(store, f)) ++f;
    return f;
}

int additionThreshold(int thresholdIndex) {
    return 32 - 4 * std::clamp(thresholdIndex, 0, 7);
}

int additionMethod(const AdditionSettings& addition, int levelTableIndex) {
    return std::clamp(addition.method, 0, 2) + (levelTableIndex == 0 ? 3 : 0);
}

uint8_t combineProfileCodes(int method, int count, uint8_t a, const std::array<uint8_t, 3>& pairs,
                            int threshold, const std::array<uint32_t, 256>& levelTable) {
    return combine(method, std::clamp(count, 2, 4), a, pairs.data(), threshold, levelTable,
                   UpSearch{});
}

bool fillRasterWithAddition(DisplayRaster& raster, const ProfileStore& store, int32_t viewStart,
                            const AdditionSettings& addition,
                            const std::array<uint32_t, 256>& levelTable, int levelTableIndex) {
    if (addition.profiles < 2) {
        fillRaster(raster, store, viewStart);
        return true;
    }
    const int count = std::min(addition.profiles, 4);
    const int s = profileStart(store, viewStart);
    const int64_t o = int64_t(viewStart) - s;
    int64_t pair[3] = {0, 0, 0};
    int p = s;
    for (int k = 0; k < count - 1; ++k) {
        p = nextProfileStart(store, p);
        pair[k] = p + o;
    }
    if (s / 100 == pair[0] / 100) return false;

    const int method = additionMethod(addition, levelTableIndex);
    const int threshold = additionThreshold(addition.thresholdItem);
    std::vector<uint8_t> upTable;
    const bool direct =
        *std::max_element(levelTable.begin(), levelTable.end()) <= kDirectLevelLimit;
    if (direct) buildUpInverse(levelTable, upTable);

    for (int r = 0; r < FILLED_ROWS; ++r) {
        const int64_t shift = r - kFirstRowOffset;
        const uint8_t* own = frameBytes(store, int64_t(viewStart) + shift);
        const uint8_t* pairs[3] = {kEmptyFrame.data(), kEmptyFrame.data(), kEmptyFrame.data()};
        for (int k = 0; k < count - 1; ++k) pairs[k] = frameBytes(store, pair[k] + shift);
        uint8_t* out = raster.row(0, r);
        for (int c = 0; c < ADDITION_COLUMNS; ++c) {
            const uint8_t a = own[c];
            if (a == 0) {
                out[c] = 0;
                continue;
            }
            const uint8_t b[3] = {pairs[0][c], pairs[1][c], pairs[2][c]};
            out[c] = direct ? combine(method, count, a, b, threshold, levelTable,
                                      UpTable{upTable.data()})
                            : combine(method, count, a, b, threshold, levelTable, UpSearch{});
        }
        std::memcpy(out + ADDITION_COLUMNS, own + ADDITION_COLUMNS,
                    CELLS_PER_FRAME - ADDITION_COLUMNS);
    }
    return true;
}

} // namespace tesk
