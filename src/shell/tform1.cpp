#include "shell/tform1.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QFrame>
#include <QLabel>
#include <QProgressBar>
#include <QScrollArea>
#include <QScrollBar>
#include <QStyle>
#include <QToolButton>

namespace tesk {

namespace {

constexpr int COMMAND_BAR_HEIGHT = 36;
const QColor WINDOW_BACKGROUND(0xC0, 0xDC, 0xC0); // money green
const QColor CHECKED_COLOUR(0x80, 0x00, 0x00);    // maroon
const QColor UNCHECKED_COLOUR(0x00, 0x00, 0x80);  // navy

QToolButton* commandButton(QWidget* parent, const char* name, QStyle::StandardPixmap glyph, int x) {
    auto* b = new QToolButton(parent);
    b->setObjectName(name);
    b->setIcon(parent->style()->standardIcon(glyph));
    b->setIconSize(QSize(22, 22));
    b->setGeometry(x, 2, 32, 32);
    b->setAutoRaise(true);
    return b;
}

QFrame* panel(QWidget* parent, const char* name) {
    auto* p = new QFrame(parent);
    p->setObjectName(name);
    p->setFrameShape(QFrame::Panel);
    p->setFrameShadow(QFrame::Raised);
    p->setAutoFillBackground(true);
    return p;
}

} // namespace

TForm1::TForm1(ProfileStore& store, Prompter& prompter, QWidget* parent)
    : QWidget(parent), store_(store), prompter_(prompter), interaction_(*this) {
    setObjectName("Form1");
    FormCreate();
}

TForm1::~TForm1() = default;

void TForm1::FormCreate() {
    setWindowTitle("Tesk");
    resize(1467, 756);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, WINDOW_BACKGROUND);
    setPalette(pal);
    setAutoFillBackground(true);
    setFont(QFont("MS Sans Serif", 8));

    buildCommandBar();

    ScrollBox1 = new QScrollArea(this);
    ScrollBox1->setObjectName("ScrollBox1");
    ScrollBox1->setGeometry(0, COMMAND_BAR_HEIGHT, width(), height() - COMMAND_BAR_HEIGHT);
    ScrollBox1->setFrameShape(QFrame::NoFrame);
    auto* area = new QWidget;
    area->setObjectName("ScrollBox1Area");
    area->setMinimumSize(1124, 612);
    ScrollBox1->setWidget(area);
    ScrollBox1->viewport()->setAutoFillBackground(false);
    area->setAutoFillBackground(false);

    buildOptionPanel();
    buildProgressPanel();
    Panel_1->raise();

    // The store starts empty: nothing is loaded, every derived view is stale.
    store_.stateFlags = state::Changed;
    AARR();
}

void TForm1::buildCommandBar() {
    Panel_1 = panel(this, "Panel_1");
    Panel_1->setGeometry(0, 0, width(), COMMAND_BAR_HEIGHT);
    SpeedButton1 = commandButton(Panel_1, "SpeedButton1", QStyle::SP_DialogOpenButton, 4);
    SpeedButton3 = commandButton(Panel_1, "SpeedButton3", QStyle::SP_DialogSaveButton, 38);
    SpeedButton4 = commandButton(Panel_1, "SpeedButton4", QStyle::SP_DialogCloseButton, 72);
    SpeedButton10 = commandButton(Panel_1, "SpeedButton10", QStyle::SP_FileDialogDetailedView, 116);
    SpeedButton10->setToolButtonStyle(Qt::ToolButtonTextOnly);
    SpeedButton10->setText("Options");
    SpeedButton10->setGeometry(116, 4, 56, 28);
    // Only open, close and the option panel are usable before a survey is loaded.
    SpeedButton3->setEnabled(false);
    connect(SpeedButton1, &QToolButton::clicked, this, [this] { SpeedButton1Click(); });
    connect(SpeedButton3, &QToolButton::clicked, this, [this] { SpeedButton3Click(); });
    connect(SpeedButton4, &QToolButton::clicked, this, [this] { SpeedButton4Click(); });
    connect(SpeedButton10, &QToolButton::clicked, this, [this] { SpeedButton10Click(); });
}

void TForm1::buildOptionPanel() {
    Panel_2 = panel(this, "Panel_2");
    Label_OPTION = new QLabel(Panel_2);
    Label_OPTION->setObjectName("Label_OPTION");
    Label_OPTION->setGeometry(4, 3, 300, 18);
    Panel_21 = panel(Panel_2, "Panel_21");
    Panel_21->setGeometry(1, 24, 200, 110);
    CheckBox1 = new QCheckBox(Panel_21);
    CheckBox1->setObjectName("CheckBox1");
    CheckBox1->setGeometry(8, 8, 180, 18);
    CheckBox1->setChecked(true); // the window starts in English
    applyCheckBoxColour(CheckBox1);
    connect(CheckBox1, &QCheckBox::toggled, this, [this] { CheckBox1Click(); });
    const int h21 = Panel_21->height();
    Panel_2->setGeometry(50, 550 - (h21 + 28), Panel_21->width() + 6, h21 + 28);
    Panel_2->hide();
}

void TForm1::buildProgressPanel() {
    Panel3 = panel(this, "Panel3");
    Panel3->setGeometry(10, COMMAND_BAR_HEIGHT + 10, 560, 88);
    Label1 = new QLabel(Panel3);
    Label1->setObjectName("Label1");
    Label1->setGeometry(10, 6, 540, 20);
    QPalette lp = Label1->palette();
    lp.setColor(QPalette::WindowText, CHECKED_COLOUR);
    Label1->setPalette(lp);
    Label2 = new QLabel(Panel3);
    Label2->setObjectName("Label2");
    Label2->setGeometry(10, 30, 540, 20);
    ProgressBar1 = new QProgressBar(Panel3);
    ProgressBar1->setObjectName("ProgressBar1");
    ProgressBar1->setGeometry(10, 56, 540, 20);
    ProgressBar1->setTextVisible(false);
    Panel3->hide();
    Panel3->setEnabled(false);
}

