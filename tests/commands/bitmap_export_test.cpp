// The pictures of the save command: the bitmap header, the rules that put
// the window's images together, the profile pictured, and whole exports
// decoded by an independent reader (Qt's BMP loader).

#include "support/store_test_support.h"

#include "commands/bitmap_export.h"
#include "display/palettes.h"

#include <QGuiApplication>
#include <QImage>
#include <gtest/gtest.h>

#include <cstring>

namespace tesk::testing {
namespace {

// Text on the overlay needs the toolkit's font machinery.
void ensureApp() {
    if (QGuiApplication::instance()) return;
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "bitmap_export_test";
    static char* argv[] = {name, nullptr};
    static QGuiApplication app(argc, argv);
}

QImage decode(const std::vector<uint8_t>& bytes) {
    QImage image;
    EXPECT_TRUE(image.loadFromData(bytes.data(), int(bytes.size()), "BMP"));
    return image;
}

uint32_t rgbAt(const QImage& image, int x, int y) {
    return image.pixel(x, y) & 0xFFFFFF;
}

uint32_t rgbOf(uint32_t bgr) {
    return ((bgr & 0xFF) << 16) | (bgr & 0xFF00) | ((bgr >> 16) & 0xFF);
}

uint32_t le32(const std::vector<uint8_t>& b, std::size_t at) {
    return uint32_t(b[at]) | (uint32_t(b[at + 1]) << 8) | (uint32_t(b[at + 2]) << 16) |
           (uint32_t(b[at + 3]) << 24);
}

TEST(BitmapFiles, HeaderIsTheStoresTemplateAndTheFileDecodes) {
    SurveyHeader h;
    h.setStartValues(); // presets the template for 1032 x 528
    const auto header = bitmapFileHeader(1032, 528, 24);
    EXPECT_EQ(std::memcmp(header.data(), h.work.data(), 54), 0);

    // Every pixel distinct: rows must come out in their order.
    Picture24 pic(8, 3);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 8; ++x) pic.setPixel(x, y, uint32_t(0x102030 * (y + 1) + x));
    VectorSink sink;
    ASSERT_TRUE(writePicture24(sink, pic));
    ASSERT_EQ(sink.bytes.size(), 54u + 8 * 3 * 3);
    EXPECT_EQ(le32(sink.bytes, 2), sink.bytes.size());
    const QImage image = decode(sink.bytes);
    ASSERT_EQ(image.width(), 8);
    ASSERT_EQ(image.height(), 3);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 8; ++x) EXPECT_EQ(rgbAt(image, x, y), pic.pixel(x, y)) << x << "," << y;
}

TEST(BitmapFiles, PictureWidths) {
    const int frames[] = {8, 9, 10, 11, 12, 100, 510, 511, 5000};
    const int widths[] = {88, 88, 88, 96, 96, 272, 1088, 1096, 1096};
    for (std::size_t i = 0; i < std::size(frames); ++i)
        EXPECT_EQ(profilePictureWidth(frames[i]), widths[i]) << frames[i];
    // 28 + 2 n + 44, up to a multiple of 4.
    EXPECT_EQ(surveyPictureWidth(1), 76);
    EXPECT_EQ(surveyPictureWidth(2), 76);
    EXPECT_EQ(surveyPictureWidth(641), 1356);
    EXPECT_EQ(surveyPictureWidth(64001), 128076);
}

TEST(BitmapFiles, TheProfilePicturedStartsAtTheFirstFrameWithDataInView) {
    StorePtr s = newStore();
    for (int f = 30; f <= 129; ++f) putSample(*s, f);
    for (int f = 200; f <= 203; ++f) putSample(*s, f);
    s->frameCount = 240;
    s->finishLoad();
    struct Case {
        int viewStart, start, frames;
    };
    for (const Case c :
         {Case{0, 30, 100}, Case{50, 50, 80}, Case{150, 200, 8}, Case{129, 129, 8}}) {
        const auto span = pictureProfile(*s, c.viewStart);
        ASSERT_TRUE(span.has_value()) << c.viewStart;
        EXPECT_EQ(span->start, c.start) << c.viewStart;
        EXPECT_EQ(span->frames, c.frames) << c.viewStart;
    }
    EXPECT_FALSE(pictureProfile(*s, 210).has_value());
}

// --- composing the picture from the window's images ---------------------------------------

constexpr uint32_t AREA = 0xFFC0DCC0;
constexpr uint32_t FRAME = 0xFF406080;

QImage windowPicture() {
    QImage p(1160, 600, QImage::Format_RGB32);
    p.fill(AREA);
    for (int x = 50; x < 66; ++x) // frames 0..7
        for (int y = 50; y < 562; ++y) p.setPixel(x, y, FRAME);
    p.setPixel(52, 60, 0xFF000000); // no data
    return p;
}

QImage transparent(int w, int h) {
    QImage i(w, h, QImage::Format_ARGB32_Premultiplied);
    i.fill(Qt::transparent);
    return i;
}

