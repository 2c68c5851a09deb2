#pragma once
// Loads one texture file from memory into a store by each viewer's rules and checks what came out.

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

#include "engine/TextureStore.h"

namespace slipway::fuzz {

inline void loadTextureInBothForms(const std::uint8_t* data, std::size_t size,
                                   const std::string& path) {
    const std::span<const std::uint8_t> bytes(data, size);
    for (const ViewerRules* rules : {&kShipviewRules, &kMeshviewRules}) {
        TextureStore store(*rules);
        NullTrace trace;
        if (!store.loadTextureFromBytes(path, bytes, trace))
            continue;
        const TextureEntry* e = store.entry(store.textureIndex("fuzz"));
        if (!e || e->width <= 0 || e->height <= 0 ||
            e->pixels.size() != static_cast<std::size_t>(e->width) * e->height) {
            __builtin_trap();
        }
    }
}

}  // namespace slipway::fuzz
