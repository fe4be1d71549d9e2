// Start-up of the main window, its size handling and the progress panel.

#include "shell/tform1.h"

#include "shell/radargram_engine.h"
#include "shell/widgets.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QProgressBar>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QToolButton>

namespace tesk {

namespace {
constexpr int COMMAND_BAR_HEIGHT = 36;
const QColor WINDOW_BACKGROUND(0xC0, 0xDC, 0xC0); // money green
const QColor CHECKED_COLOUR(0x80, 0x00, 0x00);    // maroon
const QColor UNCHECKED_COLOUR(0x00, 0x00, 0x80);  // navy

// Key preview: the window sees every key pressed in it before the control
// with the focus does. A key that control leaves unused travels on to its
// parents; those later deliveries of the same press are not shown again.
class KeyPreview final : public QObject {
  public:
    explicit KeyPreview(TForm1& form) : QObject(&form), form_(form) {
        QCoreApplication::instance()->installEventFilter(this);
    }

  protected:
    bool eventFilter(QObject* watched, QEvent* e) override {
        if (e->type() == QEvent::KeyRelease) {
            pressed_ = nullptr;
            receiver_ = nullptr;
            return false;
        }
        if (e->type() != QEvent::KeyPress || !watched->isWidgetType()) return false;
        auto* w = static_cast<QWidget*>(watched);
        if (w != &form_ && !form_.isAncestorOf(w)) return false; // another window's key
        if (e == pressed_ && receiver_ && w != receiver_ && w->isAncestorOf(receiver_))
            return false;
        pressed_ = e;
        receiver_ = w;
        return form_.FormKeyPress(w, static_cast<QKeyEvent*>(e)->key());
    }

  private:
    TForm1& form_;
    const QEvent* pressed_ = nullptr;
    QPointer<QWidget> receiver_;
};
} // namespace

TForm1::TForm1(ProfileStore& store, Prompter& prompter, QWidget* parent)
    : QWidget(parent), store_(store), prompter_(prompter), interaction_(*this),
      engine_(std::make_unique<RadargramEngine>()) {
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
    // The window is designed in "MS Sans Serif"; Debian's metric-compatible
    // sans face stands in for it wherever the window is built.
    if (QFont::substitutes("MS Sans Serif").isEmpty())
        QFont::insertSubstitution("MS Sans Serif", "Liberation Sans");
    setFont(QFont("MS Sans Serif", 8));
    view_ = ViewState{};

    buildCommandBar();
    buildRadargramArea();
    buildOptionPanel();
    buildFloatingPanels();
    buildProgressPanel();
    connectHandlers();
    connectColourControls();
    new KeyPreview(*this);

    // The store starts empty: nothing is loaded, every derived view is stale.
    store_.stateFlags = state::Changed;
    store_.header.setStartValues();
    restoring_ = true;
    restoreControlsFromHeader();
    // The colour boxes start on 255 each; the layer colours in the header
    // are taken over only from a file.
    for (QComboBox* c : {ComboBox32, ComboBox33, ComboBox34}) c->setCurrentIndex(255);
    restoring_ = false;
    // Every floating panel starts hidden; the A-scan panel appears with the
    // first survey when "Функция" is on.
    Panel50->hide();
    CheckBox1->setChecked(true); // the window is designed in English
    applyCheckBoxColour(CheckBox1);
    setCommandsEnabled(false);
    Panel_1->raise();
    AARR();
    DrawView();
}

void TForm1::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    FormResize();
}

void TForm1::FormResize() {
    if (!Panel_1) return;
    Panel_1->setGeometry(0, 0, width(), COMMAND_BAR_HEIGHT);
    ScrollBox1->setGeometry(0, COMMAND_BAR_HEIGHT, width(), height() - COMMAND_BAR_HEIGHT);
}

bool TForm1::FormKeyPress(QWidget* target, int key) {
    // The frame field: Enter draws the frame typed into it.
    if (target == MaskEdit1) Edit1KeyPress(key);
    return false;
}

bool TForm1::english() const {
    return CheckBox1->isChecked();
}

void TForm1::applyCheckBoxColour(QCheckBox* box) {
    QPalette p = box->palette();
    const QColor c = box->isChecked() ? CHECKED_COLOUR : UNCHECKED_COLOUR;
    p.setColor(QPalette::WindowText, c);
    p.setColor(QPalette::ButtonText, c);
    box->setPalette(p);
}

void TForm1::focusOptionPanel() {
    if (Panel_2->isVisible()) Panel_2->setFocus();
}

void TForm1::setCommandsEnabled(bool on) {
    // Open, close and the option panel are always usable; every other
    // command waits for a survey.
    for (QToolButton* b :
         {SpeedButton3,  SpeedButton5,  SpeedButton6,  SpeedButton7,  SpeedButton8,  SpeedButton9,
          SpeedButton11, SpeedButton12, SpeedButton13, SpeedButton14, SpeedButton15, SpeedButton16,
          SpeedButton17, SpeedButton18, SpeedButton20, SpeedButton21, SpeedButton22, SpeedButton23,
          SpeedButton24, SpeedButton25, SpeedButton26, SpeedButton27, SpeedButton28, SpeedButton29,
          SpeedButton30, SpeedButton31, SpeedButton32, SpeedButton35})
        b->setEnabled(on);
    // Commands whose tools are not in this version stay off.
    for (QToolButton* b :
         {SpeedButton6, SpeedButton7, SpeedButton8, SpeedButton9, SpeedButton11, SpeedButton12,
          SpeedButton13, SpeedButton14, SpeedButton15, SpeedButton16, SpeedButton26, SpeedButton27,
          SpeedButton28, SpeedButton29, SpeedButton30, SpeedButton31, SpeedButton32, SpeedButton35})
        b->setEnabled(false);
    MaskEdit1->setEnabled(on);
}

void TForm1::closeEvent(QCloseEvent* event) {
    if (closeAccepted_ || closing_) {
        FormClose();
        event->accept();
        return;
    }
    // A pass in progress keeps the window: its loader is still on the stack.
    if (busy()) {
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

// --- progress panel -------------------------------------------------------

void TForm1::buildProgressPanel() {
    Panel3 = new QFrame(this);
    Panel3->setObjectName("Panel3");
    Panel3->setFrameShape(QFrame::Panel);
    Panel3->setFrameShadow(QFrame::Raised);
    Panel3->setAutoFillBackground(true);
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

Answer WindowInteraction::show(const Message& m) {
    return form_.prompter().message(m, form_.english());
}

void WindowInteraction::passStarted(Pass pass, const std::string& path) {
    QApplication::setOverrideCursor(Qt::WaitCursor);
    form_.ScrollBox1->horizontalScrollBar()->setValue(0);
    form_.ScrollBox1->verticalScrollBar()->setValue(0);
    form_.Label1->setText(
        pass == Pass::Save
            ? (form_.english() ? "Please wait for the process to save the file."
                               : "Пожалуйста подождите, идет процесс сохранения файла")
            : (form_.english() ? "Please wait; there is a loading and processing of a file"
                               : "Пожалуйста подождите, идет загрузка и обработка файла"));
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
    form_.AARR();
    form_.Panel3->hide();
    form_.Panel3->setEnabled(false);
    while (QApplication::overrideCursor()) QApplication::restoreOverrideCursor();
}

} // namespace tesk
