#include "commands/text_export.h"

#include "commands/export_messages.h"
#include "display/filters.h"
#include "display/raster_fill.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <memory>
#include <vector>

namespace tesk {

namespace {

constexpr int FIRST_ROW = DisplayRaster::FIRST_VIEW_ROW;

const char* const PLAIN_HEADERS[LEVEL_TABLE_COUNT] = {"X;T;ALn;", "X;T;ALg_11;", "X;T;ALg_20;",
                                                      "X;T;ALg_21;", "X;T;ALg_22;"};
const char* const SHIFT_HEADERS[LEVEL_TABLE_COUNT] = {
    "X;Y;Z;NS;ALn_00;h:m:s.0", "X;Y;Z;NS;ALg_10;h:m:s.0", "X;Y;Z;NS;ALg_20;h:m:s.0",
    "X;Y;Z;NS;ALg_21;h:m:s.0", "X;Y;Z;NS;ALg_22;h:m:s.0"};
constexpr const char* SLICE_HEADER = "X;Y;A";
constexpr const char* LAYER_HEADER = "Long;Latd;X;Y;HR;T01;A01;D02;T12;A02;D03;T23;A03;D04;T34;"
                                     "A04;D05;T45;A05;D06;T56;A06;D07;T67;A07;GRT";

// A short piece of a line kept in a fixed slot, so that a line is put
// together from whole 16-byte copies; `length` bytes of it count.
struct Piece {
    std::array<char, 16> text{};
    uint8_t length = 0;
    void set(const std::string& s) {
        length = uint8_t(std::min<std::size_t>(s.size(), text.size()));
        std::memcpy(text.data(), s.data(), length);
    }
};
inline char* append(char* p, const Piece& piece) {
    std::memcpy(p, piece.text.data(), 16);
    return p + piece.length;
}

int levelItem(const ExportSettings& e) {
    return std::clamp(e.display.levelTableIndex, 0, LEVEL_TABLE_COUNT - 1);
}

bool anyFrameWithData(const ProfileStore& s) {
    for (int f = 0; f <= s.frameCount; ++f)
        if (s.frame(f).inProfile()) return true;
    return false;
}

// The amplitude value of every code followed by `tail`.
std::array<Piece, 256> amplitudePieces(const ExportSettings& e, const char* tail) {
    std::array<Piece, 256> out;
    for (int c = 0; c < 256; ++c)
        out[std::size_t(c)].set(
            (c == 0 ? std::string("0") : std::to_string(e.display.LevelTable[std::size_t(c)])) +
            tail);
    return out;
}

// The time of every sample row followed by ";".
std::array<Piece, SAMPLES_PER_FRAME> timePieces(const ExportSettings& e) {
    std::array<Piece, SAMPLES_PER_FRAME> out;
    for (int j = 0; j < SAMPLES_PER_FRAME; ++j)
        out[std::size_t(j)].set(shortestText(j * e.scale.nsPerSample, e.decimalSeparator) + ";");
    return out;
}

// The processing chain of the radargram over one block of frames: raster
// row r holds frame first - 20 + r.
class BlockProcessor {
  public:
    BlockProcessor() : raster_(std::make_unique<DisplayRaster>()) {}
    const DisplayRaster& raster() const { return *raster_; }
    DisplayRaster& raster() { return *raster_; }

    void processFrames(const ProfileStore& s, const ExportSettings& e, int32_t first) {
        DisplayRaster& r = *raster_;
        const ReliefDisplay& relief = e.processing.relief;
        if (relief.on)
            fillRasterRelief(r, s, first, relief.stretch);
        else
            fillRaster(r, s, first);
        if (relief.on) {
            const uint32_t reference = relief.absolute ? reliefWindowMaximum(s, first) : s.Hmax;
            shiftRasterForRelief(r, s, first, reference, s.velocityCode, relief.nsPerRow,
                                 relief.stretch);
        }
        if (e.layers) e.layers->depthSection(r, s, first);
        runFiltersAndGain(e);
    }

