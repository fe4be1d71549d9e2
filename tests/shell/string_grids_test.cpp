// The window's tables: their shape and start texts, their titles in both
// languages, the panels sized to them, and keys seen by the window first.

#include "window_fixture.h"

#include <QLineEdit>
#include <QScrollBar>
#include <QTableView>
#include <QTest>

namespace tesk::testing {
namespace {

using Tables = WindowTest;

QString q(const char* utf8) {
    return QString::fromUtf8(utf8);
}

struct Shape {
    const char* name;
    int columns, rows, fixedColumns, fixedRows;
};

TEST_F(Tables, EachTableHasItsShapeAndGreyTitles) {
    const Shape shapes[] = {
        {"StringGrid1", 65, 35, 2, 1},
        {"StringGrid4", 6, 9, 1, 1},
        {"StringGrid5", 4, 9, 1, 1},
        {"StringGrid7", 3, 10, 2, 2},
    };
    const StringGrid* members[] = {ui.StringGrid1, ui.StringGrid4, ui.StringGrid5, ui.StringGrid7};
    for (std::size_t i = 0; i < std::size(shapes); ++i) {
        const Shape& s = shapes[i];
        SCOPED_TRACE(s.name);
        const StringGrid* g = form->findChild<StringGrid*>(s.name);
        ASSERT_NE(g, nullptr);
        EXPECT_EQ(g, members[i]);
        EXPECT_EQ(g->columnCount(), s.columns);
        EXPECT_EQ(g->rowCount(), s.rows);
        EXPECT_EQ(g->fixedColumns(), s.fixedColumns);
        EXPECT_EQ(g->fixedRows(), s.fixedRows);
        for (int r = 0; r < s.rows; ++r)
            for (int c = 0; c < s.columns; ++c) {
                const bool fixed = c < s.fixedColumns || r < s.fixedRows;
                const QTableWidgetItem* item = g->item(r, c);
                ASSERT_NE(item, nullptr) << c << "," << r;
                EXPECT_EQ(item->background().color() == QColor(0xDD, 0xDD, 0xDD), fixed)
                    << c << "," << r;
                if (fixed) {
                    EXPECT_FALSE(g->isCellEditable(c, r)) << c << "," << r;
                }
            }
    }
}

TEST_F(Tables, VelocityAndDepthTableStartsWithPointNumbersAndZeros) {
    const StringGrid* g = ui.StringGrid1;
    EXPECT_EQ(g->columnWidth(0), 135);
    for (int c = 1; c < 65; ++c) {
        EXPECT_EQ(g->cell(c, 0), QString::number(c - 1)) << c;
        for (int r = 1; r < 35; ++r) ASSERT_EQ(g->cell(c, r), "0") << c << "," << r;
    }
    // The points' cells are typed into; the cursor-frame column is computed.
    for (int r = 1; r < 35; ++r) {
        EXPECT_FALSE(g->isCellEditable(1, r)) << r;
        EXPECT_TRUE(g->isCellEditable(2, r)) << r;
        EXPECT_TRUE(g->isCellEditable(64, r)) << r;
    }
}

TEST_F(Tables, HodographTableHasItsColumnWidthsAndOnlyVelocitiesOpenForTyping) {
    form->show();
    ui.Panel_TGod->show();
    const StringGrid* g = ui.StringGrid4;
    const int widths[] = {80, 70, 70, 70, 60, 80};
    for (int c = 0; c < 6; ++c) EXPECT_EQ(g->columnWidth(c), widths[c]) << c;
    for (int r = 1; r < 9; ++r) {
        EXPECT_EQ(g->cell(0, r), QString(" %1 ").arg(r));
        for (int c = 1; c < 6; ++c) {
            EXPECT_EQ(g->cell(c, r), "0") << c << "," << r;
            EXPECT_EQ(g->isCellEditable(c, r), c == 1) << c << "," << r;
        }
    }
    // The whole table shows without scrolling: 430 px of columns inside the frame.
    EXPECT_EQ(g->width(), 430 + 2 * g->frameWidth());
    EXPECT_GE(g->viewport()->width(), 430);
    EXPECT_GE(g->viewport()->height(), 9 * g->rowHeight(0));
}

TEST_F(Tables, EchoAndCoordinateTablesStartTexts) {
    for (int r = 1; r < 9; ++r)
        for (int c = 1; c < 4; ++c) EXPECT_EQ(ui.StringGrid5->cell(c, r), "0") << c << "," << r;
    const StringGrid* g = ui.StringGrid7;
    for (int c = 1; c <= 2; ++c) {
        EXPECT_EQ(g->cell(c, 1), "*");
        EXPECT_EQ(g->cell(c, 2), "*");
        for (int r = 3; r < 10; ++r) EXPECT_EQ(g->cell(c, r), "0") << c << "," << r;
    }
    // Only the cursor frame's column below the position row is typed into.
    for (int r = 0; r < 10; ++r)
        for (int c = 0; c < 3; ++c)
            EXPECT_EQ(g->isCellEditable(c, r), c == 2 && r >= 2) << c << "," << r;
}

struct TitleCase {
    StringGrid* WindowControls::*grid;
    int column, row;
    const char* en;
    const char* ru;
};

const TitleCase TITLES[] = {
    {&WindowControls::StringGrid4, 0, 0, "№ ", "Годограф"},
    {&WindowControls::StringGrid4, 1, 0, "V hodograf", "V годограф"},
    {&WindowControls::StringGrid4, 2, 0, "V stratum", "V в слое"},
    {&WindowControls::StringGrid4, 3, 0, "D depth", "D глубина"},
    {&WindowControls::StringGrid4, 4, 0, " * Еps", " * Еps"},
    {&WindowControls::StringGrid4, 5, 0, "Conductivity", "Проводимость"},
    {&WindowControls::StringGrid4, 0, 8, " 8 ", " 8 "},
    {&WindowControls::StringGrid1, 0, 0, " Borehole Nomber", " Номер Скважины"},
    {&WindowControls::StringGrid1, 0, 1, " Borehole Name", " Название Скважины"},
    {&WindowControls::StringGrid1, 0, 2, " № Point Measuring", " № Точки Измерения"},
    {&WindowControls::StringGrid1, 0, 3, "1.  V hodograf", "1.  V годографа"},
    {&WindowControls::StringGrid1, 0, 10, "8.  V hodograf", "8.  V годографа"},
    {&WindowControls::StringGrid1, 0, 11, "1.  V stratum", "1.  V слоя"},
    {&WindowControls::StringGrid1, 0, 18, "8.  V stratum", "8.  V слоя"},
    {&WindowControls::StringGrid1, 0, 19, "1.  Depth stratum", "1.  Глубина слоя"},
    {&WindowControls::StringGrid1, 0, 26, "8.  Depth stratum", "8.  Глубина слоя"},
    {&WindowControls::StringGrid1, 0, 27, "1. Level", "1.  Уровень"},
    {&WindowControls::StringGrid1, 0, 34, "8. Level", "8.  Уровень"},
    {&WindowControls::StringGrid7, 0, 0, "  a-Scan", "  а-Скан"},
    {&WindowControls::StringGrid7, 0, 1, " Position in the File", " Позиция в Файле"},
    {&WindowControls::StringGrid7, 0, 2, " Point Name", " Название Маркера"},
    {&WindowControls::StringGrid7, 0, 3, " Longitude. Degrees ,000", " Долгота. Градусы ,000"},
    {&WindowControls::StringGrid7, 0, 4, " Latitude.  Degrees ,000", " Широта.  Градусы ,000"},
    {&WindowControls::StringGrid7, 0, 5, " Coordinate X cm USC", " Координата X cm ПСК"},
    {&WindowControls::StringGrid7, 0, 6, " Coordinate Y cm USC", " Координата Y cm ПСК"},
    {&WindowControls::StringGrid7, 0, 7, " Difference of Coordinates. cm.",
     " Разница Координат cm."},
    {&WindowControls::StringGrid7, 0, 8, " Altitude. cm.  ", " Высота cm.  "},
    {&WindowControls::StringGrid7, 0, 9, " Difference of Heights. cm.", " Разница Высот cm."},
    {&WindowControls::StringGrid7, 1, 0, " Coordinates 2 RC", " Координаты 2 ПК"},
    {&WindowControls::StringGrid7, 2, 0, " Coordinates 1 LC", " Координаты 1 ЛК"},
};

TEST_F(Tables, TitlesFollowTheLanguageBothWays) {
    for (const bool english : {true, false, true}) {
        if (ui.CheckBox1->isChecked() != english) ui.CheckBox1->click();
        for (const TitleCase& t : TITLES) {
            const StringGrid* g = ui.*t.grid;
            EXPECT_EQ(g->cell(t.column, t.row), q(english ? t.en : t.ru))
                << g->objectName().toStdString() << " (" << t.column << "," << t.row << ") "
                << (english ? "en" : "ru");
        }
        // The echo table switches its titles too; each language has its own.
        EXPECT_FALSE(ui.StringGrid5->cell(1, 0).isEmpty());
    }
    ui.CheckBox1->click();
    const QString ruEcho = ui.StringGrid5->cell(1, 0);
    ui.CheckBox1->click();
    EXPECT_NE(ui.StringGrid5->cell(1, 0), ruEcho);
}

TEST_F(Tables, SwitchKeepsSelectionsAndTypedValues) {
    ui.ComboBox16->setCurrentIndex(3);
    ui.ComboBox17->setCurrentIndex(2);
    ui.StringGrid1->setCurrentCell(7, 5);
    ui.StringGrid4->setCurrentCell(3, 1);
    ui.StringGrid4->setCell(1, 3, "7.5");
    ui.StringGrid1->setCell(5, 2, "1234");
    ui.StringGrid7->setCell(2, 5, "-250");
    ui.CheckBox1->click();
    ASSERT_FALSE(form->english());
    EXPECT_EQ(ui.ComboBox16->currentIndex(), 3);
    EXPECT_EQ(ui.ComboBox17->currentIndex(), 2);
    EXPECT_EQ(ui.StringGrid1->currentRow(), 7);
    EXPECT_EQ(ui.StringGrid1->currentColumn(), 5);
    EXPECT_EQ(ui.StringGrid4->currentRow(), 3);
    EXPECT_EQ(ui.StringGrid4->currentColumn(), 1);
    EXPECT_EQ(ui.StringGrid4->cell(1, 3), "7.5");
    EXPECT_EQ(ui.StringGrid1->cell(5, 2), "1234");
    EXPECT_EQ(ui.StringGrid7->cell(2, 5), "-250");
    EXPECT_EQ(ui.StringGrid1->cell(5, 0), "4") << "point numbers are not titles";
}

struct HeaderCase {
    int currentRow;
    const char* ru1;
    const char* ru2;
    const char* en1;
    const char* en2;
};

TEST_F(Tables, CoordinateHeadersKeepTheirRowWhenTheLanguageChanges) {
    const HeaderCase cases[] = {
        {3, " Координаты 2 ПК", " Координаты 1 ЛК", " Coordinates 2 RC", " Coordinates 1 LC"},
        {4, " Координаты 2 ПК", " Координаты 1 ЛК", " Coordinates 2RC", " Coordinates 1LC"},
        {7, " Дистанция по прямой", " Дистанция по профилю", " Distance straight line",
         " Distance on the profile"},
        {8, " Высота рельефа 2 ПК", " Высота рельефа 1 ЛК", " Height relief 2 RC",
         " Height relief 1 LC"},
        {9, " Разница высот", " Максимальная высота", " Height difference", " Maximum height"},
    };
    StringGrid* g = ui.StringGrid7;
    ui.CheckBox1->click(); // Russian
    for (const HeaderCase& h : cases) {
        SCOPED_TRACE(h.currentRow);
        g->setCurrentCell(h.currentRow, 2);
        g->setCell(1, 0, q(h.ru1));
        g->setCell(2, 0, q(h.ru2));
        ui.CheckBox1->click();
        EXPECT_EQ(g->cell(1, 0), q(h.en1));
        EXPECT_EQ(g->cell(2, 0), q(h.en2));
        ui.CheckBox1->click();
        EXPECT_EQ(g->cell(1, 0), q(h.ru1));
        EXPECT_EQ(g->cell(2, 0), q(h.ru2));
    }
}

TEST_F(Tables, PanelsAreSizedToTheirTables) {
    const StringGrid* g1 = ui.StringGrid1;
    const StringGrid* g4 = ui.StringGrid4;
    const StringGrid* g5 = ui.StringGrid5;
    EXPECT_EQ(g1->parentWidget(), ui.Panel_TVSL);
    EXPECT_EQ(g4->parentWidget(), ui.Panel_TGod);
    EXPECT_EQ(g5->parentWidget(), ui.Panel_Kratnik);
    EXPECT_EQ(ui.StringGrid7->parentWidget(), ui.Panel_CORD);
    EXPECT_EQ(ui.Panel_TVSL->geometry(),
              QRect(644, 50, g1->width() + 8, g1->y() + g1->height() + 8));
    EXPECT_EQ(ui.Panel_TGod->geometry(),
              QRect(612, 50, 430 + 2 * g4->frameWidth() + 2, g4->height() + 54));
    EXPECT_EQ(ui.Panel_Kratnik->geometry(), QRect(612, 50, g5->width() + 2, g5->height() + 54));
    // The coordinate table lies inside its panel, whose GPS area starts folded.
    EXPECT_EQ(ui.Panel_CORD->geometry().topLeft().x(), 47);
    EXPECT_EQ(ui.Panel_CORD->height(), 408);
    EXPECT_TRUE(ui.Panel_CORD->rect().contains(ui.StringGrid7->geometry()));
}

TEST_F(Tables, RightClicksOnTitlesFoldAndUnfoldTheTablePanels) {
    form->show();
    ui.CheckBox1->click(); // Russian titles are the wider ones
    struct Fold {
        QFrame* panel;
        QLabel* title;
        QRect expanded;
        QRect collapsed;
    };
    const StringGrid* g1 = ui.StringGrid1;
    const StringGrid* g4 = ui.StringGrid4;
    const StringGrid* g5 = ui.StringGrid5;
    const int gdrf = ui.Label_GDRF->width();
    const Fold folds[] = {
        {ui.Panel_TGod, ui.Label_GDRF, QRect(612, 50, g4->width() + 2, g4->height() + 54),
         QRect(50, 525, gdrf + 16, 25)},
        {ui.Panel_Kratnik, ui.Label_KRT, QRect(612, 50, g5->width() + 2, g5->height() + 54),
         QRect(50, 525, ui.Label_KRT->width() + 16, 25)},
        {ui.Panel_TVSL, ui.Label_TVSL, QRect(644, 50, g1->width() + 8, g1->y() + g1->height() + 8),
         QRect(gdrf + 66, 525, ui.Label_TVSL->width() + 16, 25)},
    };
    for (const Fold& f : folds) {
        SCOPED_TRACE(f.panel->objectName().toStdString());
        // The strip shows the whole title.
        EXPECT_GE(f.title->width(), f.title->fontMetrics().horizontalAdvance(f.title->text()));
        f.panel->show();
        ASSERT_EQ(f.panel->geometry(), f.expanded) << "starts unfolded";
        QTest::mouseClick(f.title, Qt::RightButton, {}, QPoint(5, 5));
        EXPECT_EQ(f.panel->geometry(), f.collapsed);
        QTest::mouseClick(f.title, Qt::RightButton, {}, QPoint(5, 5));
        EXPECT_EQ(f.panel->geometry(), f.expanded);
        // The panel body folds it as its title does.
        QTest::mouseClick(f.panel, Qt::RightButton, {}, QPoint(f.panel->width() - 2, 3));
        EXPECT_EQ(f.panel->geometry(), f.collapsed);
        QTest::mouseClick(f.panel, Qt::RightButton, {}, QPoint(f.panel->width() - 2, 3));
        EXPECT_EQ(f.panel->geometry(), f.expanded);
    }
}

// Which table cell the operator sees at a point of the grid: a title view
// laid over the body, or the body itself.
QModelIndex shownAt(StringGrid* g, QPoint at) {
    QWidget* w = g->childAt(at);
    if (!w) return {};
    auto* v = qobject_cast<QTableView*>(w->parentWidget());
    return v ? v->indexAt(w->mapFrom(g, at)) : QModelIndex();
}

TEST_F(Tables, TitlesStayInPlaceWhileTheBodyScrolls) {
    form->show();
    ui.Panel_TVSL->show();
    StringGrid* g = ui.StringGrid1;
    const int f = g->frameWidth();
    g->horizontalScrollBar()->setValue(g->horizontalScrollBar()->maximum());
    g->verticalScrollBar()->setValue(g->verticalScrollBar()->maximum());
    ASSERT_GT(g->horizontalScrollBar()->value(), 0);
    ASSERT_GT(g->verticalScrollBar()->value(), 0);
    // Row captions on the left, point numbers along the top, the corner caption.
    const QModelIndex corner = shownAt(g, QPoint(f + 5, f + 5));
    EXPECT_EQ(corner.row(), 0);
    EXPECT_EQ(corner.column(), 0);
    const QModelIndex caption = shownAt(g, QPoint(f + 5, f + g->viewport()->height() - 5));
    EXPECT_EQ(caption.column(), 0);
    EXPECT_EQ(caption.row(), 34);
    const QModelIndex number = shownAt(g, QPoint(f + g->viewport()->width() - 5, f + 5));
    EXPECT_EQ(number.row(), 0);
    EXPECT_EQ(number.column(), 64);
    // The body under them has moved: its last cell is in the far corner.
    const QModelIndex body =
        shownAt(g, QPoint(f + g->viewport()->width() - 5, f + g->viewport()->height() - 5));
    EXPECT_EQ(body.row(), 34);
    EXPECT_EQ(body.column(), 64);
    // Going back to the first point brings it out from under the titles.
    g->setCurrentCell(20, 30);
    g->setCurrentCell(1, 2);
    const QRect first = g->visualRect(g->model()->index(1, 2));
    EXPECT_GE(first.left(), 135 + 61);
    EXPECT_GE(first.top(), 19);
}

TEST_F(Tables, WindowSeesTheFrameFieldsEnterBeforeTheField) {
    clickOpen(writeSurvey(dir.file("s.gem"), 600));
    const QImage first = form->radargramImage();
    ui.MaskEdit1->setCursorPosition(0);
    QTest::keyClicks(ui.MaskEdit1, "00200");
    ASSERT_EQ(store->viewStart, 200);
    EXPECT_EQ(form->radargramImage(), first) << "typing alone does not redraw";

    // The field's own filter runs after the window's preview.
    struct Probe final : QObject {
        const TForm1* form;
        QImage seen;
        bool eventFilter(QObject*, QEvent* e) override {
            if (e->type() == QEvent::KeyPress &&
                static_cast<QKeyEvent*>(e)->key() == Qt::Key_Return)
                seen = form->radargramImage();
            return false;
        }
    } probe;
    probe.form = form.get();
    ui.MaskEdit1->installEventFilter(&probe);
    QTest::keyClick(ui.MaskEdit1, Qt::Key_Return);
    ui.MaskEdit1->removeEventFilter(&probe);
    ASSERT_FALSE(probe.seen.isNull());
    EXPECT_NE(probe.seen, first) << "the picture was redrawn before the field saw Enter";
    EXPECT_EQ(form->radargramImage(), probe.seen);
}

TEST_F(Tables, KeysTypedIntoATableReachIt) {
    form->show();
    ui.Panel_TGod->show();
    StringGrid* g = ui.StringGrid4;
    g->setFocus();
    g->setCurrentCell(2, 1);
    QTest::keyClicks(g, "7");
    auto* editor = g->viewport()->findChild<QLineEdit*>();
    ASSERT_NE(editor, nullptr) << "typing opened the cell's editor";
    EXPECT_EQ(editor->text(), "7");
    QTest::keyClicks(editor, ".25");
    QTest::keyClick(editor, Qt::Key_Return);
    QCoreApplication::processEvents(); // the editor hands its text over once the key is done
    EXPECT_EQ(g->cell(1, 2), "7.25");
    // A derived column does not open.
    g->setCurrentCell(2, 3);
    QTest::keyClicks(g, "5");
    EXPECT_EQ(g->cell(3, 2), "0");
}

} // namespace
} // namespace tesk::testing
