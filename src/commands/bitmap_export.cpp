#include "commands/bitmap_export.h"

#include "commands/export_messages.h"

#include <algorithm>
#include <cstring>

namespace tesk {

namespace {

constexpr uint32_t WHITE = 0xFFFFFF;
constexpr int FRAME_COLUMNS = 2;              // pixel columns of one frame
constexpr int VIEW_COLUMNS = 2 * VIEW_FRAMES; // pixel columns of the radargram in view
constexpr int LEFT_STRIP_X = 22;              // window column of picture column 0
constexpr int RIGHT_SCALE_X = 1074;           // first window column of the right scale
constexpr int RIGHT_SCALE_COLUMNS = 45;
constexpr int RIGHT_SCALE_FIRST_ROW = 14; // picture row of window row 42
constexpr int LABEL_SEARCH_ROW = 18;      // the row of the tick marks above the picture
constexpr int LABEL_SEARCH_COLUMNS = 40;
constexpr int LABEL_ROWS = 14; // rows whitened near the right end
// Whole-survey picture: picture rows 0..16 (window rows 28..44) hold the
// distance labels; rows from 17 on the ticks, the frame lines and the radargram.
constexpr int LABEL_BAND_ROWS = 17;
constexpr int LABEL_X = 47;         // window column where the first distance label starts
constexpr int LABELS_KEPT_X = 1047; // the last label (frame 500) would run into the next window

void putLE(uint8_t* p, uint32_t v, int bytes) {
    for (int i = 0; i < bytes; ++i) p[i] = uint8_t(v >> (8 * i));
}

uint32_t rgbOfBgr(uint32_t bgr) {
    return ((bgr & 0xFF) << 16) | (bgr & 0xFF00) | ((bgr >> 16) & 0xFF);
}

// A premultiplied ARGB pixel over an opaque RGB one.
uint32_t over(uint32_t src, uint32_t dst) {
    const uint32_t a = src >> 24;
    if (a == 255) return src & 0xFFFFFF;
    if (a == 0) return dst;
    uint32_t out = 0;
    for (int shift = 0; shift <= 16; shift += 8) {
        const uint32_t s = (src >> shift) & 0xFF, d = (dst >> shift) & 0xFF;
        out |= std::min<uint32_t>(255, s + (d * (255 - a) + 127) / 255) << shift;
    }
    return out;
}

// One of the window's images as 32-bit pixels; transparent (0) outside.
class Pixels {
  public:
    Pixels() = default;
    explicit Pixels(QImage image) : image_(std::move(image)) {
        if (image_.isNull()) return;
        bits_ = reinterpret_cast<const uint32_t*>(image_.constBits());
        stride_ = std::size_t(image_.bytesPerLine() / 4);
        width_ = image_.width();
        height_ = image_.height();
    }
    bool contains(int x, int y) const { return x >= 0 && y >= 0 && x < width_ && y < height_; }
    uint32_t at(int x, int y) const {
        return contains(x, y) ? bits_[std::size_t(y) * stride_ + std::size_t(x)] : 0;
    }

  private:
    QImage image_; // keeps the pixels alive
    const uint32_t* bits_ = nullptr;
    std::size_t stride_ = 0;
    int width_ = 0, height_ = 0;
};

// Reads the window's images at window coordinates by the rules of the
// radargram picture.
class WindowReader {
  public:
    explicit WindowReader(const PictureSources& src)
        : picture_(src.picture ? src.picture->convertToFormat(QImage::Format_RGB32) : QImage()),
          overlay_(layer(src.overlay)), borehole_(layer(src.borehole)),
          depth_(layer(src.depthSection)), origin_(src.origin), background_(src.background) {
        // The radargram area's own colour is what Image1 shows around the
        // picture; the file shows it as white.
        area_ = picture_.at(0, 0) & 0xFFFFFF;
    }

    // The left strip: the overlay alone, white where it is empty.
    uint32_t strip(int x, int y) const { return over(overlay_.at(x, y), WHITE); }

    // The radargram part: the overlay over the borehole image over the depth
    // section over Image1; no data in the background colour when it is on;
    // the area's colour as white.
    uint32_t radargram(int x, int y, bool withOverlay = true) const {
        uint32_t c = picture_.contains(x, y) ? picture_.at(x, y) & 0xFFFFFF : area_;
        c = over(depth_.at(x - origin_.x, y - origin_.y), c);
        c = over(borehole_.at(x - origin_.x, y - origin_.y), c);
        if (withOverlay) c = over(overlay_.at(x, y), c);
        if (c == 0 && background_) c = rgbOfBgr(*background_);
        return c == area_ ? WHITE : c;
    }

