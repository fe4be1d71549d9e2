// The coordinate rows of the open command: a GPX file stays open for the
// synchronisations only when the window holds it, a text table is read and
// closed, and a .geb survey offers its companion .cor file.

#include "support/store_test_support.h"

#include "commands/file_commands.h"
#include "coordinate_files.h"
#include "file_images.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace tesk::testing {
namespace {

class CoordinateRows : public ::testing::Test {
  protected:
    void SetUp() override { demo::fillTimedSurvey(*s, {100}, 0); }
    std::string put(const std::string& name, const std::string& bytes) {
        const std::string p = dir.file(name);
        writeBytes(p, std::vector<uint8_t>(bytes.begin(), bytes.end()));
        return p;
    }
    std::string fixture(const std::string& name) {
        for (const auto& f : demo::coordinateFixtures())
            if (f.name == name) return put(name, f.bytes);
        ADD_FAILURE() << name;
        return {};
    }
    ScratchDir dir;
    StorePtr s = newStore();
    RecordingInteraction ui;
};

TEST_F(CoordinateRows, GpxFileStaysOpenOnlyInTheWindowsHands) {
    const std::string gpx = fixture("plain.gpx");
    coords::CoordinateFile held;
    OpenSettings window;
    window.coordinateFile = &held;
    window.coordinates.geographic = false; // CheckBox74 unchecked: X;Y tables
    const OpenResult r = openSurveyFile(*s, gpx, false, ui, window);
    EXPECT_EQ(r.outcome, OpenOutcome::CoordinatesImported);
    EXPECT_EQ(r.coordinateImport, CoordinateImport::Gpx);
    EXPECT_TRUE(r.added);
    EXPECT_EQ(r.coordinates.waypointItems.size(), 2u);
    EXPECT_EQ(r.coordinates.trackItems.size(), 3u);
    EXPECT_TRUE(held.isOpen());
    EXPECT_TRUE(s->stateFlags & state::CoordFileOpen);
    EXPECT_TRUE(ui.shown.empty());

    // A text table opened next closes it, as any coordinate file does.
    const std::string txt = put("ends.txt", "P1;100;200;300\rP2;10000;200;400\r");
    const OpenResult t = openSurveyFile(*s, txt, false, ui, window);
    EXPECT_EQ(t.coordinateImport, CoordinateImport::Text);
    EXPECT_EQ(t.coordinates.lines, 2);
    EXPECT_FALSE(held.isOpen());
    EXPECT_FALSE(s->stateFlags & state::CoordFileOpen);
    EXPECT_EQ(s->frame(99).get32(cell::UcsX), 10000u);

    // Without the window (the batch front end) the listed file is closed at once.
    const OpenResult b = openSurveyFile(*s, gpx, false, ui);
    EXPECT_EQ(b.coordinates.waypointItems.size(), 2u);
    EXPECT_FALSE(s->stateFlags & state::CoordFileOpen);
}

TEST_F(CoordinateRows, GebSurveyOffersTheCompanionAfterAPlainOpenOnly) {
    images::GebImage g(4, 1000000000, 10);
    g.frames(10);
    const std::string geb = put("line.geb", std::string(g.b.begin(), g.b.end()));
    // No companion: nothing asked, the survey is marked changed.
    OpenResult r = openSurveyFile(*s, geb, false, ui);
    EXPECT_EQ(r.coordinateImport, CoordinateImport::Companion);
    EXPECT_TRUE(ui.shown.empty());
    // With one beside it the question comes; No imports nothing.
    std::filesystem::copy_file(fixture("companion.cor"), dir.file("line.COR"));
    ui.answers = {Answer::No};
    r = openSurveyFile(*s, geb, false, ui);
    ASSERT_EQ(ui.shown.size(), 1u);
    EXPECT_EQ(ui.shown[0].en, "Found file GPS coordinate.\rChange coordinates?");
    EXPECT_EQ(s->coordFileName, dir.file("line.COR"));
    EXPECT_FALSE(r.coordinates.applied);
    EXPECT_EQ(s->frame(4).value[cell::LatDegrees], 0);
    // Appended, the survey asks nothing about its companion.
    r = openSurveyFile(*s, geb, true, ui);
    EXPECT_EQ(r.coordinateImport, CoordinateImport::None);
    EXPECT_EQ(ui.shown.size(), 1u);
}

} // namespace
} // namespace tesk::testing
