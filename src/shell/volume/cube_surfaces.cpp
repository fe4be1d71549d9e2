#include "shell/volume/cube_surfaces.h"

#include <QOpenGLFunctions_1_1>
#include <algorithm>

namespace tesk {

namespace {

constexpr int SIZE = 512;
constexpr int CORNERS[4][2] = {{0, 0}, {1, 0}, {1, 1}, {0, 1}}; // of a quad, in order

// Where cell (u, v) of a section lies, u along the image row (i) and v
// across it (j), both continuous: its node and time as the point of cell
// (i, j) would have them, the position clamped to the cube as the cells'
// positions are.
void place(const SectionEntry& e, double u, double v, float* xyz) {
    const double dB = (double(e.A) - e.B) / SIZE, dC = (double(e.A) - e.C) / SIZE;
    const double p = std::clamp(e.A - u * dB - v * dC, 0.0, double(SIZE - 1));
    double gx = 0, t = 0, gy = 0;
    if (e.type & 0x10) {
        gx = u, t = p, gy = v;
    } else if (e.type & 0x20) {
        gx = v, t = u, gy = p;
    } else {
        gx = p, t = u, gy = v;
    }
    xyz[0] = float(cubeX(gx));
    xyz[1] = float(cubeY(t));
    xyz[2] = float(cubeZ(gy));
}

// The time plane of cell (i, j), for the time window.
int timeOf(const SectionEntry& e, int i, int j) {
    return (e.type & 0x10) ? sectionPosition(e, i, j) : i;
}

} // namespace

void SectionSurfaces::build(const SectionList& l, const SectionImages& images, const CubeWindows& w,
                            const Palettes& palettes) {
    for (Surface& s : surfaces_)
        if (s.texture_id) unused_.push_back(s.texture_id);
    surfaces_.clear();
    for (int k = 0; k < int(l.items.size()) && k < MAX_SECTIONS; ++k) {
        const SectionEntry& e = l.table[std::size_t(k)];
        if (!l.checked[std::size_t(k)] || !(e.type & 0x70)) continue;
        Surface s;
        s.texels.assign(std::size_t(SIZE) * SIZE, 0);
        const uint8_t* image = images.image(k);
        for (int j = 0; j < SIZE; ++j)
            for (int i = 0; i < SIZE; ++i) {
                const uint8_t v = image[std::size_t(j) * SIZE + i];
                const int t = timeOf(e, i, j);
                if (!w.passes(v) || t < w.T1 || t > w.T2) continue;
                s.texels[std::size_t(j) * SIZE + i] = vertexColour(palettes.ViewPalette[v]);
            }
        // The sheet covers every cell whole: from -0.5 to 511.5 both ways.
        for (int b = 0; b < GRID; ++b)
            for (int a = 0; a < GRID; ++a)
                for (const auto& corner : CORNERS) {
                    const double fu = double(a + corner[0]) / GRID;
                    const double fv = double(b + corner[1]) / GRID;
                    float xyz[3];
                    place(e, fu * SIZE - 0.5, fv * SIZE - 0.5, xyz);
                    s.positions.insert(s.positions.end(), xyz, xyz + 3);
                    s.texture.push_back(float(fu));
                    s.texture.push_back(float(fv));
                }
        surfaces_.push_back(std::move(s));
    }
}

void SectionSurfaces::draw(QOpenGLFunctions_1_1& f) {
    if (!unused_.empty()) {
        f.glDeleteTextures(GLsizei(unused_.size()), unused_.data());
        unused_.clear();
    }
    f.glEnable(GL_TEXTURE_2D);
    f.glEnable(GL_ALPHA_TEST);
    f.glAlphaFunc(GL_GREATER, 0.5f);
    f.glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_REPLACE);
    f.glEnableClientState(GL_VERTEX_ARRAY);
    f.glEnableClientState(GL_TEXTURE_COORD_ARRAY);
    for (Surface& s : surfaces_) {
        if (!s.texture_id) f.glGenTextures(1, &s.texture_id);
        f.glBindTexture(GL_TEXTURE_2D, s.texture_id);
        if (!s.loaded) {
            f.glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
            f.glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
            f.glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP);
            f.glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP);
            f.glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
            f.glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, SIZE, SIZE, 0, GL_RGBA, GL_UNSIGNED_BYTE,
                           s.texels.data());
            s.loaded = true;
        }
        f.glVertexPointer(3, GL_FLOAT, 0, s.positions.data());
        f.glTexCoordPointer(2, GL_FLOAT, 0, s.texture.data());
        f.glDrawArrays(GL_QUADS, 0, GLsizei(s.positions.size() / 3));
    }
    f.glDisableClientState(GL_TEXTURE_COORD_ARRAY);
    f.glDisableClientState(GL_VERTEX_ARRAY);
    f.glBindTexture(GL_TEXTURE_2D, 0);
    f.glDisable(GL_ALPHA_TEST);
    f.glDisable(GL_TEXTURE_2D);
}

std::size_t SectionSurfaces::cellsShown() const {
    std::size_t n = 0;
    for (const Surface& s : surfaces_)
        n += std::size_t(
            std::count_if(s.texels.begin(), s.texels.end(), [](uint32_t t) { return t != 0; }));
    return n;
}

} // namespace tesk
