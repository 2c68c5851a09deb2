#include "engine/InfoReport.h"

#include <cmath>

#include "base/Format.h"

namespace slipway {

namespace {

class Writer {
  public:
    std::string out;

    void numbers(const float* values, std::size_t count) {
        out += '[';
        for (std::size_t i = 0; i < count; ++i) {
            if (i > 0) {
                out += ',';
            }
            out += jsonNumber(values[i]);
        }
        out += ']';
    }
    void vec3(Vec3 v) {
        const float values[3] = {v.x, v.y, v.z};
        numbers(values, 3);
    }
    void key(const char* name) {
        out += jsonString(name);
        out += ':';
    }
};

void writeMesh(Writer& w, const MeshPart& part, bool geometry, bool editData) {
    w.out += '{';
    if (editData) {
        w.key("name");
        w.out += jsonString(part.name) + ',';
    }
    w.out += formatText("\"vertices\":%u,\"triangles\":%u,\"texture\":%u,\"doubleSided\":%d",
                        part.vertexCount(), part.indexCount() / 3, part.texture,
                        part.doubleSided ? 1 : 0);
    if (editData) {
        w.out += formatText(",\"keyRecords\":%zu", part.keyTrack.keys.size());
    }
    if (geometry) {
        std::vector<float> positions, normals, uvs;
        for (const RenderVertex& v : part.vertices) {
            positions.insert(positions.end(), {v.x, v.y, v.z});
            normals.insert(normals.end(), {v.nx, v.ny, v.nz});
            uvs.insert(uvs.end(), {v.u, v.v});
        }
        w.out += ',';
        w.key("positions");
        w.numbers(positions.data(), positions.size());
        w.out += ',';
        w.key("normals");
        w.numbers(normals.data(), normals.size());
        w.out += ',';
        w.key("uvs");
        w.numbers(uvs.data(), uvs.size());
        w.out += ",\"indices\":[";
        for (std::size_t i = 0; i < part.indices.size(); ++i) {
            if (i > 0) {
                w.out += ',';
            }
            w.out += std::to_string(part.indices[i]);
        }
        w.out += ']';
    }
    w.out += '}';
}

void writeObject(Writer& w, const SceneObject& object, bool geometry, bool editData) {
    w.out += formatText("{\"slot\":%d,\"kind\":%d,\"parent\":%d,\"visible\":%d,", object.slot,
                        static_cast<int>(object.kind), object.parent, object.visible ? 1 : 0);
    if (editData) {
        w.key("path");
        w.out += jsonString(object.path);
        w.out += formatText(",\"keyCount\":%u,", object.keyCount);
    }
    w.key("offset");
    w.vec3(object.offset);
    w.out += ',';
    w.key("angles");
    w.vec3(object.angles);
    w.out += ',';
    w.key("world");
    w.numbers(object.world.m.data(), 16);
    w.out += formatText(",\"currentLevel\":%d,", object.currentLevel);
    w.key("boundsCenter");
    w.vec3(object.boundsCenter);
    w.out += ',';
    w.key("boundsSize");
    w.vec3(object.boundsSize);
    w.out += ",\"levels\":[";
    for (int level = 0; level < kMaxLevels; ++level) {
        if (level > 0) {
            w.out += ',';
        }
        if (!object.hasLevel(level)) {
            w.out += "null";
            continue;
        }
        w.out += '[';
        const auto& parts = object.lodMeshes[static_cast<std::size_t>(level)];
        for (std::size_t i = 0; i < parts.size(); ++i) {
            if (i > 0) {
                w.out += ',';
            }
            writeMesh(w, parts[i], geometry && level == object.currentLevel, editData);
        }
        w.out += ']';
    }
    w.out += "]}";
}

}  // namespace

std::string jsonNumber(float value) {
    if (!std::isfinite(value)) {
        return "null";
    }
    return formatText("%.9g", static_cast<double>(value));
}

std::string jsonString(const std::string& text) {
    std::string out = "\"";
    for (unsigned char c : text) {
        switch (c) {
            case '"':
                out += "\\\"";
                break;
            case '\\':
                out += "\\\\";
                break;
            case '\n':
                out += "\\n";
                break;
            case '\r':
                out += "\\r";
                break;
            case '\t':
                out += "\\t";
                break;
            default:
                if (c < 0x20) {
                    out += formatText("\\u%04x", c);
                } else {
                    out += static_cast<char>(c);
                }
        }
    }
    out += '"';
    return out;
}

std::string infoJson(const InfoContent& content) {
    Writer w;
    w.out += "{\"objects\":[";
    bool first = true;
    for (int slot = 0; slot < content.scene.capacity(); ++slot) {
        const SceneObject* object = content.scene.object(slot);
        if (object == nullptr) {
            continue;
        }
        if (!first) {
            w.out += ',';
        }
        first = false;
        writeObject(w, *object, content.geometry, content.editData);
    }
    const SceneStatistics stats = content.scene.statistics();
    w.out +=
        formatText("],\"statistics\":{\"vertices\":%u,\"triangles\":%u,\"size\":", stats.vertices,
                   stats.triangles);
    w.out += jsonNumber(stats.size);
    w.out += "},\"textures\":[";
    first = true;
    for (int i = 0; i < content.textures.capacity(); ++i) {
        const TextureEntry* entry = content.textures.entry(static_cast<std::uint32_t>(i));
        if (entry == nullptr) {
            continue;
        }
        if (!first) {
            w.out += ',';
        }
        first = false;
        w.out += formatText("{\"index\":%d,\"name\":", i);
        w.out += jsonString(entry->name);
        w.out += formatText(",\"hasAlpha\":%d,\"width\":%d,\"height\":%d}", entry->hasAlpha ? 1 : 0,
                            entry->width, entry->height);
    }
    w.out += "],\"messages\":[";
    for (std::size_t i = 0; i < content.messages.size(); ++i) {
        w.out += (i > 0 ? "," : "") + jsonString(content.messages[i]);
    }
    w.out += "],";
    w.key("camera");
    w.numbers(content.camera.world.m.data(), 16);
    w.out += "}\n";
    return w.out;
}

}  // namespace slipway