  private:
    static QImage layer(const QImage* image) {
        return image ? image->convertToFormat(QImage::Format_ARGB32_Premultiplied) : QImage();
    }
    Pixels picture_, overlay_, borehole_, depth_;
    Point origin_;
    std::optional<uint32_t> background_;
    uint32_t area_ = 0;
};

void composeLeftStrip(Picture24& pic, const WindowReader& w) {
    for (int col = 0; col < std::min(LEFT_STRIP_COLUMNS, pic.width); ++col)
        for (int row = 0; row < pic.height; ++row)
            pic.setPixel(col, row, w.strip(LEFT_STRIP_X + col, PICTURE_FIRST_Y + row));
}

// The right scale's 45 columns, written from picture column `start` on.
void composeRightScale(Picture24& pic, const WindowReader& w, int start) {
    for (int i = 0; i < RIGHT_SCALE_COLUMNS; ++i) {
        const int col = start + i;
        if (col < 0 || col >= pic.width) continue;
        for (int row = RIGHT_SCALE_FIRST_ROW; row < pic.height; ++row)
            pic.setPixel(col, row, w.radargram(RIGHT_SCALE_X + i, PICTURE_FIRST_Y + row));
    }
}

// Clears the distance labels that run past the frames: back from `start`
// (at most 40 columns) to the last tick mark in row 18, then rows 0..13
// from 25 columns after it to the right edge. (Clearing only off + 17
// columns, off the columns searched, can leave the first digit of a label
// standing in the corner.)
void whitenLabelsPastEnd(Picture24& pic, int start) {
    int col = start, off = 0;
    while (off < LABEL_SEARCH_COLUMNS && col > 0 &&
           (col >= pic.width || pic.pixel(col, LABEL_SEARCH_ROW) == WHITE)) {
        --col;
        ++off;
    }
    for (int k = std::max(col + 25, 0); k < pic.width; ++k)
        for (int row = 0; row < LABEL_ROWS; ++row) pic.setPixel(k, row, WHITE);
}

// Draws the radargram for a view start into a Radargram of its own.
class RadargramRenderer {
  public:
    RadargramRenderer(ProfileStore& s, const BitmapSettings& b) : s_(s), b_(b) {
        r_.settings = b.display;
        if (b.palettes)
            r_.palettes = *b.palettes;
        else
            r_.recolour();
    }
    PictureSources draw(int32_t viewStart, const ViewState& v) {
        s_.viewStart = viewStart;
        GRAF(r_, s_, b_.processing, v.ViewOrigin);
        OverlaySettings o = b_.overlay;
        if (b_.processing.relief.on) o.windowHmax = int(r_.reliefWindowMaximum);
        DrawView(r_.overlay, s_, v, o, b_.painters);
        PictureSources src;
        src.picture = &r_.picture;
        src.overlay = &r_.overlay;
        if (b_.layers) {
            src.borehole = b_.layers->boreholeImage(s_, viewStart);
            src.depthSection = b_.layers->depthSectionImage(s_, viewStart);
        }
        src.background = b_.background;
        src.origin = v.ViewOrigin;
        return src;
    }

