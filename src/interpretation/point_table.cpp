#include "interpretation/point_table.h"

#include "interpretation/layer_cells.h"
#include "interpretation/layer_times.h"
#include "interpretation/table_text.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace tesk {

namespace {

constexpr int MIN_CODE = 166;
constexpr int MAX_CODE = 1500;
constexpr const char* EMPTY_MARK = "00";
constexpr const char* SAMPLE_NAME = "A1289Z";

bool inRange(int code) {
    return code >= MIN_CODE && code <= MAX_CODE;
}

std::string nameOf(const FrameRecord& f) {
    std::string name;
    for (int i = 0; i < POINT_NAME_CELLS; ++i) {
        const uint8_t c = f.value[std::size_t(cell::PointName + i)];
        if (c == 0) break;
        name += char(c);
    }
    return name;
}

bool isNameChar(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9');
}

// The point's layers from its hodograph velocities (velocity table).
void velocityModel(PointTable& t, int c, FrameRecord& f, const LayerTimes& lt) {
    auto& g = t.grid;
    for (int r = point_row::LayerVelocity + 1; r <= point_row::Depth + LAYERS; ++r)
        g.setCell(c, r, "0");
    int previous = 0;
    for (int k = 1; k <= LAYERS; ++k) {
        const std::size_t i = std::size_t(k);
        int vh = std::clamp(velocityCodeOfCell(g.cell(c, point_row::Hodograph + k)), 0, MAX_CODE);
        int vs = 0;
        bool valid = false;
        if (k == 1) {
            const int depth = depthOfCode(vh, lt.T[1]);
            valid = lt.T[1] > 0 && inRange(vh);
            vs = valid ? vh : 0;
            if (valid) {
                g.setCell(c, point_row::LayerVelocity + k, formatVgr(vs, t.separator));
                g.setCell(c, point_row::Depth + k, std::to_string(depth));
            }
            previous = depth;
        } else if (lt.dT[i] <= 0) {
            // No layer k at this frame: its velocity is not kept.
            g.setCell(c, point_row::Hodograph + k, "0");
            vh = 0;
        } else {
            const int depth = depthOfCode(vh, lt.T[i]);
            const long code = std::lround(double(depth - previous) / lt.dT[i] * 100.0);
            valid = depth > previous && code >= MIN_CODE && code <= MAX_CODE;
            if (valid) {
                vs = int(code);
                g.setCell(c, point_row::LayerVelocity + k, formatVgr(vs, t.separator));
                g.setCell(c, point_row::Depth + k, std::to_string(depth));
            }
            previous = depth;
        }
        setHodographCode(f, k, vh);
        setLayerCode(f, k, vs);
    }
}

// The point's velocities from its depths (depth table).
void depthModel(PointTable& t, int c, FrameRecord& f, const LayerTimes& lt) {
    auto& g = t.grid;
    for (int r = point_row::Hodograph + 1; r <= point_row::LayerVelocity + LAYERS; ++r)
        g.setCell(c, r, "0");
    for (int k = 1; k <= LAYERS; ++k) {
        setHodographCode(f, k, 0);
        setLayerCode(f, k, 0);
    }
    int previous = 0;
    for (int k = 1; k <= LAYERS; ++k) {
        const std::size_t i = std::size_t(k);
        const double typed = std::min(cellNumber(g.cell(c, point_row::Depth + k)), 65535.0);
        const int depth = int(std::nearbyint(typed));
        if (lt.dT[i] <= 0 || depth <= previous) continue;
        const long vh = std::lround(double(depth) / lt.T[i] * 100.0);
        const long vs = std::lround(double(depth - previous) / lt.dT[i] * 100.0);
        // Both velocities must be soil velocities: a layer velocity beyond
        // the range would not even fit its cell.
        if (vh < MIN_CODE || vh > MAX_CODE || vs < MIN_CODE || vs > MAX_CODE) continue;
        g.setCell(c, point_row::Hodograph + k, formatVgr(int(vh), t.separator));
        g.setCell(c, point_row::LayerVelocity + k, formatVgr(int(vs), t.separator));
        setHodographCode(f, k, int(vh));
        setLayerCode(f, k, int(vs));
        previous = depth;
    }
}

// Validation of the selected cell and the model of the point in column c.
void updatePoint(PointTable& t, ProfileStore& s, int c, double nsPerRow) {
    auto& g = t.grid;
    const int r = t.selectedRow;
    for (int row = point_row::Frame; row <= point_row::Last; ++row)
        if (g.cell(c, row).empty()) g.setCell(c, row, EMPTY_MARK);
    g.setCell(MODEL_COLUMN, point_row::Name, SAMPLE_NAME);

    if (r == point_row::Frame && cellNumber(g.cell(c, r)) > MAX_POINT_FRAME)
        g.setCell(c, r, EMPTY_MARK);
    int F = pointFrame(t, c);
    if (r == point_row::Name) {
        if (cellNumber(g.cell(c, point_row::Frame)) > MAX_POINT_FRAME) {
            g.setCell(c, point_row::Frame, EMPTY_MARK);
            g.setCell(c, point_row::Name, "");
            return;
        }
        std::string name;
        for (char ch : g.cell(c, r))
            if (isNameChar(ch) && name.size() < POINT_NAME_CELLS) name += ch;
        g.setCell(c, r, name);
        if (F > 0) {
            FrameRecord& f = s.frame(F);
            for (int i = 0; i < POINT_NAME_CELLS; ++i)
                f.value[std::size_t(cell::PointName + i)] =
                    i < int(name.size()) ? uint8_t(name[std::size_t(i)]) : 0;
        }
    } else if (r > point_row::Frame && r <= point_row::LayerVelocity + LAYERS) {
        g.setCell(c, r, normaliseVelocityText(g.cell(c, r), t.separator));
    } else if (r > point_row::Depth && r <= point_row::Depth + LAYERS) {
        if (cellNumber(g.cell(c, r)) > 65535) g.setCell(c, r, "65535");
    } else if (r > point_row::Level && r <= point_row::Last) {
        if (cellNumber(g.cell(c, r)) > 65535) g.setCell(c, r, EMPTY_MARK);
    }
    if (r != point_row::Name) g.setCell(c, point_row::Name, F > 0 ? nameOf(s.frame(F)) : "");

    // A column without a frame is no point: frame 0 is never written.
    if (F <= 0) return;
    FrameRecord& f = s.frame(F);
    const LayerTimes lt = layerTimes(boundaryRows(f), nsPerRow);
    f.value[cell::Status] |= status::TableMark;
    if (t.mode == TableMode::Depth)
        depthModel(t, c, f, lt);
    else
        velocityModel(t, c, f, lt);
}

} // namespace

