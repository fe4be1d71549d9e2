#include "coordinates/coord_table.h"

#include "coordinates/frame_fields.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace tesk::coords {

namespace {

struct Wording {
    const char* ru;
    const char* en;
};

const Wording ROW_TITLES[TABLE_ROWS] = {
    {"  а-Скан", "  a-Scan"},
    {" Позиция в Файле", " Position in the File"},
    {" Название Маркера", " Point Name"},
    {" Долгота. Градусы ,000", " Longitude. Degrees ,000"},
    {" Широта.  Градусы ,000", " Latitude.  Degrees ,000"},
    {" Координата X cm ПСК", " Coordinate X cm USC"},
    {" Координата Y cm ПСК", " Coordinate Y cm USC"},
    {" Разница Координат cm.", " Difference of Coordinates. cm."},
    {" Высота cm.  ", " Altitude. cm.  "},
    {" Разница Высот cm.", " Difference of Heights. cm."},
};

struct Headers {
    Wording second; // column 1
    Wording cursor; // column 2
};
const Headers POSITION_HEADERS{{" Координаты 2 ПК", " Coordinates 2 RC"},
                               {" Координаты 1 ЛК", " Coordinates 1 LC"}};
const Headers LATITUDE_HEADERS{{" Координаты 2 ПК", " Coordinates 2RC"},
                               {" Координаты 1 ЛК", " Coordinates 1LC"}};
const Headers DISTANCE_HEADERS{{" Дистанция по прямой", " Distance straight line"},
                               {" Дистанция по профилю", " Distance on the profile"}};
const Headers HEIGHT_HEADERS{{" Высота рельефа 2 ПК", " Height relief 2 RC"},
                             {" Высота рельефа 1 ЛК", " Height relief 1 LC"}};
const Headers DIFFERENCE_HEADERS{{" Разница высот", " Height difference"},
                                 {" Максимальная высота", " Maximum height"}};

const char* pick(const Wording& w, bool english) {
    return english ? w.en : w.ru;
}

std::string clock(const FrameRecord& f) {
    char b[16];
    std::snprintf(b, sizeof b, "%02d:%02d:%02d", f.value[cell::Hour], f.value[cell::Minute],
                  f.value[cell::Second]);
    return b;
}

std::string pointName(const FrameRecord& f) {
    std::string n;
    for (int c = cell::PointName; c <= cell::PointName + 6; ++c)
        if (f.value[size_t(c)]) n += char(f.value[size_t(c)]);
    return n.empty() ? "*" : n;
}

double degrees(int64_t units) {
    return double(units) / FRACTION_UNITS;
}

HmaxColour colourAfterFill(uint32_t h, uint32_t hmax) {
    if (h < hmax) return HmaxColour::ScrollBar;
    if (h == 0) return HmaxColour::Aqua;
    if (h > hmax) return HmaxColour::Yellow;
    return HmaxColour::Unchanged;
}

int clampFrame(int f) {
    return std::clamp(f, 0, MAX_FRAME_INDEX);
}

bool allDigits(const std::string& t) {
    return std::all_of(t.begin(), t.end(), [](char c) { return c >= '0' && c <= '9'; });
}
int64_t digitsValue(const std::string& t) {
    int64_t v = 0;
    for (char c : t) v = v * 10 + (c - '0');
    return v;
}

// Rows 3 and 4: the degree text repaired and its value in 1e-7 degree.
int64_t degreeEdit(std::string& text, char sep) {
    text = text.substr(0, 11);
    bool seenSep = false;
    for (size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c >= '0' && c <= '9') continue;
        // Position i + 1 counted from 1: the separator may stand at 2 .. 4.
        if (c == sep && !seenSep && i >= 1 && i <= 3) {
            seenSep = true;
            continue;
        }
        text = text.substr(0, i);
        break;
    }
    if (text.empty()) text = "0";
    const size_t dot = text.find(sep);
    const std::string whole = text.substr(0, dot);
    const std::string frac = dot == std::string::npos ? std::string() : text.substr(dot + 1);
    int64_t w = whole.empty() ? 0 : digitsValue(whole);
    if (w > 179) {
        text = "0";
        return 0;
    }
    // Round(Frac x 10 000 000), half to even, on the decimal digits themselves.
    int64_t f = 0;
    for (size_t k = 0; k < 7; ++k) f = f * 10 + (k < frac.size() ? frac[k] - '0' : 0);
    if (frac.size() > 7) {
        const int first = frac[7] - '0';
        const bool rest = frac.find_first_not_of('0', 8) != std::string::npos;
        if (first > 5 || (first == 5 && (rest || (f & 1)))) ++f;
    }
    return w * 10000000 + f;
}

} // namespace

