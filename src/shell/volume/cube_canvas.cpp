#include "shell/volume/cube_canvas.h"

#include "shell/volume/cube_replay.h"

#include <QGuiApplication>
#include <QMouseEvent>
#include <QOffscreenSurface>
#include <QOpenGLContext>
#include <QOpenGLFunctions_1_1>
#include <QOpenGLVersionFunctionsFactory>

namespace tesk {

QSurfaceFormat cubeSurfaceFormat() {
    QSurfaceFormat f;
    f.setRenderableType(QSurfaceFormat::OpenGL);
    f.setProfile(QSurfaceFormat::CompatibilityProfile);
    f.setSwapBehavior(QSurfaceFormat::DoubleBuffer);
    f.setRedBufferSize(8);
    f.setGreenBufferSize(8);
    f.setBlueBufferSize(8);
    f.setAlphaBufferSize(8);
    f.setDepthBufferSize(24);
    f.setStencilBufferSize(0);
    return f;
}

bool openGLAvailable() {
    const QString platform = QGuiApplication::platformName();
    if (platform == "offscreen" || platform == "minimal") return false;
    QOpenGLContext context;
    context.setFormat(cubeSurfaceFormat());
    if (!context.create()) return false;
    QOffscreenSurface surface;
    surface.setFormat(context.format());
    surface.create();
    if (!surface.isValid() || !context.makeCurrent(&surface)) return false;
    const bool fixedFunction =
        QOpenGLVersionFunctionsFactory::get<QOpenGLFunctions_1_1>(&context) != nullptr;
    context.doneCurrent();
    return fixedFunction;
}

CubeCanvas::CubeCanvas(QWidget* window) : QOpenGLWidget(window) {
    setObjectName("Cube3D");
    setFormat(cubeSurfaceFormat());
    hide();
}

void CubeCanvas::initializeGL() {
    f_ = QOpenGLVersionFunctionsFactory::get<QOpenGLFunctions_1_1>(context());
    if (f_) f_->glEnable(GL_DEPTH_TEST);
}

void CubeCanvas::paintGL() {
    if (!f_) return;
    const int W = int(width() * devicePixelRatioF());
    if (onPaint) {
        onPaint(*f_, W);
    } else {
        f_->glClearColor(0, 0, 0, 1);
        f_->glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    }
}

ViewPixels CubeCanvas::readPixels() {
    // A canvas not yet shown has no framebuffer; grabbing makes one.
    if (!isValid()) grabFramebuffer();
    if (!isValid()) return {};
    makeCurrent();
    if (!f_) {
        doneCurrent();
        return {};
    }
    paintGL();
    const qreal dpr = devicePixelRatioF();
    ViewPixels px = readViewPixels(*f_, int(width() * dpr), int(height() * dpr));
    doneCurrent();
    return px;
}

void CubeCanvas::mousePressEvent(QMouseEvent* e) {
    if (onMouseDown) onMouseDown(e->button(), e->position().toPoint());
}

void CubeCanvas::mouseMoveEvent(QMouseEvent* e) {
    const Qt::MouseButton held = (e->buttons() & Qt::LeftButton)     ? Qt::LeftButton
                                 : (e->buttons() & Qt::RightButton)  ? Qt::RightButton
                                 : (e->buttons() & Qt::MiddleButton) ? Qt::MiddleButton
                                                                     : Qt::NoButton;
    if (onMouseMove) onMouseMove(held, e->position().toPoint());
}

void CubeCanvas::mouseReleaseEvent(QMouseEvent* e) {
    if (onMouseUp) onMouseUp(e->button(), e->position().toPoint());
}

} // namespace tesk
