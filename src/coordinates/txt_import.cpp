// The text coordinate table: one line per key frame of the survey.
//
// Layout: lines ended by CR, LF or CR LF; fields separated by ';'.
//
//   geographic  (CheckBox74 checked):   name ; longitude ; latitude ; height
//   rectangular (unchecked):            name ; X ; Y ; height
//
//   P1;37.6184217;55.7512345;15025        longitude 37 + 0.6184217, height 15025 cm
//   P2;2500.50;1200.00;15025              X 250050 cm, Y 120000 cm
//
// name: letters and digits, at most six. Degrees: whole degrees, then '.' or
// ',' and the fraction digits (at most seven used). X, Y and the height: the
// digits of the field read as one integer in centimetres, so a metre value
// with two decimals reads as centimetres; a '-' before the first digit of X
// or Y makes it negative. Other characters are skipped.
//
// The first line goes to frame 0; every further line to the next key frame:
// an in-profile frame with a marker of status 2 or 3, or the first or last
// frame of a profile run (in the rectangular form with Ctrl held at the open:
// every fifth frame, at most 24 steps between run ends).

#include "coordinates/frame_fields.h"
#include "coordinates/imports.h"
#include "coordinates/messages.h"

#include <algorithm>
#include <cctype>

namespace tesk::coords {

namespace {

constexpr int64_t HEIGHT_DIGIT_LIMIT = 999998;
constexpr int64_t UCS_DIGIT_LIMIT = 99999998;
constexpr int FIVE_FRAME_STEPS = 24;

bool runFirst(const ProfileStore& s, int i) {
    return inProfile(s, i) && !inProfile(s, i - 1);
}
bool runLast(const ProfileStore& s, int i) {
    return inProfile(s, i) && !inProfile(s, i + 1);
}
bool keyFrame(const ProfileStore& s, int i) {
    return inProfile(s, i) && (s.frame(i).markerStatus() >= 2 || runFirst(s, i) || runLast(s, i));
}

// What the line was reading when it ended.
enum class Field { Name, LonDegrees, LonFraction, LatDegrees, LatFraction, X, Y, Height, Extra };

class TxtReader {
  public:
    TxtReader(ProfileStore& s, const CoordImportSettings& st, Interaction& ui)
        : s_(s), geo_(st.geographic), fifth_(!st.geographic && st.everyFifthFrame), ui_(ui) {
        last_ = lastSlot(s);
    }

    // False when the import ends here (a No answer, or no frame left).
    bool byte(uint8_t b) {
        if (b == '\n' && afterCr_) {
            afterCr_ = false;
            return true;
        }
        afterCr_ = b == '\r';
        if (b == '\r' || b == '\n') return endLine();
        if (!lineStarted_) {
            if (b == ' ' || b == '\t') return true;
            if (!startLine()) return false;
        }
        if (b == ';') {
            endField();
            return true;
        }
        return character(char(b));
    }
    // The end of the file: a last line without its line end still counts.
    bool finish() { return lineStarted_ ? endLine() : true; }

    int lines = 0;
    int leftOver = 0;
    bool ended = false; // ended by a No answer or by running out of frames

  private:
    bool startLine() {
        if (lines > 0 && !nextTarget()) return false;
        ++lines;
        lineStarted_ = true;
        field_ = Field::Name;
        nameLen_ = 0;
        value_ = 0;
        negative_ = false;
        digits_ = 0;
        clamped_ = false;
        return true;
    }

