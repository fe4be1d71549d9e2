// The exports as batch commands on real files: the kind by extension, the
// file written whole or not at all, and the overview picture.

#include "support/store_test_support.h"

#include "commands/export_commands.h"
#include "commands/text_export.h"

#include <QImage>
#include <gtest/gtest.h>

namespace tesk::testing {
namespace {

TEST(ExportCommands, KindFollowsTheExtension) {
    EXPECT_EQ(exportKindFor("/a/b.txt"), ExportKind::Text);
    EXPECT_EQ(exportKindFor("B.TXT"), ExportKind::Text);
    EXPECT_EQ(exportKindFor("line.bmp"), ExportKind::Bitmap);
    EXPECT_EQ(exportKindFor("line.sgy"), ExportKind::Segy);
    EXPECT_EQ(exportKindFor("line.SEGY"), ExportKind::Segy);
    EXPECT_EQ(exportKindFor("line.gem"), ExportKind::None);
    EXPECT_EQ(exportKindFor("dir.sgy/line"), ExportKind::None);
}

class ExportFiles : public ::testing::Test {
  protected:
    void SetUp() override {
        for (int f = 0; f < 30; ++f) putSample(*s, f, uint8_t(100 + f));
        s->frameCount = 40;
        s->finishLoad();
    }
    ScratchDir dir;
    StorePtr s = newStore();
    RecordingInteraction ui;
};

TEST_F(ExportFiles, WritesTheSameBytesAsTheWriterWithTheStoredSettings) {
    BatchExport b;
    b.variant = SaveVariant::LeftShift;
    b.decimalSeparator = ',';
    const std::string path = dir.file("out.txt");
    ASSERT_EQ(exportSurveyFile(*s, path, b, ui).outcome, ExportOutcome::Written);
    VectorSink expected;
    writeTextTable(expected, *s, exportSettingsFromStore(*s, SaveVariant::LeftShift, ','), ui);
    EXPECT_EQ(readBytes(path), expected.bytes);
    EXPECT_EQ(dir.entries().size(), 1u) << "no temporary file left beside it";
    for (const char* name : {"out.sgy", "out.segy"}) {
        ASSERT_EQ(exportSurveyFile(*s, dir.file(name), b, ui).outcome, ExportOutcome::Written);
        EXPECT_EQ(readBytes(dir.file(name)).size(), 3600u + 30u * (240 + 2048)) << name;
    }
    EXPECT_TRUE(ui.shown.empty());
}

TEST_F(ExportFiles, NothingToWriteLeavesTheFileOnDiskAsItWas) {
    StorePtr empty = newStore();
    empty->frameCount = 40;
    const std::string path = dir.file("old.txt");
    writeBytes(path, std::vector<uint8_t>{'o', 'l', 'd'});
    const ExportResult r = exportSurveyFile(*empty, path, BatchExport{}, ui);
    EXPECT_EQ(r.outcome, ExportOutcome::NothingToWrite);
    EXPECT_EQ(readBytes(path), (std::vector<uint8_t>{'o', 'l', 'd'}));
    EXPECT_EQ(dir.entries().size(), 1u);
    ASSERT_EQ(ui.shown.size(), 1u);
    EXPECT_EQ(ui.shown[0].en, "ERROR! There is no Structure for record ");
}

TEST_F(ExportFiles, AFileThatCannotBeCreatedIsReported) {
    const ExportResult r = exportSurveyFile(*s, dir.file("missing/out.txt"), BatchExport{}, ui);
    EXPECT_EQ(r.outcome, ExportOutcome::CreateFailed);
    ASSERT_EQ(ui.shown.size(), 1u);
    EXPECT_EQ(ui.shown[0].en, "ERROR of creation of a file!");
    EXPECT_EQ(ui.shown[0].icon, Icon::Error);
}

TEST_F(ExportFiles, OverviewIsAPngOfTheWholeSurvey) {
    std::string error;
    const std::string path = dir.file("whole.png");
    ASSERT_TRUE(writeOverviewFile(*s, path, 20, error)) << error;
    QImage image;
    ASSERT_TRUE(image.load(QString::fromStdString(path), "PNG"));
    EXPECT_EQ(image.width(), 20);
    EXPECT_EQ(image.height(), 512);
}

} // namespace
} // namespace tesk::testing
