// The floating panels: dragged by their title or body, three of them
// collapsed to a title strip and expanded again with the right button.

#include "shell/string_grid.h"
#include "shell/tform1.h"
#include "shell/widgets.h"

#include "display/overlay.h"

#include <QEvent>
#include <QFrame>
#include <QGuiApplication>
#include <QHeaderView>
#include <QLabel>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QScreen>
#include <QToolButton>
#include <algorithm>

namespace tesk {

namespace {

QFrame* floatingPanel(QWidget* parent, const char* name, QRect geometry) {
    auto* p = new QFrame(parent);
    p->setObjectName(name);
    p->setFrameShape(QFrame::Panel);
    p->setFrameShadow(QFrame::Raised);
    p->setAutoFillBackground(true);
    p->setGeometry(geometry);
    p->hide();
    return p;
}

QLabel* title(QWidget* parent, const char* name) {
    auto* l = new QLabel(parent);
    l->setObjectName(name);
    l->setGeometry(6, 4, 360, 16);
    l->adjustSize();
    return l;
}

QFrame* innerPanel(QWidget* parent, const char* name, QRect geometry) {
    auto* p = new QFrame(parent);
    p->setObjectName(name);
    p->setFrameShape(QFrame::Panel);
    p->setGeometry(geometry);
    return p;
}

// Moves a panel while the mouse is held on one of its sources, as a window
// is moved by its caption; a right-button press collapses or expands the
// panels that can be collapsed, once the move is over.
class PanelDragger final : public QObject {
  public:
    PanelDragger(TForm1& form, QWidget* target) : QObject(&form), form_(form), target_(target) {}

  protected:
    bool eventFilter(QObject* watched, QEvent* e) override {
        auto* w = static_cast<QWidget*>(watched);
        switch (e->type()) {
        case QEvent::MouseButtonPress: {
            auto* m = static_cast<QMouseEvent*>(e);
            grab_ = m->globalPosition().toPoint() - target_->pos();
            dragging_ = true;
            moved_ = false;
            target_->raise();
            if (m->button() == Qt::LeftButton) form_.PanelMouseDown(w, Qt::LeftButton);
            // Taken here, so the panel under a title does not start a
            // second move or toggle the collapse back.
            return true;
        }
        case QEvent::MouseMove:
            if (dragging_) {
                auto* m = static_cast<QMouseEvent*>(e);
                target_->move(m->globalPosition().toPoint() - grab_);
                moved_ = true;
                return true;
            }
            return false;
        case QEvent::MouseButtonRelease: {
            dragging_ = false;
            auto* m = static_cast<QMouseEvent*>(e);
            if (m->button() == Qt::RightButton) form_.PanelMouseDown(w, Qt::RightButton);
            return true;
        }
        default:
            return false;
        }
    }

