#include "export/GltfExport.h"

#include <algorithm>
#include <bit>
#include <cctype>
#include <cmath>
#include <cstring>
#include <functional>
#include <map>
#include <memory>
#include <span>
#include <sstream>
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

// A name as glTF needs it, in UTF-8. Names in model files come from systems with one-byte
// code pages; one that is not valid UTF-8 is read as Latin-1, which keeps every byte.
std::string utf8Name(const std::string& name) {
    // Strict UTF-8, as the JSON writer checks it: no overlong forms, no surrogates.
    const auto valid = [&] {
        for (std::size_t i = 0; i < name.size();) {
            const auto c = static_cast<unsigned char>(name[i]);
            const std::size_t length = c < 0x80         ? 1
                                       : (c >> 5) == 6  ? 2
                                       : (c >> 4) == 14 ? 3
                                       : (c >> 3) == 30 ? 4
                                                        : 0;
            if (length == 0 || i + length > name.size()) {
                return false;
            }
            std::uint32_t code = length == 1 ? c : c & (0x7Fu >> length);
            for (std::size_t k = 1; k < length; ++k) {
                const auto next = static_cast<unsigned char>(name[i + k]);
                if ((next >> 6) != 2) {
                    return false;
                }
                code = (code << 6) | (next & 0x3Fu);
            }
            const std::uint32_t lowest[5] = {0, 0, 0x80, 0x800, 0x10000};
            if (code < lowest[length] || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) {
                return false;
            }
            i += length;
        }
        return true;
    };
    if (valid()) {
        return name;
    }
    std::string out;
    for (const char ch : name) {
        const auto c = static_cast<unsigned char>(ch);
        if (c < 0x80) {
            out += ch;
        } else {
            out += static_cast<char>(0xC0 | (c >> 6));
            out += static_cast<char>(0x80 | (c & 0x3F));
        }
    }
    return out;
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

using Sink = std::function<bool(std::span<const std::uint8_t>)>;

// What goes out, decided before anything is written so that the document can be written
// first and the binary chunk streamed after it, part by part.
struct PartPlan {
    const MeshPart* part = nullptr;
    const std::vector<RenderVertex>* vertices = nullptr;  // the part's, or the flag's at rest
    const TextureEntry* texture = nullptr;                // null: untextured
    std::string name;
};

struct ObjectPlan {
    const SceneObject* object = nullptr;
    int parent = -1;  // the plan of the node it hangs from; -1 at the root
    std::unique_ptr<FlagObject> rest;
    std::vector<PartPlan> parts;
};

std::size_t paddedTo4(std::size_t size) {
    return (size + 3) / 4 * 4;
}

void putU32(std::vector<std::uint8_t>& out, std::uint32_t value) {
    for (int i = 0; i < 4; ++i) {
        out.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
    }
}

template <typename T>
void append(std::vector<std::uint8_t>& out, const T* values, std::size_t count) {
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(values);
    out.insert(out.end(), bytes, bytes + count * sizeof(T));
}

Vec3 gltfPosition(const RenderVertex& v) {
    return gltfVector({finiteOrZero(v.x), finiteOrZero(v.y), finiteOrZero(v.z)});
}

class GlbBuilder {
  public:
    GlbBuilder(const TextureStore& textures, const GltfExportOptions& options)
        : textures_(textures), options_(options) {
        model_.asset.version = "2.0";
        model_.asset.generator = utf8Name(options.generator);
        model_.scenes.emplace_back();
        // Never empty: tinygltf writes a scene without any property as null.
        model_.scenes[0].name = options.sceneName.empty() ? "Scene" : utf8Name(options.sceneName);
        model_.defaultScene = 0;
    }

    // Builds the document. False when the data is too large for one GLB.
    bool build(const Scene& scene);
    // The start of the GLB: its header, the document and the binary chunk's header; empty
    // when tinygltf could not write the document.
    std::vector<std::uint8_t> head();
    // The binary chunk, in pieces.
    bool writeBinary(const Sink& sink);
    std::uint64_t binaryBytes() const { return binaryBytes_; }
    const GltfExportSummary& summary() const { return summary_; }

  private:
    void plan(const Scene& scene);
    void addObject(const ObjectPlan& plan, std::vector<int>& nodes);
    void addPart(const ObjectPlan& object, const PartPlan& part, int objectNode);
    // A buffer view over the next `bytes` bytes of the binary chunk, and an accessor reading
    // all of it.
    int accessor(std::size_t bytes, int target, int componentType, int type, std::size_t count);
    int material(const MeshPart& part, const TextureEntry* texture);
    int texture(const TextureEntry& entry);
    // The bytes of one part in the binary chunk, exactly as its accessors were laid out.
    void partBytes(const ObjectPlan& object, const PartPlan& part,
                   std::vector<std::uint8_t>& out) const;

    const TextureStore& textures_;
    const GltfExportOptions& options_;
    tinygltf::Model model_;
    std::vector<ObjectPlan> plans_;
    std::vector<const TextureEntry*> pictureOrder_;                      // first use first
    std::map<const TextureEntry*, std::vector<std::uint8_t>> pictures_;  // PNG of each
    std::map<const TextureEntry*, int> images_;
    std::uint64_t binaryBytes_ = 0;
    std::map<std::tuple<const TextureEntry*, bool, bool>, int> materials_;
    std::map<const TextureEntry*, int> gltfTextures_;
    GltfExportSummary summary_;
};

void GlbBuilder::plan(const Scene& scene) {
    std::map<int, int> planOfSlot;
    for (int slot = 0; slot < scene.capacity(); ++slot) {
        const SceneObject* object = scene.object(slot);
        if (object == nullptr || !isExported(*object, options_)) {
            continue;
        }
        ObjectPlan plan;
        plan.object = object;
        // The nearest exported ancestor: parents sit in lower slots (the loaders make them
        // first), and only links downwards are followed, so the walk always ends.
        int below = slot;
        for (int parent = object->parent; parent >= 0 && parent < below;) {
            if (const auto found = planOfSlot.find(parent); found != planOfSlot.end()) {
                plan.parent = found->second;
                break;
            }
            const SceneObject* skipped = scene.object(parent);
            if (skipped == nullptr) {
                break;
            }
            below = parent;
            parent = skipped->parent;
        }
        // A flag goes out in its resting shape: the wave is the idle loop's, not the flag's.
        if (const auto* flag = dynamic_cast<const FlagObject*>(object)) {
            plan.rest = std::make_unique<FlagObject>();
            plan.rest->flagStyle = flag->flagStyle;
            shapeFlag(*plan.rest);
        }
        const auto& parts = object->meshes();
        for (std::size_t k = 0; k < parts.size(); ++k) {
            const MeshPart& part = parts[k];
            const std::size_t vertexCount = part.vertices.size();
            const std::size_t triangleCount = part.indices.size() / 3;
            if (part.hidden || vertexCount == 0 || triangleCount == 0) {
                continue;
            }
            PartPlan p;
            p.part = &part;
            p.vertices = &part.vertices;
            if (plan.rest && k == 0 && plan.rest->meshes()[0].vertices.size() == vertexCount) {
                p.vertices = &plan.rest->meshes()[0].vertices;
            }
            p.texture = textures_.entry(part.texture);
            p.name = utf8Name(part.name.empty() ? objectName(*object) + " part " + std::to_string(k)
                                                : part.name);
            if (p.texture != nullptr && pictures_.count(p.texture) == 0) {
                auto png = encodeTexturePng(*p.texture);
                if (png.empty()) {
                    // A texture that cannot be encoded still gets a picture: one white texel.
                    TextureEntry white;
                    white.width = white.height = 1;
                    white.format = TexturePixelFormat::Rgb565;
                    white.pixels = {0xFFFF};
                    png = encodeTexturePng(white);
                }
                pictures_[p.texture] = std::move(png);
                pictureOrder_.push_back(p.texture);
            }
            plan.parts.push_back(std::move(p));
        }
        planOfSlot[slot] = static_cast<int>(plans_.size());
        plans_.push_back(std::move(plan));
    }
}

bool GlbBuilder::build(const Scene& scene) {
    plan(scene);
    // The binary chunk: the pictures, then each part's positions, normals, texture
    // coordinates and indices, each piece starting at a multiple of 4.
    std::uint64_t total = 0;
    for (const TextureEntry* entry : pictureOrder_) {
        total += paddedTo4(pictures_.at(entry).size());
    }
    for (const ObjectPlan& plan : plans_) {
        for (const PartPlan& part : plan.parts) {
            const std::uint64_t vertices = part.vertices->size();
            total += vertices * (part.texture != nullptr ? 32 : 24) +
                     paddedTo4(part.part->indices.size() / 3 * 6);
        }
    }
    if (total > kMaxGlbBinaryBytes) {
        return false;
    }
    for (const TextureEntry* entry : pictureOrder_) {
        tinygltf::BufferView view;
        view.buffer = 0;
        view.byteOffset = static_cast<std::size_t>(binaryBytes_);
        view.byteLength = pictures_.at(entry).size();
        binaryBytes_ += paddedTo4(view.byteLength);
        tinygltf::Image image;
        image.name = utf8Name(entry->name);
        image.mimeType = "image/png";
        image.bufferView = static_cast<int>(model_.bufferViews.size());
        model_.bufferViews.push_back(std::move(view));
        images_[entry] = static_cast<int>(model_.images.size());
        model_.images.push_back(std::move(image));
        ++summary_.images;
    }
    std::vector<int> nodes;  // of each plan
    for (const ObjectPlan& plan : plans_) {
        addObject(plan, nodes);
    }
    return binaryBytes_ == total;
}

void GlbBuilder::addObject(const ObjectPlan& plan, std::vector<int>& nodes) {
    const SceneObject& object = *plan.object;
    const ObjectPlan* parent =
        plan.parent >= 0 ? &plans_[static_cast<std::size_t>(plan.parent)] : nullptr;
    tinygltf::Node node;
    node.name = utf8Name(objectName(object));
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
        model_.nodes[static_cast<std::size_t>(nodes[static_cast<std::size_t>(plan.parent)])]
            .children.push_back(index);
    } else {
        model_.scenes[0].nodes.push_back(index);
    }
    nodes.push_back(index);
    ++summary_.objects;
    ++summary_.nodes;
    for (const PartPlan& part : plan.parts) {
        addPart(plan, part, index);
    }
}

