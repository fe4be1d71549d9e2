// Panel_CORD: its controls at their design places, their captions in both
// languages and the wiring of their handlers.

#include "shell/coordinates/coordinates_panel.h"

#include "shell/widgets/controls.h"
#include "shell/widgets/floating_panel.h"
#include "shell/widgets/radio_group.h"
#include "shell/widgets/string_grid.h"
#include "shell/window/command_bar.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QToolButton>

namespace tesk {

namespace {

// clang-format off
const CaptionRow CAPTIONS[] = {
    {"Label_CRD", CaptionKind::Caption, -1, " C O O R D I N A T E S     M E A S U R E M E N T", " К О О Р Д И Н А Т Ы     И З М Е Р Е Н И Я"},
    {"ComboBox_CRD", CaptionKind::Item, 0, "File on Coordinates", "Файл по Координатам"},
    {"ComboBox_CRD", CaptionKind::Item, 1, "Profile on Markers", "Профиль по Маркерам"},
    {"ComboBox_CRD", CaptionKind::Item, 2, "To the Marker", "До Маркера"},
    {"ComboBox_CRD", CaptionKind::Item, 3, "In Step profile", "По Шагу профиля"},
    {"CheckBox71", CaptionKind::Caption, -1, "Coordinates", "Координаты"},
    {"CheckBox72", CaptionKind::Caption, -1, "Height Relief", "Высота Рельефа"},
    {"CheckBox73", CaptionKind::Caption, -1, "Relief Line", "Линия рельефа"},
    {"CheckBox75", CaptionKind::Caption, -1, "Adjustment", "Корректировать"},
    {"RadioGroup_Lat", CaptionKind::Caption, -1, " Latitude ", " Широта "},
    {"RadioGroup_Lon", CaptionKind::Caption, -1, " Longitude ", " Долгота "},
    {"SpeedButton71", CaptionKind::Caption, -1, "ReCalculate", "Пересчитать"},
    {"SpeedButton72", CaptionKind::Caption, -1, "Adjustment", "Корректировать"},
    {"SpeedButton73", CaptionKind::Caption, -1, "Smooth", "Сгладить Рельеф"},
    {"CheckBox70", CaptionKind::Hint, -1, "To Enabled the Absolute Height of a land relief", "Вкл. Абсолютную Высоту рельефа местности"},
    {"MaskEdit2", CaptionKind::Hint, -1, "Absolute Height of a land relief", "Абсолютная Высота рельефа местности"},
    {"Label_GPS_2", CaptionKind::Caption, -1, "GPS points (Wpt)", "Точки GPS (Wpt)"},
    {"Label_GPS_3", CaptionKind::Caption, -1, "GPS path (Trk)", "Путь GPS (Trk)"},
    {"SpeedButton_GPS_WPT", CaptionKind::Caption, -1, "Synchronize points", "Синхронизировать точки"},
    {"SpeedButton_GPS_TRK", CaptionKind::Caption, -1, "Synchronize the path", "Синхронизировать Путь"},
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
// frame's rows 2..9 take typing.
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

QToolButton* panelButton(QWidget* parent, const char* name, QRect at) {
    auto* b = new QToolButton(parent);
    b->setObjectName(name);
    b->setGeometry(at);
    return b;
}

} // namespace

CoordinatesPanel::CoordinatesPanel(ShellServices& services, QWidget& window, CommandBar& bar,
                                   QComboBox* stepBox)
    : ShellPanel(services), bar_(bar), stepBox_(stepBox) {
    // The panel starts hidden and disabled, its GPS area folded.
    Panel_CORD = floatingPanel(&window, "Panel_CORD", QRect(47, 60, 700, FOLDED_HEIGHT));
    Panel_CORD->setEnabled(false);
    Label_CRD = panelTitle(Panel_CORD, "Label_CRD");
    StringGrid7 = coordinatesTable(Panel_CORD);
    table_ = coords::startTable(false);
    buildRecalcControls();
    buildReliefControls();
    buildGpsArea();
}

void CoordinatesPanel::buildRecalcControls() {
    QWidget* p = Panel_CORD;
    ComboBox_CRD = combo(p, "ComboBox_CRD", 4, 214, 170, {"", "", "", ""});
    ComboBox_CRD->setCurrentIndex(0);
    CheckBox71 = checkBox(p, "CheckBox71", 186, 216, 110);
    CheckBox72 = checkBox(p, "CheckBox72", 300, 216, 120);
    CheckBox74 = checkBox(p, "CheckBox74", 430, 216, 230);
    RadioGroup_Lat = new RadioGroup(p, "RadioGroup_Lat", {"N", "S"}, QRect(4, 240, 110, 40));
    RadioGroup_Lon = new RadioGroup(p, "RadioGroup_Lon", {"E", "W"}, QRect(120, 240, 110, 40));
    CheckBox75 = checkBox(p, "CheckBox75", 240, 254, 120);
    SpeedButton71 = panelButton(p, "SpeedButton71", QRect(370, 248, 150, 26));
    SpeedButton72 = panelButton(p, "SpeedButton72", QRect(530, 248, 150, 26));
    SpeedButton72->setEnabled(false);
    showGeographicState();
}

void CoordinatesPanel::buildReliefControls() {
    QWidget* p = Panel_CORD;
    CheckBox70 = checkBox(p, "CheckBox70", 4, 296, 160);
    CheckBox70->setText("Hmax = 6543,21 m");
    // Six digits at most; MaskEdit2Change reads the first four.
    MaskEdit2 = new QLineEdit(p);
    MaskEdit2->setObjectName("MaskEdit2");
    MaskEdit2->setInputMask("999999; ");
    MaskEdit2->setGeometry(170, 294, 70, 22);
    MaskEdit2->setEnabled(false);
    CheckBox73 = checkBox(p, "CheckBox73", 250, 296, 120);
    SpeedButton73 = panelButton(p, "SpeedButton73", QRect(380, 292, 150, 26));
    SpeedButton73->setEnabled(false);
    SpeedButton74 = panelButton(p, "SpeedButton74", QRect(620, 292, 60, 26));
    SpeedButton74->setText("GPS");
}

void CoordinatesPanel::buildGpsArea() {
    QWidget* p = Panel_CORD;
    Label_GPS_2 = label(p, "Label_GPS_2", 6, 414, 330);
    ComboBox_GPS_wpt = combo(p, "ComboBox_GPS_wpt", 4, 430, 330, {});
    Label_GPS_22 = label(p, "Label_GPS_22", 6, 458, 90);
    Label_GPS_24 = label(p, "Label_GPS_24", 100, 458, 80);
    SpeedButton_GPS_WPT = panelButton(p, "SpeedButton_GPS_WPT", QRect(184, 454, 150, 24));
    Label_GPS_3 = label(p, "Label_GPS_3", 352, 414, 330);
    ComboBox_GPS_trk = combo(p, "ComboBox_GPS_trk", 350, 430, 330, {});
    Label_GPS_32 = label(p, "Label_GPS_32", 352, 458, 90);
    Label_GPS_34 = label(p, "Label_GPS_34", 446, 458, 80);
    SpeedButton_GPS_TRK = panelButton(p, "SpeedButton_GPS_TRK", QRect(530, 454, 150, 24));
    // The lists and their buttons wait for a GPX file.
    for (QWidget* w : std::initializer_list<QWidget*>{ComboBox_GPS_wpt, SpeedButton_GPS_WPT,
                                                      ComboBox_GPS_trk, SpeedButton_GPS_TRK})
        w->setEnabled(false);
}

void CoordinatesPanel::connectHandlers() {
    dragWith(Panel_CORD, Panel_CORD, {Panel_CORD, Label_CRD});
    QObject* owner = Panel_CORD;
    auto clicked = [&](QToolButton* b, auto handler) {
        QObject::connect(b, &QToolButton::clicked, owner, handler);
    };
    clicked(bar_.SpeedButton11, [this] { SpeedButton11Click(); });
    clicked(SpeedButton74, [this] { SpeedButton74Click(); });
    clicked(SpeedButton71, [this] { SpeedButton71Click(); });
    clicked(SpeedButton72, [this] { SpeedButton72Click(); });
    clicked(SpeedButton_GPS_WPT, [this] { SpeedButton_GPS_Click(coords::GpxPoints::Waypoints); });
    clicked(SpeedButton_GPS_TRK, [this] { SpeedButton_GPS_Click(coords::GpxPoints::Track); });
    auto toggled = [&](QCheckBox* b, void (CoordinatesPanel::*h)()) {
        QObject::connect(b, &QCheckBox::toggled, owner, [this, h] {
            if (!restoring()) (this->*h)();
        });
    };
    toggled(CheckBox71, &CoordinatesPanel::CheckBox71Click);
    toggled(CheckBox74, &CoordinatesPanel::CheckBox74Click);
    toggled(CheckBox75, &CoordinatesPanel::CheckBox75Click);
    QObject::connect(ComboBox_CRD, &QComboBox::currentIndexChanged, owner, [this] {
        if (!restoring()) ComboBox_CRDChange();
    });
    QObject::connect(ComboBox_GPS_wpt, &QComboBox::currentIndexChanged, owner, [this] {
        if (!restoring()) ComboBox_GPS_Change(coords::GpxPoints::Waypoints);
    });
    QObject::connect(ComboBox_GPS_trk, &QComboBox::currentIndexChanged, owner, [this] {
        if (!restoring()) ComboBox_GPS_Change(coords::GpxPoints::Track);
    });
    RadioGroup_Lat->onClick = [this] { RadioGroupClick(true); };
    RadioGroup_Lon->onClick = [this] { RadioGroupClick(false); };
    QObject::connect(StringGrid7, &QTableWidget::currentCellChanged, owner,
                     [this](int row, int) { StringGrid7Click(row); });
    StringGrid7->onCellEdited = [this](int column, int row) { KeyUp7(column, row); };
}

std::span<const CaptionRow> CoordinatesPanel::captions() const {
    return CAPTIONS;
}

void CoordinatesPanel::applyLanguage(bool en) {
    // Row titles and the column headers of the table.
    coords::setRowTitles(table_, en);
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
    showGeographicState();
}

void CoordinatesPanel::restored() {
    const uint8_t flags = store().header.value[hdr::CoordFlags];
    RadioGroup_Lat->setItemIndex((flags & hdr::South) ? 1 : 0);
    RadioGroup_Lon->setItemIndex((flags & hdr::West) ? 1 : 0);
    showGeographicState();
    showHmax(coords::hmaxCaption(store().Hmax, " m", decimalSeparator()),
             coords::HmaxColour::Unchanged);
    // A GPX file still open keeps its area in view.
    setExpanded(file_.isOpen() || (flags & hdr::CoordPanelExpanded));
    filledCursor_ = filledSecond_ = -1;
    if (!Panel_CORD->isHidden()) TabKr();
}

char CoordinatesPanel::decimalSeparator() const {
    const QString p = QLocale().decimalPoint();
    return p == "," ? ',' : '.';
}

bool CoordinatesPanel::marksShown() const {
    return !Panel_CORD->isHidden() && Panel_CORD->height() == EXPANDED_HEIGHT;
}

void CoordinatesPanel::focusPanel() {
    if (!Panel_CORD->isHidden()) Panel_CORD->setFocus();
}

int CoordinatesPanel::cursorFrame() {
    return std::clamp(store().viewStart + services_.view().cursorColumn, 0, MAX_FRAME_INDEX);
}

// CheckBox74: the caption names the form of the positions; the hemisphere
// groups matter only for geographic positions.
void CoordinatesPanel::showGeographicState() {
    const bool geo = CheckBox74->isChecked();
    const bool en = services_.english();
    CheckBox74->setText(geo ? (en ? "Geographical coordinates" : "Географические коорд.")
                            : (en ? "Rectanglar coordinates" : "Прямоугольные коорд."));
    RadioGroup_Lat->setEnabled(geo);
    RadioGroup_Lon->setEnabled(geo);
}

void CoordinatesPanel::setExpanded(bool on) {
    setBit(store().header.value[hdr::CoordFlags], hdr::CoordPanelExpanded, on);
    Panel_CORD->resize(Panel_CORD->width(), on ? EXPANDED_HEIGHT : FOLDED_HEIGHT);
}

} // namespace tesk
