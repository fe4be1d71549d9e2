#include "shell/coordinates/coordinates_panel.h"

#include "shell/widgets/floating_panel.h"
#include "shell/widgets/string_grid.h"

#include <QFrame>
#include <QHeaderView>
#include <QLabel>

namespace tesk {

namespace {

// clang-format off
const CaptionRow CAPTIONS[] = {
    {"Label_CRD", CaptionKind::Caption, -1, " C O O R D I N A T E S     M E A S U R E M E N T", " К О О Р Д И Н А Т Ы     И З М Е Р Е Н И Я"},
};

// What each row of the two frames shows.
const char* const ROW_TITLES[][2] = {
    {"  a-Scan", "  а-Скан"},
    {" Position in the File", " Позиция в Файле"},
    {" Point Name", " Название Маркера"},
    {" Longitude. Degrees ,000", " Долгота. Градусы ,000"},
    {" Latitude.  Degrees ,000", " Широта.  Градусы ,000"},
    {" Coordinate X cm USC", " Координата X cm ПСК"},
    {" Coordinate Y cm USC", " Координата Y cm ПСК"},
    {" Difference of Coordinates. cm.", " Разница Координат cm."},
    {" Altitude. cm.  ", " Высота cm.  "},
    {" Difference of Heights. cm.", " Разница Высот cm."},
};

// Headers of the two frame columns; which pair is shown depends on the row
// the operator last chose, so the switch keeps the pair and only changes its
// language. Pair 0 is the start pair.
struct HeaderPair {
    const char* en1;
    const char* en2;
    const char* ru1;
    const char* ru2;
};
const HeaderPair COORDINATE_HEADERS[] = {
    {" Coordinates 2 RC", " Coordinates 1 LC", " Координаты 2 ПК", " Координаты 1 ЛК"},
    {" Coordinates 2RC", " Coordinates 1LC", " Координаты 2 ПК", " Координаты 1 ЛК"},
    {" Distance straight line", " Distance on the profile", " Дистанция по прямой",
     " Дистанция по профилю"},
    {" Height relief 2 RC", " Height relief 1 LC", " Высота рельефа 2 ПК", " Высота рельефа 1 ЛК"},
    {" Height difference", " Maximum height", " Разница высот", " Максимальная высота"},
};
// clang-format on

// The second point in column 1, the cursor frame in column 2; the cursor
// frame's position and name rows stay read-only.
StringGrid* coordinatesTable(QWidget* panel) {
    auto* g = new StringGrid(panel, "StringGrid7", 3, 10, 2, 2);
    g->verticalHeader()->setDefaultSectionSize(18);
    g->setColumnWidths({190, 240, 240});
    g->move(4, 24);
    g->fitToCells();
    for (int c = 1; c <= 2; ++c) {
        g->setCell(c, 1, "*");
        g->setCell(c, 2, "*");
        for (int r = 3; r < g->rowCount(); ++r) g->setCell(c, r, "0");
    }
    for (int r = 2; r < g->rowCount(); ++r) g->setCellEditable(2, r, true);
    return g;
}

} // namespace

CoordinatesPanel::CoordinatesPanel(ShellServices& services, QWidget& window)
    : ShellPanel(services) {
    // The panel starts with its GPS area folded (408 px; 528 px with it).
    Panel_CORD = floatingPanel(&window, "Panel_CORD", QRect(47, 60, 700, 408));
    Label_CRD = panelTitle(Panel_CORD, "Label_CRD");
    StringGrid7 = coordinatesTable(Panel_CORD);
}

void CoordinatesPanel::connectHandlers() {
    dragWith(Panel_CORD, Panel_CORD, {Panel_CORD, Label_CRD});
}

std::span<const CaptionRow> CoordinatesPanel::captions() const {
    return CAPTIONS;
}

void CoordinatesPanel::applyLanguage(bool en) {
    StringGrid* g = StringGrid7;
    for (int r = 0; r < int(std::size(ROW_TITLES)); ++r)
        g->setCell(0, r, QString::fromUtf8(ROW_TITLES[r][en ? 0 : 1]));
    // The Russian headers of the first two pairs are the same text; the
    // second pair belongs to the latitude row, so the chosen row tells them
    // apart.
    const QString h1 = g->cell(1, 0), h2 = g->cell(2, 0);
    const HeaderPair* shown = &COORDINATE_HEADERS[0];
    for (const HeaderPair& p : COORDINATE_HEADERS) {
        if (h1 == QString::fromUtf8(p.en1) && h2 == QString::fromUtf8(p.en2)) {
            shown = &p;
            break;
        }
        if (h1 == QString::fromUtf8(p.ru1) && h2 == QString::fromUtf8(p.ru2)) {
            shown =
                &p == &COORDINATE_HEADERS[0] && g->currentRow() == 4 ? &COORDINATE_HEADERS[1] : &p;
            break;
        }
    }
    g->setCell(1, 0, QString::fromUtf8(en ? shown->en1 : shown->ru1));
    g->setCell(2, 0, QString::fromUtf8(en ? shown->en2 : shown->ru2));
    Label_CRD->adjustSize();
}

} // namespace tesk
