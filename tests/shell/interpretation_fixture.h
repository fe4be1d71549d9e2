#pragma once
// The window over a synthetic survey written as a work file and opened
// through the open button, for the velocity and layer tools.

#include "demo_survey.h"
#include "window_fixture.h"

#include <QImage>

namespace tesk::testing {

// The shipped demo survey on flat ground without noise or antenna ringing:
// its stone 2 m deep under x = 4.5 m of the first line (frame 90, apex at
// 40 ns in a soil of Vgr 5.00, 1 ns per sample) is then a clean hyperbola;
// the layers, the pipe and the other objects stay.
inline demo::DemoParams stoneSurvey() {
    demo::DemoParams p = demo::defaultParams();
    p.reliefWave1 = 0;
    p.reliefWave2 = 0;
    p.noise = 0;
    p.ringingCodes = 0;
    return p;
}

class InterpretationWindow : public WindowTest {
  protected:
    void openDemo(const demo::DemoParams& p) {
        std::string error;
        const std::string path = dir.file("demo.gem");
        ASSERT_TRUE(demo::writeDemoSurvey(path, p, error)) << error;
        clickOpen(path);
        ASSERT_EQ(form->lastOpen().outcome, OpenOutcome::FramesLoaded);
    }
    void setEnglish(bool on) {
        if (ui.CheckBox1->isChecked() != on) ui.CheckBox1->click();
    }
    // A drag as the pointer gives it: a press, a move to every pixel of the
    // way, a release.
    static void drag(ImageWidget* img, QPoint from, QPoint to, Qt::MouseButton b) {
        img->onMouseDown(b, from);
        const int n = std::max(std::abs(to.x() - from.x()), std::abs(to.y() - from.y()));
        for (int i = 1; i <= n; ++i) img->onMouseMove(b, from + (to - from) * i / n);
        img->onMouseUp(b, to);
    }
    // Whether anything is drawn on the overlay within one pixel of at.
    static bool drawnNear(const QImage& img, QPoint at) {
        for (int dy = -1; dy <= 1; ++dy)
            for (int dx = -1; dx <= 1; ++dx) {
                const QPoint p = at + QPoint(dx, dy);
                if (img.rect().contains(p) && qAlpha(img.pixel(p)) > 0) return true;
            }
        return false;
    }
    static bool blank(const QImage& img) {
        for (int y = 0; y < img.height(); ++y)
            for (int x = 0; x < img.width(); ++x)
                if (qAlpha(img.pixel(x, y)) > 0) return false;
        return true;
    }
    int boundary(int frame, int k) const {
        return store->frame(frame).get16(cell::Boundary1 + 2 * (k - 1));
    }
    void setBoundary(int frame, int k, int row) {
        store->frame(frame).set16(cell::Boundary1 + 2 * (k - 1), uint32_t(row));
    }
};

} // namespace tesk::testing
