#pragma once
// What every export takes and gives back, and the pieces the writers share:
// the time and depth scale of the samples, the hooks of the interpretation
// tools, a buffered writer over a ByteSink and exact decimal formatting.
//
// Numbers in the text tables are written in their shortest decimal form with
// the decimal separator of the locale the program runs under. Quantities that
// are whole numbers of hundredths or ten-millionths (metres from centimetres,
// degrees from 1e-7 degree) are formatted from the integer itself, so no
// binary rounding can show up in the digits.

#include "display/amplitude.h"
#include "display/display_raster.h"
#include "display/radargram.h"
#include "store/profile_store.h"
#include "store/work_file.h"

#include <QImage>

#include <cstddef>
#include <cstdint>
#include <locale>
#include <memory>
#include <string>
#include <string_view>

namespace tesk {

// The save command's modifier variant: no key, left Shift, left Ctrl.
enum class SaveVariant { Plain = 0, LeftShift = 1, LeftCtrl = 2 };

// View bytes (low byte of stateFlags) the exports tell apart.
namespace view {
inline constexpr int Radargram = 0;
inline constexpr int Slices = 0x08;
inline constexpr int Profiles3D = 0x10;
inline constexpr int Carpet = 0x20;
inline constexpr int Sections3D = 0x40;
} // namespace view

// Time and depth of the samples and the spacing of the frames, from the
// parameter boxes: ComboBox11, ComboBox13, ComboBox12, CheckBox2, CheckBox74
// and the soil velocity.
struct SampleScale {
    double nsPerSample = 0.5;    // ComboBox11: time of one sample row
    int antennaCm = 100;         // ComboBox13: distance between the antennas
    int stepCm = 2;              // ComboBox12: profile step
    bool zeroLine = false;       // CheckBox2 "Уровень Нуля"
    bool geographic = false;     // CheckBox74: positions in degrees
    uint16_t velocityCode = 500; // Vgr x 100, Vgr in cm/ns
};

SampleScale sampleScaleFromStore(const ProfileStore& s);

// The depth (cm) that the radargram's depth readout gives for a two-way time:
// with a = half the antenna distance (whole cm), t' = t + a 100 / code - a / 15
// unless the zero line is on, s = (t' + a / 15) code / 100, and the depth is
// Trunc(sqrt(s^2 - a^2)), 0 when s does not exceed a.
int readoutDepthCm(const SampleScale& scale, double timeNs);

// Stages that belong to the interpretation tools (the depth section of
// "Показать слои", the borehole display) and that the exports run when they
// are on. Every default does nothing.
class InterpretationLayers {
  public:
    virtual ~InterpretationLayers() = default;
    // CheckBox33: turns raster plane 0 (rows 0..552 holding frames
    // firstFrame - 20 + r) into the depth section, as the radargram chain
    // does after the fill and the relief shift.
    virtual void depthSection(DisplayRaster& raster, const ProfileStore& s, int32_t firstFrame) {
        (void)raster;
        (void)s;
        (void)firstFrame;
    }
    // Transparent 1024 x 512 images lying over the radargram at ViewOrigin,
    // drawn for the view starting at viewStart; null when the display is off.
    virtual const QImage* boreholeImage(const ProfileStore& s, int32_t viewStart) {
        (void)s;
        (void)viewStart;
        return nullptr; // CheckBox34 off
    }
    virtual const QImage* depthSectionImage(const ProfileStore& s, int32_t viewStart) {
        (void)s;
        (void)viewStart;
        return nullptr; // CheckBox33 off
    }
};

// How an export ended. The writers show "nothing to write" themselves; a
// failed write leaves the reason to the sink (the save command's atomic sink
// then keeps the previous file).
enum class ExportOutcome { Written, NothingToWrite, CreateFailed, WriteFailed };

struct ExportResult {
    ExportOutcome outcome = ExportOutcome::NothingToWrite;
    uint64_t bytes = 0; // bytes handed to the sink
    int64_t lines = 0;  // data lines of a text table, traces of a SEG-Y file
    int width = 0;      // size of a picture
    int height = 0;
    bool written() const { return outcome == ExportOutcome::Written; }
};

// --- decimal separator ---------------------------------------------------------

// The decimal separator of a locale's number format.
char decimalSeparatorOf(const std::locale& locale);
// The decimal separator of the locale the program runs under (LC_ALL,
// LC_NUMERIC, LANG); '.' when the environment names no usable locale.
char systemDecimalSeparator();

// --- buffered writing ----------------------------------------------------------

// Collects output in a large buffer and hands it to the sink in blocks, so
// that the writers format straight into memory. After the first failed write
// every later call does nothing and ok() stays false.
class SinkWriter {
  public:
    explicit SinkWriter(ByteSink& sink, std::size_t capacity = std::size_t(1) << 20);
    // Room for at least n more bytes (n <= capacity); write up to n bytes at
    // the pointer and pass the end to advance().
    char* reserve(std::size_t n) {
        if (end_ - next_ < std::ptrdiff_t(n)) drain();
        return next_;
    }
    void advance(char* end) { next_ = end; }
    void put(std::string_view text);
    void putBytes(const uint8_t* data, std::size_t n);
    // Hands everything buffered to the sink; false once any write failed.
    bool flush();
    bool ok() const { return ok_; }
    // Bytes accepted so far, buffered ones included.
    uint64_t total() const { return handed_ + uint64_t(next_ - buffer_.get()); }

  private:
    void drain();
    ByteSink& sink_;
    std::unique_ptr<char[]> buffer_;
    char* next_;
    char* end_;
    uint64_t handed_ = 0;
    bool ok_ = true;
};

// --- number formatting -----------------------------------------------------------

// Writes v in decimal; returns the end. Room for 20 characters is enough.
char* putInt(char* p, int64_t v);
// Writes units / 10^decimals (decimals 1..9) in its shortest form: trailing
// zeros of the fraction dropped, no separator for a whole number, "-" before
// a negative value. Room for 32 characters is enough.
char* putScaled(char* p, int64_t units, int decimals, char separator);
// Writes v in its shortest round-trip decimal form in fixed notation (the
// exponent form for magnitudes beyond 1e30). Room for 32 characters is enough.
char* putShortest(char* p, double v, char separator);

// The same as strings, for the tables built once per export.
std::string scaledText(int64_t units, int decimals, char separator);
std::string shortestText(double v, char separator);

// The line break of the text tables.
inline constexpr std::string_view LINE_BREAK = "\r\n";

} // namespace tesk
