#include "shell/volume/cube_replay.h"

#include <QOpenGLFunctions_1_1>

namespace tesk {

namespace {

GLenum modeOf(PrimitiveKind k) {
    switch (k) {
    case PrimitiveKind::Lines:
        return GL_LINES;
    case PrimitiveKind::LineStrip:
        return GL_LINE_STRIP;
    case PrimitiveKind::Points:
        return GL_POINTS;
    }
    return GL_POINTS;
}

void applyState(QOpenGLFunctions_1_1& f, PrimitiveKind kind, float size, bool smooth) {
    const GLenum smoothing = kind == PrimitiveKind::Points ? GL_POINT_SMOOTH : GL_LINE_SMOOTH;
    if (kind == PrimitiveKind::Points)
        f.glPointSize(size);
    else
        f.glLineWidth(size);
    if (smooth)
        f.glEnable(smoothing);
    else
        f.glDisable(smoothing);
}

// Vertex: x, y, z as floats, then the colour's bytes r, g, b, a.
void drawArrays(QOpenGLFunctions_1_1& f, PrimitiveKind kind, const Vertex* v, std::size_t n) {
    if (n == 0) return;
    f.glVertexPointer(3, GL_FLOAT, GLsizei(sizeof(Vertex)), &v->x);
    f.glColorPointer(4, GL_UNSIGNED_BYTE, GLsizei(sizeof(Vertex)), &v->rgba);
    f.glDrawArrays(modeOf(kind), 0, GLsizei(n));
}

struct ClientArrays {
    explicit ClientArrays(QOpenGLFunctions_1_1& f) : f_(f) {
        f_.glEnableClientState(GL_VERTEX_ARRAY);
        f_.glEnableClientState(GL_COLOR_ARRAY);
    }
    ~ClientArrays() {
        f_.glDisableClientState(GL_COLOR_ARRAY);
        f_.glDisableClientState(GL_VERTEX_ARRAY);
    }
    QOpenGLFunctions_1_1& f_;
};

} // namespace

void cubePrologue(QOpenGLFunctions_1_1& f, const CubeCamera& c, int W) {
    f.glClearColor(0, 0, 0, 1);
    f.glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    f.glViewport(0, 0, W, W);
    f.glLoadIdentity();
    f.glMatrixMode(GL_PROJECTION);
    f.glLoadIdentity();
    f.glOrtho(-1, 1, -1, 1, -800, 800);
    f.glMatrixMode(GL_MODELVIEW);
    f.glLoadIdentity();
    f.glTranslatef(float(c.shiftX), float(c.shiftY), -1);
    f.glScalef(float(c.scale), float(c.scale), float(c.scale));
    f.glRotatef(float(c.angleX), 1, 0, 0);
    f.glRotatef(float(c.angleY), 0, 1, 0);
    f.glRotatef(float(c.angleZ), 0, 0, 1);
}

void replayScene(QOpenGLFunctions_1_1& f, const CubeScene& scene) {
    const ClientArrays arrays(f);
    for (std::size_t i = 0; i < scene.size(); ++i) {
        const Primitive& p = scene[i];
        applyState(f, p.kind, p.size, p.smooth);
        drawArrays(f, p.kind, p.vertices.data(), p.vertices.size());
    }
}

GLStreamSink::GLStreamSink(QOpenGLFunctions_1_1& f) : f_(f) {
    batch_.reserve(BATCH);
    f_.glEnableClientState(GL_VERTEX_ARRAY);
    f_.glEnableClientState(GL_COLOR_ARRAY);
}

GLStreamSink::~GLStreamSink() {
    f_.glDisableClientState(GL_COLOR_ARRAY);
    f_.glDisableClientState(GL_VERTEX_ARRAY);
}

void GLStreamSink::begin(PrimitiveKind kind, float size, bool smooth) {
    flush(false);
    kind_ = kind;
    applyState(f_, kind, size, smooth);
}

void GLStreamSink::vertex(const Vertex& v) {
    batch_.push_back(v);
    // Segments stay whole: a batch of lines ends on an even count.
    if (batch_.size() >= BATCH && (kind_ != PrimitiveKind::Lines || batch_.size() % 2 == 0))
        flush(true);
}

void GLStreamSink::end() {
    flush(false);
}

void GLStreamSink::flush(bool continuing) {
    drawArrays(f_, kind_, batch_.data(), batch_.size());
    const bool strip = continuing && kind_ == PrimitiveKind::LineStrip && !batch_.empty();
    const Vertex last = strip ? batch_.back() : Vertex{};
    batch_.clear();
    if (strip) batch_.push_back(last);
}

ViewPixels readViewPixels(QOpenGLFunctions_1_1& f, int w, int h) {
    ViewPixels px;
    if (w <= 0 || h <= 0) return px;
    px.width = w;
    px.height = h;
    px.bgra.assign(std::size_t(w) * std::size_t(h) * 4, 0);
    f.glPixelStorei(GL_PACK_ALIGNMENT, 4);
    f.glReadPixels(0, 0, w, h, GL_BGRA, GL_UNSIGNED_BYTE, px.bgra.data());
    return px;
}

} // namespace tesk
