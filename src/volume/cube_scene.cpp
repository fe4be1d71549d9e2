#include "volume/cube_scene.h"

#include <algorithm>
#include <cmath>

namespace tesk {

namespace {

uint8_t fraction(double v) {
    return uint8_t(std::lround(std::clamp(v, 0.0, 1.0) * 255.0));
}

void put(PrimitiveSink& p, double x, double y, double z, uint32_t rgba) {
    p.vertex(x, y, z, rgba);
}

} // namespace

uint32_t vertexColour(double r, double g, double b) {
    return 0xFF000000u | uint32_t(fraction(r)) | uint32_t(fraction(g)) << 8 |
           uint32_t(fraction(b)) << 16;
}

void CubeScene::begin(PrimitiveKind kind, float size, bool smooth) {
    if (used_ == primitives.size()) primitives.emplace_back();
    Primitive& p = primitives[used_++];
    p.kind = kind;
    p.size = size;
    p.smooth = smooth;
    p.vertices.clear();
}

std::size_t CubeScene::vertexCount() const {
    std::size_t n = 0;
    for (std::size_t i = 0; i < used_; ++i) n += primitives[i].vertices.size();
    return n;
}

void addCubeEdges(PrimitiveSink& p) {
    p.begin(PrimitiveKind::Lines, 1, false);
    const uint32_t blue = vertexColour(0, 0, 1);
    // Along each axis, the four edges at the corners of the other two.
    for (int axis = 0; axis < 3; ++axis)
        for (int a = -1; a <= 1; a += 2)
            for (int b = -1; b <= 1; b += 2) {
                double from[3], to[3];
                from[axis] = -1;
                to[axis] = 1;
                from[(axis + 1) % 3] = to[(axis + 1) % 3] = a;
                from[(axis + 2) % 3] = to[(axis + 2) % 3] = b;
                put(p, from[0], from[1], from[2], blue);
                put(p, to[0], to[1], to[2], blue);
            }
    p.end();
}

void addCursorLines(PrimitiveSink& p, const CubeDecorations& d, bool shaded) {
    p.begin(PrimitiveKind::Lines, 1, false);
    const double xc = cubeX(d.Kx), yc = cubeY(d.Kt), zc = cubeZ(d.Ky);
    constexpr double E = 1.02;
    const uint32_t white = vertexColour(1, 1, 1);
    put(p, -E, yc, zc, shaded ? vertexColour(1, 0.7, 0.7) : white);
    put(p, E, yc, zc, shaded ? vertexColour(0.7, 1, 1) : white);
    put(p, xc, -E, zc, shaded ? vertexColour(1, 1, 0.7) : white);
    put(p, xc, E, zc, shaded ? vertexColour(1, 0.7, 0.7) : white);
    put(p, xc, yc, -E, shaded ? vertexColour(0.7, 1, 0.7) : white);
    put(p, xc, yc, E, shaded ? vertexColour(1, 0.7, 0.7) : white);
    p.end();
}

void addCornerMarks(PrimitiveSink& p) {
    p.begin(PrimitiveKind::Lines, 2, false);
    constexpr double d = 0.04;
    struct Corner {
        double x, y, z;
        uint32_t colour;
    };
    const Corner corners[4] = {
        {-1 - d, 1 + d, 1 + d, vertexColour(1, 0, 0)},  // the volume origin
        {1 + d, 1 + d, 1 + d, vertexColour(0, 0.5, 1)}, // far X end
        {-1 - d, 1 + d, -1 - d, vertexColour(0, 1, 0)}, // far Y end
        {-1 - d, -1 - d, 1 + d, vertexColour(1, 1, 0)}, // deepest time
    };
    // Each segment brings one coordinate back by d onto the cube's face.
    auto in = [](double v) { return v > 0 ? v - d : v + d; };
    for (const Corner& c : corners) {
        put(p, c.x, c.y, c.z, c.colour);
        put(p, in(c.x), c.y, c.z, c.colour);
        put(p, c.x, c.y, c.z, c.colour);
        put(p, c.x, in(c.y), c.z, c.colour);
        put(p, c.x, c.y, c.z, c.colour);
        put(p, c.x, c.y, in(c.z), c.colour);
    }
    p.end();
}

} // namespace tesk
