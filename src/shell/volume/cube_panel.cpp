#include "shell/volume/cube_panel.h"

#include "shell/widgets/controls.h"
#include "shell/widgets/floating_panel.h"
#include "shell/widgets/image_widgets.h"

#include <QCheckBox>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QSlider>
#include <QToolButton>

namespace tesk {

namespace {

// clang-format off
const CaptionRow CAPTIONS[] = {
    {"Label80", CaptionKind::Caption, -1, "P A N E L   3D", "П А Н Е Л Ь   3D"},
    {"CheckBox61", CaptionKind::Caption, -1, "Cube Edges", "Грань Куба"},
    {"CheckBox63", CaptionKind::Caption, -1, "Points", "Точки"},
    {"CheckBox64", CaptionKind::Caption, -1, "Cursor", "Курсор"},
    {"CheckBox66", CaptionKind::Caption, -1, "Layers", "Слои"},
    {"RadioGroup1_0", CaptionKind::Caption, -1, "  Plane XY  ", "  План XY  "},
    {"RadioGroup1_1", CaptionKind::Caption, -1, "  Plane TX", "  План TX"},
    {"RadioGroup1_2", CaptionKind::Caption, -1, "  Plane TY", "  План TY"},
    // The Russian item 0 reads "Гранина" on the form.
    {"RadioGroup2_0", CaptionKind::Caption, -1, "  1  Border", "  1  Гранина"},
    {"RadioGroup2_1", CaptionKind::Caption, -1, "  2  Border", "  2  Граница"},
    {"RadioGroup2_2", CaptionKind::Caption, -1, "  3  Border", "  3  Граница"},
    {"RadioGroup2_3", CaptionKind::Caption, -1, "  4  Border", "  4  Граница"},
    {"RadioGroup2_4", CaptionKind::Caption, -1, "  5  Border", "  5  Граница"},
    {"RadioGroup2_5", CaptionKind::Caption, -1, "  6  Border", "  6  Граница"},
    {"RadioGroup2_6", CaptionKind::Caption, -1, "  7  Border", "  7  Граница"},
};
// clang-format on

constexpr int ROW = 18;         // one track bar row
constexpr int TOP = 24;         // first row, under the title
constexpr int LEFT_WIDTH = 252; // caption, bar and value
constexpr int RIGHT_X = 258;    // the column of the boxes and lists
constexpr int RIGHT_WIDTH = 150;
constexpr int PANEL_WIDTH = RIGHT_X + RIGHT_WIDTH + 6;
constexpr int PANEL_HEIGHT = TOP + 21 * ROW + 12;

QString name(const char* prefix, int n) {
    return QString(prefix) + QString::number(n);
}

// The value labels of the amplitude windows and of K reset their bar too.
bool valueLabelResets(Bar b) {
    return b == Bar::A1 || b == Bar::A2 || b == Bar::A3 || b == Bar::A4 || b == Bar::K;
}

QGroupBox* radioGroup(QWidget* parent, const char* groupName, int items, QRadioButton** buttons) {
    auto* g = new QGroupBox(parent);
    g->setObjectName(groupName);
    for (int i = 0; i < items; ++i) {
        auto* r = new QRadioButton(g);
        r->setObjectName(QString(groupName) + "_" + QString::number(i));
        r->setGeometry(6, 6 + 18 * i, RIGHT_WIDTH - 12, 18);
        buttons[i] = r;
    }
    buttons[0]->setChecked(true);
    g->resize(RIGHT_WIDTH, 10 + 18 * items);
    return g;
}

} // namespace

// The named members of the bars and their labels.
struct CubePanel::BarMembers {
    int number; // N of TrackBarN
    QSlider* CubePanel::*bar;
    ClickLabel* CubePanel::*caption;
    ClickLabel* CubePanel::*value;
};
// clang-format off
const CubePanel::BarMembers CubePanel::BAR_MEMBERS[] = {
    {1, &CubePanel::TrackBar1, &CubePanel::Label101, &CubePanel::Label201},
    {2, &CubePanel::TrackBar2, &CubePanel::Label102, &CubePanel::Label202},
    {3, &CubePanel::TrackBar3, &CubePanel::Label103, &CubePanel::Label203},
    {4, &CubePanel::TrackBar4, &CubePanel::Label104, &CubePanel::Label204},
    {5, &CubePanel::TrackBar5, &CubePanel::Label105, &CubePanel::Label205},
    {6, &CubePanel::TrackBar6, &CubePanel::Label106, &CubePanel::Label206},
    {7, &CubePanel::TrackBar7, &CubePanel::Label107, &CubePanel::Label207},
    {9, &CubePanel::TrackBar9, &CubePanel::Label109, &CubePanel::Label209},
    {10, &CubePanel::TrackBar10, &CubePanel::Label110, &CubePanel::Label210},
    {11, &CubePanel::TrackBar11, &CubePanel::Label111, &CubePanel::Label211},
    {12, &CubePanel::TrackBar12, &CubePanel::Label112, &CubePanel::Label212},
    {13, &CubePanel::TrackBar13, &CubePanel::Label113, &CubePanel::Label213},
    {14, &CubePanel::TrackBar14, &CubePanel::Label114, &CubePanel::Label214},
    {15, &CubePanel::TrackBar15, &CubePanel::Label115, &CubePanel::Label215},
    {16, &CubePanel::TrackBar16, &CubePanel::Label116, &CubePanel::Label216},
    {17, &CubePanel::TrackBar17, &CubePanel::Label117, &CubePanel::Label217},
    {18, &CubePanel::TrackBar18, &CubePanel::Label118, &CubePanel::Label218},
    {20, &CubePanel::TrackBar20, &CubePanel::Label120, &CubePanel::Label220},
    {21, &CubePanel::TrackBar21, &CubePanel::Label121, &CubePanel::Label221},
    {24, &CubePanel::TrackBar24, &CubePanel::Label124, &CubePanel::Label224},
    {25, &CubePanel::TrackBar25, &CubePanel::Label125, &CubePanel::Label225},
};
// clang-format on

CubePanel::CubePanel(ShellServices& services, QWidget& window) : ShellPanel(services) {
    Panel_3D = floatingPanel(&window, "Panel_3D", QRect(1040, 40, PANEL_WIDTH, PANEL_HEIGHT));
    Label80 = panelTitle(Panel_3D, "Label80");
    const Panel3D start;
    for (Bar b : PANEL_BARS) {
        const int n = int(b);
        const BarRange r = barRange(b);
        auto* caption = new ClickLabel(Panel_3D, "");
        caption->setObjectName(name("Label", 100 + n));
        caption->setText(r.caption);
        caption->setCursor(Qt::PointingHandCursor);
        auto* bar = new QSlider(Qt::Horizontal, Panel_3D);
        bar->setObjectName(name("TrackBar", n));
        bar->setRange(r.min, r.max);
        bar->setValue(start.position(b));
        bar->setFocusPolicy(Qt::StrongFocus);
        auto* value = new ClickLabel(Panel_3D, "");
        value->setObjectName(name("Label", 200 + n));
        value->setText(QString::number(start.position(b)));
        if (valueLabelResets(b)) value->setCursor(Qt::PointingHandCursor);
        bars_[std::size_t(n)] = bar;
        captions_[std::size_t(n)] = caption;
        values_[std::size_t(n)] = value;
    }
    static_assert(std::size(BAR_MEMBERS) == std::size(PANEL_BARS));
    for (const BarMembers& m : BAR_MEMBERS) {
        const std::size_t n = std::size_t(m.number);
        this->*m.bar = bars_[n];
        this->*m.caption = captions_[n];
        this->*m.value = values_[n];
    }
    GroupBox1 = new QGroupBox(Panel_3D);
    GroupBox1->setObjectName("GroupBox1");
    GroupBox1->resize(RIGHT_WIDTH, 82);
    CheckBox61 = checkBox(GroupBox1, "CheckBox61", 6, 4, RIGHT_WIDTH - 12);
    CheckBox63 = checkBox(GroupBox1, "CheckBox63", 6, 22, RIGHT_WIDTH - 12);
    CheckBox64 = checkBox(GroupBox1, "CheckBox64", 6, 40, RIGHT_WIDTH - 12);
    CheckBox66 = checkBox(GroupBox1, "CheckBox66", 6, 58, RIGHT_WIDTH - 12);
    CheckBox61->setChecked(start.cubeEdges);
    CheckBox63->setChecked(start.points);
    CheckBox64->setChecked(start.cursor);
    CheckBox66->setChecked(start.layers);
    RadioGroup1 = radioGroup(Panel_3D, "RadioGroup1", 3, RadioGroup1Items.data());
    SpeedButton_ADD_CUT = new QToolButton(Panel_3D);
    SpeedButton_ADD_CUT->setObjectName("SpeedButton_ADD_CUT");
    SpeedButton_ADD_CUT->setText("ADD CUT");
    SpeedButton_ADD_CUT->resize(RIGHT_WIDTH, 22);
    CheckListBox2 = new QListWidget(Panel_3D);
    CheckListBox2->setObjectName("CheckListBox2");
    RadioGroup2 = radioGroup(Panel_3D, "RadioGroup2", 7, RadioGroup2Items.data());
    CheckListBox1 = new QListWidget(Panel_3D);
    CheckListBox1->setObjectName("CheckListBox1");
    for (QListWidget* l : {CheckListBox1, CheckListBox2}) {
        l->resize(RIGHT_WIDTH, 13 * 4);
        QFont f = l->font();
        f.setPointSize(7);
        l->setFont(f);
    }
    showSections(SectionList{});
    arrange(0x40);
}

std::span<const CaptionRow> CubePanel::captions() const {
    return CAPTIONS;
}

void CubePanel::applyLanguage(bool) {
    Label80->adjustSize();
}

void CubePanel::arrange(int view) {
    const PanelLayout l = panelLayout(view);
    auto shownBar = [&](Bar b) {
        switch (b) {
        case Bar::A:
        case Bar::B:
        case Bar::C:
            return l.sectionBars;
        case Bar::A1:
        case Bar::A2:
        case Bar::A3:
        case Bar::A4:
        case Bar::T1:
        case Bar::T2:
            return l.windows;
        case Bar::K:
            return l.k;
        case Bar::H:
        case Bar::D:
            return l.carpetBars;
        default: // the camera and the cursor
            return true;
        }
    };
    int y = TOP;
    for (Bar b : PANEL_BARS) {
        const bool on = shownBar(b);
        QWidget* row[] = {captionLabel(b), trackBar(b), valueLabel(b)};
        for (QWidget* w : row) w->setVisible(on);
        if (!on) continue;
        captionLabel(b)->setGeometry(4, y, 24, ROW);
        trackBar(b)->setGeometry(30, y, LEFT_WIDTH - 68, ROW);
        valueLabel(b)->setGeometry(LEFT_WIDTH - 34, y, 34, ROW);
        y += ROW;
    }
    trackBar(Bar::Kt)->setEnabled(l.ktEnabled);
    // The right column: the drawing options, then the mode's lists.
    int r = TOP;
    GroupBox1->move(RIGHT_X, r);
    CheckBox66->setVisible(l.layersBox);
    GroupBox1->resize(RIGHT_WIDTH, l.layersBox ? 82 : 64);
    r += GroupBox1->height() + 4;
    for (QWidget* w :
         std::initializer_list<QWidget*>{RadioGroup1, SpeedButton_ADD_CUT, CheckListBox2})
        w->setVisible(l.sectionControls);
    RadioGroup2->setVisible(l.boundaryGroup);
    CheckListBox1->setVisible(l.profileList);
    if (l.sectionControls) {
        RadioGroup1->move(RIGHT_X, r);
        r += RadioGroup1->height() + 4;
        SpeedButton_ADD_CUT->move(RIGHT_X, r);
        r += SpeedButton_ADD_CUT->height() + 4;
        CheckListBox2->move(RIGHT_X, r);
    }
    if (l.boundaryGroup) {
        RadioGroup2->move(RIGHT_X, r);
        r += RadioGroup2->height() + 4;
    }
    if (l.profileList) CheckListBox1->move(RIGHT_X, r);
}

void CubePanel::mirror(const Panel3D& values) {
    mirroring_ = true;
    for (Bar b : PANEL_BARS) {
        const QSignalBlocker quiet(trackBar(b));
        trackBar(b)->setValue(values.position(b));
        valueLabel(b)->setText(QString::number(values.position(b)));
    }
    for (auto [box, on] :
         {std::pair{CheckBox61, values.cubeEdges}, std::pair{CheckBox63, values.points},
          std::pair{CheckBox64, values.cursor}, std::pair{CheckBox66, values.layers}}) {
        const QSignalBlocker quiet(box);
        box->setChecked(on);
    }
    mirroring_ = false;
}

void CubePanel::showProfiles(const std::vector<std::string>& items, int height) {
    mirroring_ = true;
    const QSignalBlocker quiet(CheckListBox1);
    CheckListBox1->clear();
    for (const std::string& s : items) {
        auto* it = new QListWidgetItem(QString::fromStdString(s), CheckListBox1);
        it->setFlags(it->flags() | Qt::ItemIsUserCheckable);
        it->setCheckState(Qt::Checked);
    }
    CheckListBox1->resize(RIGHT_WIDTH, std::max(height, 13));
    mirroring_ = false;
}

void CubePanel::showSections(const SectionList& sections) {
    mirroring_ = true;
    const QSignalBlocker quiet(CheckListBox2);
    CheckListBox2->clear();
    for (std::size_t k = 0; k < sections.items.size(); ++k) {
        auto* it = new QListWidgetItem(QString::fromStdString(sections.items[k]), CheckListBox2);
        it->setFlags(it->flags() | Qt::ItemIsUserCheckable);
        it->setCheckState(k < sections.checked.size() && sections.checked[k] ? Qt::Checked
                                                                             : Qt::Unchecked);
    }
    CheckListBox2->setCurrentRow(sections.selected);
    CheckListBox2->resize(RIGHT_WIDTH, sections.listHeight());
    mirroring_ = false;
}

std::vector<bool> CubePanel::profilesChecked() const {
    std::vector<bool> on;
    for (int i = 0; i < CheckListBox1->count(); ++i)
        on.push_back(CheckListBox1->item(i)->checkState() == Qt::Checked);
    return on;
}

int CubePanel::radioItem(const QGroupBox* group) const {
    const auto buttons = group->findChildren<QRadioButton*>();
    for (QRadioButton* b : buttons)
        if (b->isChecked()) return b->objectName().section('_', -1).toInt();
    return 0;
}

} // namespace tesk
