// Reading a CLF model into the scene.

#include <algorithm>
#include <cstring>

#include "base/Format.h"
#include "engine/LoaderSupport.h"
#include "formats/ClfFile.h"

namespace slipway {

namespace {

constexpr float kNoTexCoord = -50.0f;
// Triangle indices are 16-bit, so a part can address this many vertices at most.
constexpr std::size_t kAddressableVertices = 65536;

// How many levels the rules read from a file that announces `levelCount`.
std::uint32_t levelsToRead(const ViewerRules& rules, std::uint32_t levelCount) {
    // Reading one level means level 0, even from a header that announces none.
    if (rules.levelsRead == 1)
        return 1;
    return std::min<std::uint32_t>(levelCount, static_cast<std::uint32_t>(rules.levelsRead));
}

// Walks the records the reader will visit and checks that every count fits the bytes that
// are there, before anything is allocated, loaded or shown.
bool layoutFits(std::span<const std::uint8_t> bytes, const ClfHeader& first, std::uint32_t levels) {
    ByteReader in(bytes);
    in.skip(kClfHeaderSize);
    if (!in.canRead(first.textureNameCount, kClfTextureNameSize))
        return false;
    in.skip(static_cast<std::size_t>(first.textureNameCount) * kClfTextureNameSize);
    std::uint32_t levelObjects = first.levelObjects;
    for (std::uint32_t level = 0; level < levels; ++level) {
        if (level > 0)
            levelObjects = readClfHeader(in).levelObjects;
        if (!in.canRead(levelObjects, kClfObjectHeaderSize))
            return false;
        for (std::uint32_t i = 0; i < levelObjects; ++i) {
            const ClfObjectHeader oh = readClfObjectHeader(in);
            if (!in.canRead(oh.vertexRecords, kClfVertexSize))
                return false;
            in.skip(static_cast<std::size_t>(oh.vertexRecords) * kClfVertexSize);
            if (!in.canRead(oh.triangleRecords, kClfTriangleSize))
                return false;
            in.skip(static_cast<std::size_t>(oh.triangleRecords) * kClfTriangleSize);
            if (!in.canRead(oh.keyRecords, kKeyRecordSize))
                return false;
            in.skip(static_cast<std::size_t>(oh.keyRecords) * kKeyRecordSize);
        }
    }
    return in.ok();
}

enum class BuildResult { Built, Cancelled };

// Builds one part from its vertex and triangle records, splitting a vertex wherever a corner
// gives it texture coordinates other than the ones it already has.
BuildResult buildPart(MeshPart& part, const ClfObjectHeader& oh, ByteReader& in,
                      bool askAboutBadIndex, UserPrompt& prompt) {
    const std::size_t vertexRecords = oh.vertexRecords;
    const std::span<const std::uint8_t> vertexBytes = in.view(vertexRecords * kClfVertexSize);
    const std::span<const std::uint8_t> triangleBytes =
        in.view(static_cast<std::size_t>(oh.triangleRecords) * kClfTriangleSize);

    std::vector<RenderVertex>& verts = part.vertices;
    verts.resize(vertexRecords);
    for (std::size_t i = 0; i < vertexRecords; ++i) {
        const ClfVertex v = decodeClfVertex(vertexBytes.data() + i * kClfVertexSize);
        verts[i] = RenderVertex{v.x, v.y, v.z, v.nx, v.ny, v.nz, kNoTexCoord, kNoTexCoord};
    }

    part.indices.resize(static_cast<std::size_t>(oh.triangleRecords) * 3);
    std::uint16_t* out = part.indices.data();
    for (std::size_t t = 0; t < oh.triangleRecords; ++t) {
        const ClfTriangle tri = decodeClfTriangle(triangleBytes.data() + t * kClfTriangleSize);
        std::uint16_t corner[3] = {tri.a, tri.b, tri.c};
        const bool outOfRange =
            tri.a >= vertexRecords || tri.b >= vertexRecords || tri.c >= vertexRecords;
        if (outOfRange) {
            if (askAboutBadIndex && prompt.show(formatText(kCorruptedObjectText, oh.objectName.c_str()),
                                       PromptButtons::OkCancel) == PromptAnswer::Cancel) {
                return BuildResult::Cancelled;
            }
            for (std::uint16_t& k : corner) {
                if (k >= vertexRecords)
                    k = 0;
            }
        }
        for (int c = 0; c < 3; ++c) {
            const std::size_t k = corner[c];
            const float u = tri.u[c], v = tri.v[c];
            RenderVertex& vertex = verts[k];
            std::size_t use = k;
            if (vertex.u == kNoTexCoord && vertex.v == kNoTexCoord) {
                vertex.u = u;
                vertex.v = v;
            } else if (!(vertex.u == u && vertex.v == v) && verts.size() < kAddressableVertices) {
                // A copy beyond what 16-bit indices reach could not be used; such a corner
                // keeps the vertex's first coordinates instead.
                RenderVertex copy = vertex;
                copy.u = u;
                copy.v = v;
                use = verts.size();
                verts.push_back(copy);
            }
            *out++ = static_cast<std::uint16_t>(use);
        }
    }
    if (verts.capacity() > verts.size() + verts.size() / 4)
        verts.shrink_to_fit();
    return BuildResult::Built;
}

}  // namespace

int loadClfFromBytes(Scene& scene, std::span<const std::uint8_t> bytes, const std::string& path,
                     const Placement& placement, const ModelServices& services) {
    using namespace loader;
    const bool editor = services.rules.keepsEditData;
    if (!checkRoomAndParent(scene, placement, services.prompt))
        return -1;

    ByteReader in(bytes);
    const ClfHeader header = readClfHeader(in);
    if (in.failed())
        return refuseDamaged(path, services.prompt);
    if (services.rules.refusesEditedClf && header.version == kClfEditedVersion) {
        tell(services.prompt, kBadVersionText);
        return -1;
    }
    const std::uint32_t levels = levelsToRead(services.rules, header.levelCount);
    if (!layoutFits(bytes, header, levels))
        return refuseDamaged(path, services.prompt);

    FillRandom random(services.clock.milliseconds());
    std::vector<std::string> names;
    names.reserve(header.textureNameCount);
    for (std::uint32_t i = 0; i < header.textureNameCount; ++i) {
        names.push_back(in.name(kClfTextureNameSize));
        loadNamedTexture(names.back(), services);
    }

    std::unique_ptr<SceneObject> object = newModel(services.rules, placement, path);
    bool parentFound = false;
    setTranslation(object->world, placedTranslation(scene, placement, parentFound));
    if (editor)
        object->keyCount = header.keysPerObject;

    std::uint32_t levelObjects = header.levelObjects;
    for (std::uint32_t level = 0; level < levels; ++level) {
        if (level > 0)
            levelObjects = readClfHeader(in).levelObjects;
        std::vector<MeshPart>& parts = object->lodMeshes[level];
        parts.resize(levelObjects);
        object->levelCount = static_cast<int>(level) + 1;
        for (MeshPart& part : parts) {
            const ClfObjectHeader oh = readClfObjectHeader(in);
            if (editor)
                part.name = oh.objectName;
            if (oh.vertexRecords == 0 || oh.triangleRecords == 0) {
                in.skip(static_cast<std::size_t>(oh.vertexRecords) * kClfVertexSize +
                        static_cast<std::size_t>(oh.triangleRecords) * kClfTriangleSize);
            } else {
                part.texture = textureFor(names, oh.textureNameIndex, services.textures);
                if (editor)
                    part.textureName = textureNameFor(names, oh.textureNameIndex);
                part.doubleSided = oh.doubleSidedFlag == 1;
                if (buildPart(part, oh, in, services.rules.asksAboutBadIndex, services.prompt) == BuildResult::Cancelled) {
                    return -1;
                }
                if (editor)
                    giveFillTexture(part, random, services);
            }
            // Key records: kept with the edit data, otherwise stepped over so that
            // the next object is read from the right place.
            if (editor) {
                part.keyTrack.keys.reserve(oh.keyRecords);
                for (std::uint32_t k = 0; k < oh.keyRecords; ++k) {
                    part.keyTrack.keys.push_back(readKeyRecord(in));
                }
                part.keyTrack.positions.reserve(part.vertices.size());
                for (const RenderVertex& v : part.vertices) {
                    part.keyTrack.positions.push_back(Vec3{v.x, v.y, v.z});
                }
            } else {
                in.skip(static_cast<std::size_t>(oh.keyRecords) * kKeyRecordSize);
            }
        }
    }
    if (in.failed())
        return refuseDamaged(path, services.prompt);  // cannot happen after layoutFits
    return finishModel(scene, std::move(object), static_cast<int>(levels), false, services);
}

int loadClf(Scene& scene, const std::string& path, const Placement& placement,
            const ModelServices& services) {
    if (!loader::checkRoomAndParent(scene, placement, services.prompt))
        return -1;
    const auto bytes = loader::readModelFile(path, services.prompt);
    if (!bytes)
        return -1;
    return loadClfFromBytes(scene, *bytes, path, placement, services);
}

}  // namespace slipway
