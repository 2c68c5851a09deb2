#include "formats/CffLayout.h"

#include <algorithm>
#include <string>

namespace slipway {

namespace {

std::int32_t levelsToWalk(const CffHeader& header, LevelsWalked levels) {
    switch (levels) {
        case LevelsWalked::First:
            return std::min<std::int32_t>(header.levelCount, 1);
        case LevelsWalked::Readable:
            return std::min<std::int32_t>(header.levelCount, kModelLevelLimit);
        case LevelsWalked::All:
            break;
    }
    return header.levelCount;
}

std::string where(std::int32_t level, std::int32_t object, const char* block) {
    return "level " + std::to_string(level) + ", object " + std::to_string(object) + ": " + block;
}

}  // namespace

CffLayout parseCffLayout(std::span<const std::uint8_t> bytes, LevelsWalked levels) {
    CffLayout layout;
    ByteReader in(bytes);
    const auto stop = [&](std::size_t offset, std::string reason) {
        layout.failure = LayoutFailure{offset, std::move(reason)};
        return std::move(layout);
    };

    layout.header = readCffHeader(in);
    const CffHeader& h = layout.header;
    if (in.failed())
        return stop(0, "file header");
    if (h.textureNameCount < 0 || h.levelCount < 0)
        return stop(0, "file header: negative count");

    // Each name needs at least its length byte, each record its 40 bytes.
    const auto names = static_cast<std::size_t>(h.textureNameCount);
    if (!in.canRead(names))
        return stop(kCffHeaderSize, "texture names");
    layout.textureNames.reserve(names);
    for (std::size_t i = 0; i < names; ++i) {
        const std::size_t at = in.position();
        const std::uint8_t length = in.u8();
        layout.textureNames.push_back(in.view(length));
        if (in.failed())
            return stop(at, "texture name " + std::to_string(i));
    }
    if (!in.canRead(names, kCffTextureRecordSize))
        return stop(in.position(), "texture records");
    layout.textureRecords.reserve(names);
    for (std::size_t i = 0; i < names; ++i) {
        const std::size_t at = in.position();
        CffTextureRecordLayout& record = layout.textureRecords.emplace_back();
        record.record = in.view(kCffTextureRecordSize);
        record.extra = takeRecords(in, cffTextureExtraEntries(record.record), kCffTextureExtraSize);
        if (in.failed())
            return stop(at, "texture record " + std::to_string(i));
    }

    const std::int32_t walked = levelsToWalk(h, levels);
    for (std::int32_t level = 0; level < walked; ++level) {
        const std::size_t levelStart = in.position();
        const std::int32_t objects = in.i32();
        const std::uint32_t reserved = in.u32();
        // Every object needs at least its header: a huge count is refused before reserving.
        if (in.failed() || objects < 0 ||
            !in.canRead(static_cast<std::size_t>(objects), kCffObjectHeaderSize)) {
            return stop(levelStart, "level " + std::to_string(level) + ": header and objects");
        }
        CffLevelLayout& levelLayout = layout.levels.emplace_back();
        levelLayout.reserved = reserved;
        levelLayout.objects.reserve(static_cast<std::size_t>(objects));
        for (std::int32_t i = 0; i < objects; ++i) {
            std::size_t at = in.position();
            CffObjectLayout& object = levelLayout.objects.emplace_back();
            object.header = readCffObjectHeader(in);
            if (in.failed())
                return stop(at, where(level, i, "object header"));
            object.record = bytes.subspan(at, kCffObjectHeaderSize);
            const CffObjectHeader& oh = object.header;
            if (oh.vertexRecords < 0 || oh.triangleRecords < 0 || oh.keyRecords < 0)
                return stop(at, where(level, i, "negative count"));
            at = in.position();
            object.vertices =
                takeRecords(in, static_cast<std::size_t>(oh.vertexRecords), kCffVertexSize);
            if (in.failed())
                return stop(at, where(level, i, "vertex records"));
            at = in.position();
            object.triangles = takeRecords(in, static_cast<std::size_t>(oh.triangleRecords),
                                           object.triangleSize());
            if (in.failed())
                return stop(at, where(level, i, "triangle records"));
            at = in.position();
            object.keys = takeRecords(in, static_cast<std::size_t>(oh.keyRecords), kKeyRecordSize);
            if (in.failed())
                return stop(at, where(level, i, "key records"));
        }
    }
    layout.rest = bytes.subspan(in.position());
    return layout;
}

}  // namespace slipway
