#pragma once
// One mesh's vertex and index buffers on the GPU. Positions live in a stream of their own so
// that animated meshes (waving flags) re-upload positions only; normals and texture
// coordinates are uploaded once.

#include <cstdint>
#include <vector>

#include <QOpenGLFunctions_3_3_Core>

namespace slipway {

struct GpuMesh {
    GLuint vertexArray = 0;
    GLuint positions = 0;
    GLuint attributes = 0;
    GLuint indices = 0;
    GLsizei vertexCount = 0;
    GLsizei indexCount = 0;
};

// Vertices are interleaved as the scene stores them: x y z nx ny nz u v (8 floats).
GpuMesh createGpuMesh(QOpenGLFunctions_3_3_Core& gl, const float* vertices,
                      std::uint32_t vertexCount, const std::uint16_t* indices,
                      std::uint32_t indexCount);
// Copies the positions of `vertices` (same layout and count as at creation) through `scratch`,
// whose capacity is kept between calls so steady animation allocates nothing.
void updateGpuPositions(QOpenGLFunctions_3_3_Core& gl, const GpuMesh& mesh, const float* vertices,
                        std::vector<float>& scratch);
void destroyGpuMesh(QOpenGLFunctions_3_3_Core& gl, GpuMesh& mesh);
// Nothing is drawn for a mesh without vertices or indices.
void drawGpuMesh(QOpenGLFunctions_3_3_Core& gl, const GpuMesh& mesh);

}  // namespace slipway
