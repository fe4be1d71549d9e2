#include "display/palettes.h"

#include <algorithm>
#include <cmath>

namespace tesk {

namespace {

// The stored main palette, eight codes per row.
constexpr Palette MAIN_PALETTE = {
    0x000000, 0x140004, 0x280008, 0x2C000C, 0x30000F, 0x340018, 0x38001E, 0x3C0022, // 0..7
    0x400025, 0x440028, 0x48002B, 0x4C0030, 0x500035, 0x540038, 0x59003C, 0x5D003F, // 8..15
    0x630042, 0x6B0046, 0x72004C, 0x760050, 0x7C0053, 0x810056, 0x86005A, 0x8D005E, // 16..23
    0x940063, 0x950361, 0x96055F, 0x97085D, 0x980A5C, 0x9A0E59, 0x9B1156, 0x9C1455, // 24..31
    0x9D1653, 0x9F1951, 0xA01D4E, 0xA11F4C, 0xA2214A, 0xA32349, 0xA42647, 0xA52A44, // 32..39
    0xA62D42, 0xA73040, 0xA8323E, 0xA9353C, 0xAA373B, 0xAC3A38, 0xAD3E35, 0xAE4034, // 40..47
    0xAF4232, 0xB04430, 0xB1472E, 0xB24A2B, 0xB34E29, 0xB45028, 0xB55326, 0xB65524, // 48..55
    0xB75722, 0xB85B1F, 0xBA5F1D, 0xBB611C, 0xBC631A, 0xBD6518, 0xBE6816, 0xBF6B14, // 56..63
    0xC06F11, 0xC1710F, 0xC2740D, 0xC3760C, 0xC4780A, 0xC57C04, 0xC77F00, 0xC88200, // 64..71
    0xC98400, 0xC78601, 0xC68803, 0xC38A07, 0xC08C0C, 0xBD8E0F, 0xBB8F12, 0xB89015, // 72..79
    0xB69218, 0xB2941C, 0xAF9621, 0xAC9824, 0xAA9927, 0xA89A2A, 0xA69B2C, 0xA39D30, // 80..87
    0x9FA035, 0x9CA138, 0x9AA23B, 0x98A33E, 0x96A541, 0x92A745, 0x8FA94A, 0x8CAB4D, // 88..95
    0x8AAC50, 0x86AE54, 0x83B058, 0x81B15B, 0x7FB35E, 0x7CB461, 0x7AB664, 0x76B868, // 96..103
    0x73BA6D, 0x70BC70, 0x6EBD73, 0x6CBF76, 0x6AC079, 0x66C27D, 0x63C481, 0x60C584, // 104..111
    0x5EC687, 0x5CC78A, 0x5AC98D, 0x56CB92, 0x53CD96, 0x51CE99, 0x4ED09C, 0x4BD19F, // 112..119
    0x49D3A2, 0x46D5A5, 0x43D7AA, 0x40D8AD, 0x3EDAB0, 0x3BDBB3, 0x39DDB6, 0x35DFBA, // 120..127
    0x32E1BF, 0x30E2C2, 0x2EE4C5, 0x2BE5C8, 0x29E6CB, 0x25E8CF, 0x22EBD4, 0x20ECD6, // 128..135
    0x1EEDD9, 0x1BEFDC, 0x19F0DF, 0x15F2E3, 0x12F4E8, 0x0FF5EB, 0x0DF7EE, 0x0BF8F1, // 136..143
    0x09FAF4, 0x05FCF8, 0x01FEFD, 0x02FDFE, 0x03FCFF, 0x04FAFF, 0x05F7FF, 0x06F3FF, // 144..151
    0x08EFFF, 0x09ECFF, 0x0AEAFF, 0x0BE7FF, 0x0CE4FF, 0x0EE0FF, 0x12DDFF, 0x13DAFF, // 152..159
    0x14D7FF, 0x16D3FF, 0x18CFFF, 0x1ACCFF, 0x1BCAFF, 0x1CC8FF, 0x1DC5FF, 0x1FC1FF, // 160..167
    0x21BDFF, 0x22BAFF, 0x24B8FF, 0x25B6FF, 0x27B3FF, 0x28B0FF, 0x2AABFF, 0x2CA9FF, // 168..175
    0x2DA6FF, 0x2EA3FF, 0x30A0FF, 0x319CFF, 0x3399FF, 0x3295FF, 0x3091FF, 0x2F8DFF, // 176..183
    0x2E8AFF, 0x2C85FF, 0x2A7FFF, 0x297BFF, 0x2878FF, 0x2774FF, 0x2570FF, 0x246BFF, // 184..191
    0x2266FF, 0x2062FF, 0x1F5EFF, 0x1E5AFF, 0x1D57FF, 0x1C52FF, 0x1A4CFF, 0x1848FF, // 192..199
    0x1645FF, 0x1541FF, 0x143DFF, 0x1338FF, 0x1133FF, 0x1030FF, 0x0E2BFF, 0x0D28FF, // 200..207
    0x0C24FF, 0x0A1FFF, 0x0819FF, 0x0707FF, 0x0612FF, 0x050EFF, 0x030AFF, 0x0205FF, // 208..215
    0x0100FF, 0x0000FD, 0x0001FB, 0x0001F9, 0x0001F7, 0x0001F4, 0x0002F1, 0x0002EF, // 216..223
    0x0002EE, 0x0002EB, 0x0003E8, 0x0003E6, 0x0003E4, 0x0003E2, 0x0004E0, 0x0004DC, // 224..231
    0x0004DB, 0x0004D9, 0x0005D7, 0x0005D5, 0x0005D3, 0x0005D1, 0x0006CE, 0x0006CC, // 232..239
    0x0006CA, 0x0006C8, 0x0006C6, 0x0006C4, 0x0007C2, 0x0007C0, 0x0007BE, 0x0007BC, // 240..247
    0x0008B9, 0x0008B6, 0x0008B3, 0x0008B0, 0x0009AD, 0x0009A9, 0x0009A5, 0x000AA0, // 248..255
};

constexpr uint32_t rgb(uint32_t r, uint32_t g, uint32_t b) {
    return r | (g << 8) | (b << 16);
}
constexpr uint32_t component(uint32_t c, int shift) {
    return (c >> shift) & 0xFF;
}

void buildFineRamp(std::array<uint32_t, FINE_RAMP_SIZE>& ramp) {
    // Step lists of the ramp's segments, indexed by the step k within a group.
    static constexpr uint32_t A[8] = {0xFF, 0xF8, 0xEF, 0xE8, 0xDF, 0xD8, 0xCF, 0xC8};
    static constexpr uint32_t B[8] = {0xFF, 0xFC, 0xF8, 0xF4, 0xEF, 0xEC, 0xE8, 0xE4};
    static constexpr uint32_t C[8] = {0, 8, 16, 24, 32, 40, 48, 64};
    for (int segment = 0; segment < 8; ++segment) {
        for (int n = 0; n < 128; ++n) {
            const uint32_t g = uint32_t(n / 8);
            const uint32_t k = uint32_t(n % 8);
            uint32_t colour = 0;
            switch (segment) {
            case 0:
                colour = rgb(0x60 - 6 * g, 8 * k, 0x60 + 2 * g);
                break;
            case 1:
                colour = rgb(0, C[k], 0x80 + 8 * g);
                break;
            case 2:
                colour = rgb(0, 0x10 * g, A[k]);
                break;
            case 3:
                colour = rgb(0, B[k], 0xFF - 8 * g);
                break;
            case 4:
                colour = rgb(0x80 + 8 * g, 0x80 + 8 * g - 4 * k, 0);
                break;
            case 5:
                colour = rgb(B[k], 0xFF - 8 * g - 4 * k, 0);
                break;
            case 6:
                colour = rgb(B[k], 0x80 - 4 * g - 4 * k, 0);
                break;
            default:
                colour = rgb(0xFF - 8 * g - 4 * k, 0, 0);
                break;
            }
            ramp[size_t(segment * 128 + n)] = colour;
        }
    }
    ramp[FINE_RAMP_SIZE - 1] = colour::Black;
}

// Step k (0..127) of the two-colour ramp from p to q, per component
// Trunc(P + k (Q - P) / 128).
uint32_t ramp(uint32_t p, uint32_t q, int k) {
    uint32_t out = 0;
    for (int shift : {0, 8, 16}) {
        const double from = component(p, shift);
        const double to = component(q, shift);
        out |= uint32_t(std::trunc(from + k * (to - from) / 128.0)) << shift;
    }
    return out;
}

uint32_t luminance(uint32_t c) {
    return (299 * component(c, 0) + 587 * component(c, 8) + 114 * component(c, 16)) / 1000;
}

int reductionShift(int colourMode) {
    return colourMode >= 0 && colourMode <= 4 ? colourMode : 0;
}

void buildMarkedVariants(Palettes& p, const DisplaySettings& s, int m) {
    std::copy_n(p.FineRamp.begin(), p.FineRampMarked.size(), p.FineRampMarked.begin());
    p.MainPaletteMarked = p.MainPalette;
    p.GreyPaletteMarked = p.GreyPalette;
    p.ViewPaletteMarked = p.ViewPalette;
    const uint8_t c = s.chosenCode;
    if (c == 0) return;
    const int j = s.inversion ? invertCode(c) : c;
    const int band = (j >> m) << m;
    for (int f = 4 * band; f < 4 * band + 4; ++f)
        p.FineRampMarked[f] = chosenAmplitudeColour(p.FineRamp[f]);
    p.MainPaletteMarked[band] = chosenAmplitudeColour(p.MainPalette[band]);
    p.GreyPaletteMarked[band] = chosenAmplitudeColour(p.GreyPalette[band]);
    p.ViewPaletteMarked[band] = chosenAmplitudeColour(p.ViewPalette[band]);
}

} // namespace

const Palette& storedMainPalette() {
    return MAIN_PALETTE;
}

uint32_t chosenAmplitudeColour(uint32_t base) {
    return luminance(base) < 128 ? colour::White : colour::Magenta;
}

Palettes::Palettes() {
    buildFineRamp(FineRamp);
    MainPalette = MAIN_PALETTE;
    for (int k = 0; k < 128; ++k) {
        RisePalette[127 - k] = ramp(0x004080, 0x80F0FF, k);
        RisePalette[255 - k] = ramp(0x000080, 0x0080FF, k);
        FallPalette[k] = ramp(0xC00000, 0xFFD080, k);
        FallPalette[128 + k] = ramp(0x006000, 0xB0FFB0, k);
    }
    for (uint32_t i = 0; i < 256; ++i) GreyPalette[i] = i * 0x010101;
    ViewPalette = MainPalette;
    VolumePalette = MainPalette;
    VolumePaletteMarked = MainPalette;
    buildMarkedVariants(*this, DisplaySettings{}, 0);
}

uint32_t ReColor3D(Palettes& p, const DisplaySettings& s) {
    const int m = reductionShift(s.colourMode);
    const bool inv = s.inversion;
    uint32_t font = colour::FontMaroon;
    for (int i = 0; i < 256; ++i) {
        const int q = (i >> m) << m;
        switch (s.amplitudeForm) {
        case form::FineRampAmplitude:
            p.ViewPalette[i] = p.FineRamp[size_t(4 * i)];
            p.VolumePalette[i] = p.FineRamp[size_t(inv ? 1024 - 4 * q : 4 * q)];
            break;
        case form::Derivative:
            p.VolumePalette[i] = inv ? p.FallPalette[255 - q] : p.RisePalette[q];
            p.VolumePaletteMarked[i] = inv ? p.RisePalette[255 - q] : p.FallPalette[q];
            break;
        default:
            p.ViewPalette[i] = p.MainPalette[i];
            p.VolumePalette[i] = p.MainPalette[inv ? 255 - q : q];
            break;
        }
    }
    if (s.amplitudeForm == form::FineRampAmplitude) font = colour::FontGreen;
    if (s.amplitudeForm == form::Derivative) font = colour::FontNavy;

    buildMarkedVariants(p, s, m);
    if (s.amplitudeForm != form::Derivative) {
        p.VolumePaletteMarked = p.VolumePalette;
        const int band = s.chosenCode >> m;
        if (s.chosenCode != 0)
            for (int i = 1; i < 256; ++i)
                if ((i >> m) == band)
                    p.VolumePaletteMarked[i] = chosenAmplitudeColour(p.VolumePalette[i]);
    }
    return font;
}

// --- column painting ---------------------------------------------------------------

ColumnPainter::ColumnPainter(const DisplaySettings& s, const Palettes& p, uint32_t blankBackground)
    : derivative_(s.amplitudeForm == form::Derivative),
      mode_(s.colourMode >= 0 && s.colourMode <= 7 ? s.colourMode : 0) {
    const int m = reductionShift(mode_);
    const Palette& view = s.chosenAmplitude ? p.ViewPaletteMarked : p.ViewPalette;
    const Palette& grey = s.chosenAmplitude ? p.GreyPaletteMarked : p.GreyPalette;
    for (int d = 0; d < 256; ++d) {
        const uint8_t di = s.inversion ? invertCode(uint8_t(d)) : uint8_t(d);
        const int q = (di >> m) << m;
        drawn_[d] = di;
        background_[d] = s.background ? p.GreyPalette[di] : blankBackground;
        if (mode_ <= 4)
            plain_[d] = view[q];
        else if (mode_ == 5)
            plain_[d] = grey[di];
        else
            plain_[d] = background_[d];
        rise_[d] = p.RisePalette[q];
        fall_[d] = p.FallPalette[q];
        level_[d] = p.GreyPalette[q];
        riseFull_[d] = p.RisePalette[di];
        fallFull_[d] = p.FallPalette[di];
    }
    // Code 0 is black in every mode and form.
    for (Palette* t : {&plain_, &rise_, &fall_, &level_, &riseFull_, &fallFull_, &background_})
        (*t)[0] = colour::Black;
    std::copy(s.GainCurve.begin(), s.GainCurve.end(), gain_.begin());
}

uint32_t ColumnPainter::cellColour(uint8_t d, uint8_t e, int k) const {
    if (d == 0) return colour::Black;
    if (!derivative_ || mode_ > 5) return plain_[d];
    const uint8_t di = drawn_[d];
    if (mode_ == 5)
        return gain_[size_t(std::clamp(k, 0, COLUMN_ROWS - 1))] > di ? colour::AboveGain
                                                                     : colour::BelowGain;
    const uint8_t ei = drawn_[e];
    if (di < ei) return rise_[d];
    if (di > ei) return fall_[d];
    return level_[d];
}

void ColumnPainter::paint(const uint8_t* codes, ColumnColours& out) const {
    if (mode_ == 6) return paintExtrema1(codes, out);
    if (mode_ == 7) return derivative_ ? paintExtrema2(codes, out) : paintSlopes(codes, out);
    if (derivative_) return paintDerivative(codes, out);
    paintPlain(codes, out);
}

void ColumnPainter::paintPlain(const uint8_t* codes, ColumnColours& out) const {
    for (int k = 0; k < COLUMN_ROWS; ++k) out[k] = plain_[codes[k]];
}

void ColumnPainter::paintDerivative(const uint8_t* codes, ColumnColours& out) const {
    if (mode_ == 5) {
        for (int k = 0; k < COLUMN_ROWS; ++k) {
            const uint8_t d = codes[k];
            out[k] = d == 0                 ? colour::Black
                     : gain_[k] > drawn_[d] ? colour::AboveGain
                                            : colour::BelowGain;
        }
        return;
    }
    for (int k = 0; k < COLUMN_ROWS; ++k) {
        const uint8_t d = codes[k];
        const uint8_t di = drawn_[d];
        const uint8_t ei = drawn_[codes[k + 1]];
        out[k] = di < ei ? rise_[d] : di > ei ? fall_[d] : level_[d];
    }
}

namespace {

// Painting into a column: rows outside 0..511 (the row above row 0, the row
// of sample 512) lie off the picture and are dropped.
struct ColumnCanvas {
    ColumnColours& out;
    void put(int row, uint32_t c) const {
        if (row >= 0 && row < COLUMN_ROWS) out[size_t(row)] = c;
    }
    // A 2 x 2 mark: the row and the row above it, both pixel columns.
    void mark(int row, uint32_t c) const {
        put(row, c);
        put(row - 1, c);
    }
};

} // namespace

// Mode 6: maxima red, minima blue, a plateau's mark at its middle. The state
// s is 0 at the start, 1 while rising, 3 while falling, 12 on a plateau
// reached rising and 32 on one reached falling; n counts the plateau's steps.
// Samples 1..512 are visited, sample k at row k; row 0 shows the background of
// sample 0. The derivative form also marks plateaus that the trace crosses
// without turning, with one-row marks.
void ColumnPainter::paintExtrema1(const uint8_t* codes, ColumnColours& out) const {
    const ColumnCanvas canvas{out};
    out[0] = background_[codes[0]];
    int s = 0;
    int n = 0;
    for (int k = 1; k <= COLUMN_ROWS; ++k) {
        const uint8_t d = codes[k];
        if (d == 0) {
            canvas.put(k, colour::Black);
            continue;
        }
        canvas.put(k, background_[d]);
        const uint8_t di = drawn_[d];
        const uint8_t ei = drawn_[codes[k + 1]];
        if (di > ei) {
            if (s == 1) {
                canvas.mark(k, colour::Red);
            } else if (s == 12) {
                canvas.mark(k - n / 2, colour::Red);
                n = 0;
            } else if (s == 32 && derivative_) {
                canvas.put(k - n / 2, colour::FallingPlateau);
                n = 0;
            }
            s = 3;
        } else if (di < ei) {
            if (s == 3) {
                canvas.mark(k, colour::Blue);
            } else if (s == 32) {
                canvas.mark(k - n / 2, colour::Blue);
                n = 0;
            } else if (s == 12 && derivative_) {
                canvas.put(k - n / 2, colour::RisingPlateau);
                n = 0;
            }
            s = 1;
        } else {
            if (s == 12 || s == 32) ++n;
            if (s == 1) s = 12;
            if (s == 3) s = 32;
        }
    }
}

// Mode 7, forms 0 and 1: rising stretches red, falling stretches blue; the
// first sample after a turn carries the opposite colour and the steady
// samples darken the row above them. Equal neighbours show the background.
void ColumnPainter::paintSlopes(const uint8_t* codes, ColumnColours& out) const {
    const ColumnCanvas canvas{out};
    int s = 0;
    for (int k = 0; k < COLUMN_ROWS; ++k) {
        const uint8_t d = codes[k];
        if (d == 0) {
            out[k] = colour::Black;
            continue;
        }
        const uint8_t di = drawn_[d];
        const uint8_t ei = drawn_[codes[k + 1]];
        if (di == ei) {
            out[k] = background_[d];
        } else if (di < ei) {
            if (s == 1) {
                out[k] = colour::Red;
                canvas.put(k - 1, colour::DarkRed);
            } else {
                out[k] = colour::Blue;
                s = 1;
            }
        } else {
            if (s == 0) {
                out[k] = colour::Blue;
                canvas.put(k - 1, colour::DarkBlue);
            } else {
                out[k] = colour::Red;
                s = 0;
            }
        }
    }
}

// Mode 7, derivative form: turns marked at their sample, plateau turns also
// at the plateau's first row a; a plateau that the trace crosses without
// turning is drawn at both ends in the rise or fall colour of the sample.
void ColumnPainter::paintExtrema2(const uint8_t* codes, ColumnColours& out) const {
    const ColumnCanvas canvas{out};
    int s = 1;
    int a = 0;
    for (int k = 0; k < COLUMN_ROWS; ++k) {
        const uint8_t d = codes[k];
        if (d == 0) {
            out[k] = colour::Black;
            continue;
        }
        out[k] = background_[d];
        const uint8_t di = drawn_[d];
        const uint8_t ei = drawn_[codes[k + 1]];
        if (di > ei) {
            if (s == 1) {
                canvas.mark(k, colour::Red);
            } else if (s == 12) {
                canvas.mark(k, colour::Red);
                canvas.mark(a, colour::Red);
            } else if (s == 32) {
                canvas.put(k, fallFull_[d]);
                canvas.put(a, fallFull_[d]);
            }
            s = 3;
        } else if (di < ei) {
            if (s == 3) {
                canvas.mark(k, colour::Blue);
            } else if (s == 32) {
                canvas.mark(k, colour::Blue);
                canvas.mark(a, colour::Blue);
            } else if (s == 12) {
                canvas.put(k, riseFull_[d]);
                canvas.put(a, riseFull_[d]);
            }
            s = 1;
        } else if (s == 1) {
            s = 12;
            a = k;
        } else if (s == 3) {
            s = 32;
            a = k;
        }
    }
}

void paintFrameColumn(const uint8_t* codes, const DisplaySettings& s, const Palettes& p,
                      ColumnColours& out) {
    ColumnPainter(s, p).paint(codes, out);
}

} // namespace tesk