    // The horizontal section into rows 20..531; rows 0..19 repeat line 0
    // and rows 532..551 line 511, as the slice views lay a section out.
    void processSection(const uint8_t* codes, const ExportSettings& e) {
        DisplayRaster& r = *raster_;
        for (int row = 0; row < DisplayRaster::FILTER_ROWS; ++row) {
            const int line = std::clamp(row - FIRST_ROW, 0, SECTION_NODES - 1);
            uint8_t* out = r.row(0, row);
            std::memcpy(out, codes + std::size_t(line) * SECTION_NODES, SECTION_NODES);
            std::memset(out + SECTION_NODES, out[SECTION_NODES - 1], SAMPLE_ROWS - SECTION_NODES);
            std::memset(out + SAMPLE_ROWS, 0, CELLS_PER_FRAME - SAMPLE_ROWS);
        }
        runFiltersAndGain(e);
    }

  private:
    void runFiltersAndGain(const ExportSettings& e) {
        DisplayRaster& r = *raster_;
        filterRadargram(r, e.processing.filter1, e.processing.filter2, e.display.LevelTable);
        r.activePlane = 0;
        if (zeroGainNeededForTextExport(e.display)) ZeroGain(r, e.display);
    }
    std::unique_ptr<DisplayRaster> raster_;
};

// --- no key ------------------------------------------------------------------------

void writePlain(SinkWriter& w, const ProfileStore& s, const ExportSettings& e, Interaction& ui,
                ExportResult& out) {
    const auto times = timePieces(e);
    const auto values = amplitudePieces(e, ";\r\n");
    BlockProcessor proc;
    const int last = s.frameCount;
    ui.progress(0, last + 1);
    for (int b = 0; b <= last && w.ok(); b += PLAIN_BLOCK_FRAMES) {
        proc.processFrames(s, e, b);
        const int end = std::min(b + PLAIN_BLOCK_FRAMES - 1, last);
        for (int f = b; f <= end; ++f) {
            Piece frame;
            frame.set(std::to_string(f) + ";");
            const uint8_t* codes = proc.raster().row(0, FIRST_ROW + f - b);
            for (int j = 0; j < SAMPLES_PER_FRAME; ++j) {
                char* p = w.reserve(48);
                p = append(p, frame);
                p = append(p, times[std::size_t(j)]);
                p = append(p, values[codes[j]]);
                w.advance(p);
            }
        }
        out.lines += int64_t(end - b + 1) * SAMPLES_PER_FRAME;
        ui.progress(end + 1, last + 1);
    }
}

// --- left Shift ----------------------------------------------------------------------

// "X;Y;" of a frame: degrees, or metres of the rectangular coordinates.
std::string positionText(const FrameRecord& f, bool geographic, char sep) {
    if (geographic) {
        const int64_t lon =
            int64_t(f.value[cell::LonDegrees]) * 10000000 + f.get24(cell::LonFraction);
        const int64_t lat =
            int64_t(f.value[cell::LatDegrees]) * 10000000 + f.get24(cell::LatFraction);
        return scaledText(lon, 7, sep) + ";" + scaledText(lat, 7, sep) + ";";
    }
    return scaledText(int32_t(f.get32(cell::UcsX)), 2, sep) + ";" +
           scaledText(int32_t(f.get32(cell::UcsY)), 2, sep) + ";";
}

// The time of day of a frame with hundredths as two digits.
std::string timeOfDayText(const FrameRecord& f, char sep) {
    const int h = f.value[cell::Hundredths];
    return std::to_string(f.value[cell::Hour]) + ":" + std::to_string(f.value[cell::Minute]) + ":" +
           std::to_string(f.value[cell::Second]) + sep + char('0' + h / 10 % 10) +
           char('0' + h % 10) + "\r\n";
}

void writePositions(SinkWriter& w, const ProfileStore& s, const ExportSettings& e, Interaction& ui,
                    ExportResult& out) {
    const char sep = e.decimalSeparator;
    const auto times = timePieces(e);
    const auto values = amplitudePieces(e, ";");
    std::array<int, SAMPLES_PER_FRAME> depth{};
    for (int j = 0; j < SAMPLES_PER_FRAME; ++j)
        depth[std::size_t(j)] = readoutDepthCm(e.scale, j * e.scale.nsPerSample);
    BlockProcessor proc;
    const int last = s.frameCount;
    ui.progress(0, last + 1);
    for (int b = 0; b <= last && w.ok(); b += SHIFT_BLOCK_FRAMES) {
        const int end = std::min(b + SHIFT_BLOCK_FRAMES - 1, last);
        bool any = false;
        for (int f = b; f <= end && !any; ++f) any = s.frame(f).inProfile();
        if (any) proc.processFrames(s, e, b);
        for (int f = b; f <= end && any; ++f) {
            const FrameRecord& fr = s.frame(f);
            if (!fr.inProfile()) continue;
            const std::string position = positionText(fr, e.scale.geographic, sep);
            const std::string time = timeOfDayText(fr, sep);
            const int64_t relief = fr.reliefHeight();
            const uint8_t* codes = proc.raster().row(0, FIRST_ROW + f - b);
            for (int j = 0; j < SAMPLES_PER_FRAME; ++j) {
                char* p = w.reserve(160);
                std::memcpy(p, position.data(), position.size());
                p += position.size();
                p = putScaled(p, relief - depth[std::size_t(j)], 2, sep);
                *p++ = ';';
                p = append(p, times[std::size_t(j)]);
                p = append(p, values[codes[j]]);
                std::memcpy(p, time.data(), time.size());
                w.advance(p + time.size());
            }
            out.lines += SAMPLES_PER_FRAME;
        }
        ui.progress(end + 1, last + 1);
    }
}

// --- left Ctrl: layer boundaries -----------------------------------------------------

inline constexpr int BOUNDARIES = 7;

void writeLayers(SinkWriter& w, const ProfileStore& s, const ExportSettings& e, Interaction& ui,
                 ExportResult& out) {
    const char sep = e.decimalSeparator;
    const int last = s.frameCount;
    ui.progress(0, last + 1);
    for (int f = 0; f <= last && w.ok(); ++f) {
        const FrameRecord& fr = s.frame(f);
        if (!fr.inProfile()) continue;
        char* p = w.reserve(512);
        const int64_t lon =
            int64_t(fr.value[cell::LonDegrees]) * 10000000 + fr.get24(cell::LonFraction);
        const int64_t lat =
            int64_t(fr.value[cell::LatDegrees]) * 10000000 + fr.get24(cell::LatFraction);
        p = putScaled(p, lon, 7, sep);
        *p++ = ';';
        p = putScaled(p, lat, 7, sep);
        *p++ = ';';
        p = putScaled(p, int32_t(fr.get32(cell::UcsX)), 2, sep);
        *p++ = ';';
        p = putScaled(p, int32_t(fr.get32(cell::UcsY)), 2, sep);
        *p++ = ';';
        p = putInt(p, fr.reliefHeight());
        *p++ = ';';
        int previousDepth = 0; // the surface, until a boundary above is present
        for (int k = 1; k <= BOUNDARIES; ++k) {
            const int row = fr.get16(cell::Boundary1 + 2 * (k - 1));
            const bool present = row != 0 && row < SAMPLES_PER_FRAME;
            if (!present) {
                const char* absent = k == 1 ? "00;00;" : "00;00;00;";
                const std::size_t n = std::strlen(absent);
                std::memcpy(p, absent, n);
                p += n;
                continue;
            }
            const int depth = readoutDepthCm(e.scale, row * e.scale.nsPerSample);
            p = putInt(p, depth);
            *p++ = ';';
            if (k > 1) {
                p = putInt(p, depth - previousDepth);
                *p++ = ';';
            }
            p = putInt(p, fr.value[std::size_t(row)]);
            *p++ = ';';
            previousDepth = depth;
        }
        p = putInt(p, fr.get16(cell::ProfileNumber));
        std::memcpy(p, LINE_BREAK.data(), LINE_BREAK.size());
        w.advance(p + LINE_BREAK.size());
        ++out.lines;
        if (f % 1024 == 0) ui.progress(f, last + 1);
    }
    ui.progress(last + 1, last + 1);
}

// --- left Ctrl in the slice view: horizontal section -----------------------------------

// The section at the cursor row, or nothing when no volume has been built.
bool fetchSection(const ExportSettings& e, std::vector<uint8_t>& codes) {
    codes.assign(std::size_t(SECTION_NODES) * SECTION_NODES, 0);
    const int plane = std::clamp(e.cursorRow, 0, SAMPLES_PER_FRAME - 1);
    return e.volume && e.volume->horizontalSection(plane, codes.data());
}

void writeSection(SinkWriter& w, const std::vector<uint8_t>& codes, const ExportSettings& e,
                  Interaction& ui, ExportResult& out) {
    BlockProcessor proc;
    proc.processSection(codes.data(), e);
    const auto values = amplitudePieces(e, "\r\n");
    // The nodes lie a grid step apart, which need not be the profile step
    // chosen for the radargram.
    const int64_t step =
        e.volume && e.volume->nodeStepCm() > 0 ? e.volume->nodeStepCm() : e.scale.stepCm;
    ui.progress(0, SECTION_NODES);
    for (int row = 0; row < SECTION_NODES && w.ok(); ++row) {
        const uint8_t* line = proc.raster().row(0, FIRST_ROW + row);
        for (int col = 0; col < SECTION_NODES; ++col) {
            char* p = w.reserve(64);
            p = putInt(p, row * step);
            *p++ = ';';
            p = putInt(p, col * step);
            *p++ = ';';
            w.advance(append(p, values[line[col]]));
        }
        out.lines += SECTION_NODES;
        ui.progress(row + 1, SECTION_NODES);
    }
}

} // namespace

ExportSettings exportSettingsFromStore(const ProfileStore& s, SaveVariant variant,
                                       char decimalSeparator) {
    ExportSettings e;
    e.variant = variant;
    e.view = s.stateFlags & state::ViewMask;
    loadDisplaySettings(s.header, e.display);
    e.processing = processingFromHeader(s.header);
    e.scale = sampleScaleFromStore(s);
    e.processing.relief.on = s.stateFlags & state::Relief;
    e.processing.relief.nsPerRow = e.scale.nsPerSample;
    e.decimalSeparator = decimalSeparator;
    return e;
}

std::string textTableHeader(const ExportSettings& e) {
    switch (e.variant) {
    case SaveVariant::Plain:
        return PLAIN_HEADERS[levelItem(e)];
    case SaveVariant::LeftShift:
        return SHIFT_HEADERS[levelItem(e)];
    case SaveVariant::LeftCtrl:
        return e.view == view::Slices ? SLICE_HEADER : LAYER_HEADER;
    }
    return {};
}

ExportResult writeTextTable(ByteSink& sink, const ProfileStore& s, const ExportSettings& e,
                            Interaction& ui) {
    ExportResult out;
    const bool slice = e.variant == SaveVariant::LeftCtrl && e.view == view::Slices;
    std::vector<uint8_t> section;
    if (slice ? !fetchSection(e, section) : !anyFrameWithData(s)) {
        ui.show(msg::nothingToWrite());
        return out;
    }
    SinkWriter w(sink);
    w.put(textTableHeader(e));
    w.put(LINE_BREAK);
    switch (e.variant) {
    case SaveVariant::Plain:
        writePlain(w, s, e, ui, out);
        break;
    case SaveVariant::LeftShift:
        writePositions(w, s, e, ui, out);
        break;
    case SaveVariant::LeftCtrl:
        if (slice)
            writeSection(w, section, e, ui, out);
        else
            writeLayers(w, s, e, ui, out);
        break;
    }
    const bool ok = w.flush();
    out.bytes = w.total();
    out.outcome = ok ? ExportOutcome::Written : ExportOutcome::WriteFailed;
    return out;
}

} // namespace tesk
