#include "formats/ClfLayout.h"

#include <algorithm>
#include <string>

namespace slipway {

std::string ClfLayout::textureName(std::size_t index) const {
    const auto entry = textureNames.subspan(index * kClfTextureNameSize, kClfTextureNameSize);
    const auto end = std::find(entry.begin(), entry.end(), std::uint8_t{0});
    return std::string(entry.begin(), end);
}

ClfLayout parseClfLayout(std::span<const std::uint8_t> bytes, LevelsWalked levels) {
    ClfLayout layout;
    ByteReader in(bytes);
    layout.header = readClfHeader(in);
    if (in.failed())
        return stopped(layout, 0, "file header");
    layout.textureNames = takeRecords(in, layout.header.textureNameCount, kClfTextureNameSize);
    if (in.failed())
        return stopped(layout, kClfHeaderSize, "texture names");

    // Level 0's object count is in the first header, so a walk of the first level takes it
    // even from a file that announces no level.
    const std::uint32_t walked =
        levels == LevelsWalked::First ? 1 : levelsToWalk(layout.header.levelCount, levels);
    std::uint32_t levelObjects = layout.header.levelObjects;
    for (std::uint32_t level = 0; level < walked; ++level) {
        const std::size_t levelStart = in.position();
        if (level > 0)
            levelObjects = readClfHeader(in).levelObjects;
        // Every object needs at least its header: a huge count is refused before reserving.
        if (in.failed() || !in.canRead(levelObjects, kClfObjectHeaderSize))
            return stopped(layout, levelStart,
                           "level " + std::to_string(level) + ": header and objects");
        std::vector<ClfObjectLayout>& objects = layout.levels.emplace_back().objects;
        objects.reserve(levelObjects);
        for (std::uint32_t i = 0; i < levelObjects; ++i) {
            const std::size_t at = in.position();
            ClfObjectLayout& object = objects.emplace_back();
            object.header = readClfObjectHeader(in);
            if (in.failed())
                return stopped(layout, at, objectBlock(level, i, "object header"));
            const ClfObjectHeader& oh = object.header;
            if (!takeObjectRuns(
                    in,
                    {{oh.vertexRecords, kClfVertexSize, &object.vertices, "vertex records"},
                     {oh.triangleRecords, kClfTriangleSize, &object.triangles, "triangle records"},
                     {oh.keyRecords, kKeyRecordSize, &object.keys, "key records"}},
                    level, i, layout.failure)) {
                return layout;
            }
        }
    }
    layout.rest = bytes.subspan(in.position());
    return layout;
}

}  // namespace slipway
