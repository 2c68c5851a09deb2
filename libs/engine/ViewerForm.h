#pragma once
// The two viewers share the scene, the loaders and the texture store; they differ in a handful
// of table sizes and steps. One value names the form, and the tables below hold the sizes, so
// every difference is a visible branch on this value rather than a second copy of the code.

namespace slipway {

enum class ViewerForm {
    // Ship viewer: 512 slots, four levels of detail, normals recomputed on load, 256 textures.
    Shipview,
    // Model editor: 64 slots, one mesh list with names, fill colours and key tracks, normals as
    // read, 1024 textures.
    Meshview,
};

constexpr int sceneSlotCount(ViewerForm form) {
    return form == ViewerForm::Shipview ? 512 : 64;
}
constexpr int textureSlotCount(ViewerForm form) {
    return form == ViewerForm::Shipview ? 256 : 1024;
}

}  // namespace slipway