int GlbBuilder::accessor(std::size_t bytes, int target, int componentType, int type,
                         std::size_t count) {
    tinygltf::BufferView view;
    view.buffer = 0;
    view.byteOffset = static_cast<std::size_t>(binaryBytes_);
    view.byteLength = bytes;
    view.target = target;
    binaryBytes_ += paddedTo4(bytes);
    tinygltf::Accessor a;
    a.bufferView = static_cast<int>(model_.bufferViews.size());
    a.componentType = componentType;
    a.type = type;
    a.count = count;
    model_.bufferViews.push_back(std::move(view));
    model_.accessors.push_back(std::move(a));
    return static_cast<int>(model_.accessors.size()) - 1;
}

void GlbBuilder::addPart(const ObjectPlan&, const PartPlan& plan, int objectNode) {
    const MeshPart& part = *plan.part;
    const std::vector<RenderVertex>& source = *plan.vertices;
    const std::size_t vertexCount = source.size();
    const std::size_t triangleCount = part.indices.size() / 3;

    // The box of the positions, which every reader needs.
    std::array<float, 3> low{}, high{};
    for (std::size_t i = 0; i < vertexCount; ++i) {
        const Vec3 p = gltfPosition(source[i]);
        const float xyz[3] = {p.x, p.y, p.z};
        for (std::size_t c = 0; c < 3; ++c) {
            low[c] = i == 0 ? xyz[c] : std::min(low[c], xyz[c]);
            high[c] = i == 0 ? xyz[c] : std::max(high[c], xyz[c]);
        }
    }
    // The same order as partBytes writes them.
    const int position = accessor(vertexCount * 12, kArrayBuffer, TINYGLTF_COMPONENT_TYPE_FLOAT,
                                  TINYGLTF_TYPE_VEC3, vertexCount);
    model_.accessors.back().minValues.assign(low.begin(), low.end());
    model_.accessors.back().maxValues.assign(high.begin(), high.end());
    const int normal = accessor(vertexCount * 12, kArrayBuffer, TINYGLTF_COMPONENT_TYPE_FLOAT,
                                TINYGLTF_TYPE_VEC3, vertexCount);
    const int texCoord = plan.texture == nullptr ? -1
                                                 : accessor(vertexCount * 8, kArrayBuffer,
                                                            TINYGLTF_COMPONENT_TYPE_FLOAT,
                                                            TINYGLTF_TYPE_VEC2, vertexCount);
    const int indices =
        accessor(triangleCount * 6, kElementArrayBuffer, TINYGLTF_COMPONENT_TYPE_UNSIGNED_SHORT,
                 TINYGLTF_TYPE_SCALAR, triangleCount * 3);

    tinygltf::Primitive primitive;
    primitive.mode = TINYGLTF_MODE_TRIANGLES;
    primitive.attributes["POSITION"] = position;
    primitive.attributes["NORMAL"] = normal;
    if (texCoord >= 0) {
        primitive.attributes["TEXCOORD_0"] = texCoord;
    }
    primitive.indices = indices;
    primitive.material = material(part, plan.texture);

    tinygltf::Mesh mesh;
    mesh.name = plan.name;
    mesh.primitives.push_back(std::move(primitive));
    tinygltf::Node node;
    node.name = plan.name;
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

void GlbBuilder::partBytes(const ObjectPlan& object, const PartPlan& plan,
                           std::vector<std::uint8_t>& out) const {
    const MeshPart& part = *plan.part;
    const std::vector<RenderVertex>& source = *plan.vertices;
    const std::size_t vertexCount = source.size();
    const std::size_t triangleCount = part.indices.size() / 3;

    // Whole triangles only, as the renderer draws them; an index past the vertices (which the
    // readers never leave) would make the file invalid, so it names vertex 0 instead.
    std::vector<std::uint16_t> corners;
    corners.reserve(triangleCount * 3 + 1);
    const auto checked = [&](std::uint16_t i) {
        return i < vertexCount ? i : static_cast<std::uint16_t>(0);
    };
    for (std::size_t t = 0; t < triangleCount; ++t) {
        const auto tri =
            gltfTriangle(checked(part.indices[3 * t]), checked(part.indices[3 * t + 1]),
                         checked(part.indices[3 * t + 2]));
        corners.insert(corners.end(), tri.begin(), tri.end());
    }

    std::vector<Vec3> points(vertexCount);
    for (std::size_t i = 0; i < vertexCount; ++i) {
        points[i] = gltfPosition(source[i]);
    }
    append(out, points.data(), points.size());

    // Normals. Sails and flags carry one fixed direction for the whole part, which lights
    // nothing sensibly outside the viewer, so theirs come from the faces; so does any normal
    // without a direction.
    const ObjectKind kind = object.object->kind;
    const bool generated = kind == ObjectKind::Sail || kind == ObjectKind::Flag;
    std::vector<Vec3> fromFaces;
    std::vector<Vec3> normals(vertexCount);
    for (std::size_t i = 0; i < vertexCount; ++i) {
        const RenderVertex& v = source[i];
        Vec3 n = gltfVector({v.nx, v.ny, v.nz});
        if (generated || !isDirection(n)) {
            if (fromFaces.empty()) {
                fromFaces = faceNormals(points, corners);
            }
            n = isDirection(fromFaces[i]) ? fromFaces[i] : Vec3{0, 1, 0};
        }
        normals[i] = unitLength(n);
    }
    append(out, normals.data(), normals.size());

    if (plan.texture != nullptr) {
        for (const RenderVertex& v : source) {
            const float uv[2] = {finiteOrZero(v.u), finiteOrZero(v.v)};
            append(out, uv, 2);
        }
    }
    if (corners.size() % 2 != 0) {
        corners.push_back(0);  // the padding to a multiple of 4 bytes
    }
    append(out, corners.data(), corners.size());
}

int GlbBuilder::material(const MeshPart& part, const TextureEntry* texture) {
    const bool masked = texture != nullptr && texture->hasAlpha;
    const auto key = std::make_tuple(texture, part.doubleSided, masked);
    if (const auto found = materials_.find(key); found != materials_.end()) {
        return found->second;
    }
    tinygltf::Material m;
    m.name = texture != nullptr ? utf8Name(texture->name) : "untextured";
    if (part.doubleSided) {
        m.name += " double-sided";
    }
    m.pbrMetallicRoughness.baseColorFactor = {1.0, 1.0, 1.0, 1.0};
    m.pbrMetallicRoughness.metallicFactor = 0.0;
    m.pbrMetallicRoughness.roughnessFactor = 1.0;
    if (texture != nullptr) {
        m.pbrMetallicRoughness.baseColorTexture.index = this->texture(*texture);
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

int GlbBuilder::texture(const TextureEntry& entry) {
    if (const auto found = gltfTextures_.find(&entry); found != gltfTextures_.end()) {
        return found->second;
    }
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
    t.name = utf8Name(entry.name);
    t.sampler = 0;
    t.source = images_.at(&entry);
    const int textureIndex = static_cast<int>(model_.textures.size());
    model_.textures.push_back(std::move(t));
    gltfTextures_[&entry] = textureIndex;
    return textureIndex;
}

// The document is tinygltf's, written as JSON; the GLB container around it (a 12-byte header
// and two chunk headers) is put together here so that the binary chunk can go to the file
// part by part as it is made. tinygltf's own GLB writer wants the whole chunk in memory and
// copies it once more, which made exporting a large ship several times slower than opening it.
std::vector<std::uint8_t> GlbBuilder::head() {
    std::ostringstream document;
    tinygltf::TinyGLTF writer;
    try {
        if (!writer.WriteGltfSceneToStream(&model_, document, false, false)) {
            return {};
        }
    } catch (const std::exception&) {
        return {};  // the JSON library throws on what it cannot write; nothing may escape
    }
    std::string json = document.str();
    while (!json.empty() && std::isspace(static_cast<unsigned char>(json.back()))) {
        json.pop_back();
    }
    if (json.empty() || json.back() != '}') {
        return {};
    }
    if (binaryBytes_ > 0) {
        // The one buffer, the binary chunk; tinygltf writes buffers only from their bytes.
        json.insert(json.size() - 1,
                    ",\"buffers\":[{\"byteLength\":" + std::to_string(binaryBytes_) + "}]");
    }
    json.resize(paddedTo4(json.size()), ' ');

    std::vector<std::uint8_t> head;
    const std::uint64_t length = 12 + 8 + json.size() + (binaryBytes_ > 0 ? 8 + binaryBytes_ : 0);
    putU32(head, 0x46546C67);  // "glTF"
    putU32(head, 2);
    putU32(head, static_cast<std::uint32_t>(length));
    putU32(head, static_cast<std::uint32_t>(json.size()));
    putU32(head, 0x4E4F534A);  // "JSON"
    head.insert(head.end(), json.begin(), json.end());
    if (binaryBytes_ > 0) {
        putU32(head, static_cast<std::uint32_t>(binaryBytes_));
        putU32(head, 0x004E4942);  // "BIN"
    }
    return head;
}

bool GlbBuilder::writeBinary(const Sink& sink) {
    std::vector<std::uint8_t> bytes;
    std::uint64_t written = 0;
    for (const TextureEntry* entry : pictureOrder_) {
        bytes = pictures_.at(entry);
        bytes.resize(paddedTo4(bytes.size()), 0);
        written += bytes.size();
        if (!sink(bytes)) {
            return false;
        }
    }
    for (const ObjectPlan& plan : plans_) {
        for (const PartPlan& part : plan.parts) {
            bytes.clear();
            partBytes(plan, part, bytes);
            written += bytes.size();
            if (!sink(bytes)) {
                return false;
            }
        }
    }
    return written == binaryBytes_;
}

}  // namespace

std::vector<std::uint8_t> buildGlb(const Scene& scene, const TextureStore& textures,
                                   const GltfExportOptions& options, GltfExportSummary* summary) {
    GlbBuilder builder(textures, options);
    std::vector<std::uint8_t> out;
    if (builder.build(scene)) {
        out = builder.head();
        out.reserve(out.size() + static_cast<std::size_t>(builder.binaryBytes()));
        const bool written =
            !out.empty() && builder.writeBinary([&](std::span<const std::uint8_t> bytes) {
                out.insert(out.end(), bytes.begin(), bytes.end());
                return true;
            });
        if (!written) {
            out.clear();
        }
    }
    if (summary != nullptr) {
        *summary = builder.summary();
    }
    return out;
}

GltfExportResult writeGlb(const std::string& path, const Scene& scene, const TextureStore& textures,
                          const GltfExportOptions& options) {
    GltfExportResult result;
    GlbBuilder builder(textures, options);
    const bool built = builder.build(scene);
    result.summary = builder.summary();
    if (!built) {
        result.error = "the scene is too large for one glTF binary file";
        return result;
    }
    const std::vector<std::uint8_t> head = builder.head();
    AtomicFile file(path);
    bool written = !head.empty() && file.open();
    if (written) {
        // Straight into the file, part by part: the binary chunk is never held whole.
        file.reserve(head.size() + builder.binaryBytes());
        written = file.write(head) && builder.writeBinary([&](std::span<const std::uint8_t> bytes) {
            return file.write(bytes);
        }) && file.commit();
    }
    if (!written) {
        result.error = "can't write " + path;
        return result;
    }
    result.written = true;
    return result;
}

}  // namespace slipway