  private:
    TForm1& form_;
    QWidget* target_;
    QPoint grab_;
    bool dragging_ = false;
    bool moved_ = false;
};

// Velocity and depth table: captions in column 0, the model at the cursor
// frame in column 1, measurement points 1..63 in columns 2..64. The panel's
// "G" and "V" labels grow and shrink it by one column or row at a time.
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

// Coordinates of two frames: the second point in column 1, the cursor frame
// in column 2; the cursor frame's position and name rows stay read-only.
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

void dragWith(TForm1& form, QWidget* target, std::initializer_list<QWidget*> sources) {
    auto* d = new PanelDragger(form, target);
    for (QWidget* s : sources) s->installEventFilter(d);
}

} // namespace

void TForm1::buildFloatingPanels() {
    // The coordinates panel starts with its GPS area folded (408 px; 528 px
    // with it).
    Panel_CORD = floatingPanel(this, "Panel_CORD", QRect(47, 60, 700, 408));
    Label_CRD = title(Panel_CORD, "Label_CRD");
    StringGrid7 = coordinatesTable(Panel_CORD);
    // The table panels are as large as their tables.
    Panel_TVSL = floatingPanel(this, "Panel_TVSL", QRect(644, 50, 0, 0));
    Label_TVSL = title(Panel_TVSL, "Label_TVSL");
    StringGrid1 = velocityDepthTable(Panel_TVSL);
    Panel_TVSL->resize(StringGrid1->width() + 8, StringGrid1->y() + StringGrid1->height() + 8);
    Panel_TGod = floatingPanel(this, "Panel_TGod", QRect(612, 50, 0, 0));
    Label_GDRF = title(Panel_TGod, "Label_GDRF");
    StringGrid4 = hodographTable(Panel_TGod);
    Panel_TGod->resize(StringGrid4->width() + 2, StringGrid4->height() + 54);
    Panel_Kratnik = floatingPanel(this, "Panel_Kratnik", QRect(612, 50, 0, 0));
    Label_KRT = title(Panel_Kratnik, "Label_KRT");
    StringGrid5 = echoTable(Panel_Kratnik);
    Panel_Kratnik->resize(StringGrid5->width() + 2, StringGrid5->height() + 54);
    Panel50 = floatingPanel(this, "Panel50", QRect(1174, 50, 260, 604));
    Panel51 = innerPanel(Panel50, "Panel51", QRect(2, 2, 256, 20));
    auto* caption51 = new QLabel(Panel51);
    caption51->setObjectName("Panel51Caption");
    caption51->setGeometry(2, 2, 250, 16);
    Panel52 = innerPanel(Panel50, "Panel52", QRect(2, 556, 256, 20));
    auto* caption52 = new QLabel("VA  ", Panel52);
    caption52->setObjectName("Panel52Caption");
    caption52->setGeometry(2, 2, 190, 16);
    // The chosen amplitude one code down / up; usable in the chosen-amplitude
    // mode only.
    SpeedButton51 = new QToolButton(Panel52);
    SpeedButton51->setObjectName("SpeedButton51");
    SpeedButton51->setText("<<");
    SpeedButton51->setGeometry(194, 1, 29, 18);
    SpeedButton52 = new QToolButton(Panel52);
    SpeedButton52->setObjectName("SpeedButton52");
    SpeedButton52->setText(">>");
    SpeedButton52->setGeometry(224, 1, 29, 18);
    SpeedButton51->setEnabled(false);
    SpeedButton52->setEnabled(false);
    // The zero / gain buttons under the readouts.
    const std::pair<QToolButton**, const char*> gainButtons[] = {{&SpeedButton53, "SpeedButton53"},
                                                                 {&SpeedButton54, "SpeedButton54"},
                                                                 {&SpeedButton55, "SpeedButton55"}};
    for (int i = 0; i < 3; ++i) {
        auto* b = new QToolButton(Panel50);
        b->setObjectName(gainButtons[i].second);
        b->setGeometry(2 + 86 * i, 579, 84, 22);
        *gainButtons[i].first = b;
    }
    SpeedButton53->setText("<<");
    SpeedButton54->setText("0");
    SpeedButton55->setText(">>");
    // The A-scan panel stands right of the picture when the screen has room
    // for it, else against the screen's right edge.
    const QScreen* screen = QGuiApplication::primaryScreen();
    const int screenWidth = screen ? screen->geometry().width() : 1467;
    // The relief overlay over the radargram is 1024 pixels wide and starts
    // at the picture origin 50 pixels in; as much again is left after it.
    constexpr int RELIEF_OVERLAY_WIDTH = 1024;
    int left = RELIEF_OVERLAY_WIDTH + 2 * 50;
    if (left + Panel50->width() > screenWidth) left = screenWidth - Panel50->width() - 10;
    Panel50->move(std::max(left, 0), Panel50->y());
    Panel_3D = floatingPanel(this, "Panel_3D", QRect(900, 60, 300, 400));
    Label80 = title(Panel_3D, "Label80");
    Panel6 = floatingPanel(this, "Panel6", QRect(300, 60, 512, 576));
    Panel61 = innerPanel(Panel6, "Panel61", QRect(2, 2, 508, 20));
    auto* caption61 = new QLabel("TEST", Panel61);
    caption61->setObjectName("Panel61Caption");
    caption61->setGeometry(4, 2, 100, 16);
    Panel62 = innerPanel(Panel6, "Panel62", QRect(2, 24, 508, 550));
    Memo1 = new QPlainTextEdit(Panel62);
    Memo1->setObjectName("Memo1");
    Memo1->setReadOnly(true);
    Memo1->setGeometry(4, 4, 500, 542);

    dragWith(*this, Panel_2,
             {Panel_2, Panel_21, Panel_22, Panel_23, Panel_24, Panel_25, Panel_26, Label_OPTION});
    dragWith(*this, Panel_CORD, {Panel_CORD, Label_CRD});
    dragWith(*this, Panel6, {Panel6, Panel61, Panel62});
    dragWith(*this, Panel50, {Panel50, Panel51, Panel52});
    dragWith(*this, Panel_3D, {Panel_3D, Label80});
    dragWith(*this, Panel_TVSL, {Panel_TVSL, Label_TVSL});
    dragWith(*this, Panel_TGod, {Panel_TGod, Label_GDRF});
    dragWith(*this, Panel_Kratnik, {Panel_Kratnik, Label_KRT});
}

void TForm1::PanelMouseDown(QWidget* source, Qt::MouseButton button) {
    // Left Ctrl on the option panel's title: short or a little taller.
    if (source == Label_OPTION && button == Qt::LeftButton && prompter_.modifiers().leftCtrl) {
        const int h21 = Panel_21->height();
        Panel_2->resize(Panel_2->width(), Panel_2->height() == h21 + 28 ? h21 + 60 : h21 + 28);
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
