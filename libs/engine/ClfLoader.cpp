// Reading a CLF model into the scene.

#include <algorithm>
#include <cstring>

#include "base/Format.h"
#include "engine/LoaderSupport.h"
#include "formats/ClfLayout.h"

namespace slipway {

namespace {

constexpr float kNoTexCoord = -50.0f;
// Triangle indices are 16-bit, so a part can address this many vertices at most.
constexpr std::size_t kAddressableVertices = 65536;

enum class BuildResult { Built, Cancelled };

// Builds one part from its vertex and triangle records, splitting a vertex wherever a corner
// gives it texture coordinates other than the ones it already has.
BuildResult buildPart(MeshPart& part, const ClfObjectLayout& object, bool askAboutBadIndex,
                      UserPrompt& prompt) {
    const ClfObjectHeader& oh = object.header;
    const std::size_t vertexRecords = oh.vertexRecords;

    std::vector<RenderVertex>& verts = part.vertices;
    verts.resize(vertexRecords);
    for (std::size_t i = 0; i < vertexRecords; ++i) {
        const ClfVertex v = object.vertex(i);
        verts[i] = RenderVertex{v.x, v.y, v.z, v.nx, v.ny, v.nz, kNoTexCoord, kNoTexCoord};
    }

    part.indices.resize(static_cast<std::size_t>(oh.triangleRecords) * 3);
    std::uint16_t* out = part.indices.data();
    for (std::size_t t = 0; t < oh.triangleRecords; ++t) {
        const ClfTriangle tri = object.triangle(t);
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

    // Every count is checked against the bytes before anything is allocated, loaded or shown.
    const ClfLayout layout = parseClfLayout(bytes, services.rules.levelsRead);
    const ClfHeader& header = layout.header;
    // A whole header with the edited version is refused as such, whatever follows it.
    if (services.rules.refusesEditedClf && bytes.size() >= kClfHeaderSize &&
        header.version == kClfEditedVersion) {
        tell(services.prompt, kBadVersionText);
        return -1;
    }
    if (!layout.ok())
        return refuseDamaged(path, services.prompt);

    FillRandom random(services.clock.milliseconds());
    std::vector<std::string> names;
    names.reserve(header.textureNameCount);
    for (std::uint32_t i = 0; i < header.textureNameCount; ++i)
        names.push_back(layout.textureName(i));
    loadNamedTextures(names, path, services);

    std::unique_ptr<SceneObject> object = newModel(placement, path);
    bool parentFound = false;
    setTranslation(object->world, placedTranslation(scene, placement, parentFound));
    if (editor)
        object->keyCount = header.keysPerObject;

    const bool built =
        buildLevels(*object, layout.levels, [&](MeshPart& part, const ClfObjectLayout& source) {
            const ClfObjectHeader& oh = source.header;
            part.name = oh.objectName;
            // A part without vertices or without triangles stays empty.
            if (oh.vertexRecords != 0 && oh.triangleRecords != 0) {
                part.texture = textureFor(names, oh.textureNameIndex, services.textures);
                if (editor)
                    part.textureName = textureNameFor(names, oh.textureNameIndex);
                part.doubleSided = oh.doubleSidedFlag == 1;
                if (buildPart(part, source, services.rules.asksAboutBadIndex, services.prompt) == BuildResult::Cancelled)
                    return false;
                if (editor)
                    giveFillTexture(part, random, services);
            }
            // Key records: kept with the edit data, passed over otherwise.
            if (editor)
                keepKeyTrack(part, source.keys);
            return true;
        });
    if (!built)
        return -1;
    return finishModel(scene, std::move(object), static_cast<int>(layout.levels.size()), false,
                       services);
}

int loadClf(Scene& scene, const std::string& path, const Placement& placement,
            const ModelServices& services) {
    return loader::loadModelFile(scene, path, placement, services, &loadClfFromBytes);
}

}  // namespace slipway
