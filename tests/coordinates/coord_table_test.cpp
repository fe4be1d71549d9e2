// The coordinates table model: start texts, the fill from the cursor frame
// and the second point, column headers, the typing filter and the write-back.

#include "coordinates/coord_table.h"
#include "coordinates_test_support.h"

namespace tesk::testing {
namespace {

using coords::HmaxColour;
namespace row = coords::table_row;

TEST(CoordTable, StartTexts) {
    const auto ru = coords::startTable(false);
    EXPECT_EQ(ru.at(0, 0), "  а-Скан");
    EXPECT_EQ(ru.at(4, 0), " Широта.  Градусы ,000");
    EXPECT_EQ(ru.at(8, 0), " Высота cm.  ");
    EXPECT_EQ(ru.at(0, 1), " Координаты 2 ПК");
    EXPECT_EQ(ru.at(0, 2), " Координаты 1 ЛК");
    EXPECT_EQ(ru.at(1, 1), "*");
    EXPECT_EQ(ru.at(2, 2), "*");
    EXPECT_EQ(ru.at(9, 2), "0");
    const auto en = coords::startTable(true);
    EXPECT_EQ(en.at(5, 0), " Coordinate X cm USC");
    EXPECT_EQ(en.at(7, 0), " Difference of Coordinates. cm.");
    EXPECT_EQ(en.at(0, 1), " Coordinates 2 RC");
    EXPECT_EQ(en.at(0, 2), " Coordinates 1 LC");
}

// Cursor frame C = 12 and second point S = 7 of the profile 3.
struct Fixture {
    testing::StorePtr s = newStore();
    Fixture() {
        demo::fillTimedSurvey(*s, {30}, 10);
        FrameRecord& c = s->frame(12);
        c.value[cell::Hour] = 9;
        c.value[cell::Minute] = 5;
        c.value[cell::Second] = 7;
        c.value[cell::Status] |= 1;
        c.set16(cell::ProfileNumber, 3);
        c.value[cell::LonDegrees] = 55;
        c.set24(cell::LonFraction, 7512345);
        c.value[cell::LatDegrees] = 37;
        c.set24(cell::LatFraction, 5000000);
        c.set32(cell::UcsX, 1003);
        c.set32(cell::UcsY, uint32_t(-20));
        c.set24(cell::ReliefHeight, 15000);
        c.value[cell::PointName] = 'P';
        c.value[cell::PointName + 1] = '7';
        FrameRecord& p = s->frame(7);
        p.set32(cell::UcsX, 1000);
        p.set32(cell::UcsY, uint32_t(-16));
        p.set24(cell::ReliefHeight, 15400);
        s->setHmax(16000);
        s->header.value[hdr::CoordFlags] |= hdr::West;
    }
};

TEST(CoordTable, FillFromCursorAndSecondPoint) {
    Fixture f;
    auto t = coords::startTable(false);
    const auto r = coords::TabKr(t, *f.s, 12, 7);
    EXPECT_EQ(t.at(1, 2), "M09:05:07 * Np 3 * Nm 12");
    EXPECT_EQ(t.at(1, 1), "  T 10:00:07    Nmf 7");
    EXPECT_EQ(t.at(2, 2), "P7");
    EXPECT_EQ(t.at(2, 1), "*");
    EXPECT_EQ(t.at(3, 2), "55.7512345");
    EXPECT_EQ(t.at(4, 2), "37.5");
    EXPECT_EQ(t.at(3, 1), "0");
    EXPECT_EQ(t.at(5, 2), "1003");
    EXPECT_EQ(t.at(6, 2), "-20");
    EXPECT_EQ(t.at(6, 1), "-16");
    EXPECT_EQ(t.at(7, 1), "5"); // sqrt(3^2 + 4^2)
    EXPECT_EQ(t.at(8, 2), "15000");
    EXPECT_EQ(t.at(8, 1), "15400");
    EXPECT_EQ(t.at(9, 1), "-400");
    EXPECT_EQ(t.at(9, 2), "16000");
    EXPECT_EQ(r.latitudeItem, 0);
    EXPECT_EQ(r.longitudeItem, 1);
    EXPECT_EQ(r.hmaxCaption, "Hmax = 160 m");
    EXPECT_EQ(r.hmaxColour, HmaxColour::ScrollBar);

    // The same frame twice: no distance, no height difference.
    coords::TabKr(t, *f.s, 12, 12);
    EXPECT_EQ(t.at(7, 1), "0");
    EXPECT_EQ(t.at(9, 1), "0");
    EXPECT_EQ(t.at(1, 1), "M T 09:05:07    Nmf 12");

    // Row 7 rounds the straight-line distance: sqrt(2) = 1.41 -> 1.
    f.s->frame(7).set32(cell::UcsX, 1002);
    f.s->frame(7).set32(cell::UcsY, uint32_t(-19));
    coords::TabKr(t, *f.s, 12, 7);
    EXPECT_EQ(t.at(7, 1), "1");
}

TEST(CoordTable, HmaxColourAfterFill) {
    Fixture f;
    auto t = coords::startTable(true);
    f.s->setHmax(14000);
    EXPECT_EQ(coords::TabKr(t, *f.s, 12, 7).hmaxColour, HmaxColour::Yellow);
    f.s->setHmax(15000);
    EXPECT_EQ(coords::TabKr(t, *f.s, 12, 7).hmaxColour, HmaxColour::Unchanged);
    f.s->setHmax(0);
    f.s->frame(12).set24(cell::ReliefHeight, 0);
    EXPECT_EQ(coords::TabKr(t, *f.s, 12, 7).hmaxColour, HmaxColour::Aqua);
}

TEST(CoordTable, ColumnHeadersBySelectedRow) {
    auto t = coords::startTable(true);
    EXPECT_FALSE(coords::setColumnHeaders(t, 1, true));
    EXPECT_TRUE(coords::setColumnHeaders(t, 4, true));
    EXPECT_EQ(t.at(0, 1), " Coordinates 2RC");
    EXPECT_EQ(t.at(0, 2), " Coordinates 1LC");
    coords::setColumnHeaders(t, 7, false);
    EXPECT_EQ(t.at(0, 1), " Дистанция по прямой");
    EXPECT_EQ(t.at(0, 2), " Дистанция по профилю");
    coords::setColumnHeaders(t, 9, true);
    EXPECT_EQ(t.at(0, 1), " Height difference");
    EXPECT_EQ(t.at(0, 2), " Maximum height");
    coords::setColumnHeaders(t, 8, false);
    EXPECT_EQ(t.at(0, 2), " Высота рельефа 1 ЛК");
}

TEST(CoordTable, TypingFilter) {
    struct Row {
        int row;
        char key;
        bool geographic;
        char result;
    };
    const Row rows[] = {
        {2, 'a', true, 'a'},
        {2, '5', true, '5'},
        {2, '-', true, 0},
        {2, coords::KEY_ENTER, true, 0},
        {3, ',', true, '.'},
        {3, '.', true, '.'},
        {3, '7', false, 0},
        {4, coords::KEY_CTRL_V, true, coords::KEY_CTRL_V},
        {5, '7', false, '7'},
        {5, '7', true, 0},
        {6, ',', false, 0},
        {7, '1', true, 0},
        {8, '1', true, '1'},
        {9, 'x', false, 0},
        {9, coords::KEY_BACKSPACE, false, coords::KEY_BACKSPACE},
    };
    for (const Row& r : rows)
        EXPECT_EQ(coords::filterTableKey(r.row, r.key, r.geographic), r.result)
            << "row " << r.row << " key " << int(r.key);
    EXPECT_EQ(coords::filterTableKey(3, '.', true, ','), ',');
}

TEST(CoordTable, WriteBack) {
    Fixture f;
    ProfileStore& s = *f.s;
    auto e = coords::applyTableEdit(s, 12, row::Longitude, "55.7512345");
    EXPECT_EQ(e.text, "55.7512345");
    EXPECT_EQ(s.frame(12).value[cell::LonDegrees], 55);
    EXPECT_EQ(s.frame(12).get24(cell::LonFraction), 7512345u);
    e = coords::applyTableEdit(s, 12, row::Latitude, "1.2.3");
    EXPECT_EQ(e.text, "1.2");
    EXPECT_EQ(s.frame(12).value[cell::LatDegrees], 1);
    EXPECT_EQ(s.frame(12).get24(cell::LatFraction), 2000000u);
    EXPECT_EQ(coords::applyTableEdit(s, 12, row::Longitude, "180").text, "0");
    EXPECT_EQ(s.frame(12).value[cell::LonDegrees], 0);
    // A separator at position 5 cuts the text: 12345 degrees are too many.
    EXPECT_EQ(coords::applyTableEdit(s, 12, row::Longitude, "12345.6").text, "0");
    EXPECT_EQ(coords::applyTableEdit(s, 12, row::Longitude, ".5").text, "0");
    // Eight fraction digits round half to even at the seventh.
    coords::applyTableEdit(s, 12, row::Latitude, "10.00000025");
    EXPECT_EQ(s.frame(12).get24(cell::LatFraction), 2u);
    coords::applyTableEdit(s, 12, row::Latitude, "10.99999999");
    EXPECT_EQ(s.frame(12).value[cell::LatDegrees], 11);
    EXPECT_EQ(s.frame(12).get24(cell::LatFraction), 0u);

    EXPECT_EQ(coords::applyTableEdit(s, 12, row::X, "12a").text, "0");
    EXPECT_EQ(coords::applyTableEdit(s, 12, row::Y, "1234567890").text, "123456789");
    EXPECT_EQ(s.frame(12).get32(cell::UcsY), 123456789u);
    EXPECT_EQ(coords::applyTableEdit(s, 12, row::Name, "ABCDEFGH").text, "ABCDEF");
    EXPECT_EQ(frameName(s.frame(12)), "ABCDEF");
    coords::applyTableEdit(s, 12, row::Name, "Q");
    EXPECT_EQ(frameName(s.frame(12)), "Q");

    e = coords::applyTableEdit(s, 12, row::Height, "16000");
    EXPECT_EQ(s.frame(12).reliefHeight(), 16000u);
    EXPECT_EQ(e.hmaxColour, HmaxColour::Aqua);
    EXPECT_EQ(e.hmaxCaption, "Hmax = 160 m");
    EXPECT_TRUE(e.redrawRelief);
    EXPECT_EQ(coords::applyTableEdit(s, 12, row::Height, "1234567").text, "123456");
    EXPECT_EQ(coords::applyTableEdit(s, 12, row::Height, "99").hmaxColour, HmaxColour::ScrollBar);

    e = coords::applyTableEdit(s, 12, row::HeightDifference, "17050");
    EXPECT_EQ(e.hmaxColour, HmaxColour::LightGreen);
    EXPECT_EQ(e.hmaxCaption, "Hmax = 170.5 m");
    EXPECT_EQ(s.Hmax, 17050u);
    EXPECT_EQ(s.header.get24(hdr::Hmax), 17050u);
    EXPECT_EQ(coords::applyTableEdit(s, 12, row::HeightDifference, "100").hmaxColour,
              HmaxColour::Yellow);
    EXPECT_EQ(coords::applyTableEdit(s, 12, row::HeightDifference, "100").hmaxColour,
              HmaxColour::Aqua);
}

} // namespace
} // namespace tesk::testing
