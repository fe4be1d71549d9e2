#include "shell/interpretation/table_panels.h"

#include "interpretation/velocity_fit.h"

#include "shell/widgets/controls.h"
#include "shell/widgets/floating_panel.h"
#include "shell/widgets/string_grid.h"

#include <QFrame>
#include <QHeaderView>
#include <QLabel>
#include <string_view>

namespace tesk {

namespace {

// clang-format off
const CaptionRow CAPTIONS[] = {
    {"Label_TVSL", CaptionKind::Caption, -1, " T A B L E   O F   V E L O C I T I E S   A N D   D E P T H S ", " Т А Б Л И Ц А   С К О Р О С Т Е Й   И   Г Л У Б И Н "},
    {"Label_GDRF", CaptionKind::Caption, -1, "G O D O G R A F", "Г О Д О Г Р А Ф"},
    {"Label_KRT", CaptionKind::Caption, -1, "E C H O", "К Р А Т Н И К"},
};

// Title cells of the tables, by (column, row).
struct Title {
    StringGrid* TablePanels::*grid;
    int column;
    int row;
    const char* en;
    const char* ru;
};
const Title TITLES[] = {
    // Hodograph table: one row per layer boundary.
    {&TablePanels::StringGrid4, 0, 0, "№ ", "Годограф"},
    {&TablePanels::StringGrid4, 1, 0, "V hodograf", "V годограф"},
    {&TablePanels::StringGrid4, 2, 0, "V stratum", "V в слое"},
    {&TablePanels::StringGrid4, 3, 0, "D depth", "D глубина"},
    {&TablePanels::StringGrid4, 4, 0, " * Еps", " * Еps"},
    {&TablePanels::StringGrid4, 5, 0, "Conductivity", "Проводимость"},
    // Echo table: boundary time and the times of its first two multiples.
    {&TablePanels::StringGrid5, 0, 0, "№ ", "Граница"},
    {&TablePanels::StringGrid5, 1, 0, "T boundary ns", "T границы нс"},
    {&TablePanels::StringGrid5, 2, 0, "T echo 2 ns", "T кратной 2 нс"},
    {&TablePanels::StringGrid5, 3, 0, "T echo 3 ns", "T кратной 3 нс"},
    // Velocity and depth table: the point rows; the layer rows follow below.
    {&TablePanels::StringGrid1, 0, 0, " Borehole Nomber", " Номер Скважины"},
    {&TablePanels::StringGrid1, 0, 1, " Borehole Name", " Название Скважины"},
    {&TablePanels::StringGrid1, 0, 2, " № Point Measuring", " № Точки Измерения"},
};

// Eight rows per layer quantity in the velocity and depth table, numbered
// from the top layer: hodograph velocities from row 3, layer velocities from
// row 11, depths from row 19, levels from row 27.
struct LayerRows {
    int firstRow;
    const char* en;
    const char* ru;
};
const LayerRows LAYER_ROWS[] = {
    {3, "%1.  V hodograf", "%1.  V годографа"},
    {11, "%1.  V stratum", "%1.  V слоя"},
    {19, "%1.  Depth stratum", "%1.  Глубина слоя"},
    {27, "%1. Level", "%1.  Уровень"},
};
// clang-format on

// Velocity and depth table: captions in column 0, the model at the cursor
// frame in column 1, measurement points 1..63 in columns 2..64.
StringGrid* velocityDepthTable(QWidget* panel) {
    auto* g = new StringGrid(panel, "StringGrid1", 65, 35, 2, 1);
    g->horizontalHeader()->setDefaultSectionSize(61);
    g->verticalHeader()->setDefaultSectionSize(19);
    g->setColumnWidth(0, 135);
    g->setGeometry(4, 24, 488, 268);
    for (int c = 1; c < g->columnCount(); ++c) {
        g->setCell(c, 0, QString::number(c - 1));
        for (int r = 1; r < g->rowCount(); ++r) g->setCell(c, r, "0");
    }
    for (int c = 2; c < g->columnCount(); ++c)
        for (int r = 1; r < g->rowCount(); ++r) g->setCellEditable(c, r, true);
    return g;
}

// Hodograph table: one row per layer boundary; only the hodograph velocity
// in column 1 is typed, the other columns are derived from it.
StringGrid* hodographTable(QWidget* panel) {
    auto* g = new StringGrid(panel, "StringGrid4", 6, 9, 1, 1);
    g->verticalHeader()->setDefaultSectionSize(16);
    g->setColumnWidths({80, 70, 70, 70, 60, 80});
    g->move(1, 27);
    g->fitToCells();
    for (int r = 1; r < g->rowCount(); ++r) {
        g->setCell(0, r, QString(" %1 ").arg(r));
        g->setCellEditable(1, r, true);
    }
    g->fillBody("0");
    return g;
}

// Echo table: for each boundary, its time and the times of its first
// multiples, shown for reading only.
StringGrid* echoTable(QWidget* panel) {
    auto* g = new StringGrid(panel, "StringGrid5", 4, 9, 1, 1);
    g->verticalHeader()->setDefaultSectionSize(16);
    g->setColumnWidths({58, 76, 76, 76});
    g->move(1, 27);
    g->fitToCells();
    for (int r = 1; r < g->rowCount(); ++r) g->setCell(0, r, QString(" %1 ").arg(r));
    g->fillBody("0");
    return g;
}

} // namespace

TablePanels::TablePanels(ShellServices& services, QWidget& window) : ShellPanel(services) {
    // The table panels are as large as their tables.
    Panel_TVSL = floatingPanel(&window, "Panel_TVSL", QRect(644, 50, 0, 0));
    Label_TVSL = panelTitle(Panel_TVSL, "Label_TVSL");
    StringGrid1 = velocityDepthTable(Panel_TVSL);
    Panel_TVSL->resize(StringGrid1->width() + 8, StringGrid1->y() + StringGrid1->height() + 8);
    Label_TVSL_G = label(Panel_TVSL, "Label_TVSL_G", 0, 4, 12);
    Label_TVSL_G->setText("G");
    Label_TVSL_V = label(Panel_TVSL, "Label_TVSL_V", 0, 4, 12);
    Label_TVSL_V->setText("V");
    placeSizeLabels();
    Panel_TGod = floatingPanel(&window, "Panel_TGod", QRect(612, 50, 0, 0));
    Label_GDRF = panelTitle(Panel_TGod, "Label_GDRF");
    StringGrid4 = hodographTable(Panel_TGod);
    Panel_TGod->resize(StringGrid4->width() + 2, StringGrid4->height() + 54);
    Panel_Kratnik = floatingPanel(&window, "Panel_Kratnik", QRect(612, 50, 0, 0));
    Label_KRT = panelTitle(Panel_Kratnik, "Label_KRT");
    StringGrid5 = echoTable(Panel_Kratnik);
    Panel_Kratnik->resize(StringGrid5->width() + 2, StringGrid5->height() + 54);
}

void TablePanels::showHodographTitle(int hodograph, bool en) {
    if (hodograph > 0) {
        Label_GDRF->setText(QString::fromStdString(hodographCaption(hodograph, en)));
    } else {
        for (const CaptionRow& title : CAPTIONS)
            if (std::string_view(title.control) == "Label_GDRF")
                Label_GDRF->setText(QString::fromUtf8(en ? title.en : title.ru));
    }
    Label_GDRF->adjustSize();
}

void TablePanels::hideAll() {
    for (QFrame* p : {Panel_TVSL, Panel_TGod, Panel_Kratnik}) p->hide();
}

void TablePanels::connectHandlers() {
    auto press = [this](QWidget* source, Qt::MouseButton b) { TitleMouseDown(source, b); };
    dragWith(Panel_TVSL, Panel_TVSL, {Panel_TVSL, Label_TVSL, Label_TVSL_G, Label_TVSL_V}, press);
    dragWith(Panel_TGod, Panel_TGod, {Panel_TGod, Label_GDRF}, press);
    dragWith(Panel_Kratnik, Panel_Kratnik, {Panel_Kratnik, Label_KRT}, press);
}

std::span<const CaptionRow> TablePanels::captions() const {
    return CAPTIONS;
}

void TablePanels::applyLanguage(bool en) {
    for (const Title& t : TITLES)
        (this->*t.grid)->setCell(t.column, t.row, QString::fromUtf8(en ? t.en : t.ru));
    for (const LayerRows& l : LAYER_ROWS)
        for (int k = 1; k <= 8; ++k)
            StringGrid1->setCell(0, l.firstRow + k - 1, QString::fromUtf8(en ? l.en : l.ru).arg(k));
    // A folded table panel is as wide as its title.
    for (QLabel* l : {Label_TVSL, Label_GDRF, Label_KRT}) l->adjustSize();
}

void TablePanels::resizeVelocityTable(bool widthOf, Qt::MouseButton button) {
    // "G" makes the table a column wider (left) or narrower (right), "V" a
    // row taller or lower, within their limits; the panel follows.
    QSize size = StringGrid1->size();
    const bool left = button == Qt::LeftButton;
    if (widthOf && left && size.width() < 800) size.rwidth() += 61;
    if (widthOf && !left && size.width() > 450) size.rwidth() -= 61;
    if (!widthOf && left && size.height() < 520) size.rheight() += 19;
    if (!widthOf && !left && size.height() > 230) size.rheight() -= 19;
    StringGrid1->resize(size);
    Panel_TVSL->resize(size.width() + 8, StringGrid1->y() + size.height() + 8);
    placeSizeLabels();
}

void TablePanels::placeSizeLabels() {
    const int right = StringGrid1->x() + StringGrid1->width();
    Label_TVSL_G->move(right - 30, 4);
    Label_TVSL_V->move(right - 14, 4);
}

void TablePanels::TitleMouseDown(QWidget* source, Qt::MouseButton button) {
    if (source == Label_TVSL_G || source == Label_TVSL_V) {
        resizeVelocityTable(source == Label_TVSL_G, button);
        return;
    }
    if (button != Qt::RightButton) return;
    QFrame* panel = nullptr;
    if (source == Panel_TGod || source == Label_GDRF) panel = Panel_TGod;
    if (source == Panel_Kratnik || source == Label_KRT) panel = Panel_Kratnik;
    if (source == Panel_TVSL || source == Label_TVSL) panel = Panel_TVSL;
    if (!panel) return;
    const bool collapsed = panel->height() < 26;
    if (panel == Panel_TGod) {
        if (collapsed)
            panel->setGeometry(612, 50, StringGrid4->width() + 2, StringGrid4->height() + 54);
        else
            panel->setGeometry(50, 525, Label_GDRF->width() + 16, 25);
    } else if (panel == Panel_Kratnik) {
        if (collapsed)
            panel->setGeometry(612, 50, StringGrid5->width() + 2, StringGrid5->height() + 54);
        else
            panel->setGeometry(50, 525, Label_KRT->width() + 16, 25);
    } else {
        if (collapsed)
            panel->setGeometry(644, 50, StringGrid1->width() + 8,
                               StringGrid1->y() + StringGrid1->height() + 8);
        else
            panel->setGeometry(Label_GDRF->width() + 66, 525, Label_TVSL->width() + 16, 25);
    }
}

} // namespace tesk
