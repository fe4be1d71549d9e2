#pragma once
// The camera of the 3D cube view and the projection every renderer sets up
// before it draws:
//
//   glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
//   glViewport(0, 0, W, W);                       // W = the window's width
//   glLoadIdentity();
//   glMatrixMode(GL_PROJECTION); glLoadIdentity(); glOrtho(-1, 1, -1, 1, -800, 800);
//   glMatrixMode(GL_MODELVIEW);  glLoadIdentity();
//   glTranslatef(shiftX, shiftY, -1); glScalef(scale, scale, scale);
//   glRotatef(angleX, 1, 0, 0); glRotatef(angleY, 0, 1, 0); glRotatef(angleZ, 0, 0, 1);
//
// The functions below compute the same transformation, so that the camera
// can be checked without a rendering context. Cube coordinates: a node (gx,
// gy) at time plane t lies at (gx / 256 - 1, 1 - t / 256, 1 - gy / 256).

#include <array>

namespace tesk {

struct CubeCamera {
    double angleX = 10; // degrees, TrackBar1 - 180
    double angleY = 10; // TrackBar2 - 180
    double angleZ = 0;  // TrackBar3 - 180
    double scale = 0.25;
    double shiftX = 0;
    double shiftY = -0.5;
};

// Column-major 4 x 4 matrix, as OpenGL keeps it.
struct Mat4 {
    std::array<double, 16> m{};
    static Mat4 identity();
    Mat4 operator*(const Mat4& b) const;
    std::array<double, 4> apply(const std::array<double, 4>& v) const;
};

Mat4 modelViewMatrix(const CubeCamera& c);
Mat4 projectionMatrix(); // glOrtho(-1, 1, -1, 1, -800, 800)

// A point in window coordinates of the square viewport (0, 0, W, W): x to
// the right and y upwards from the viewport's bottom-left corner (the
// bottom-left corner of the window's client area), depth 0..1.
struct WindowPoint {
    double x = 0, y = 0, depth = 0;
};
WindowPoint projectToWindow(const CubeCamera& c, double x, double y, double z, int W);

// Cube coordinates of a volume node and time plane.
inline double cubeX(double gx) {
    return gx / 256.0 - 1.0;
}
inline double cubeY(double t) {
    return 1.0 - t / 256.0;
}
inline double cubeZ(double gy) {
    return 1.0 - gy / 256.0;
}

} // namespace tesk