bool TForm1::english() const {
    return CheckBox1->isChecked();
}

void TForm1::applyCheckBoxColour(QCheckBox* box) {
    QPalette p = box->palette();
    p.setColor(QPalette::WindowText, box->isChecked() ? CHECKED_COLOUR : UNCHECKED_COLOUR);
    p.setColor(QPalette::ButtonText, box->isChecked() ? CHECKED_COLOUR : UNCHECKED_COLOUR);
    box->setPalette(p);
}

void TForm1::SpeedButton10Click() {
    // Left Ctrl toggles the panel between its short and its tall height.
    const int h21 = Panel_21->height();
    if (prompter_.modifiers().leftCtrl) {
        const int h = Panel_2->height() == h21 + 28 ? h21 + 138 : h21 + 28;
        Panel_2->resize(Panel_2->width(), h);
        return;
    }
    Panel_2->setVisible(!Panel_2->isVisible());
    if (Panel_2->isVisible()) Panel_2->raise();
}

void TForm1::CheckBox1Click() {
    setBit(store_.header.value[hdr::ViewFlags], hdr::English, CheckBox1->isChecked());
    applyCheckBoxColour(CheckBox1);
    AARR();
    if (Panel_2->isVisible()) Panel_2->setFocus();
}

void TForm1::AARR() {
    const bool en = english();
    CheckBox1->setText(en ? "Russian" : "Английский");
    SpeedButton1->setToolTip(en ? "Open File" : "Открыть файл");
    SpeedButton3->setToolTip(en ? "Save File" : "Сохранить файл");
    SpeedButton4->setToolTip(en ? "Close Program" : "Закрыть программу");
    SpeedButton10->setToolTip(en ? "Options of a file" : "Опции файла");
    Label_OPTION->setText(en ? " P A N E L  O P T I O N S" : "П А Н Е Л Ь   О П Ц И Й");
    Label1->setText(en ? "Please wait; there is a loading and processing of a file"
                       : "Пожалуйста подождите, идет загрузка и обработка файла");
}

void TForm1::restoreControlsFromHeader() {
    const bool en = store_.header.value[hdr::ViewFlags] & hdr::English;
    if (CheckBox1->isChecked() != en)
        CheckBox1->setChecked(en); // runs CheckBox1Click, which switches the language
    else
        AARR();
}

void TForm1::refreshHeaderFromControls() {
    setBit(store_.header.value[hdr::ViewFlags], hdr::English, CheckBox1->isChecked());
}

void TForm1::closeEvent(QCloseEvent* event) {
    if (closeAccepted_ || closing_) {
        FormClose();
        event->accept();
        return;
    }
    // A pass in progress keeps the window: its loader is still on the stack.
    if (store_.stateFlags & state::Busy) {
        event->ignore();
        return;
    }
    // The title-bar button asks the close command's questions too, so a
    // survey is never lost by a stray click.
    if (askToClose()) {
        FormClose();
        event->accept();
    } else {
        event->ignore();
    }
}

void TForm1::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    Panel_1->setGeometry(0, 0, width(), COMMAND_BAR_HEIGHT);
    ScrollBox1->setGeometry(0, COMMAND_BAR_HEIGHT, width(), height() - COMMAND_BAR_HEIGHT);
}

// --- progress panel -------------------------------------------------------

Answer WindowInteraction::show(const Message& m) {
    return form_.prompter().message(m, form_.english());
}

void WindowInteraction::passStarted(Pass pass, const std::string& path) {
    QApplication::setOverrideCursor(Qt::WaitCursor);
    form_.ScrollBox1->horizontalScrollBar()->setValue(0);
    form_.ScrollBox1->verticalScrollBar()->setValue(0);
    form_.AARR();
    if (pass == Pass::Save)
        form_.Label1->setText(form_.english()
                                  ? "Please wait for the process to save the file."
                                  : "Пожалуйста подождите, идет процесс сохранения файла");
    label1Caption_ = form_.Label1->text();
    form_.Label2->setText(QString::fromStdString(path));
    form_.ProgressBar1->setRange(0, 1);
    form_.ProgressBar1->setValue(0);
    form_.Panel3->setEnabled(true);
    form_.Panel3->show();
    form_.Panel3->raise();
    sinceUpdate_.start();
    QCoreApplication::processEvents();
}

void WindowInteraction::passTag(const std::string& tag) {
    form_.Label1->setText(label1Caption_ + QString::fromStdString(tag));
}

void WindowInteraction::progress(int64_t done, int64_t total) {
    // Repainting costs far more than reading a block of frames: the panel
    // and pending events are served at most every 50 ms.
    if (sinceUpdate_.isValid() && sinceUpdate_.elapsed() < 50 && done < total) return;
    sinceUpdate_.restart();
    form_.ProgressBar1->setRange(0, int(std::max<int64_t>(total, 1)));
    form_.ProgressBar1->setValue(int(std::min(done, total)));
    QCoreApplication::processEvents();
}

void WindowInteraction::passFinished() {
    form_.Label1->setText(label1Caption_);
    form_.Panel3->hide();
    form_.Panel3->setEnabled(false);
    while (QApplication::overrideCursor()) QApplication::restoreOverrideCursor();
}

} // namespace tesk
