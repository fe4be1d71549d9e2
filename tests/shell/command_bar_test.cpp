// The command bar keeps its order and sizes on every screen: where the
// window is narrower than the bar, its arrows and the mouse wheel slide the
// controls along so that each of them can be reached.

#include "shell/window/command_bar.h"
#include "window_fixture.h"

#include <QApplication>
#include <QWheelEvent>
#include <algorithm>
#include <set>
#include <vector>

namespace tesk::testing {
namespace {

using CommandBarWidth = WindowTest;

// The controls of the bar in their order along it.
std::vector<QWidget*> barControls(QWidget* bar) {
    std::vector<QWidget*> out;
    for (QWidget* w : bar->findChildren<QWidget*>())
        if (w->objectName().startsWith("SpeedButton") || w->objectName().startsWith("StaticText") ||
            w->objectName() == "MaskEdit1")
            out.push_back(w);
    std::sort(out.begin(), out.end(),
              [](QWidget* a, QWidget* b) { return a->geometry().x() < b->geometry().x(); });
    return out;
}

// Where a control shows on the bar, and whether it is wholly in view
// (left of the arrows when they are shown).
bool inView(QWidget* bar, QWidget* w, int visibleRight) {
    const QRect r(w->mapTo(bar, QPoint(0, 0)), w->size());
    return r.left() >= 0 && r.right() < visibleRight;
}

TEST_F(CommandBarWidth, EveryControlCanBeReachedOnANarrowScreen) {
    auto* back = form->findChild<QWidget*>("Panel_1Back");
    auto* on = form->findChild<QAbstractButton*>("Panel_1On");
    ASSERT_TRUE(back && on);
    const std::vector<QWidget*> controls = barControls(ui.Panel_1);
    ASSERT_EQ(controls.size(), 38u);
    // The design width: everything in view, no arrows.
    form->show();
    form->resize(1467, 756);
    EXPECT_TRUE(back->isHidden());
    for (QWidget* w : controls)
        EXPECT_TRUE(inView(ui.Panel_1, w, 1467)) << w->objectName().toStdString();

    for (int width : {1280, 1024}) {
        form->resize(width, 800);
        EXPECT_EQ(ui.Panel_1->height(), 36) << width;
        ASSERT_FALSE(back->isHidden()) << width;
        const int visible = back->geometry().left();
        EXPECT_TRUE(inView(ui.Panel_1, ui.SpeedButton1, visible));
        EXPECT_FALSE(inView(ui.Panel_1, ui.StaticText6, visible));
        // Stepping on brings every control into view once, in its order.
        std::set<QWidget*> seen;
        for (int step = 0; step < 10; ++step) {
            for (QWidget* w : controls)
                if (inView(ui.Panel_1, w, visible)) seen.insert(w);
            on->click();
        }
        EXPECT_EQ(seen.size(), controls.size()) << width;
        EXPECT_TRUE(inView(ui.Panel_1, ui.StaticText6, visible)) << width;
        EXPECT_FALSE(on->isEnabled()) << "at the end of the bar";
        // The wheel slides it back to the start.
        for (int i = 0; i < 20; ++i) {
            QWheelEvent wheel(QPointF(10, 10), ui.Panel_1->mapToGlobal(QPointF(10, 10)), QPoint(),
                              QPoint(0, 120), Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase,
                              false);
            QApplication::sendEvent(ui.Panel_1, &wheel);
        }
        EXPECT_TRUE(inView(ui.Panel_1, ui.SpeedButton1, visible)) << width;
        EXPECT_EQ(form->commandBar().scrollOffset(), 0) << width;
    }
    // The order and the sizes of the design stay.
    EXPECT_EQ(ui.SpeedButton24->size(), QSize(36, 26));
    EXPECT_EQ(ui.StaticText6->size(), QSize(50, 20));
    const std::vector<QWidget*> after = barControls(ui.Panel_1);
    EXPECT_EQ(after, controls);
}

} // namespace
} // namespace tesk::testing
