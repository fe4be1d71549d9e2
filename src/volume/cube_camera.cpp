#include "volume/cube_camera.h"

#include <cmath>
#include <numbers>

namespace tesk {

namespace {

Mat4 translate(double x, double y, double z) {
    Mat4 t = Mat4::identity();
    t.m[12] = x;
    t.m[13] = y;
    t.m[14] = z;
    return t;
}

Mat4 scaling(double s) {
    Mat4 t = Mat4::identity();
    t.m[0] = t.m[5] = t.m[10] = s;
    return t;
}

// glRotatef about a unit axis.
Mat4 rotation(double degrees, double x, double y, double z) {
    const double a = degrees * std::numbers::pi / 180.0;
    const double c = std::cos(a), s = std::sin(a), k = 1 - c;
    Mat4 r = Mat4::identity();
    r.m[0] = x * x * k + c;
    r.m[1] = y * x * k + z * s;
    r.m[2] = x * z * k - y * s;
    r.m[4] = x * y * k - z * s;
    r.m[5] = y * y * k + c;
    r.m[6] = y * z * k + x * s;
    r.m[8] = x * z * k + y * s;
    r.m[9] = y * z * k - x * s;
    r.m[10] = z * z * k + c;
    return r;
}

} // namespace

Mat4 Mat4::identity() {
    Mat4 r;
    r.m[0] = r.m[5] = r.m[10] = r.m[15] = 1;
    return r;
}

Mat4 Mat4::operator*(const Mat4& b) const {
    Mat4 r;
    for (int col = 0; col < 4; ++col)
        for (int row = 0; row < 4; ++row) {
            double v = 0;
            for (int k = 0; k < 4; ++k)
                v += m[std::size_t(k * 4 + row)] * b.m[std::size_t(col * 4 + k)];
            r.m[std::size_t(col * 4 + row)] = v;
        }
    return r;
}

std::array<double, 4> Mat4::apply(const std::array<double, 4>& v) const {
    std::array<double, 4> r{};
    for (int row = 0; row < 4; ++row)
        for (int k = 0; k < 4; ++k)
            r[std::size_t(row)] += m[std::size_t(k * 4 + row)] * v[std::size_t(k)];
    return r;
}

Mat4 modelViewMatrix(const CubeCamera& c) {
    return translate(c.shiftX, c.shiftY, -1) * scaling(c.scale) * rotation(c.angleX, 1, 0, 0) *
           rotation(c.angleY, 0, 1, 0) * rotation(c.angleZ, 0, 0, 1);
}

Mat4 projectionMatrix() {
    // glOrtho(l, r, b, t, n, f) with l = b = -1, r = t = 1, n = -800, f = 800.
    Mat4 p = Mat4::identity();
    const double n = -800, f = 800;
    p.m[10] = -2 / (f - n);
    p.m[14] = -(f + n) / (f - n);
    return p;
}

WindowPoint projectToWindow(const CubeCamera& c, double x, double y, double z, int W) {
    const auto clip = (projectionMatrix() * modelViewMatrix(c)).apply({x, y, z, 1});
    const double w = clip[3] != 0 ? clip[3] : 1;
    WindowPoint p;
    p.x = (clip[0] / w + 1) * 0.5 * W;
    p.y = (clip[1] / w + 1) * 0.5 * W;
    p.depth = (clip[2] / w + 1) * 0.5;
    return p;
}

} // namespace tesk