PointTable::PointTable() {
    for (int c = 1; c < grid.columns(); ++c) grid.setCell(c, 0, std::to_string(c - 1));
}

int pointFrame(const PointTable& t, int column) {
    const double v = cellNumber(t.grid.cell(column, point_row::Frame));
    if (v > MAX_POINT_FRAME) return 0;
    return int(std::nearbyint(v));
}

void StringGrid1Click(PointTable& t, int column, int row) {
    t.selectedColumn = std::clamp(column, FIRST_POINT_COLUMN, LAST_POINT_COLUMN);
    t.selectedRow = std::clamp(row, 1, point_row::Last);
}

std::optional<char32_t> StringGrid1KeyPress(PointTable& t, ProfileStore& s, char32_t key) {
    StringGrid1Click(t, t.selectedColumn, t.selectedRow);
    const int F = pointFrame(t, t.selectedColumn);
    if (F > 0) s.frame(F).value[cell::Status] &= uint8_t(~status::TableMark);
    const int r = t.selectedRow;
    if (key == KEY_BACKSPACE) return key;
    if (r == point_row::Name) {
        const bool letter = (key >= U'A' && key <= U'Z') || (key >= U'a' && key <= U'z');
        if (letter || isDigitKey(key)) return key;
        return std::nullopt;
    }
    if (r == point_row::Frame) return isDigitKey(key) ? std::optional<char32_t>(key) : std::nullopt;
    if (r <= point_row::Hodograph + LAYERS) {
        if (isDigitKey(key)) return key;
        if (isSeparatorKey(key)) return char32_t(t.separator);
        return std::nullopt;
    }
    if (r <= point_row::Depth + LAYERS)
        return isDigitKey(key) ? std::optional<char32_t>(key) : std::nullopt;
    return key;
}

void UpdatePointTable(PointTable& t, ProfileStore& s, double nsPerRow) {
    StringGrid1Click(t, t.selectedColumn, t.selectedRow);
    updatePoint(t, s, t.selectedColumn, nsPerRow);
    interpolateLayerVelocities(t, s);
}

