#pragma once
// The 3D sections as textured surfaces. Each section is a flat (or, where
// its tilt runs out of the cube, folded) sheet of 512 x 512 cells; the point
// cloud that shows it costs a software renderer about a second per picture
// (3.9 million points), while the same cells as one texture per section
// over a grid of quads redraw in milliseconds. A texel holds the colour of
// the cell's code where its point would be drawn (inside the time window,
// the code passing the amplitude windows) and is transparent elsewhere; the
// alpha test keeps the transparent cells out of the picture and its depth.
// OpenGL 1.1 throughout: glTexImage2D, glBindTexture, glAlphaFunc, vertex
// and texture-coordinate arrays.

#include "display/palettes.h"
#include "volume/cube_modes.h"
#include "volume/cube_scene.h"

#include <cstdint>
#include <vector>

class QOpenGLFunctions_1_1;

namespace tesk {

class SectionSurfaces {
  public:
    // Quads per axis of a section: the fold of a tilted section clamped at
    // a cube face is followed to 16 cells.
    static constexpr int GRID = 32;

    // The texels and sheets of every checked section of the list.
    void build(const SectionList& l, const SectionImages& images, const CubeWindows& w,
               const Palettes& palettes);
    // Draws them in the current context, loading the textures built since
    // the last draw.
    void draw(QOpenGLFunctions_1_1& f);
    // The cells drawn (texels not transparent), for tests.
    std::size_t cellsShown() const;

  private:
    struct Surface {
        std::vector<uint32_t> texels; // 512 x 512, bytes r, g, b, a
        std::vector<float> positions; // x, y, z per grid vertex of the quads
        std::vector<float> texture;   // s, t per grid vertex
        unsigned texture_id = 0;      // GL texture name
        bool loaded = false;
    };
    std::vector<Surface> surfaces_;
    std::vector<unsigned> unused_; // texture names to delete at the next draw
};

} // namespace tesk
