#include "ModelFixtures.h"
#include "TfBuilder.h"
#include "TgaBuilder.h"

#include "base/ByteWriter.h"

namespace slipway::test {

ClfVertex clfVertex(float x, float y, float z) {
    ClfVertex v;
    v.x = x;
    v.y = y;
    v.z = z;
    return v;
}

ClfTriangle clfTriangle(std::uint16_t a, std::uint16_t b, std::uint16_t c, float u0, float v0,
                        float u1, float v1, float u2, float v2) {
    ClfTriangle t;
    t.a = a;
    t.b = b;
    t.c = c;
    t.u[0] = u0;
    t.v[0] = v0;
    t.u[1] = u1;
    t.v[1] = v1;
    t.u[2] = u2;
    t.v[2] = v2;
    return t;
}

ClfModel clfSquare(const std::string& objectName) {
    ClfObject square;
    square.name = objectName;
    square.vertices = {clfVertex(0, 0, 0), clfVertex(1, 0, 0), clfVertex(1, 1, 0),
                       clfVertex(0, 1, 0)};
    square.triangles = {clfTriangle(0, 1, 2, 0, 1, 1, 1, 1, 0),
                        clfTriangle(0, 2, 3, 0, 1, 1, 0, 0, 0)};
    ClfModel model;
    model.levels = {{square}};
    return model;
}

ClfObject clfCube(const std::string& name) {
    ClfObject cube;
    cube.name = name;
    for (int i = 0; i < 8; ++i) {
        cube.vertices.push_back(clfVertex(static_cast<float>(i & 1),
                                          static_cast<float>((i >> 1) & 1),
                                          static_cast<float>((i >> 2) & 1)));
    }
    // Each face as two triangles over its corners p, q, r, s in order round the face.
    const int faces[6][4] = {{0, 1, 3, 2}, {4, 6, 7, 5}, {0, 4, 5, 1},
                             {2, 3, 7, 6}, {0, 2, 6, 4}, {1, 5, 7, 3}};
    for (const auto& f : faces) {
        const auto p = static_cast<std::uint16_t>(f[0]), q = static_cast<std::uint16_t>(f[1]),
                   r = static_cast<std::uint16_t>(f[2]), s = static_cast<std::uint16_t>(f[3]);
        cube.triangles.push_back(clfTriangle(p, q, r, 0, 0, 1, 0, 1, 1));
        cube.triangles.push_back(clfTriangle(p, r, s, 0, 0, 1, 1, 0, 1));
    }
    return cube;
}

CffModel cffModel(std::vector<CffObject> objects) {
    CffModel model;
    model.header.scale[0] = model.header.scale[1] = model.header.scale[2] = 1;
    CffLevel level;
    level.objects = std::move(objects);
    model.levels.push_back(std::move(level));
    return model;
}

CffObject cffFan(int vertexCount, const char* shortName) {
    CffObject object;
    for (int i = 0; i < 4 && shortName[i]; ++i)
        object.header.shortName[static_cast<std::size_t>(i)] = shortName[i];
    object.header.uvScale = 256;
    for (int i = 0; i < vertexCount; ++i) {
        CffVertex v;
        v.px = static_cast<std::int16_t>(i * 16);
        v.py = static_cast<std::int16_t>((i % 2) * 64);
        v.qz = 127;
        v.pu = static_cast<std::int16_t>(i);
        object.vertices.push_back(v);
    }
    for (int i = 1; i + 1 < vertexCount; ++i) {
        object.triangles.push_back(
            {0, static_cast<std::uint16_t>(i), static_cast<std::uint16_t>(i + 1)});
    }
    return object;
}

SailEntry sailEntry(std::int32_t sailIndex, int attachedMeshes) {
    SailEntry e;
    e.record.sailIndex = sailIndex;
    e.record.shape = sailIndex % 2 ? kTriangularSailShape : 0;
    e.record.depth = 0.5f;
    e.record.attachedCount = attachedMeshes;
    for (std::size_t c = 0; c < 4; ++c) {
        const float f = static_cast<float>(c);
        e.record.corners[c] = {f, 10.0f + f, -f};
    }
    for (int m = 0; m < attachedMeshes; ++m) {
        SailAttachedMesh mesh;
        mesh.textureName = "rope.tga";
        mesh.vertices = {clfVertex(0, 0, 0), clfVertex(1, 0, 0), clfVertex(0, 1, 0)};
        for (ClfVertex& v : mesh.vertices)
            v.nz = 1;
        mesh.triangles = {clfTriangle(0, 1, 2, 0, 0, 1, 0, 0, 1)};
        e.attached.push_back(mesh);
    }
    return e;
}

std::vector<std::uint8_t> tfFile(std::uint8_t formatCode, std::uint32_t width, std::uint32_t height,
                                 const std::vector<std::uint16_t>& level0, std::uint8_t count16) {
    TfBuilder tf;
    tf.pixelFormatCode = formatCode;
    tf.count16 = count16;
    tf.width = width;
    tf.height = height;
    ByteWriter body;
    for (std::uint16_t p : level0)
        body.u16(p);
    tf.body = body.take();
    return tf.build();
}

std::vector<std::uint8_t> tgaFile(std::uint16_t width, std::uint16_t height, std::uint8_t depth,
                                  const std::vector<std::uint8_t>& pixels, std::uint8_t idLength,
                                  std::uint8_t descriptor) {
    TgaBuilder tga;
    tga.width = width;
    tga.height = height;
    tga.depth = depth;
    tga.descriptor = descriptor;
    tga.id.assign(idLength, 0);
    tga.pixels = pixels;
    return tga.build();
}

void patchU32(std::vector<std::uint8_t>& bytes, std::size_t offset, std::uint32_t value) {
    for (int i = 0; i < 4; ++i)
        bytes.at(offset + static_cast<std::size_t>(i)) =
            static_cast<std::uint8_t>(value >> (8 * i));
}

}  // namespace slipway::test