    bool character(char c) {
        FrameRecord& f = s_.frame(target_);
        const bool digit = c >= '0' && c <= '9';
        switch (field_) {
        case Field::Name:
            if (std::isalnum(static_cast<unsigned char>(c)) && nameLen_ < 6) {
                if (nameLen_ == 0)
                    std::fill(f.value.begin() + cell::PointName,
                              f.value.begin() + cell::PointName + 6, uint8_t(0));
                f.value[size_t(cell::PointName + nameLen_++)] = uint8_t(c);
            }
            return true;
        case Field::LonDegrees:
        case Field::LatDegrees: {
            if (c == '.' || c == ',') {
                field_ = field_ == Field::LonDegrees ? Field::LonFraction : Field::LatFraction;
                digits_ = 0;
                fraction_ = 0;
                return true;
            }
            if (!digit || clamped_) return true;
            value_ = value_ * 10 + (c - '0');
            const bool lon = field_ == Field::LonDegrees;
            const int64_t limit = lon ? 180 : 90;
            if (value_ >= limit) {
                if (ui_.show(lon ? coordmsg::txtLongitudeRange(lines)
                                 : coordmsg::txtLatitudeRange(lines)) != Answer::Yes)
                    return stop();
                value_ = limit;
                clamped_ = true;
            }
            return true;
        }
        case Field::LonFraction:
        case Field::LatFraction:
            if (digit && digits_ < 7) {
                fraction_ = fraction_ * 10 + (c - '0');
                ++digits_;
            }
            return true;
        case Field::X:
        case Field::Y:
            if (c == '-' && digits_ == 0) negative_ = true;
            if (digit && value_ * 10 + (c - '0') <= UCS_DIGIT_LIMIT) {
                value_ = value_ * 10 + (c - '0');
                ++digits_;
            }
            return true;
        case Field::Height:
            if (digit && value_ * 10 + (c - '0') <= HEIGHT_DIGIT_LIMIT)
                value_ = value_ * 10 + (c - '0');
            return true;
        case Field::Extra:
            break;
        }
        return true;
    }

    int64_t fractionUnits() const {
        int64_t u = fraction_;
        for (int k = digits_; k < 7; ++k) u *= 10;
        return u;
    }

    // Stores what the field being read holds.
    void storeField() {
        FrameRecord& f = s_.frame(target_);
        switch (field_) {
        case Field::LonDegrees:
        case Field::LonFraction:
            setLonUnits(f,
                        value_ * 10000000 + (field_ == Field::LonFraction ? fractionUnits() : 0));
            break;
        case Field::LatDegrees:
        case Field::LatFraction:
            setLatUnits(f,
                        value_ * 10000000 + (field_ == Field::LatFraction ? fractionUnits() : 0));
            break;
        case Field::X:
            f.set32(cell::UcsX, uint32_t(int32_t(negative_ ? -value_ : value_)));
            break;
        case Field::Y:
            f.set32(cell::UcsY, uint32_t(int32_t(negative_ ? -value_ : value_)));
            break;
        case Field::Height:
            f.set24(cell::ReliefHeight, uint32_t(value_));
            break;
        default:
            break;
        }
    }

    void endField() {
        storeField();
        value_ = 0;
        negative_ = false;
        digits_ = 0;
        clamped_ = false;
        switch (field_) {
        case Field::Name:
            field_ = geo_ ? Field::LonDegrees : Field::X;
            break;
        case Field::LonDegrees:
        case Field::LonFraction:
            field_ = Field::LatDegrees;
            break;
        case Field::X:
            field_ = Field::Y;
            break;
        case Field::LatDegrees:
        case Field::LatFraction:
        case Field::Y:
            field_ = Field::Height;
            break;
        default:
            field_ = Field::Extra;
            break;
        }
    }

    bool endLine() {
        if (!lineStarted_) return true; // a blank line carries nothing
        lineStarted_ = false;
        const Field at = field_;
        if (at == Field::Height || at == Field::Extra) {
            storeField();
            nameOnly_ = false;
            return true;
        }
        Message m;
        switch (at) {
        case Field::Name:
        case Field::LonDegrees:
            m = coordmsg::txtNoCoordinates(lines);
            break;
        case Field::LonFraction:
            m = coordmsg::txtNoLatitudeAndHeight(lines);
            break;
        case Field::LatDegrees:
            m = coordmsg::txtNoHeightAfterLatDegrees(lines);
            break;
        case Field::LatFraction:
            m = coordmsg::txtNoHeightAfterLatFraction(lines);
            break;
        case Field::X:
            m = coordmsg::txtNoYAndHeight(lines);
            break;
        default:
            m = coordmsg::txtNoRectHeight(lines);
            break;
        }
        if (ui_.show(m) != Answer::Yes) return stop();
        storeField();
        nameOnly_ = at == Field::Name;
        return true;
    }

