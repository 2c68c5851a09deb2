#include "formats/CffLayout.h"

#include <algorithm>
#include <string>

namespace slipway {

CffLayout parseCffLayout(std::span<const std::uint8_t> bytes, LevelsWalked levels) {
    CffLayout layout;
    ByteReader in(bytes);
    layout.header = readCffHeader(in);
    const CffHeader& h = layout.header;
    if (in.failed())
        return stopped(layout, 0, "file header");
    if (h.textureNameCount < 0 || h.levelCount < 0)
        return stopped(layout, 0, "file header: negative count");

    // Each name needs at least its length byte, each record its 40 bytes.
    const auto names = static_cast<std::size_t>(h.textureNameCount);
    if (!in.canRead(names))
        return stopped(layout, kCffHeaderSize, "texture names");
    layout.textureNames.reserve(names);
    for (std::size_t i = 0; i < names; ++i) {
        const std::size_t at = in.position();
        const std::uint8_t length = in.u8();
        layout.textureNames.push_back(in.view(length));
        if (in.failed())
            return stopped(layout, at, "texture name " + std::to_string(i));
    }
    if (!in.canRead(names, kCffTextureRecordSize))
        return stopped(layout, in.position(), "texture records");
    layout.textureRecords.reserve(names);
    for (std::size_t i = 0; i < names; ++i) {
        const std::size_t at = in.position();
        CffTextureRecordLayout& record = layout.textureRecords.emplace_back();
        record.record = in.view(kCffTextureRecordSize);
        record.extra = takeRecords(in, cffTextureExtraEntries(record.record), kCffTextureExtraSize);
        if (in.failed())
            return stopped(layout, at, "texture record " + std::to_string(i));
    }

    const std::uint32_t walked = levelsToWalk(static_cast<std::uint32_t>(h.levelCount), levels);
    for (std::uint32_t level = 0; level < walked; ++level) {
        const std::size_t levelStart = in.position();
        const std::int32_t objects = in.i32();
        const std::uint32_t reserved = in.u32();
        // Every object needs at least its header: a huge count is refused before reserving.
        if (in.failed() || objects < 0 ||
            !in.canRead(static_cast<std::size_t>(objects), kCffObjectHeaderSize)) {
            return stopped(layout, levelStart,
                           "level " + std::to_string(level) + ": header and objects");
        }
        CffLevelLayout& levelLayout = layout.levels.emplace_back();
        levelLayout.reserved = reserved;
        levelLayout.objects.reserve(static_cast<std::size_t>(objects));
        for (std::int32_t i = 0; i < objects; ++i) {
            const std::size_t at = in.position();
            CffObjectLayout& object = levelLayout.objects.emplace_back();
            object.header = readCffObjectHeader(in);
            if (in.failed())
                return stopped(layout, at, objectBlock(level, i, "object header"));
            object.record = bytes.subspan(at, kCffObjectHeaderSize);
            const CffObjectHeader& oh = object.header;
            if (oh.vertexRecords < 0 || oh.triangleRecords < 0 || oh.keyRecords < 0)
                return stopped(layout, at, objectBlock(level, i, "negative count"));
            const auto vertices = static_cast<std::size_t>(oh.vertexRecords);
            const auto triangles = static_cast<std::size_t>(oh.triangleRecords);
            const auto keys = static_cast<std::size_t>(oh.keyRecords);
            if (!takeObjectRuns(
                    in,
                    {{vertices, kCffVertexSize, &object.vertices, "vertex records"},
                     {triangles, object.triangleSize(), &object.triangles, "triangle records"},
                     {keys, kKeyRecordSize, &object.keys, "key records"}},
                    level, i, layout.failure)) {
                return layout;
            }
        }
    }
    layout.rest = bytes.subspan(in.position());
    return layout;
}

}  // namespace slipway
