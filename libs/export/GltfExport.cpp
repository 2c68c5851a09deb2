#include "export/GltfExport.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstring>
#include <map>
#include <ostream>
#include <streambuf>
#include <tuple>

#include <tiny_gltf.h>

#include "base/FileIo.h"
#include "engine/Flag.h"
#include "engine/FlagObject.h"
#include "export/GltfAxes.h"
#include "export/NodeTransform.h"
#include "export/TexturePng.h"

namespace slipway {

namespace {

static_assert(std::endian::native == std::endian::little,
              "glTF buffers are little-endian and are filled by copying floats");
static_assert(sizeof(Vec3) == 12, "positions are copied as three packed floats");

constexpr double kAlphaCutoff = 8.0 / 255.0;  // the renderer's alpha test: alpha >= 8/255
constexpr int kArrayBuffer = 34962;
constexpr int kElementArrayBuffer = 34963;

// The parts of the one buffer, in the order they are laid out.
enum Region { Positions, Normals, TexCoords, Indices, RegionCount };

bool isExported(const SceneObject& object, const GltfExportOptions& options) {
    if (!object.visible) {
        return false;
    }
    if (options.filter == DrawFilter::ModelsOnly) {
        return object.kind == ObjectKind::Model;
    }
    switch (object.kind) {
        case ObjectKind::Model:
        case ObjectKind::Sail:
        case ObjectKind::Flag:
            return true;
        case ObjectKind::Patch:
        case ObjectKind::Cannon:
            return options.markers;
        default:
            return false;
    }
}

std::string objectName(const SceneObject& object) {
    if (!object.fileName.empty()) {
        return object.fileName;
    }
    switch (object.kind) {
        case ObjectKind::Sail:
            return "sail";
        case ObjectKind::Flag: {
            const auto* flag = dynamic_cast<const FlagObject*>(&object);
            return flag != nullptr && flag->flagStyle == kPennantStyle ? "pennant" : "flag";
        }
        default:
            return "object";
    }
}

float finiteOrZero(float value) {
    return std::isfinite(value) ? value : 0.0f;
}

double lengthOf(Vec3 v) {
    return std::sqrt(static_cast<double>(v.x) * v.x + static_cast<double>(v.y) * v.y +
                     static_cast<double>(v.z) * v.z);
}

// A vector that can be scaled to unit length.
bool isDirection(Vec3 v) {
    const double size = lengthOf(v);
    return std::isfinite(size) && size > 1e-30;
}

Vec3 unitLength(Vec3 v) {
    const double size = lengthOf(v);
    return {static_cast<float>(v.x / size), static_cast<float>(v.y / size),
            static_cast<float>(v.z / size)};
}

// Each vertex's normal as the sum of its triangles' area-weighted face normals, taken in the
// corner order given (glTF's: the front face's normal).
std::vector<Vec3> faceNormals(const std::vector<Vec3>& points,
                              const std::vector<std::uint16_t>& corners) {
    std::vector<Vec3> sums(points.size());
    for (std::size_t t = 0; t + 2 < corners.size(); t += 3) {
        const Vec3 a = points[corners[t]], b = points[corners[t + 1]], c = points[corners[t + 2]];
        const Vec3 n = cross(subtract(b, a), subtract(c, a));
        for (std::size_t k = 0; k < 3; ++k) {
            sums[corners[t + k]] = add(sums[corners[t + k]], n);
        }
    }
    return sums;
}

template <typename T>
void append(std::vector<unsigned char>& out, const T* values, std::size_t count) {
    const auto* bytes = reinterpret_cast<const unsigned char*>(values);
    out.insert(out.end(), bytes, bytes + count * sizeof(T));
}

void padTo4(std::vector<unsigned char>& out) {
    out.resize((out.size() + 3) / 4 * 4, 0);
}

// Writes into a growing byte vector, so the GLB is made without a second copy.
class ByteSink : public std::streambuf {
  public:
    explicit ByteSink(std::vector<std::uint8_t>& out) : out_(out) {}

  protected:
    std::streamsize xsputn(const char* s, std::streamsize n) override {
        out_.insert(out_.end(), reinterpret_cast<const std::uint8_t*>(s),
                    reinterpret_cast<const std::uint8_t*>(s) + n);
        return n;
    }
    int_type overflow(int_type c) override {
        if (!traits_type::eq_int_type(c, traits_type::eof())) {
            out_.push_back(static_cast<std::uint8_t>(c));
        }
        return traits_type::not_eof(c);
    }

