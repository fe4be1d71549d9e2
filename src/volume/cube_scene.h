#pragma once
// The 3D cube view as lists of primitives: what each of the three renderers
// (profiles in 3D, 0x10; pseudo-amplitude carpet, 0x20; 3D sections, 0x40)
// draws after the camera prologue (cube_camera.h), in drawing order.
//
// The window replays a scene with OpenGL 1.1, one primitive after another:
//
//   for each primitive:
//     Lines / LineStrip: glLineWidth(size); GL_LINE_SMOOTH enabled when smooth, else disabled
//     Points:            glPointSize(size); GL_POINT_SMOOTH enabled when smooth, else disabled
//     glBegin(GL_LINES | GL_LINE_STRIP | GL_POINTS)
//       per vertex: glColor3ub(r, g, b); glVertex3f(x, y, z)
//     glEnd()
//
// (or the same with glVertexPointer(3, GL_FLOAT, 16, &v.x) and
// glColorPointer(4, GL_UNSIGNED_BYTE, 16, &v.rgba) and glDrawArrays), then
// swaps buffers. Depth testing is enabled once with the context. The data
// primitives depend only on the data and the panel's windows, never on the
// camera, so a camera move replays the same lists.
//
// Builders write to a PrimitiveSink: a CubeScene keeps the lists, and a
// window that would rather not keep tens of millions of vertices (the
// curtains of mode 0x10 at full time range) can stream them straight into
// glBegin / glEnd with a sink of its own.

#include "display/palettes.h"
#include "volume/cube_camera.h"

#include <cstdint>
#include <vector>

namespace tesk {

struct Vertex {
    float x, y, z;
    uint32_t rgba; // bytes in memory order r, g, b, a (0x00BBGGRR colours | 0xFF000000)
};

enum class PrimitiveKind { Lines, LineStrip, Points };

struct Primitive {
    PrimitiveKind kind = PrimitiveKind::Lines;
    float size = 1; // line width or point size, pixels
    bool smooth = false;
    std::vector<Vertex> vertices;
};

// A colour of the system (0x00BBGGRR) as a vertex colour.
constexpr uint32_t vertexColour(uint32_t bgr) {
    return 0xFF000000u | (bgr & 0xFFFFFFu);
}
// A colour given as three fractions 0..1 (as glColor3f takes them).
uint32_t vertexColour(double r, double g, double b);

// The time and amplitude windows of the panel (T1..T2, [A2, A1], [A4, A3]).
struct CubeWindows {
    int T1 = 0, T2 = 511;
    int A1 = 255, A2 = 128, A3 = 127, A4 = 1;
    bool passes(int v) const { return (A2 <= v && v <= A1) || (A4 <= v && v <= A3); }
};

// The decorations shared by the three renderers.
struct CubeDecorations {
    bool edges = true;    // CheckBox61 "Грань Куба"
    bool corners = false; // CheckBox63 "Точки"
    bool cursor = false;  // CheckBox64 "Курсор"
    int Kx = 0, Kt = 0, Ky = 0;
};

// Where a builder sends its primitives: begin one, its vertices in order,
// end it.
class PrimitiveSink {
  public:
    virtual ~PrimitiveSink() = default;
    virtual void begin(PrimitiveKind kind, float size, bool smooth) = 0;
    virtual void vertex(const Vertex& v) = 0;
    virtual void end() {}
    void vertex(double x, double y, double z, uint32_t rgba) {
        vertex(Vertex{float(x), float(y), float(z), rgba});
    }
};

// A scene kept as lists; they keep their memory between redraws.
class CubeScene final : public PrimitiveSink {
  public:
    std::vector<Primitive> primitives;
    void clear() { used_ = 0; }
    void begin(PrimitiveKind kind, float size, bool smooth) override;
    void vertex(const Vertex& v) override { primitives[used_ - 1].vertices.push_back(v); }
    using PrimitiveSink::vertex;
    std::size_t size() const { return used_; }
    const Primitive& operator[](std::size_t i) const { return primitives[i]; }
    std::size_t vertexCount() const;

  private:
    std::size_t used_ = 0;
};

// The 12 edges of the cube, blue, width 1.
void addCubeEdges(PrimitiveSink& s);
// The cursor of modes 0x10 (white) and 0x40 (shaded): three lines through
// the cursor point parallel to the axes, from -1.02 to 1.02.
void addCursorLines(PrimitiveSink& s, const CubeDecorations& d, bool shaded);
// The corner marks, width 2: four points just outside the cube, each with
// three segments back to the faces of its corner.
void addCornerMarks(PrimitiveSink& s);

} // namespace tesk
