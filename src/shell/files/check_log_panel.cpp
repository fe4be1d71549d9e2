#include "shell/files/check_log_panel.h"

#include "shell/widgets/controls.h"
#include "shell/widgets/floating_panel.h"

#include <QFrame>
#include <QLabel>
#include <QPlainTextEdit>

namespace tesk {

CheckLogPanel::CheckLogPanel(ShellServices& services, QWidget& window) : ShellPanel(services) {
    Panel6 = floatingPanel(&window, "Panel6", QRect(300, 60, 512, 576));
    Panel61 = innerPanel(Panel6, "Panel61", 2, 2, 508, 20);
    auto* caption61 = new QLabel("TEST", Panel61);
    caption61->setObjectName("Panel61Caption");
    caption61->setGeometry(4, 2, 100, 16);
    Panel62 = innerPanel(Panel6, "Panel62", 2, 24, 508, 550);
    Memo1 = new QPlainTextEdit(Panel62);
    Memo1->setObjectName("Memo1");
    Memo1->setReadOnly(true);
    Memo1->setGeometry(4, 4, 500, 542);
}

void CheckLogPanel::connectHandlers() {
    dragWith(Panel6, Panel6, {Panel6, Panel61, Panel62});
}

void CheckLogPanel::showCheckLog(const std::vector<std::string>& lines) {
    Memo1->clear();
    QStringList text;
    for (const std::string& l : lines) text << QString::fromStdString(l);
    Memo1->setPlainText(text.join('\n'));
    if (!lines.empty()) {
        Panel6->show();
        Panel6->raise();
    }
}

} // namespace tesk
