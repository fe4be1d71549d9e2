// The companion coordinate file of a .geb survey.
//
// Layout: text lines ended by a line feed. Fields are runs of digits ended by
// one of the separators TAB, '-', ':' or '.'; every other byte (letters,
// blanks, carriage returns, commas) is skipped, and a field that ends at the
// line feed is not applied. At most eight digits of a field count.
//
//   field  0      frame number (slot index)
//   fields 1..3   year, month, day              (header date)
//   fields 4..6   hour, minute, second          (frame time)
//   fields 7, 8   latitude degrees, fraction digits
//   field  9      ignored (hemisphere letter)
//   fields 10, 11 longitude degrees, fraction digits
//   field  12     ignored
//   fields 13, 14 height metres, fraction digits
//
//   12<TAB>2017-05-14<TAB>10:15:30<TAB>55.1234567<TAB>N<TAB>37.1234567<TAB>E<TAB>150.25<TAB><LF>

#include "coordinates/frame_fields.h"
#include "coordinates/imports.h"
#include "coordinates/messages.h"

#include <algorithm>
#include <cstring>

namespace tesk::coords {

std::string findCorCompanion(const std::string& surveyPath) {
    const auto slash = surveyPath.find_last_of('/');
    const auto dot = surveyPath.find_last_of('.');
    const std::string stem =
        (dot != std::string::npos && (slash == std::string::npos || dot > slash))
            ? surveyPath.substr(0, dot)
            : surveyPath;
    for (const char* ext : {".cor", ".COR"}) {
        const std::string p = stem + ext;
        if (fileExists(p)) return p;
    }
    return {};
}

namespace {

// Height parked in the work bytes of the relief cells until the height fill.
void park(FrameRecord& f, uint32_t h) {
    f.work[cell::ReliefHeight] = uint8_t(h >> 16);
    f.work[cell::ReliefHeight + 1] = uint8_t(h >> 8);
    f.work[cell::ReliefHeight + 2] = uint8_t(h);
}
// Parked heights of frames 0..last (the height fill reads up to frameCount).
void clearParked(ProfileStore& s, int last) {
    for (int i = 0; i <= last; ++i) park(s.frame(i), 0);
}

uint64_t pow10(int n) {
    uint64_t p = 1;
    while (n-- > 0) p *= 10;
    return p;
}

// Fraction digits of a degree field to units of 1e-7 degree.
uint32_t fractionUnits(uint64_t v, int digits) {
    if (digits == 8) return uint32_t(roundHalfEven(double(v) / 10.0));
    if (digits == 0) return 0;
    return uint32_t(v * pow10(7 - digits));
}

class CorReader {
  public:
    CorReader(ProfileStore& s, const CorParts& p) : s_(s), p_(p) {}

    void byte(uint8_t b) {
        if (b >= '0' && b <= '9') {
            if (i_ < 8) {
                v_ = v_ * 10 + uint64_t(b - '0');
                ++i_;
            }
        } else if (b == '\t' || b == '-' || b == ':' || b == '.') {
            apply();
            v_ = 0;
            i_ = 0;
            ++j_;
        } else if (b == '\n') {
            v_ = 0;
            i_ = 0;
            j_ = 0;
            ++s_count_;
            frame_ = -1;
            outside_ = false;
            H_ = 0;
            ++lines_;
        }
    }
    int outsideLines() const { return outsideLines_; }
    int highestParked() const { return highestParked_; }
    int lines() const { return lines_; }

  private:
    void clearFrame(FrameRecord& f) {
        if (p_.positions)
            std::fill(f.value.begin() + cell::LonDegrees, f.value.begin() + cell::LatFraction + 3,
                      uint8_t(0));
        if (p_.time)
            std::fill(f.value.begin() + cell::Hour, f.value.begin() + cell::Hundredths + 1,
                      uint8_t(0));
        if (p_.height) f.set24(cell::ReliefHeight, 0);
    }

    void setFraction(FrameRecord& f, int degreesCell, int fractionCell) {
        uint32_t units = fractionUnits(v_, i_);
        if (units >= 10000000) {
            // Eight nines round up to a whole degree.
            units -= 10000000;
            if (f.value[degreesCell] < 255) ++f.value[degreesCell];
        }
        f.set24(fractionCell, units);
    }