TEST(BitmapCompose, EachPartOfThePictureComesFromItsImage) {
    const QImage picture = windowPicture();
    QImage overlay = transparent(1160, 600);
    overlay.setPixel(30, 40, 0xFF000080);    // depth label, left strip column 8, row 12
    overlay.setPixel(60, 100, 0xFFFF0000);   // over the radargram
    overlay.setPixel(1080, 300, 0xFF008000); // right scale
    overlay.setPixel(57, 46, 0xFF888888);    // the last tick before the end, row 18
    overlay.setPixel(81, 33, 0xFF800000);    // distance labels in row 5
    overlay.setPixel(85, 33, 0xFF800000);
    overlay.setPixel(108, 33, 0xFF800000);
    QImage borehole = transparent(1024, 512);
    borehole.setPixel(2, 20, 0xFF00FF00);
    QImage depth = transparent(1024, 512);
    depth.setPixel(2, 20, 0xFF0000FF);
    depth.setPixel(4, 30, 0xFF0000FF);
    PictureSources src;
    src.picture = &picture;
    src.overlay = &overlay;
    src.borehole = &borehole;
    src.depthSection = &depth;
    src.background = 0x112233; // blue 0x11, green 0x22, red 0x33

    const Picture24 pic = composeProfilePicture(src, 8);
    ASSERT_EQ(pic.width, 88);
    ASSERT_EQ(pic.height, 536);
    EXPECT_EQ(pic.pixel(8, 12), 0x000080u) << "left strip: the overlay";
    EXPECT_EQ(pic.pixel(0, 100), 0xFFFFFFu) << "left strip: white where the overlay is empty";
    EXPECT_EQ(pic.pixel(28, 22), FRAME & 0xFFFFFF)
        << "picture column 28 is window column 50, row 0 is 28";
    EXPECT_EQ(pic.pixel(42, 500), FRAME & 0xFFFFFF) << "first column of the last frame";
    EXPECT_EQ(pic.pixel(38, 72), 0xFF0000u) << "the overlay over the radargram";
    EXPECT_EQ(pic.pixel(30, 42), 0x00FF00u) << "the borehole image over the depth section";
    EXPECT_EQ(pic.pixel(32, 52), 0x0000FFu) << "the depth section over the radargram";
    EXPECT_EQ(pic.pixel(30, 32), 0x332211u) << "no data in the background colour";
    EXPECT_EQ(pic.pixel(60, 300), 0xFFFFFFu) << "the radargram area as white";
    // The right scale starts 44 columns before the end (column 28 + 59 - 44 = 43).
    EXPECT_EQ(pic.pixel(49, 272), 0x008000u);
    EXPECT_EQ(pic.pixel(43, 100), 0xFFFFFFu) << "the scale covers the last frame's second column";
    // The last tick is at column 35: labels whitened from column 60 to the edge.
    EXPECT_EQ(pic.pixel(35, 18), 0x888888u);
    EXPECT_EQ(pic.pixel(59, 5), 0x800000u);
    EXPECT_EQ(pic.pixel(63, 5), 0xFFFFFFu);
    EXPECT_EQ(pic.pixel(86, 5), 0xFFFFFFu);
}

// --- whole exports -----------------------------------------------------------------------

class BitmapExport : public ::testing::Test {
  protected:
    void SetUp() override {
        ensureApp();
        settings.display.amplitudeForm = form::Amplitude;
        // Cursor lines away from the rows and columns the tests look at.
        settings.viewState.cursorColumn = 300;
        settings.viewState.cursorRow = 400;
        settings.viewState.secondRow = 400;
    }
    // Frames first..last in profile; sample j of frame f = 1 + (3 f + j) % 254.
    void frames(int first, int last) {
        for (int f = first; f <= last; ++f) {
            for (int j = 0; j < SAMPLES_PER_FRAME; ++j)
                s->frame(f).value[std::size_t(j)] = uint8_t(1 + (3 * f + j) % 254);
            s->frame(f).fillRowsFromLastSample();
        }
        s->frameCount = std::max(s->frameCount, last + 1); // for finishLoad
    }
    // The colour the radargram paints sample k of frame f in.
    uint32_t shown(int f, int k) {
        Palettes p;
        ReColor3D(p, settings.display);
        ColumnColours c;
        paintFrameColumn(s->frame(f).value.data(), settings.display, p, c);
        return rgbOf(c[std::size_t(k)]);
    }
    StorePtr s = newStore();
    RecordingInteraction ui;
    BitmapSettings settings;
};

