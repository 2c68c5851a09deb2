#pragma once
// A glTF node's local transform: where an object sits relative to the node it hangs from.
// The engine keeps only world matrices (a part's world translation already holds its parent's),
// so the local transform is the object's world matrix undone by its parent's.

#include <optional>
#include <vector>

#include "engine/Matrix4.h"

namespace slipway {

// In glTF's frame (export/GltfAxes.h). A rigid transform is written as translation and
// rotation, each left empty when it does nothing; anything else as a matrix.
struct NodeTransform {
    std::vector<double> translation;  // x, y, z
    std::vector<double> rotation;     // unit quaternion x, y, z, w
    std::vector<double> matrix;       // column-major; only when not rigid
};

// The transform that places an object whose world matrix is `world` below a node whose world
// matrix is `parentWorld` (null: at the root). Nothing when the parent's matrix cannot be
// undone (no inverse, or not affine) or a result is not a finite number.
std::optional<NodeTransform> localTransform(const Matrix4& world, const Matrix4* parentWorld);

}  // namespace slipway
