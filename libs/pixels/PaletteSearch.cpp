#include "pixels/PaletteSearch.h"

#include <algorithm>
#include <climits>

#include "pixels/PaletteSearchLists.h"

namespace slipway {
namespace {

PaletteSearch::Lists::Group farGroup() {
    PaletteSearch::Lists::Group group{};
    for (std::int32_t& key : group.key)
        key = PaletteSearch::Lists::kFarKey;
    return group;
}

}  // namespace

PaletteSearch::PaletteSearch(const Palette& palette, int firstIndex, SearchWidth width)
    : palette_(palette),
      first_(firstIndex),
      width_(width != SearchWidth::Four && processorHasAvx2() ? SearchWidth::Eight
                                                              : SearchWidth::Four),
      lists_(std::make_unique<Lists>(palette, firstIndex)) {}

PaletteSearch::~PaletteSearch() = default;

std::uint8_t PaletteSearch::nearest(std::uint8_t b, std::uint8_t g, std::uint8_t r) {
    unsigned fours = 0;
    const Lists::Group* list = lists_->candidates(b, g, r, fours);
#if SLIPWAY_AVX2
    if (width_ == SearchWidth::Eight)
        return palette_search::nearestOfEights(list, fours, b, g, r);
#endif
    return palette_search::nearestOfFours(list, fours, b, g, r);
}

PaletteSearch::Lists::Lists(const Palette& palette, int firstIndex) : first_(firstIndex) {
    for (int i = 0; i < 256; ++i) {
        blue_[i] = palette[i * 3];
        green_[i] = palette[i * 3 + 1];
        red_[i] = palette[i * 3 + 2];
    }
    for (int level = 0; level < kLevels; ++level) {
        const int bits = kFineBits - (kLevels - 1 - level);
        levels_[level].resize(std::size_t{1} << (3 * bits));
    }
}

// A block's candidates are the entries that can be nearest (or tied) for some colour in it:
// no colour of the block is farther than `bound` from its best entry, so an entry whose
// nearest point of the block is farther than that can never win there.
void PaletteSearch::Lists::build(int level, std::uint32_t cell) {
    const int bits = kFineBits - (kLevels - 1 - level);
    const int shift = 8 - bits;
    const std::uint32_t mask = (1u << bits) - 1;
    const int lowB = static_cast<int>(cell & mask) << shift;
    const int lowG = static_cast<int>((cell >> bits) & mask) << shift;
    const int lowR = static_cast<int>(cell >> (2 * bits)) << shift;
    const int side = (1 << shift) - 1;
    const int highB = lowB + side, highG = lowG + side, highR = lowR + side;

    std::uint8_t all[256];
    const std::uint8_t* from = all;
    int count = 0;
    if (level == 0) {
        for (int i = first_; i < 256; ++i)
            all[count++] = static_cast<std::uint8_t>(i);
    } else {
        const std::uint32_t pb = (cell & mask) >> 1;
        const std::uint32_t pg = ((cell >> bits) & mask) >> 1;
        const std::uint32_t pr = (cell >> (2 * bits)) >> 1;
        const std::uint32_t parent = pb | (pg << (bits - 1)) | (pr << (2 * (bits - 1)));
        Block& up = levels_[level - 1][parent];
        if (up.start < 0)
            build(level - 1, parent);
        from = candidates_[level - 1].data() + up.start;
        count = up.count;
    }
    int nearest[256];
    int bound = INT32_MAX;
    for (int k = 0; k < count; ++k) {
        const int i = from[k];
        const int eb = blue_[i], eg = green_[i], er = red_[i];
        const int nb = std::max({0, lowB - eb, eb - highB});
        const int ng = std::max({0, lowG - eg, eg - highG});
        const int nr = std::max({0, lowR - er, er - highR});
        const int fb = std::max(eb - lowB, highB - eb);
        const int fg = std::max(eg - lowG, highG - eg);
        const int fr = std::max(er - lowR, highR - er);
        nearest[k] = nb * nb + 3 * ng * ng + 2 * nr * nr;
        bound = std::min(bound, fb * fb + 3 * fg * fg + 2 * fr * fr);
    }
    Block& block = levels_[level][cell];
    if (level == kLevels - 1) {
        block.start = static_cast<std::int32_t>(groups_.size());
        int slot = 8;
        int used = 0;
        for (int k = 0; k < count; ++k) {
            if (nearest[k] > bound)
                continue;
            if (slot == 8) {
                groups_.push_back(farGroup());
                slot = 0;
            }
            const int i = from[k];
            Group& group = groups_.back();
            // Colours are measured scaled by 128 (the largest scale whose values fit 16 bits),
            // so the factors carry the remaining 512 / 128 = 4 of the 2 x 256.
            const int eb = blue_[i], eg = green_[i], er = red_[i];
            group.blueGreen[2 * slot] = static_cast<std::int16_t>(-4 * eb);
            group.blueGreen[2 * slot + 1] = static_cast<std::int16_t>(-4 * 3 * eg);
            group.red[2 * slot] = static_cast<std::int16_t>(-4 * 2 * er);
            group.key[slot] = (eb * eb + 3 * eg * eg + 2 * er * er) * 256 + i + kLift;
            ++slot;
            ++used;
        }
        block.count = static_cast<std::uint16_t>((used + 3) / 4);
        return;
    }
    std::vector<std::uint8_t>& list = candidates_[level];
    std::uint8_t kept[256];
    int keptCount = 0;
    for (int k = 0; k < count; ++k) {
        if (nearest[k] <= bound)
            kept[keptCount++] = from[k];
    }
    block.start = static_cast<std::int32_t>(list.size());
    block.count = static_cast<std::uint16_t>(keptCount);
    list.insert(list.end(), kept, kept + keptCount);
}

}  // namespace slipway