TEST_F(BitmapExport, OneProfileFromTheFirstFrameWithDataInView) {
    frames(30, 129);
    s->finishLoad();
    ui.answers.push_back(Answer::No);
    VectorSink sink;
    const ExportResult r = writeBitmap(sink, *s, settings, ui);
    ASSERT_EQ(r.outcome, ExportOutcome::Written);
    ASSERT_EQ(ui.shown.size(), 1u);
    EXPECT_EQ(ui.shown[0].icon, Icon::Warning);
    EXPECT_EQ(ui.shown[0].buttons, Buttons::YesNo);
    EXPECT_EQ(ui.shown[0].ru, "Записать одним файлом?");
    EXPECT_EQ(ui.shown[0].en, "Write as a single file?");
    EXPECT_EQ(s->viewStart, 30);
    const QImage image = decode(sink.bytes);
    ASSERT_EQ(image.width(), 272); // 100 frames
    ASSERT_EQ(image.height(), 536);
    EXPECT_EQ(r.bytes, sink.bytes.size());
    // Frame 30 in picture columns 28 and 29; sample k in row 22 + k.
    for (int k : {0, 10, 300, 510}) {
        EXPECT_EQ(rgbAt(image, 28, 22 + k), shown(30, k)) << k;
        EXPECT_EQ(rgbAt(image, 29, 22 + k), shown(30, k)) << k;
        EXPECT_EQ(rgbAt(image, 28 + 2 * 99, 22 + k), shown(129, k)) << k;
    }
    EXPECT_EQ(rgbAt(image, 0, 535), 0xFFFFFFu);
}

TEST_F(BitmapExport, WholeSurveyHoldsEveryFrameAtFullResolution) {
    frames(0, 599);
    s->finishLoad();
    s->viewStart = 100;
    settings.singleFile = true;
    VectorSink sink;
    ASSERT_EQ(writeBitmap(sink, *s, settings, ui).outcome, ExportOutcome::Written);
    EXPECT_TRUE(ui.shown.empty()) << "the answer was given beforehand";
    EXPECT_EQ(s->viewStart, 100);
    const QImage image = decode(sink.bytes);
    ASSERT_EQ(image.width(), surveyPictureWidth(s->frameCount + 1));
    ASSERT_EQ(image.height(), 536);
    for (int f : {0, 255, 511, 512, 555, 599}) {
        for (int k : {0, 200, 510}) {
            EXPECT_EQ(rgbAt(image, 28 + 2 * f, 22 + k), shown(f, k)) << f << " " << k;
            EXPECT_EQ(rgbAt(image, 29 + 2 * f, 22 + k), shown(f, k)) << f << " " << k;
        }
    }
    // Gap frames after the data: no data, black.
    EXPECT_EQ(rgbAt(image, 28 + 2 * 620, 200), 0u);
}

TEST_F(BitmapExport, NothingToWriteWithoutDataOrOutsideThePicturedViews) {
    s->frameCount = 40;
    settings.singleFile = false;
    VectorSink sink;
    EXPECT_EQ(writeBitmap(sink, *s, settings, ui).outcome, ExportOutcome::NothingToWrite);
    frames(0, 9);
    s->finishLoad();
    s->viewStart = 20; // past the only profile
    EXPECT_EQ(writeBitmap(sink, *s, settings, ui).outcome, ExportOutcome::NothingToWrite);
    s->viewStart = 0;
    for (int v : {view::Slices, view::Profiles3D, view::Carpet}) {
        settings.view = v; // the carpet without pixels read back
        EXPECT_EQ(writeBitmap(sink, *s, settings, ui).outcome, ExportOutcome::NothingToWrite) << v;
    }
    EXPECT_TRUE(sink.bytes.empty());
    ASSERT_EQ(ui.shown.size(), 5u);
    for (const Message& m : ui.shown) EXPECT_EQ(m.en, "ERROR! There is no Structure for record ");
}

TEST_F(BitmapExport, ThreeDPictureIsTheReadBackWithTheFirstRowReadAtTheBottom) {
    ViewPixels px;
    px.width = 3;
    px.height = 2;
    // Bottom row read first: A B C, then the top row D E F (blue, green, red, alpha).
    px.bgra = {0x01, 0x02, 0x03, 0xFF, 0x11, 0x12, 0x13, 0xFF, 0x21, 0x22, 0x23, 0xFF,
               0x31, 0x32, 0x33, 0xFF, 0x41, 0x42, 0x43, 0xFF, 0x51, 0x52, 0x53, 0xFF};
    settings.view = view::Sections3D;
    settings.viewPixels = &px;
    VectorSink sink;
    const ExportResult r = writeBitmap(sink, *s, settings, ui);
    ASSERT_EQ(r.outcome, ExportOutcome::Written);
    ASSERT_EQ(sink.bytes.size(), 54u + 24u);
    EXPECT_EQ(sink.bytes[28], 32) << "32 bits per pixel";
    const QImage image = decode(sink.bytes);
    ASSERT_EQ(image.width(), 3);
    ASSERT_EQ(image.height(), 2);
    EXPECT_EQ(rgbAt(image, 0, 1), 0x030201u);
    EXPECT_EQ(rgbAt(image, 2, 1), 0x232221u);
    EXPECT_EQ(rgbAt(image, 0, 0), 0x333231u);
    EXPECT_EQ(rgbAt(image, 2, 0), 0x535251u);
    EXPECT_TRUE(ui.shown.empty());
}

} // namespace
} // namespace tesk::testing
