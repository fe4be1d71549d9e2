// The whole window in a real X window (a virtual server in the test run),
// at the 1280 x 800 of a common laptop screen: opens the demo survey, grabs
// the window and checks that it shows a radargram and a command bar that
// reaches its last readout. The grab is written next to the test binary for
// the docs.

#include "shell/prompts/prompter.h"
#include "shell/window/tform1.h"

#include <QAbstractButton>
#include <QApplication>
#include <QFont>
#include <QImage>
#include <QSet>
#include <QTest>
#include <gtest/gtest.h>

namespace tesk::testing {
namespace {

TEST(WindowScreenshot, DemoSurveyShowsARadargram) {
    if (qgetenv("DISPLAY").isEmpty()) GTEST_SKIP() << "needs an X display (run under xvfb-run)";
    static ProfileStore store;
    ScriptedPrompter prompter;
    TForm1 form(store, prompter);
    form.resize(1280, 800);
    form.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
    const OpenResult r = form.openChosenFile(TESK_DEMO_SURVEY, false);
    ASSERT_EQ(r.outcome, OpenOutcome::FramesLoaded);
    EXPECT_TRUE(prompter.shown.empty());
    QTest::qWait(200);
    const QImage shot = form.grab().toImage();
    ASSERT_FALSE(shot.isNull());
    shot.save("window.png");
    // A radargram of the demo survey has many colours; a blank or failed
    // window has a handful.
    QSet<QRgb> colours;
    for (int y = 60; y < shot.height(); y += 3)
        for (int x = 60; x < std::min(shot.width(), 1100); x += 3) colours.insert(shot.pixel(x, y));
    EXPECT_GT(colours.size(), 200);
    EXPECT_EQ(form.windowTitle().left(6).toStdString(), "Tesk  ");
    EXPECT_EQ(shot.size(), QSize(1280, 800));
    // The bar is narrower than its controls here: its arrows slide it on to
    // the last readout.
    auto* on = form.findChild<QAbstractButton*>("Panel_1On");
    ASSERT_TRUE(on && on->isVisible());
    auto* last = form.findChild<QWidget*>("StaticText6");
    ASSERT_TRUE(last);
    on->click();
    on->click();
    EXPECT_LE(last->mapTo(&form, QPoint(last->width(), 0)).x(),
              on->mapTo(&form, QPoint()).x() - 18);
}

} // namespace
} // namespace tesk::testing

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    if (qgetenv("DISPLAY").isEmpty()) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QFont::insertSubstitution("MS Sans Serif", "Liberation Sans");
    return RUN_ALL_TESTS();
}