    void apply() {
        if (j_ == 0) {
            if (v_ > uint64_t(MAX_FRAME_INDEX)) {
                // A frame outside the store: nothing of this line can be applied.
                if (!outside_) ++outsideLines_;
                outside_ = true;
                return;
            }
            frame_ = int(v_);
            while (s_count_ < frame_) clearFrame(s_.frame(int(s_count_++)));
            return;
        }
        if (frame_ < 0) return;
        FrameRecord& f = s_.frame(frame_);
        auto& h = s_.header.value;
        switch (j_) {
        case 1:
            if (p_.date)
                h[hdr::Year] =
                    uint8_t(v_ >= 10 && v_ <= 99 ? v_ : (v_ >= 1000 && v_ <= 9999 ? v_ % 100 : 0));
            break;
        case 2:
            if (p_.date && v_ < 13) h[hdr::Month] = uint8_t(v_);
            break;
        case 3:
            if (p_.date && v_ < 32) h[hdr::Day] = uint8_t(v_);
            break;
        case 4:
            if (p_.time && v_ <= 23) f.value[cell::Hour] = uint8_t(v_);
            break;
        case 5:
            if (p_.time && v_ <= 59) f.value[cell::Minute] = uint8_t(v_);
            break;
        case 6:
            if (p_.time) {
                if (v_ <= 59) f.value[cell::Second] = uint8_t(v_);
                f.value[cell::Hundredths] = 0;
            }
            break;
        case 7:
            if (v_ <= 179) f.value[cell::LatDegrees] = uint8_t(v_);
            break;
        case 8:
            setFraction(f, cell::LatDegrees, cell::LatFraction);
            break;
        case 10:
            if (v_ <= 179) f.value[cell::LonDegrees] = uint8_t(v_);
            break;
        case 11:
            setFraction(f, cell::LonDegrees, cell::LonFraction);
            break;
        case 13:
            if (p_.height) H_ = v_ * 100;
            break;
        case 14:
            if (p_.height) {
                uint64_t frac = 0;
                if (i_ == 1)
                    frac = v_ * 10;
                else if (i_ == 2)
                    frac = v_;
                else if (i_ > 2)
                    frac = uint64_t(roundHalfEven(double(v_) / double(pow10(i_ - 2))));
                const uint32_t hcm = uint32_t((H_ + frac) & 0xFFFFFF);
                if (hcm > s_.Hmax) s_.setHmax(hcm);
                park(f, hcm);
                highestParked_ = std::max(highestParked_, frame_);
            }
            break;
        default:
            break;
        }
    }

    ProfileStore& s_;
    CorParts p_;
    int j_ = 0, i_ = 0;
    uint64_t v_ = 0;
    int64_t s_count_ = 0; // frame counter s: the next frame a line would clear up to
    int frame_ = -1;      // frame of the current line, once field 0 is applied
    bool outside_ = false;
    uint64_t H_ = 0;
    int outsideLines_ = 0;
    int lines_ = 0;
    int highestParked_ = 0;
};

} // namespace

CoordImportResult readCorFile(ByteSource& src, ProfileStore& s, const CorParts& parts,
                              const CoordImportSettings& st, Interaction& ui) {
    CoordImportResult r;
    const int last = lastSlot(s);
    clearParked(s, last);
    CorReader reader(s, parts);
    uint8_t buf[65536];
    const uint64_t size = src.size();
    for (uint64_t off = 0; off < size;) {
        const std::size_t n =
            src.read(off, buf, std::size_t(std::min<uint64_t>(sizeof buf, size - off)));
        if (n == 0) break;
        for (std::size_t k = 0; k < n; ++k) reader.byte(buf[k]);
        off += n;
    }
    if (src.failed()) ui.show(msg::readFault(s.coordFileName));
    r.lines = reader.lines();
    if (reader.outsideLines() > 0) ui.show(coordmsg::corFramesOutside(reader.outsideLines()));
    if (parts.time) fillCorTimes(s);
    if (parts.height) fillCorHeights(s);
    clearParked(s, std::max(last, reader.highestParked()));
    fillRunEndPositions(s);
    r.applied = true;

    RecalcSettings rs = st.recalc;
    rs.mode = RecalcMode::WholeFile;
    rs.coordinates = true;
    rs.geographic = true;
    r.recalc = Pereschet(s, rs, ui);
    r.recalculated = true;
    s.stateFlags |= state::Changed;
    return r;
}

CoordImportResult OPN_COR(ProfileStore& s, const std::string& surveyPath,
                          const CoordImportSettings& st, Interaction& ui) {
    CoordImportResult r;
    const std::string path = findCorCompanion(surveyPath);
    if (path.empty()) {
        s.stateFlags |= state::Changed;
        return r;
    }
    s.coordFileName = path;
    CorParts parts;
    const Answer a = ui.show(coordmsg::corFound());
    if (a == Answer::No || a == Answer::Cancel) {
        s.stateFlags |= state::Changed;
        return r;
    }
    if (a == Answer::NoToAll) {
        parts.date = ui.show(coordmsg::corChangeDate()) == Answer::Yes;
        parts.time = ui.show(coordmsg::corChangeTime()) == Answer::Yes;
        parts.height = ui.show(coordmsg::corChangeHeight()) == Answer::Yes;
    }
    auto file = FileSource::open(path);
    if (!file) {
        ui.show(msg::coordFileOpenFailed(path));
        r.refused = true;
        return r;
    }
    if (file->size() == 0) {
        ui.show(msg::emptyFile("E025", path));
        r.refused = true;
        return r;
    }
    return readCorFile(*file, s, parts, st, ui);
}

} // namespace tesk::coords