  private:
    ProfileStore& s_;
    const BitmapSettings& b_;
    Radargram r_;
};

bool anyFrameWithData(const ProfileStore& s) {
    for (int f = 0; f <= s.frameCount; ++f)
        if (s.frame(f).inProfile()) return true;
    return false;
}

ExportResult finish(ByteSink& sink, const Picture24& pic) {
    ExportResult r;
    r.width = pic.width;
    r.height = pic.height;
    r.bytes = 54 + pic.bgr.size();
    r.outcome = writePicture24(sink, pic) ? ExportOutcome::Written : ExportOutcome::WriteFailed;
    return r;
}

ExportResult writeProfilePicture(ByteSink& sink, ProfileStore& s, const BitmapSettings& b,
                                 Interaction& ui) {
    const auto span = pictureProfile(s, s.viewStart);
    if (!span) {
        ui.show(msg::nothingToWrite());
        return {};
    }
    RadargramRenderer renderer(s, b);
    const PictureSources src = renderer.draw(span->start, b.viewState);
    const Picture24 pic = composeProfilePicture(src, span->frames);
    // The window goes on showing the profile pictured, within the range
    // the view can start at.
    s.viewStart = std::min(span->start, lastViewStart(s));
    ui.progress(1, 1);
    return finish(sink, pic);
}

// The whole survey, one screen of 512 frames after the other: each screen's
// frames (and the ticks and frame lines around them) side by side, its
// distance labels up to frame 500, then the right scale after the last frame.
ExportResult writeSurveyPicture(ByteSink& sink, ProfileStore& s, const BitmapSettings& b,
                                Interaction& ui) {
    const int32_t keptViewStart = s.viewStart;
    const int frames = s.frameCount + 1;
    Picture24 pic(surveyPictureWidth(frames), PICTURE_ROWS);
    const int end = LEFT_STRIP_COLUMNS + FRAME_COLUMNS * frames + 43; // last radargram column
    RadargramRenderer renderer(s, b);
    const int ox = b.viewState.ViewOrigin.x, oy = b.viewState.ViewOrigin.y;
    ui.progress(0, frames);
    for (int first = 0; first < frames; first += VIEW_FRAMES) {
        // The cursor and the second point belong to the screen, not to the survey.
        ViewState v = b.viewState;
        v.cursorColumn = v.cursorRow = v.secondRow = -10000;
        v.secondFrame = first - 10000;
        const WindowReader w(renderer.draw(first, v));
        const int n = std::min(VIEW_FRAMES, frames - first);
        const bool last = first + VIEW_FRAMES >= frames;
        const int shift = LEFT_STRIP_COLUMNS + FRAME_COLUMNS * first - ox; // column = x + shift
        if (first == 0) composeLeftStrip(pic, w);
        const int bodyEnd = last ? ox + FRAME_COLUMNS * n + 44 : ox + VIEW_COLUMNS;
        for (int x = ox; x < bodyEnd && x + shift < pic.width; ++x) {
            // The light-blue right edge of the screen covers the second
            // column of its last frame; inside the survey that column is data.
            const bool screenEdge = !last && x == ox + VIEW_COLUMNS - 1;
            for (int row = LABEL_BAND_ROWS; row < PICTURE_ROWS; ++row) {
                const int y = PICTURE_FIRST_Y + row;
                const bool inside = y >= oy && y < oy + VIEW_FRAMES - 1;
                pic.setPixel(x + shift, row, w.radargram(x, y, !(screenEdge && inside)));
            }
        }
        const int labelsFrom = first == 0 ? ox : LABEL_X;
        const int labelsTo = last ? bodyEnd : LABELS_KEPT_X;
        for (int x = labelsFrom; x < labelsTo && x + shift < pic.width; ++x)
            for (int row = 0; row < LABEL_BAND_ROWS; ++row)
                pic.setPixel(x + shift, row, w.radargram(x, PICTURE_FIRST_Y + row));
        if (last) composeRightScale(pic, w, end - 44);
        ui.progress(first + n, frames);
    }
    whitenLabelsPastEnd(pic, end - 44);
    s.viewStart = keptViewStart;
    return finish(sink, pic);
}

} // namespace

uint32_t Picture24::pixel(int x, int y) const {
    const uint8_t* p = bgr.data() + (std::size_t(y) * std::size_t(width) + std::size_t(x)) * 3;
    return uint32_t(p[0]) | (uint32_t(p[1]) << 8) | (uint32_t(p[2]) << 16);
}

void Picture24::setPixel(int x, int y, uint32_t rgb) {
    uint8_t* p = bgr.data() + (std::size_t(y) * std::size_t(width) + std::size_t(x)) * 3;
    p[0] = uint8_t(rgb);
    p[1] = uint8_t(rgb >> 8);
    p[2] = uint8_t(rgb >> 16);
}

std::array<uint8_t, 54> bitmapFileHeader(int width, int height, int bitsPerPixel) {
    const uint32_t rowBytes = (uint32_t(width) * uint32_t(bitsPerPixel) / 8 + 3) & ~3u;
    const uint32_t imageBytes = rowBytes * uint32_t(height);
    std::array<uint8_t, 54> b{};
    b[0] = 'B';
    b[1] = 'M';
    putLE(&b[2], 54 + imageBytes, 4);
    putLE(&b[10], 54, 4);
    putLE(&b[14], 40, 4);
    putLE(&b[18], uint32_t(width), 4);
    putLE(&b[22], uint32_t(height), 4);
    putLE(&b[26], 1, 2);
    putLE(&b[28], uint32_t(bitsPerPixel), 2);
    putLE(&b[34], imageBytes, 4);
    putLE(&b[38], 11811, 4);
    putLE(&b[42], 11811, 4);
    return b;
}

int profilePictureWidth(int frames) {
    return frames >= 511 ? 1096 : 8 * ((frames + 1) / 4) + 72;
}

int surveyPictureWidth(int frames) {
    const int needed = LEFT_STRIP_COLUMNS + FRAME_COLUMNS * frames + 44;
    return (needed + 3) / 4 * 4;
}

std::optional<ProfileSpan> pictureProfile(const ProfileStore& s, int viewStart) {
    int f = std::max(viewStart, 0);
    while (f <= s.frameCount && !s.frame(f).inProfile()) ++f;
    if (f > s.frameCount) return std::nullopt;
    ProfileSpan span;
    span.start = f;
    while (f <= MAX_FRAME_INDEX && s.frame(f).inProfile()) ++f;
    span.frames = std::max(f - span.start, MIN_PROFILE_FRAMES);
    return span;
}

Picture24 composeProfilePicture(const PictureSources& src, int frames) {
    const WindowReader w(src);
    Picture24 pic(profilePictureWidth(frames), PICTURE_ROWS);
    composeLeftStrip(pic, w);
    const int M = frames >= VIEW_FRAMES ? 1067 : FRAME_COLUMNS * frames + 43;
    for (int col = LEFT_STRIP_COLUMNS; col <= LEFT_STRIP_COLUMNS + M && col < pic.width; ++col)
        for (int row = 0; row < PICTURE_ROWS; ++row)
            pic.setPixel(col, row, w.radargram(col + LEFT_STRIP_X, PICTURE_FIRST_Y + row));
    const int scaleStart = LEFT_STRIP_COLUMNS + M - 44;
    composeRightScale(pic, w, scaleStart);
    whitenLabelsPastEnd(pic, scaleStart);
    return pic;
}

bool writePicture24(ByteSink& sink, const Picture24& pic) {
    const auto header = bitmapFileHeader(pic.width, pic.height, 24);
    if (!sink.write(header.data(), header.size())) return false;
    // Rows are whole multiples of four bytes: the widths are multiples of 4.
    const std::size_t rowBytes = std::size_t(pic.width) * 3;
    const std::size_t padded = (rowBytes + 3) & ~std::size_t(3);
    std::vector<uint8_t> row(padded, 0);
    for (int y = pic.height - 1; y >= 0; --y) {
        std::memcpy(row.data(), pic.bgr.data() + std::size_t(y) * rowBytes, rowBytes);
        if (!sink.write(row.data(), padded)) return false;
    }
    return true;
}

bool writeViewPixels(ByteSink& sink, const ViewPixels& px) {
    const auto header = bitmapFileHeader(px.width, px.height, 32);
    // The first row read back is the bottom row of the picture, which is
    // also the first row a bottom-up bitmap file stores.
    return sink.write(header.data(), header.size()) &&
           sink.write(px.bgra.data(), std::size_t(px.width) * std::size_t(px.height) * 4);
}

BitmapSettings bitmapSettingsFromStore(const ProfileStore& s) {
    BitmapSettings b;
    const auto& h = s.header.value;
    b.view = s.stateFlags & state::ViewMask;
    loadDisplaySettings(s.header, b.display);
    b.processing = processingFromHeader(s.header);
    b.overlay = overlaySettingsFromHeader(s);
    b.processing.relief.on = s.stateFlags & state::Relief;
    b.processing.relief.nsPerRow = b.overlay.nsPerRow;
    b.overlay.reliefDisplay = b.processing.relief.on;
    // The colour boxes show the first layer colour after a load: ComboBox34
    // blue (cell 80), ComboBox33 green (81), ComboBox32 red (82).
    if (b.display.background)
        b.background = uint32_t(h[hdr::LayerColour + 2]) |
                       (uint32_t(h[hdr::LayerColour + 1]) << 8) |
                       (uint32_t(h[hdr::LayerColour]) << 16);
    return b;
}

ExportResult writeBitmap(ByteSink& sink, ProfileStore& s, const BitmapSettings& b,
                         Interaction& ui) {
    if (b.view == view::Carpet || b.view == view::Sections3D) {
        const ViewPixels* px = b.viewPixels;
        if (!px || px->width <= 0 || px->height <= 0 ||
            px->bgra.size() < std::size_t(px->width) * std::size_t(px->height) * 4) {
            ui.show(msg::nothingToWrite());
            return {};
        }
        ExportResult r;
        r.width = px->width;
        r.height = px->height;
        r.bytes = 54 + std::size_t(px->width) * std::size_t(px->height) * 4;
        r.outcome =
            writeViewPixels(sink, *px) ? ExportOutcome::Written : ExportOutcome::WriteFailed;
        return r;
    }
    if (b.view != view::Radargram || !anyFrameWithData(s)) {
        ui.show(msg::nothingToWrite());
        return {};
    }
    const bool single =
        b.singleFile ? *b.singleFile : ui.show(msg::writeAsSingleFile()) == Answer::Yes;
    return single ? writeSurveyPicture(sink, s, b, ui) : writeProfilePicture(sink, s, b, ui);
}

} // namespace tesk