void setRowTitles(CoordTable& t, bool english) {
    for (int r = 0; r < TABLE_ROWS; ++r) t.cells[size_t(r)][0] = pick(ROW_TITLES[r], english);
}

CoordTable startTable(bool english) {
    CoordTable t;
    setRowTitles(t, english);
    t.cells[0][1] = pick(POSITION_HEADERS.second, english);
    t.cells[0][2] = pick(POSITION_HEADERS.cursor, english);
    for (int r = 1; r < TABLE_ROWS; ++r)
        for (int c = 1; c < TABLE_COLUMNS; ++c) t.cells[size_t(r)][size_t(c)] = r <= 2 ? "*" : "0";
    return t;
}

TableFill TabKr(CoordTable& t, const ProfileStore& s, int cursorFrame, int secondFrame, char sep) {
    TableFill out;
    const int C = clampFrame(cursorFrame), S = clampFrame(secondFrame);
    const FrameRecord& c = s.frame(C);
    const FrameRecord& p = s.frame(S);
    auto& cells = t.cells;
    cells[1][2] = std::string(c.markerStatus() ? "M" : " ") + clock(c) + " * Np " +
                  std::to_string(c.get16(cell::ProfileNumber)) + " * Nm " +
                  std::to_string(c.get16(cell::IndexInProfile));
    cells[1][1] =
        std::string(p.markerStatus() ? "M T " : "  T ") + clock(p) + "    Nmf " + std::to_string(S);
    cells[2][1] = pointName(p);
    cells[2][2] = pointName(c);
    const uint8_t flags = s.header.value[hdr::CoordFlags];
    out.latitudeItem = (flags & hdr::South) ? 1 : 0;
    out.longitudeItem = (flags & hdr::West) ? 1 : 0;
    cells[3][1] = generalNumber(degrees(lonUnits(p)), sep);
    cells[3][2] = generalNumber(degrees(lonUnits(c)), sep);
    cells[4][1] = generalNumber(degrees(latUnits(p)), sep);
    cells[4][2] = generalNumber(degrees(latUnits(c)), sep);
    cells[5][1] = std::to_string(ucsX(p));
    cells[5][2] = std::to_string(ucsX(c));
    cells[6][1] = std::to_string(ucsY(p));
    cells[6][2] = std::to_string(ucsY(c));
    const double dx = std::abs(double(ucsX(c)) - double(ucsX(p)));
    const double dy = std::abs(double(ucsY(c)) - double(ucsY(p)));
    cells[7][1] = std::to_string(roundToInt(std::sqrt(dx * dx + dy * dy)));
    const uint32_t h = c.reliefHeight();
    cells[8][1] = std::to_string(p.reliefHeight());
    cells[8][2] = std::to_string(h);
    out.hmaxCaption = hmaxCaption(s.Hmax, " m", sep);
    out.hmaxColour = colourAfterFill(h, s.Hmax);
    cells[9][1] = std::to_string(int64_t(h) - int64_t(p.reliefHeight()));
    cells[9][2] = std::to_string(s.header.get24(hdr::Hmax));
    return out;
}

