#pragma once
// The cube view drawn with OpenGL 1.1 in the current context: the camera
// prologue of every renderer, a kept scene replayed through vertex arrays
// (glVertexPointer, glColorPointer, glDrawArrays: one call per batch rather
// than two calls per vertex), a sink that streams a builder's primitives
// straight into such batches without keeping them, and the read-back of the
// picture for the bitmap export.

#include "commands/bitmap_export.h"
#include "volume/cube_camera.h"
#include "volume/cube_scene.h"

#include <cstdint>
#include <vector>

class QOpenGLFunctions_1_1;

namespace tesk {

// Segments of the quick picture of the profiles in 3D drawn while the mouse
// turns the cube: a fifth of a second or so with Mesa's software renderer.
inline constexpr int64_t PROFILE_PREVIEW_SEGMENTS = 250000;

// glClear, the square viewport (0, 0, W, W) anchored at the bottom-left
// corner, glOrtho(-1, 1, -1, 1, -800, 800) and the camera's translation,
// scale and rotations.
void cubePrologue(QOpenGLFunctions_1_1& f, const CubeCamera& c, int W);

// Every primitive of the scene in order, each with its line width or point
// size and smoothing.
void replayScene(QOpenGLFunctions_1_1& f, const CubeScene& scene);

// Streams primitives into vertex-array batches of at most BATCH vertices;
// a line strip cut between two batches goes on from its last vertex.
class GLStreamSink final : public PrimitiveSink {
  public:
    static constexpr std::size_t BATCH = 65536;
    explicit GLStreamSink(QOpenGLFunctions_1_1& f);
    ~GLStreamSink() override;
    GLStreamSink(const GLStreamSink&) = delete;
    GLStreamSink& operator=(const GLStreamSink&) = delete;
    void begin(PrimitiveKind kind, float size, bool smooth) override;
    void vertex(const Vertex& v) override;
    using PrimitiveSink::vertex;
    void end() override;

  private:
    // Draws the batch; a strip that goes on keeps its last vertex.
    void flush(bool continuing);
    QOpenGLFunctions_1_1& f_;
    PrimitiveKind kind_ = PrimitiveKind::Lines;
    std::vector<Vertex> batch_;
};

// The picture of the bound framebuffer, w x h pixels, as 32-bit blue,
// green, red, alpha, the bottom row first.
ViewPixels readViewPixels(QOpenGLFunctions_1_1& f, int w, int h);

} // namespace tesk
