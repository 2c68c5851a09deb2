#pragma once
// Reads a GLB back with tinygltf's own loader (not our writer's code) and answers what the
// tests ask of it: nodes by name, where they are in the file's frame, their meshes' data.

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include <tiny_gltf.h>

#include "engine/Vec3.h"

namespace slipway::test {

using Matrix = std::array<double, 16>;  // glTF's column-major, column vectors

class GlbReadBack {
  public:
    // Empty `error` when the bytes loaded.
    explicit GlbReadBack(const std::vector<std::uint8_t>& bytes);

    const tinygltf::Model& model() const { return model_; }
    const std::string& error() const { return error_; }

    // The first node of that name, -1 when none.
    int node(const std::string& name) const;
    // The node whose children list holds `index`, -1 for a root.
    int parentOf(int index) const;
    std::vector<std::string> nodeNames() const;
    // The node's transform relative to its parent, and relative to the scene.
    Matrix local(int index) const;
    Matrix global(int index) const;

    // A mesh node's vertex data and corner indices; positions placed by the node's global
    // transform when `placed`.
    std::vector<Vec3> positions(int meshNode, bool placed = false) const;
    std::vector<Vec3> normals(int meshNode) const;
    std::vector<std::array<float, 2>> texCoords(int meshNode) const;
    std::vector<std::uint32_t> indices(int meshNode) const;
    const tinygltf::Material& material(int meshNode) const;

  private:
    const tinygltf::Primitive& primitive(int meshNode) const;
    std::vector<float> floats(int accessor, int components) const;

    tinygltf::Model model_;
    std::string error_;
};

// Column-vector products and points.
Matrix multiply(const Matrix& a, const Matrix& b);
Vec3 transform(const Matrix& m, Vec3 p);

}  // namespace slipway::test
