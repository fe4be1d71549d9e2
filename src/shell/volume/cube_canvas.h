#pragma once
// The 3D drawing area of the main window: one OpenGL rendering context
// (32-bit colour, 24-bit depth, no stencil, depth testing on) over the
// window's client area below the command bar, painted by the cube view's
// renderer and turned by the window's mouse.

#include "commands/bitmap_export.h"

#include <QOpenGLWidget>
#include <functional>

class QOpenGLFunctions_1_1;

namespace tesk {

// The format the cube view asks for.
QSurfaceFormat cubeSurfaceFormat();
// Whether the display gives an OpenGL context with the fixed-function
// pipeline of OpenGL 1.1. Qt's offscreen platform gives none.
bool openGLAvailable();

class CubeCanvas final : public QOpenGLWidget {
  public:
    explicit CubeCanvas(QWidget* window);

    // Draws the picture; W is the width of the drawing area in pixels.
    std::function<void(QOpenGLFunctions_1_1& f, int W)> onPaint;
    using PointerHandler = std::function<void(Qt::MouseButton, QPoint)>;
    PointerHandler onMouseDown, onMouseMove, onMouseUp;

    // Draws the picture now and reads it back (glReadPixels). Empty when the
    // context could not be made current.
    ViewPixels readPixels();
    // The context came up with the functions of OpenGL 1.1.
    bool usable() const { return f_ != nullptr; }

  protected:
    void initializeGL() override;
    void paintGL() override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;

  private:
    QOpenGLFunctions_1_1* f_ = nullptr;
};

} // namespace tesk
