#include "engine/ModelSaver.h"

#include <algorithm>
#include <cstring>
#include <functional>
#include <span>

#include "base/ByteWriter.h"
#include "base/FileIo.h"
#include "base/Format.h"
#include "base/Paths.h"
#include "engine/ModelEditing.h"
#include "engine/NameList.h"
#include "formats/ClfFile.h"

namespace slipway {

namespace {

constexpr std::uint32_t kVertexTail = 0xFFFFFFFFu;
constexpr std::size_t kSavedNameLength = kClfObjectNameSize - 1;

bool exported(const MeshPart& part) {
    return !part.hidden && !part.vertices.empty() && !part.indices.empty();
}

// The texture name a mesh is saved with: the one its file gave, spelled as the store holds it
// when the store holds that texture. The store's own name for the mesh's index is not enough:
// a texture that was not found has index 0, which stands for whatever the store holds there
// (another texture, or a fill colour), and saving that name would retexture the mesh.
std::string savedTextureName(const MeshPart& part, const TextureStore& textures) {
    std::string stored;
    if (textures.textureName(part.texture, stored) && equalsIgnoringCase(stored, part.textureName))
        return stored;
    return part.textureName;
}

// Little-endian stores into a buffer sized beforehand.
class RecordCursor {
  public:
    explicit RecordCursor(std::uint8_t* at) : at_(at) {}
    void u16(std::uint16_t v) {
        at_[0] = static_cast<std::uint8_t>(v);
        at_[1] = static_cast<std::uint8_t>(v >> 8);
        at_ += 2;
    }
    void u32(std::uint32_t v) {
        at_[0] = static_cast<std::uint8_t>(v);
        at_[1] = static_cast<std::uint8_t>(v >> 8);
        at_[2] = static_cast<std::uint8_t>(v >> 16);
        at_[3] = static_cast<std::uint8_t>(v >> 24);
        at_ += 4;
    }
    void f32(float v) {
        std::uint32_t bits;
        std::memcpy(&bits, &v, sizeof bits);
        u32(bits);
    }

  private:
    std::uint8_t* at_;
};

// What one object's file holds, worked out before a byte is written.
class SavePlan {
  public:
    using Sink = std::function<bool(std::span<const std::uint8_t>)>;

    SavePlan(const SceneObject& object, const TextureStore& textures)
        : names_(object.meshCount(), true) {
        std::size_t mostKeys = 0;
        for (const MeshPart& part : object.meshes()) {
            if (!exported(part))
                continue;
            std::string name = savedTextureName(part, textures);
            if (!name.empty())
                names_.append(name);
            meshes_.push_back({&part, std::move(name)});
            mostKeys = std::max<std::size_t>(mostKeys, part.keyTrack.keys.size());
        }
        // The object's key count, unless no mesh has that many keys (a file that announced
        // more than its meshes carry): records none of them has would be made up, a damaged
        // count would make the file gigabytes long, and records that stand for no key pose a
        // mesh that was never posed, which mirrors it.
        keyCount_ = static_cast<std::uint32_t>(std::min<std::size_t>(object.keyCount, mostKeys));
        for (Mesh& mesh : meshes_) {
            mesh.nameIndex = mesh.textureName.empty()
                                 ? 0u
                                 : static_cast<std::uint32_t>(names_.indexOf(mesh.textureName));
        }
    }

    std::uint64_t size() const {
        std::uint64_t total = kClfHeaderSize + kClfTextureNameSize * names_.count();
        for (const Mesh& mesh : meshes_)
            total += meshSize(*mesh.part);
        return total;
    }

    // Hands the file to `sink` in pieces: the header with the names, then one mesh at a time.
    bool write(const Sink& sink) const {
        ByteWriter head;
        ClfHeader header;
        header.magic = kClfMagic;
        header.version = kClfEditedVersion;
        header.levelCount = 1;
        header.textureNameCount = static_cast<std::uint32_t>(names_.count());
        header.levelObjects = static_cast<std::uint32_t>(meshes_.size());
        header.keysPerObject = keyCount_;
        writeClfHeader(head, header);
        for (std::size_t i = 0; i < names_.count(); ++i)
            writeClfTextureName(head, names_.nameAt(i) + ".tga");
        if (!sink(head.data()))
            return false;
        std::vector<std::uint8_t> buffer;
        for (const Mesh& mesh : meshes_) {
            encodeMesh(mesh, buffer);
            if (!sink(buffer))
                return false;
        }
        return true;
    }

  private:
    struct Mesh {
        const MeshPart* part;
        std::string textureName;
        std::uint32_t nameIndex = 0;
    };

    std::uint64_t meshSize(const MeshPart& part) const {
        return kClfObjectHeaderSize + std::uint64_t{kClfVertexSize} * part.vertices.size() +
               std::uint64_t{kClfTriangleSize} * (part.indices.size() / 3) +
               std::uint64_t{kKeyRecordSize} * keyCount_;
    }

