// The CLF, CFF and sail walkers on hostile bytes: every span a layout names lies inside the
// bytes, after the one before it and with the size its count says, and the rescalers change no
// byte but the positions the layout names.

#include <cstdlib>
#include <vector>

#include "formats/CffLayout.h"
#include "formats/ClfLayout.h"
#include "formats/FileRescaling.h"
#include "formats/SailLayout.h"

using namespace slipway;

namespace {

using Bytes = std::span<const std::uint8_t>;

// Checks that the spans of one walk follow each other inside the bytes.
class SpanOrder {
  public:
    explicit SpanOrder(Bytes bytes) : bytes_(bytes) {}
    void next(Bytes span, std::size_t expectedSize) {
        if (span.size() != expectedSize)
            std::abort();
        if (span.empty())
            return;
        const std::size_t start = offsetIn(bytes_, span);
        if (start < end_ || start > bytes_.size() || span.size() > bytes_.size() - start)
            std::abort();
        end_ = start + span.size();
    }
    void rest(Bytes rest) {
        next(rest, rest.size());
        if (!rest.empty() && offsetIn(bytes_, rest) + rest.size() != bytes_.size())
            std::abort();
    }

  private:
    Bytes bytes_;
    std::size_t end_ = 0;
};

// Marks the bytes that a rescaler may change: `count` floats from `start`.
void mayChange(std::vector<bool>& mask, std::size_t start, std::size_t count) {
    for (std::size_t i = start; i < start + 4 * count && i < mask.size(); ++i)
        mask[i] = true;
}

void mayChangeVertices(std::vector<bool>& mask, Bytes bytes, Bytes vertices) {
    for (std::size_t at = 0; at < vertices.size(); at += kClfVertexSize)
        mayChange(mask, offsetIn(bytes, vertices) + at, 3);
}

void expectOnlyMarkedChanged(Bytes bytes, const std::optional<std::vector<std::uint8_t>>& scaled,
                             const std::vector<bool>& mask, bool layoutOk) {
    if (scaled.has_value() != layoutOk)
        std::abort();
    if (!scaled)
        return;
    if (scaled->size() != bytes.size())
        std::abort();
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        if (!mask[i] && (*scaled)[i] != bytes[i])
            std::abort();
    }
}

// Walks `bytes` with each choice of levels and hands each whole layout to `visit`, which names
// its spans in order; what is left after them must run to the end.
template <typename Parse, typename Visit>
void forEachWalk(Bytes bytes, Parse parse, Visit visit) {
    for (LevelsWalked levels : {LevelsWalked::Readable, LevelsWalked::First, LevelsWalked::All}) {
        const auto layout = parse(bytes, levels);
        if (!layout.ok())
            continue;
        SpanOrder order(bytes);
        visit(layout, order);
        order.rest(layout.rest);
    }
}

void checkClf(Bytes bytes) {
    forEachWalk(bytes, &parseClfLayout, [](const ClfLayout& layout, SpanOrder& order) {
        order.next(layout.textureNames, layout.header.textureNameCount * kClfTextureNameSize);
        for (const ClfLevelLayout& level : layout.levels) {
            for (const ClfObjectLayout& o : level.objects) {
                order.next(o.vertices, o.header.vertexRecords * kClfVertexSize);
                order.next(o.triangles, o.header.triangleRecords * kClfTriangleSize);
                order.next(o.keys, o.header.keyRecords * kKeyRecordSize);
            }
        }
    });
    const ClfLayout layout = parseClfLayout(bytes);
    std::vector<bool> mask(bytes.size(), false);
    for (const ClfLevelLayout& level : layout.levels) {
        for (const ClfObjectLayout& o : level.objects)
            mayChangeVertices(mask, bytes, o.vertices);
    }
    expectOnlyMarkedChanged(bytes, rescaledClf(bytes, 2), mask, layout.ok());
}

void checkCff(Bytes bytes) {
    forEachWalk(bytes, &parseCffLayout, [](const CffLayout& layout, SpanOrder& order) {
        for (Bytes name : layout.textureNames)
            order.next(name, name.size());
        for (const CffTextureRecordLayout& r : layout.textureRecords) {
            order.next(r.record, kCffTextureRecordSize);
            order.next(r.extra, cffTextureExtraEntries(r.record) * kCffTextureExtraSize);
        }
        const auto count = [](std::int32_t n) { return static_cast<std::size_t>(n); };
        for (const CffLevelLayout& level : layout.levels) {
            for (const CffObjectLayout& o : level.objects) {
                order.next(o.record, kCffObjectHeaderSize);
                order.next(o.vertices, count(o.header.vertexRecords) * kCffVertexSize);
                order.next(o.triangles, count(o.header.triangleRecords) * o.triangleSize());
                order.next(o.keys, count(o.header.keyRecords) * kKeyRecordSize);
            }
        }
    });
    const CffLayout layout = parseCffLayout(bytes);
    std::vector<bool> mask(bytes.size(), false);
    mayChange(mask, 0, 6);   // origin and scale
    mayChange(mask, 36, 2);  // the reserved word (written as 0) and extent
    for (const CffLevelLayout& level : layout.levels) {
        for (const CffObjectLayout& o : level.objects) {
            mayChange(mask, offsetIn(bytes, o.record), 3);
            mayChange(mask, offsetIn(bytes, o.record) + 16, 1);
        }
    }
    expectOnlyMarkedChanged(bytes, rescaledCff(bytes, 2), mask, layout.ok());
}

void checkSail(Bytes bytes) {
    const SailLayout layout = parseSailLayout(bytes);
    std::vector<bool> mask(bytes.size(), false);
    SpanOrder order(bytes);
    for (const SailEntryLayout& entry : layout.entries) {
        order.next(entry.bytes, kSailRecordSize);
        mayChange(mask, offsetIn(bytes, entry.bytes) + 8, 13);
        for (const SailAttachedLayout& mesh : entry.attached) {
            order.next(mesh.vertices, mesh.vertices.size() / kClfVertexSize * kClfVertexSize);
            order.next(mesh.triangles, mesh.triangles.size() / kClfTriangleSize * kClfTriangleSize);
            mayChangeVertices(mask, bytes, mesh.vertices);
        }
    }
    if (layout.ok()) {
        if (layout.rest.size() >= kSailRecordSize)
            std::abort();
        order.rest(layout.rest);
    }
    expectOnlyMarkedChanged(bytes, rescaledSailFile(bytes, 2), mask, layout.ok());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const Bytes bytes(data, size);
    checkClf(bytes);
    checkCff(bytes);
    checkSail(bytes);
    return 0;
}