bool setColumnHeaders(CoordTable& t, int row, bool english) {
    const Headers* h = nullptr;
    switch (row) {
    case 2:
    case 3:
    case 5:
    case 6:
        h = &POSITION_HEADERS;
        break;
    case 4:
        h = &LATITUDE_HEADERS;
        break;
    case 7:
        h = &DISTANCE_HEADERS;
        break;
    case 8:
        h = &HEIGHT_HEADERS;
        break;
    case 9:
        h = &DIFFERENCE_HEADERS;
        break;
    default:
        return false;
    }
    t.cells[0][1] = pick(h->second, english);
    t.cells[0][2] = pick(h->cursor, english);
    return true;
}

char filterTableKey(int row, char key, bool geographic, char sep) {
    const bool digit = key >= '0' && key <= '9';
    const bool editKey =
        key == KEY_BACKSPACE || key == KEY_ENTER || key == KEY_CTRL_V || key == KEY_CTRL_C;
    switch (row) {
    case 2: {
        const bool letter = (key >= 'A' && key <= 'Z') || (key >= 'a' && key <= 'z');
        return (letter || digit || key == KEY_BACKSPACE) ? key : 0;
    }
    case 3:
    case 4:
        if (!geographic) return 0;
        if (key == ',' || key == '.') return sep;
        return (digit || editKey) ? key : 0;
    case 5:
    case 6:
        return (!geographic && (digit || editKey)) ? key : 0;
    case 8:
    case 9:
        return (digit || editKey) ? key : 0;
    default:
        return 0;
    }
}

CellEdit applyTableEdit(ProfileStore& s, int cursorFrame, int row, const std::string& text,
                        char sep) {
    CellEdit e;
    e.text = text;
    e.redrawRelief = true;
    FrameRecord& f = s.frame(clampFrame(cursorFrame));
    switch (row) {
    case table_row::Name: {
        e.text = text.substr(0, 6);
        std::fill(f.value.begin() + cell::PointName, f.value.begin() + cell::PointName + 6,
                  uint8_t(0));
        for (size_t k = 0; k < e.text.size(); ++k)
            f.value[size_t(cell::PointName) + k] = uint8_t(e.text[k]);
        break;
    }
    case table_row::Longitude:
    case table_row::Latitude: {
        const int64_t units = degreeEdit(e.text, sep);
        if (row == table_row::Longitude)
            setLonUnits(f, units);
        else
            setLatUnits(f, units);
        break;
    }
    case table_row::X:
    case table_row::Y: {
        e.text = text.substr(0, 9);
        if (!allDigits(e.text)) e.text = "0";
        const int64_t v = digitsValue(e.text);
        if (row == table_row::X)
            f.set32(cell::UcsX, uint32_t(v));
        else
            f.set32(cell::UcsY, uint32_t(v));
        break;
    }
    case table_row::Height: {
        e.text = text.substr(0, 6);
        if (!allDigits(e.text)) e.text = "0";
        const uint32_t h = uint32_t(digitsValue(e.text));
        f.set24(cell::ReliefHeight, h);
        e.hmaxCaption = hmaxCaption(s.Hmax, " m", sep);
        e.hmaxColour = h < s.Hmax    ? HmaxColour::ScrollBar
                       : h == s.Hmax ? HmaxColour::Aqua
                                     : HmaxColour::Yellow;
        break;
    }
    case table_row::HeightDifference: {
        e.text = text.substr(0, 6);
        if (!allDigits(e.text)) e.text = "0";
        const uint32_t v = uint32_t(digitsValue(e.text));
        e.hmaxCaption = hmaxCaption(v, " m", sep);
        e.hmaxColour = v < s.Hmax    ? HmaxColour::Yellow
                       : v == s.Hmax ? HmaxColour::Aqua
                                     : HmaxColour::LightGreen;
        s.setHmax(v);
        break;
    }
    default:
        e.redrawRelief = false;
        return e;
    }
    s.stateFlags |= state::Changed;
    return e;
}

} // namespace tesk::coords