  private:
    std::vector<std::uint8_t>& out_;
};

class GlbBuilder {
  public:
    GlbBuilder(const TextureStore& textures, const GltfExportOptions& options)
        : textures_(textures), options_(options) {
        model_.asset.version = "2.0";
        model_.asset.generator = options.generator;
        model_.scenes.emplace_back();
        // Never empty: tinygltf writes a scene without any property as null.
        model_.scenes[0].name = options.sceneName.empty() ? "Scene" : options.sceneName;
        model_.defaultScene = 0;
    }

    void addScene(const Scene& scene);
    // False when the data is too large for one GLB.
    bool finish();
    bool write(std::vector<std::uint8_t>& out);
    const GltfExportSummary& summary() const { return summary_; }

  private:
    struct Exported {
        const SceneObject* object = nullptr;
        int node = -1;
    };

    // The nearest exported ancestor of `object`: a parent in a lower slot (as loaders make
    // them), so following the links always ends.
    const Exported* exportedParent(const Scene& scene, const SceneObject& object) const;
    void addObject(const SceneObject& object, const Exported* parent);
    void addPart(const SceneObject& object, const MeshPart& part, const MeshPart* restShape,
                 int objectNode, int partIndex);
    int accessor(Region region, std::size_t byteOffset, int componentType, int type,
                 std::size_t count);
    int material(const MeshPart& part, const TextureEntry* texture);
    int texture(std::uint32_t index, const TextureEntry& entry);

