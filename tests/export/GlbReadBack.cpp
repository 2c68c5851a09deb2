#include "GlbReadBack.h"

#include <cstring>

namespace slipway::test {

namespace {

Matrix identityMatrix() {
    return {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};
}

}  // namespace

Matrix multiply(const Matrix& a, const Matrix& b) {
    Matrix out{};
    for (int r = 0; r < 4; ++r) {
        for (int c = 0; c < 4; ++c) {
            double sum = 0;
            for (int k = 0; k < 4; ++k) {
                sum +=
                    a[static_cast<std::size_t>(4 * k + r)] * b[static_cast<std::size_t>(4 * c + k)];
            }
            out[static_cast<std::size_t>(4 * c + r)] = sum;
        }
    }
    return out;
}

Vec3 transform(const Matrix& m, Vec3 p) {
    const double v[4] = {p.x, p.y, p.z, 1};
    double out[3] = {};
    for (int r = 0; r < 3; ++r) {
        for (int k = 0; k < 4; ++k) {
            out[r] += m[static_cast<std::size_t>(4 * k + r)] * v[k];
        }
    }
    return {static_cast<float>(out[0]), static_cast<float>(out[1]), static_cast<float>(out[2])};
}

GlbReadBack::GlbReadBack(const std::vector<std::uint8_t>& bytes) {
    tinygltf::TinyGLTF loader;
    std::string warning;
    if (!loader.LoadBinaryFromMemory(&model_, &error_, &warning, bytes.data(),
                                     static_cast<unsigned int>(bytes.size())) &&
        error_.empty()) {
        error_ = "not loaded";
    }
}

int GlbReadBack::node(const std::string& name) const {
    for (std::size_t i = 0; i < model_.nodes.size(); ++i) {
        if (model_.nodes[i].name == name) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

int GlbReadBack::parentOf(int index) const {
    for (std::size_t i = 0; i < model_.nodes.size(); ++i) {
        for (int child : model_.nodes[i].children) {
            if (child == index) {
                return static_cast<int>(i);
            }
        }
    }
    return -1;
}

std::vector<std::string> GlbReadBack::nodeNames() const {
    std::vector<std::string> names;
    for (const auto& n : model_.nodes) {
        names.push_back(n.name);
    }
    return names;
}

Matrix GlbReadBack::local(int index) const {
    const tinygltf::Node& n = model_.nodes[static_cast<std::size_t>(index)];
    if (n.matrix.size() == 16) {
        Matrix m{};
        std::copy(n.matrix.begin(), n.matrix.end(), m.begin());
        return m;
    }
    Matrix m = identityMatrix();
    if (n.rotation.size() == 4) {
        const double x = n.rotation[0], y = n.rotation[1], z = n.rotation[2], w = n.rotation[3];
        m = {1 - 2 * (y * y + z * z),
             2 * (x * y + z * w),
             2 * (x * z - y * w),
             0,
             2 * (x * y - z * w),
             1 - 2 * (x * x + z * z),
             2 * (y * z + x * w),
             0,
             2 * (x * z + y * w),
             2 * (y * z - x * w),
             1 - 2 * (x * x + y * y),
             0,
             0,
             0,
             0,
             1};
    }
    if (n.scale.size() == 3) {
        for (int c = 0; c < 3; ++c) {
            for (int r = 0; r < 3; ++r) {
                m[static_cast<std::size_t>(4 * c + r)] *= n.scale[static_cast<std::size_t>(c)];
            }
        }
    }
    if (n.translation.size() == 3) {
        m[12] = n.translation[0];
        m[13] = n.translation[1];
        m[14] = n.translation[2];
    }
    return m;
}

Matrix GlbReadBack::global(int index) const {
    Matrix m = local(index);
    for (int p = parentOf(index); p >= 0; p = parentOf(p)) {
        m = multiply(local(p), m);
    }
    return m;
}

const tinygltf::Primitive& GlbReadBack::primitive(int meshNode) const {
    const auto& n = model_.nodes.at(static_cast<std::size_t>(meshNode));
    return model_.meshes.at(static_cast<std::size_t>(n.mesh)).primitives.at(0);
}

std::vector<float> GlbReadBack::floats(int accessorIndex, int components) const {
    const auto& a = model_.accessors.at(static_cast<std::size_t>(accessorIndex));
    const auto& view = model_.bufferViews.at(static_cast<std::size_t>(a.bufferView));
    const auto& buffer = model_.buffers.at(static_cast<std::size_t>(view.buffer));
    const std::size_t stride = view.byteStride != 0
                                   ? view.byteStride
                                   : sizeof(float) * static_cast<std::size_t>(components);
    std::vector<float> out(a.count * static_cast<std::size_t>(components));
    for (std::size_t i = 0; i < a.count; ++i) {
        std::memcpy(&out[i * static_cast<std::size_t>(components)],
                    buffer.data.data() + view.byteOffset + a.byteOffset + i * stride,
                    sizeof(float) * static_cast<std::size_t>(components));
    }
    return out;
}

std::vector<Vec3> GlbReadBack::positions(int meshNode, bool placed) const {
    const auto values = floats(primitive(meshNode).attributes.at("POSITION"), 3);
    std::vector<Vec3> out;
    const Matrix g = global(meshNode);
    for (std::size_t i = 0; i + 2 < values.size(); i += 3) {
        const Vec3 p{values[i], values[i + 1], values[i + 2]};
        out.push_back(placed ? transform(g, p) : p);
    }
    return out;
}

std::vector<Vec3> GlbReadBack::normals(int meshNode) const {
    const auto& attributes = primitive(meshNode).attributes;
    if (attributes.count("NORMAL") == 0) {
        return {};
    }
    const auto values = floats(attributes.at("NORMAL"), 3);
    std::vector<Vec3> out;
    for (std::size_t i = 0; i + 2 < values.size(); i += 3) {
        out.push_back({values[i], values[i + 1], values[i + 2]});
    }
    return out;
}

std::vector<std::array<float, 2>> GlbReadBack::texCoords(int meshNode) const {
    const auto& attributes = primitive(meshNode).attributes;
    if (attributes.count("TEXCOORD_0") == 0) {
        return {};
    }
    const auto values = floats(attributes.at("TEXCOORD_0"), 2);
    std::vector<std::array<float, 2>> out;
    for (std::size_t i = 0; i + 1 < values.size(); i += 2) {
        out.push_back({values[i], values[i + 1]});
    }
    return out;
}

std::vector<std::uint32_t> GlbReadBack::indices(int meshNode) const {
    const auto& a = model_.accessors.at(static_cast<std::size_t>(primitive(meshNode).indices));
    const auto& view = model_.bufferViews.at(static_cast<std::size_t>(a.bufferView));
    const auto& buffer = model_.buffers.at(static_cast<std::size_t>(view.buffer));
    std::vector<std::uint32_t> out;
    for (std::size_t i = 0; i < a.count; ++i) {
        std::uint16_t value = 0;
        std::memcpy(&value, buffer.data.data() + view.byteOffset + a.byteOffset + 2 * i, 2);
        out.push_back(value);
    }
    return out;
}

const tinygltf::Material& GlbReadBack::material(int meshNode) const {
    return model_.materials.at(static_cast<std::size_t>(primitive(meshNode).material));
}

}  // namespace slipway::test
