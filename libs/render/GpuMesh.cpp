#include "render/GpuMesh.h"

#include "render/FixedFunctionShader.h"

namespace slipway {

namespace {

constexpr std::size_t kFloatsPerVertex = 8;

void packPositions(const float* vertices, GLsizei count, std::vector<float>& out) {
    out.resize(static_cast<std::size_t>(count) * 3);
    for (std::size_t i = 0; i < static_cast<std::size_t>(count); ++i) {
        out[3 * i + 0] = vertices[kFloatsPerVertex * i + 0];
        out[3 * i + 1] = vertices[kFloatsPerVertex * i + 1];
        out[3 * i + 2] = vertices[kFloatsPerVertex * i + 2];
    }
}

}  // namespace

GpuMesh createGpuMesh(QOpenGLFunctions_3_3_Core& gl, const float* vertices,
                      std::uint32_t vertexCount, const std::uint16_t* indices,
                      std::uint32_t indexCount) {
    GpuMesh mesh;
    if (vertices == nullptr || indices == nullptr || vertexCount == 0 || indexCount == 0) {
        return mesh;
    }
    mesh.vertexCount = static_cast<GLsizei>(vertexCount);
    mesh.indexCount = static_cast<GLsizei>(indexCount);

    std::vector<float> positions;
    packPositions(vertices, mesh.vertexCount, positions);
    std::vector<float> attributes(static_cast<std::size_t>(vertexCount) * 5);
    for (std::size_t i = 0; i < vertexCount; ++i) {
        for (std::size_t k = 0; k < 5; ++k) {
            attributes[5 * i + k] = vertices[kFloatsPerVertex * i + 3 + k];
        }
    }

    gl.glGenVertexArrays(1, &mesh.vertexArray);
    gl.glBindVertexArray(mesh.vertexArray);

    gl.glGenBuffers(1, &mesh.positions);
    gl.glBindBuffer(GL_ARRAY_BUFFER, mesh.positions);
    gl.glBufferData(GL_ARRAY_BUFFER, static_cast<GLsizeiptr>(positions.size() * sizeof(float)),
                    positions.data(), GL_DYNAMIC_DRAW);
    gl.glEnableVertexAttribArray(FixedFunctionShader::kPosition);
    gl.glVertexAttribPointer(FixedFunctionShader::kPosition, 3, GL_FLOAT, GL_FALSE,
                             3 * sizeof(float), nullptr);

    gl.glGenBuffers(1, &mesh.attributes);
    gl.glBindBuffer(GL_ARRAY_BUFFER, mesh.attributes);
    gl.glBufferData(GL_ARRAY_BUFFER, static_cast<GLsizeiptr>(attributes.size() * sizeof(float)),
                    attributes.data(), GL_STATIC_DRAW);
    gl.glEnableVertexAttribArray(FixedFunctionShader::kNormal);
    gl.glVertexAttribPointer(FixedFunctionShader::kNormal, 3, GL_FLOAT, GL_FALSE, 5 * sizeof(float),
                             nullptr);
    gl.glEnableVertexAttribArray(FixedFunctionShader::kTexCoord);
    gl.glVertexAttribPointer(FixedFunctionShader::kTexCoord, 2, GL_FLOAT, GL_FALSE,
                             5 * sizeof(float), reinterpret_cast<const void*>(3 * sizeof(float)));

    // The GPU must never fetch outside the vertex buffer: an index past the end draws vertex 0.
    std::vector<std::uint16_t> checked;
    for (std::uint32_t i = 0; i < indexCount; ++i) {
        if (indices[i] >= vertexCount) {
            checked.assign(indices, indices + indexCount);
            for (std::uint16_t& index : checked) {
                if (index >= vertexCount) {
                    index = 0;
                }
            }
            indices = checked.data();
            break;
        }
    }
    gl.glGenBuffers(1, &mesh.indices);
    gl.glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, mesh.indices);
    gl.glBufferData(GL_ELEMENT_ARRAY_BUFFER,
                    static_cast<GLsizeiptr>(indexCount * sizeof(std::uint16_t)), indices,
                    GL_STATIC_DRAW);

    gl.glBindVertexArray(0);
    return mesh;
}

void updateGpuPositions(QOpenGLFunctions_3_3_Core& gl, const GpuMesh& mesh, const float* vertices,
                        std::vector<float>& scratch) {
    if (mesh.positions == 0 || vertices == nullptr) {
        return;
    }
    packPositions(vertices, mesh.vertexCount, scratch);
    gl.glBindBuffer(GL_ARRAY_BUFFER, mesh.positions);
    gl.glBufferSubData(GL_ARRAY_BUFFER, 0, static_cast<GLsizeiptr>(scratch.size() * sizeof(float)),
                       scratch.data());
}

void destroyGpuMesh(QOpenGLFunctions_3_3_Core& gl, GpuMesh& mesh) {
    if (mesh.vertexArray != 0) {
        gl.glDeleteVertexArrays(1, &mesh.vertexArray);
    }
    GLuint buffers[3] = {mesh.positions, mesh.attributes, mesh.indices};
    gl.glDeleteBuffers(3, buffers);
    mesh = GpuMesh{};
}

void drawGpuMesh(QOpenGLFunctions_3_3_Core& gl, const GpuMesh& mesh) {
    if (mesh.vertexArray == 0 || mesh.indexCount == 0) {
        return;
    }
    gl.glBindVertexArray(mesh.vertexArray);
    gl.glDrawElements(GL_TRIANGLES, mesh.indexCount, GL_UNSIGNED_SHORT, nullptr);
}

}  // namespace slipway