    const TextureStore& textures_;
    const GltfExportOptions& options_;
    tinygltf::Model model_;
    std::array<std::vector<unsigned char>, RegionCount> regions_;
    // Accessors and the region each one reads, until the regions have their buffer views.
    std::vector<std::pair<int, Region>> pendingAccessors_;
    std::map<int, Exported> exported_;  // by slot
    std::map<std::tuple<int, bool, bool>, int> materials_;
    std::map<std::uint32_t, int> gltfTextures_;
    std::vector<std::pair<int, std::vector<std::uint8_t>>> pictures_;  // image index, PNG bytes
    GltfExportSummary summary_;
};

const GlbBuilder::Exported* GlbBuilder::exportedParent(const Scene& scene,
                                                       const SceneObject& object) const {
    int below = object.slot;
    int parent = object.parent;
    while (parent >= 0 && parent < below) {
        if (const auto found = exported_.find(parent); found != exported_.end()) {
            return &found->second;
        }
        const SceneObject* skipped = scene.object(parent);
        if (skipped == nullptr) {
            return nullptr;
        }
        below = parent;
        parent = skipped->parent;
    }
    return nullptr;
}

void GlbBuilder::addScene(const Scene& scene) {
    for (int slot = 0; slot < scene.capacity(); ++slot) {
        const SceneObject* object = scene.object(slot);
        if (object != nullptr && isExported(*object, options_)) {
            addObject(*object, exportedParent(scene, *object));
        }
    }
}

void GlbBuilder::addObject(const SceneObject& object, const Exported* parent) {
    tinygltf::Node node;
    node.name = objectName(object);
    auto transform = localTransform(object.world, parent ? &parent->object->world : nullptr);
    if (!transform && parent != nullptr) {
        parent = nullptr;  // a parent that cannot be undone: placed from the root instead
        transform = localTransform(object.world, nullptr);
    }
    if (transform) {
        node.translation = transform->translation;
        node.rotation = transform->rotation;
        node.matrix = transform->matrix;
    }
    const int index = static_cast<int>(model_.nodes.size());
    model_.nodes.push_back(std::move(node));
    if (parent != nullptr) {
        model_.nodes[static_cast<std::size_t>(parent->node)].children.push_back(index);
    } else {
        model_.scenes[0].nodes.push_back(index);
    }
    exported_[object.slot] = Exported{&object, index};
    ++summary_.objects;
    ++summary_.nodes;

    // A flag goes out in its resting shape: the wave is the idle loop's, not the flag's.
    FlagObject rest;
    const MeshPart* restShape = nullptr;
    if (const auto* flag = dynamic_cast<const FlagObject*>(&object)) {
        rest.flagStyle = flag->flagStyle;
        shapeFlag(rest);
        restShape = &rest.lodMeshes[0][0];
    }
    const auto& parts = object.meshes();
    for (std::size_t k = 0; k < parts.size(); ++k) {
        const MeshPart* shape =
            restShape != nullptr && k == 0 && restShape->vertices.size() == parts[k].vertices.size()
                ? restShape
                : nullptr;
        addPart(object, parts[k], shape, index, static_cast<int>(k));
    }
}

int GlbBuilder::accessor(Region region, std::size_t byteOffset, int componentType, int type,
                         std::size_t count) {
    tinygltf::Accessor a;
    a.byteOffset = byteOffset;
    a.componentType = componentType;
    a.type = type;
    a.count = count;
    const int index = static_cast<int>(model_.accessors.size());
    model_.accessors.push_back(std::move(a));
    pendingAccessors_.emplace_back(index, region);
    return index;
}

void GlbBuilder::addPart(const SceneObject& object, const MeshPart& part, const MeshPart* restShape,
                         int objectNode, int partIndex) {
    const std::size_t vertexCount = part.vertices.size();
    const std::size_t triangleCount = part.indices.size() / 3;
    if (part.hidden || vertexCount == 0 || triangleCount == 0) {
        return;
    }
    const auto& source = restShape != nullptr ? restShape->vertices : part.vertices;

    // Whole triangles only, as the renderer draws them; an index past the vertices (which the
    // readers never leave) would make the file invalid, so it names vertex 0 instead.
    std::vector<std::uint16_t> corners;
    corners.reserve(triangleCount * 3);
    const auto checked = [&](std::uint16_t i) {
        return i < vertexCount ? i : static_cast<std::uint16_t>(0);
    };
    for (std::size_t t = 0; t < triangleCount; ++t) {
        const auto tri =
            gltfTriangle(checked(part.indices[3 * t]), checked(part.indices[3 * t + 1]),
                         checked(part.indices[3 * t + 2]));
        corners.insert(corners.end(), tri.begin(), tri.end());
    }

    // Positions, with the box every reader needs.
    std::vector<Vec3> points(vertexCount);
    std::array<float, 3> low{}, high{};
    for (std::size_t i = 0; i < vertexCount; ++i) {
        const RenderVertex& v = source[i];
        points[i] = gltfVector({finiteOrZero(v.x), finiteOrZero(v.y), finiteOrZero(v.z)});
        const float xyz[3] = {points[i].x, points[i].y, points[i].z};
        for (std::size_t c = 0; c < 3; ++c) {
            low[c] = i == 0 ? xyz[c] : std::min(low[c], xyz[c]);
            high[c] = i == 0 ? xyz[c] : std::max(high[c], xyz[c]);
        }
    }
    auto& positions = regions_[Positions];
    const int position = accessor(Positions, positions.size(), TINYGLTF_COMPONENT_TYPE_FLOAT,
                                  TINYGLTF_TYPE_VEC3, vertexCount);
    model_.accessors[static_cast<std::size_t>(position)].minValues.assign(low.begin(), low.end());
    model_.accessors[static_cast<std::size_t>(position)].maxValues.assign(high.begin(), high.end());
    append(positions, points.data(), points.size());

    // Normals. Sails and flags carry one fixed direction for the whole part, which lights
    // nothing sensibly outside the viewer, so theirs come from the faces; so does any normal
    // without a direction.
    const bool generated = object.kind == ObjectKind::Sail || object.kind == ObjectKind::Flag;
    std::vector<float> values;
    values.reserve(vertexCount * 3);
    std::vector<Vec3> fromFaces;
    for (std::size_t i = 0; i < vertexCount; ++i) {
        const RenderVertex& v = source[i];
        Vec3 n = gltfVector({v.nx, v.ny, v.nz});
        if (generated || !isDirection(n)) {
            if (fromFaces.empty()) {
                fromFaces = faceNormals(points, corners);
            }
            n = isDirection(fromFaces[i]) ? fromFaces[i] : Vec3{0, 1, 0};
        }
        const Vec3 unit = unitLength(n);
        values.insert(values.end(), {unit.x, unit.y, unit.z});
    }
    const int normal = accessor(Normals, regions_[Normals].size(), TINYGLTF_COMPONENT_TYPE_FLOAT,
                                TINYGLTF_TYPE_VEC3, vertexCount);
    append(regions_[Normals], values.data(), values.size());

    const TextureEntry* entry = textures_.entry(part.texture);
    int texCoord = -1;
    if (entry != nullptr) {
        values.clear();
        for (std::size_t i = 0; i < vertexCount; ++i) {
            values.insert(values.end(), {finiteOrZero(source[i].u), finiteOrZero(source[i].v)});
        }
        texCoord = accessor(TexCoords, regions_[TexCoords].size(), TINYGLTF_COMPONENT_TYPE_FLOAT,
                            TINYGLTF_TYPE_VEC2, vertexCount);
        append(regions_[TexCoords], values.data(), values.size());
    }

    auto& indices = regions_[Indices];
    const int indexAccessor =
        accessor(Indices, indices.size(), TINYGLTF_COMPONENT_TYPE_UNSIGNED_SHORT,
                 TINYGLTF_TYPE_SCALAR, corners.size());
    append(indices, corners.data(), corners.size());
    padTo4(indices);

    tinygltf::Primitive primitive;
    primitive.mode = TINYGLTF_MODE_TRIANGLES;
    primitive.attributes["POSITION"] = position;
    primitive.attributes["NORMAL"] = normal;
    if (texCoord >= 0) {
        primitive.attributes["TEXCOORD_0"] = texCoord;
    }
    primitive.indices = indexAccessor;
    primitive.material = material(part, entry);

    const std::string name =
        part.name.empty() ? objectName(object) + " part " + std::to_string(partIndex) : part.name;
    tinygltf::Mesh mesh;
    mesh.name = name;
    mesh.primitives.push_back(std::move(primitive));
    tinygltf::Node node;
    node.name = name;
    node.mesh = static_cast<int>(model_.meshes.size());
    model_.meshes.push_back(std::move(mesh));
    const int index = static_cast<int>(model_.nodes.size());
    model_.nodes.push_back(std::move(node));
    model_.nodes[static_cast<std::size_t>(objectNode)].children.push_back(index);

    ++summary_.nodes;
    ++summary_.meshes;
    summary_.vertices += vertexCount;
    summary_.triangles += triangleCount;
}

int GlbBuilder::material(const MeshPart& part, const TextureEntry* texture) {
    const int textureIndex = texture != nullptr ? static_cast<int>(part.texture) : -1;
    const bool masked = texture != nullptr && texture->hasAlpha;
    const auto key = std::make_tuple(textureIndex, part.doubleSided, masked);
    if (const auto found = materials_.find(key); found != materials_.end()) {
        return found->second;
    }
    tinygltf::Material m;
    m.name = texture != nullptr ? texture->name : "untextured";
    if (part.doubleSided) {
        m.name += " double-sided";
    }
    m.pbrMetallicRoughness.baseColorFactor = {1.0, 1.0, 1.0, 1.0};
    m.pbrMetallicRoughness.metallicFactor = 0.0;
    m.pbrMetallicRoughness.roughnessFactor = 1.0;
    if (texture != nullptr) {
        m.pbrMetallicRoughness.baseColorTexture.index = this->texture(part.texture, *texture);
    }
    if (masked) {
        m.alphaMode = "MASK";
        m.alphaCutoff = kAlphaCutoff;
    }
    m.doubleSided = part.doubleSided;
    const int index = static_cast<int>(model_.materials.size());
    model_.materials.push_back(std::move(m));
    materials_[key] = index;
    ++summary_.materials;
    return index;
}

int GlbBuilder::texture(std::uint32_t index, const TextureEntry& entry) {
    if (const auto found = gltfTextures_.find(index); found != gltfTextures_.end()) {
        return found->second;
    }
    tinygltf::Image image;
    image.name = entry.name;
    image.mimeType = "image/png";
    const int imageIndex = static_cast<int>(model_.images.size());
    model_.images.push_back(std::move(image));
    pictures_.emplace_back(imageIndex, encodeTexturePng(entry));
    ++summary_.images;

    if (model_.samplers.empty()) {
        // The renderer's sampling: nearest texel, repeated.
        tinygltf::Sampler sampler;
        sampler.magFilter = TINYGLTF_TEXTURE_FILTER_NEAREST;
        sampler.minFilter = TINYGLTF_TEXTURE_FILTER_NEAREST;
        sampler.wrapS = TINYGLTF_TEXTURE_WRAP_REPEAT;
        sampler.wrapT = TINYGLTF_TEXTURE_WRAP_REPEAT;
        model_.samplers.push_back(sampler);
    }
    tinygltf::Texture t;
    t.name = entry.name;
    t.sampler = 0;
    t.source = imageIndex;
    const int textureIndex = static_cast<int>(model_.textures.size());
    model_.textures.push_back(std::move(t));
    gltfTextures_[index] = textureIndex;
    return textureIndex;
}

bool GlbBuilder::finish() {
    std::uint64_t total = 0;
    for (const auto& region : regions_) {
        total += (region.size() + 3) / 4 * 4;
    }
    for (const auto& picture : pictures_) {
        total += (picture.second.size() + 3) / 4 * 4;
    }
    if (total > kMaxGlbBinaryBytes) {
        return false;
    }
    tinygltf::Buffer buffer;
    buffer.data.reserve(static_cast<std::size_t>(total));
    const auto addView = [&](const std::vector<unsigned char>& bytes, int target, int stride) {
        tinygltf::BufferView view;
        view.buffer = 0;
        view.byteOffset = buffer.data.size();
        view.byteLength = bytes.size();
        view.byteStride = static_cast<std::size_t>(stride);
        view.target = target;
        buffer.data.insert(buffer.data.end(), bytes.begin(), bytes.end());
        padTo4(buffer.data);
        model_.bufferViews.push_back(std::move(view));
        return static_cast<int>(model_.bufferViews.size()) - 1;
    };

    std::array<int, RegionCount> views{};
    // Vertex views are shared by many accessors, so they state their stride.
    const int targets[RegionCount] = {kArrayBuffer, kArrayBuffer, kArrayBuffer,
                                      kElementArrayBuffer};
    const int strides[RegionCount] = {12, 12, 8, 0};
    for (std::size_t r = 0; r < RegionCount; ++r) {
        views[r] = regions_[r].empty() ? -1 : addView(regions_[r], targets[r], strides[r]);
        std::vector<unsigned char>().swap(regions_[r]);
    }
    for (const auto& [accessorIndex, region] : pendingAccessors_) {
        model_.accessors[static_cast<std::size_t>(accessorIndex)].bufferView =
            views[static_cast<std::size_t>(region)];
    }
    for (auto& [imageIndex, png] : pictures_) {
        // A texture that could not be encoded still gets a picture: one white texel.
        if (png.empty()) {
            TextureEntry white;
            white.width = white.height = 1;
            white.format = TexturePixelFormat::Rgb565;
            white.pixels = {0xFFFF};
            png = encodeTexturePng(white);
        }
        model_.images[static_cast<std::size_t>(imageIndex)].bufferView = addView(png, 0, 0);
    }
    if (!buffer.data.empty()) {
        model_.buffers.push_back(std::move(buffer));
    }
    return true;
}

bool GlbBuilder::write(std::vector<std::uint8_t>& out) {
    ByteSink sink(out);
    std::ostream stream(&sink);
    tinygltf::TinyGLTF writer;
    return writer.WriteGltfSceneToStream(&model_, stream, false, true) && stream.good();
}

}  // namespace

std::vector<std::uint8_t> buildGlb(const Scene& scene, const TextureStore& textures,
                                   const GltfExportOptions& options, GltfExportSummary* summary) {
    GlbBuilder builder(textures, options);
    builder.addScene(scene);
    std::vector<std::uint8_t> out;
    if (!builder.finish() || !builder.write(out)) {
        out.clear();
    }
    if (summary != nullptr) {
        *summary = builder.summary();
    }
    return out;
}

GltfExportResult writeGlb(const std::string& path, const Scene& scene, const TextureStore& textures,
                          const GltfExportOptions& options) {
    GltfExportResult result;
    const std::vector<std::uint8_t> bytes = buildGlb(scene, textures, options, &result.summary);
    if (bytes.empty()) {
        result.error = "the scene is too large for one glTF binary file";
        return result;
    }
    if (!writeFileAtomically(path, bytes)) {
        result.error = "can't write " + path;
        return result;
    }
    result.written = true;
    return result;
}

}  // namespace slipway
