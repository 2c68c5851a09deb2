#include "formats/ClfLayout.h"

#include <algorithm>

namespace slipway {

namespace {

std::uint32_t levelsToWalk(const ClfHeader& header, LevelsWalked levels) {
    switch (levels) {
        case LevelsWalked::First:
            return 1;
        case LevelsWalked::Readable:
            return std::min(header.levelCount, kModelLevelLimit);
        case LevelsWalked::All:
            break;
    }
    return header.levelCount;
}

std::string where(std::uint32_t level, std::uint32_t object, const char* block) {
    return "level " + std::to_string(level) + ", object " + std::to_string(object) + ": " + block;
}

}  // namespace

std::string ClfLayout::textureName(std::size_t index) const {
    const auto entry = textureNames.subspan(index * kClfTextureNameSize, kClfTextureNameSize);
    const auto end = std::find(entry.begin(), entry.end(), std::uint8_t{0});
    return std::string(entry.begin(), end);
}

ClfLayout parseClfLayout(std::span<const std::uint8_t> bytes, LevelsWalked levels) {
    ClfLayout layout;
    ByteReader in(bytes);
    const auto stop = [&](std::size_t offset, std::string reason) {
        layout.failure = LayoutFailure{offset, std::move(reason)};
        return std::move(layout);
    };

    layout.header = readClfHeader(in);
    if (in.failed())
        return stop(0, "file header");
    layout.textureNames = takeRecords(in, layout.header.textureNameCount, kClfTextureNameSize);
    if (in.failed())
        return stop(kClfHeaderSize, "texture names");

    const std::uint32_t walked = levelsToWalk(layout.header, levels);
    std::uint32_t levelObjects = layout.header.levelObjects;
    for (std::uint32_t level = 0; level < walked; ++level) {
        const std::size_t levelStart = in.position();
        if (level > 0)
            levelObjects = readClfHeader(in).levelObjects;
        // Every object needs at least its header: a huge count is refused before reserving.
        if (in.failed() || !in.canRead(levelObjects, kClfObjectHeaderSize))
            return stop(levelStart, "level " + std::to_string(level) + ": header and objects");
        std::vector<ClfObjectLayout>& objects = layout.levels.emplace_back();
        objects.reserve(levelObjects);
        for (std::uint32_t i = 0; i < levelObjects; ++i) {
            std::size_t at = in.position();
            ClfObjectLayout& object = objects.emplace_back();
            object.header = readClfObjectHeader(in);
            if (in.failed())
                return stop(at, where(level, i, "object header"));
            at = in.position();
            object.vertices = takeRecords(in, object.header.vertexRecords, kClfVertexSize);
            if (in.failed())
                return stop(at, where(level, i, "vertex records"));
            at = in.position();
            object.triangles = takeRecords(in, object.header.triangleRecords, kClfTriangleSize);
            if (in.failed())
                return stop(at, where(level, i, "triangle records"));
            at = in.position();
            object.keys = takeRecords(in, object.header.keyRecords, kKeyRecordSize);
            if (in.failed())
                return stop(at, where(level, i, "key records"));
        }
    }
    layout.rest = bytes.subspan(in.position());
    return layout;
}

}  // namespace slipway