    void encodeMesh(const Mesh& mesh, std::vector<std::uint8_t>& buffer) const {
        const MeshPart& part = *mesh.part;
        const std::size_t vertexCount = part.vertices.size();
        const std::size_t triangles = part.indices.size() / 3;

        ByteWriter head;
        ClfObjectHeader oh;
        oh.objectName = part.name.substr(0, kSavedNameLength);
        oh.keyRecords = keyCount_;
        oh.textureNameIndex = mesh.nameIndex;
        oh.vertexRecords = static_cast<std::uint32_t>(vertexCount);
        oh.triangleRecords = static_cast<std::uint32_t>(triangles);
        oh.doubleSidedFlag = part.doubleSided ? 1 : 0;
        writeClfObjectHeader(head, oh);

        buffer.resize(static_cast<std::size_t>(meshSize(part)));
        std::memcpy(buffer.data(), head.data().data(), kClfObjectHeaderSize);
        RecordCursor out(buffer.data() + kClfObjectHeaderSize);

        // The stored positions are the ones as read, times every rescaling since; a part
        // without them (none that a reader made) is written as it stands.
        const std::vector<Vec3>& stored = part.keyTrack.positions;
        for (std::size_t i = 0; i < vertexCount; ++i) {
            const RenderVertex& v = part.vertices[i];
            const Vec3 p = i < stored.size() ? stored[i] : Vec3{v.x, v.y, v.z};
            out.f32(p.x);
            out.f32(p.y);
            out.f32(p.z);
            out.f32(0.0f);
            out.f32(0.0f);
            out.f32(0.0f);
            out.u32(kVertexTail);
        }
        const auto tag = static_cast<std::uint16_t>(mesh.nameIndex & 0xFFFFu);
        for (std::size_t t = 0; t < triangles; ++t) {
            const std::uint16_t* corner = &part.indices[3 * t];
            out.u16(corner[0]);
            out.u16(corner[1]);
            out.u16(corner[2]);
            out.u16(tag);
            for (int k = 0; k < 3; ++k) {
                const bool inside = corner[k] < vertexCount;
                out.f32(inside ? part.vertices[corner[k]].u : 0.0f);
                out.f32(inside ? part.vertices[corner[k]].v : 0.0f);
            }
        }
        // Every header announces the same count, so every mesh carries that many records.
        const std::vector<KeyRecord>& keys = part.keyTrack.keys;
        for (std::uint32_t k = 0; k < keyCount_; ++k) {
            const KeyRecord key = k < keys.size() ? keys[k]
                                  : keys.empty()  ? KeyRecord{}
                                                  : keys.back();
            out.f32(key.tx);
            out.f32(key.ty);
            out.f32(key.tz);
            out.f32(key.ax);
            out.f32(key.ay);
            out.f32(key.az);
            out.u32(key.extra);
        }
    }

    std::uint32_t keyCount_ = 0;
    NameList names_;
    std::vector<Mesh> meshes_;
};

SceneObject* savableObject(const Scene& scene, int slot) {
    if (slot < 0 || slot >= kEditorSlots)
        return nullptr;
    SceneObject* object = scene.object(slot);
    return object != nullptr && object->kind == ObjectKind::Model ? object : nullptr;
}

}  // namespace

std::string savedModelPath(const std::string& path) {
    const PathParts parts = splitPath(path);
    if (equalsIgnoringCase(parts.extension, ".clf"))
        return path;
    return parts.drive + parts.directory + parts.name + ".clf";
}

std::vector<std::uint8_t> savedModelBytes(const SceneObject& object, const TextureStore& textures) {
    const SavePlan plan(object, textures);
    std::vector<std::uint8_t> bytes;
    bytes.reserve(static_cast<std::size_t>(plan.size()));
    plan.write([&bytes](std::span<const std::uint8_t> piece) {
        bytes.insert(bytes.end(), piece.begin(), piece.end());
        return true;
    });
    return bytes;
}

SaveOutcome saveModel(Scene& scene, int slot, const TextureStore& textures,
                      const SaveOptions& options) {
    SceneObject* object = savableObject(scene, slot);
    if (object == nullptr)
        return SaveOutcome::Skipped;
    object->path = savedModelPath(object->path);

    const SavePlan plan(*object, textures);
    AtomicFile file(object->path);
    file.failAfterBytes(options.failAfterBytes);
    if (!file.open())
        return SaveOutcome::Failed;
    file.reserve(plan.size());
    const bool written =
        plan.write([&file](std::span<const std::uint8_t> piece) { return file.write(piece); });
    return written && file.commit() ? SaveOutcome::Written : SaveOutcome::Failed;
}

SaveReport saveAll(Scene& scene, const TextureStore& textures, UserPrompt& prompt,
                   const SaveOptions& options) {
    SaveReport report;
    for (int slot = 0; slot < kEditorSlots; ++slot) {
        switch (saveModel(scene, slot, textures, options)) {
            case SaveOutcome::Skipped:
                break;
            case SaveOutcome::Written:
                report.written.push_back(scene.object(slot)->path);
                break;
            case SaveOutcome::Failed:
                report.failed.push_back(scene.object(slot)->path);
                tell(prompt, formatText(kCannotSaveText, scene.object(slot)->path.c_str()));
                break;
        }
    }
    return report;
}

}  // namespace slipway