void updateAllPoints(PointTable& t, ProfileStore& s, double nsPerRow) {
    StringGrid1Click(t, t.selectedColumn, t.selectedRow);
    for (int c = FIRST_POINT_COLUMN; c <= LAST_POINT_COLUMN; ++c) updatePoint(t, s, c, nsPerRow);
    interpolateLayerVelocities(t, s);
}

void editPointCell(PointTable& t, ProfileStore& s, int column, int row, std::string text,
                   double nsPerRow) {
    StringGrid1Click(t, column, row);
    const int F = pointFrame(t, t.selectedColumn);
    if (F > 0) s.frame(F).value[cell::Status] &= uint8_t(~status::TableMark);
    t.grid.setCell(t.selectedColumn, t.selectedRow, std::move(text));
    UpdatePointTable(t, s, nsPerRow);
}

void interpolateLayerVelocities(const PointTable& t, ProfileStore& s) {
    std::vector<int> points;
    for (int c = FIRST_POINT_COLUMN; c <= LAST_POINT_COLUMN; ++c) {
        const int F = pointFrame(t, c);
        if (F > 0) points.push_back(F);
    }
    std::sort(points.begin(), points.end());
    points.erase(std::unique(points.begin(), points.end()), points.end());
    const int N = std::clamp(s.frameCount, 0, MAX_FRAME_INDEX);

    if (points.empty()) {
        for (int f = 0; f <= N; ++f)
            for (int k = 1; k <= LAYERS; ++k) setLayerCode(s.frame(f), k, 0);
        return;
    }
    int a = 0;
    std::size_t next = 0;
    while (a <= N) {
        const bool last = next >= points.size() || points[next] > N;
        const int b = last ? N : points[next];
        if (!last && a >= b) { // a point at frame 0 or a repeated point
            ++next;
            continue;
        }
        std::array<int, LAYERS + 1> va{}, vb{};
        for (int k = 1; k <= LAYERS; ++k) {
            int x = layerCode(s.frame(a), k);
            int y = last ? 0 : layerCode(s.frame(b), k);
            if (a == 0 || x == 0) x = y;
            if (y == 0 || last) y = x;
            va[std::size_t(k)] = x;
            vb[std::size_t(k)] = y;
        }
        // The last segment keeps the last point's value up to frameCount.
        const int span = std::max(b - a, 1);
        const int end = last ? N : b - 1;
        for (int f = a; f <= end; ++f)
            for (int k = 1; k <= LAYERS; ++k) {
                const double x = va[std::size_t(k)], y = vb[std::size_t(k)];
                setLayerCode(s.frame(f), k, int(std::nearbyint(x + (f - a) * (y - x) / span)));
            }
        if (last) break;
        a = b;
        ++next;
    }
}

void loadPointTable(PointTable& t, const ProfileStore& s) {
    auto& g = t.grid;
    for (int c = FIRST_POINT_COLUMN; c <= LAST_POINT_COLUMN; ++c)
        for (int r = 1; r < g.rows(); ++r) g.setCell(c, r, "0");
    int c = FIRST_POINT_COLUMN;
    const int N = std::clamp(s.frameCount, 0, MAX_FRAME_INDEX);
    for (int f = 0; f <= N && c <= LAST_POINT_COLUMN; ++f) {
        const FrameRecord& fr = s.frame(f);
        if (!(fr.status() & status::TableMark)) continue;
        g.setCell(c, point_row::Frame, std::to_string(f));
        g.setCell(c, point_row::Name, nameOf(fr));
        for (int k = 1; k <= LAYERS; ++k) {
            g.setCell(c, point_row::Hodograph + k, formatVgr(hodographCode(fr, k), t.separator));
            g.setCell(c, point_row::LayerVelocity + k, formatVgr(layerCode(fr, k), t.separator));
        }
        ++c;
    }
}

std::string tableModeCaption(TableMode mode, bool english) {
    if (mode == TableMode::Depth) return english ? "Table of Depth" : "Таблица Глубин";
    return english ? "Table of Velocity" : "Таблица Скоростей";
}

uint32_t tableModeFontColour(TableMode mode) {
    return mode == TableMode::Depth ? 0x000080 : 0x800000;
}

} // namespace tesk