    bool stop() {
        ended = true;
        return false;
    }

    // The frame the next line goes to.
    bool nextTarget() {
        int t = -1;
        if (nameOnly_) {
            // A line with only a name moves on by one (five) and takes the
            // first key frame from there, that frame included.
            for (int i = target_ + (fifth_ ? 5 : 1); i <= last_; ++i)
                if (keyFrame(s_, i)) {
                    t = i;
                    break;
                }
        } else if (fifth_) {
            const int five = target_ + 5;
            bool sameRun = five <= last_;
            for (int i = target_ + 1; i <= five && sameRun; ++i) sameRun = inProfile(s_, i);
            if (sameRun && steps_ < FIVE_FRAME_STEPS) {
                ++steps_;
                t = five;
            } else {
                for (int i = target_ + 1; i <= last_; ++i)
                    if (runFirst(s_, i) || runLast(s_, i)) {
                        t = i;
                        break;
                    }
            }
        } else {
            for (int i = target_ + 1; i <= last_; ++i)
                if (keyFrame(s_, i)) {
                    t = i;
                    break;
                }
        }
        if (t < 0) {
            ++leftOver;
            return stop();
        }
        if (fifth_ && runLast(s_, t)) steps_ = 0;
        target_ = t;
        return true;
    }

    ProfileStore& s_;
    const bool geo_, fifth_;
    Interaction& ui_;
    int last_ = 0;
    int target_ = 0;
    int steps_ = 0;
    bool afterCr_ = false;
    bool lineStarted_ = false;
    bool nameOnly_ = false;
    Field field_ = Field::Name;
    int nameLen_ = 0;
    int64_t value_ = 0;
    int64_t fraction_ = 0;
    int digits_ = 0;
    bool negative_ = false;
    bool clamped_ = false;
};

} // namespace

CoordImportResult readTxtFile(ByteSource& src, ProfileStore& s, const CoordImportSettings& st,
                              Interaction& ui) {
    CoordImportResult r;
    TxtReader reader(s, st, ui);
    uint8_t buf[65536];
    const uint64_t size = src.size();
    bool going = true;
    uint64_t off = 0;
    for (; off < size && going;) {
        const std::size_t n =
            src.read(off, buf, std::size_t(std::min<uint64_t>(sizeof buf, size - off)));
        if (n == 0) break;
        std::size_t k = 0;
        for (; k < n && going; ++k) going = reader.byte(buf[k]);
        off += k;
    }
    if (going) going = reader.finish();
    r.lines = reader.lines;
    r.applied = reader.lines > 0;
    if (src.failed()) ui.show(msg::readFault(s.openFileName));
    if (reader.leftOver > 0) {
        // Count the lines that found no frame: the one that stopped the
        // import and every further line with content.
        int rest = 0;
        bool content = true;
        for (uint64_t p = off; p < size; ++p) {
            uint8_t b = 0;
            if (src.read(p, &b, 1) != 1) break;
            if (b == '\r' || b == '\n') {
                rest += content ? 1 : 0;
                content = false;
            } else if (b != ' ' && b != '\t') {
                content = true;
            }
        }
        rest += content ? 1 : 0;
        ui.show(coordmsg::txtLinesLeftOver(rest));
    } else if (going) {
        ui.show(coordmsg::txtLoaded(s.openFileName));
    }
    s.stateFlags |= state::Changed;
    return r;
}

} // namespace tesk::coords
