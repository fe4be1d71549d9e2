#include "shell/window/progress_panel.h"

#include "shell/prompts/prompter.h"
#include "shell/widgets/controls.h"
#include "volume/messages.h"

#include <QApplication>
#include <QFrame>
#include <QLabel>
#include <QProgressBar>
#include <QScrollArea>
#include <QScrollBar>
#include <algorithm>

namespace tesk {

namespace {
// The velocity scan reports the sample row it examines, of 511.
constexpr int SCAN_ROWS = 511;

// clang-format off
const CaptionRow CAPTIONS[] = {
    {"Label1", CaptionKind::Caption, -1, "Please wait; there is a loading and processing of a file", "Пожалуйста подождите, идет загрузка и обработка файла"},
};
// clang-format on
} // namespace

ProgressPanel::ProgressPanel(ShellServices& services, QWidget& window, int top)
    : ShellPanel(services) {
    Panel3 = new QFrame(&window);
    Panel3->setObjectName("Panel3");
    Panel3->setFrameShape(QFrame::Panel);
    Panel3->setFrameShadow(QFrame::Raised);
    Panel3->setAutoFillBackground(true);
    Panel3->setGeometry(10, top + 10, 560, 88);
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

std::span<const CaptionRow> ProgressPanel::captions() const {
    return CAPTIONS;
}

Answer ProgressPanel::show(const Message& m) {
    return services_.prompter().message(m, services_.english());
}

void ProgressPanel::passStarted(Pass pass, const std::string& path) {
    QApplication::setOverrideCursor(Qt::WaitCursor);
    if (scrollArea_) {
        scrollArea_->horizontalScrollBar()->setValue(0);
        scrollArea_->verticalScrollBar()->setValue(0);
    }
    const bool en = services_.english();
    pass_ = pass;
    if (pass == Pass::Volume)
        Label1->setText(QString::fromStdString(msg::volumePassCaption().text(en)));
    else if (pass == Pass::Save)
        Label1->setText(en ? "Please wait for the process to save the file."
                           : "Пожалуйста подождите, идет процесс сохранения файла");
    else if (pass == Pass::Scan)
        Label1->setText(en ? "Please wait; the velocity scan is running"
                           : "Пожалуйста подождите, идет расчёт скорости");
    else
        Label1->setText(en ? "Please wait; there is a loading and processing of a file"
                           : "Пожалуйста подождите, идет загрузка и обработка файла");
    label1Caption_ = Label1->text();
    // The scan names no file: Label2 shows the row it examines.
    Label2->setText(pass == Pass::Scan ? QString() : QString::fromStdString(path));
    ProgressBar1->setRange(0, pass == Pass::Scan ? SCAN_ROWS : 1);
    ProgressBar1->setValue(0);
    Panel3->setEnabled(true);
    Panel3->show();
    Panel3->raise();
    sinceUpdate_.start();
    QCoreApplication::processEvents();
}

void ProgressPanel::passTag(const std::string& tag) {
    Label1->setText(label1Caption_ + QString::fromStdString(tag));
}

void ProgressPanel::progress(int64_t done, int64_t total) {
    if (pass_ == Pass::Scan) Label2->setText(QString::number(done));
    // Repainting costs far more than reading a block of frames: the panel
    // and pending events are served at most every 50 ms.
    if (sinceUpdate_.isValid() && sinceUpdate_.elapsed() < 50 && done < total) return;
    sinceUpdate_.restart();
    ProgressBar1->setRange(0, int(std::max<int64_t>(total, 1)));
    ProgressBar1->setValue(int(std::min(done, total)));
    QCoreApplication::processEvents();
}

void ProgressPanel::passFinished() {
    services_.applyLanguage();
    Panel3->hide();
    Panel3->setEnabled(false);
    while (QApplication::overrideCursor()) QApplication::restoreOverrideCursor();
}

} // namespace tesk
