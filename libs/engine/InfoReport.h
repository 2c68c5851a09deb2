#pragma once
// The scene as one JSON document, for the viewers' --info: objects with their placement, levels
// and meshes, the statistics, the textures, the messages shown and the camera. With the model
// editor's data, each object also gives its path and key count, and each mesh its name and
// number of key records.

#include <string>
#include <vector>

#include "engine/CameraObject.h"
#include "engine/Scene.h"
#include "engine/TextureStore.h"

namespace slipway {

struct InfoContent {
    const Scene& scene;
    const TextureStore& textures;
    const CameraObject& camera;
    const std::vector<std::string>& messages;
    bool geometry = false;  // positions, normals, uvs and indices of each current mesh
    bool editData = false;  // the model editor's names, paths and key counts
};

std::string infoJson(const InfoContent& content);

// A float with enough digits to read back the same value; null for NaN and infinities.
std::string jsonNumber(float value);
std::string jsonString(const std::string& text);

}  // namespace slipway
