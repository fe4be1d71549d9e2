#pragma once
// The test panel Panel6: the check log of the device-recording decoder in
// Memo1, shown when the decoder found something to report.

#include "shell/window/panel.h"

#include <string>
#include <vector>

class QFrame;
class QPlainTextEdit;

namespace tesk {

class CheckLogPanel final : public ShellPanel {
  public:
    CheckLogPanel(ShellServices& services, QWidget& window);

    QFrame *Panel6 = nullptr, *Panel61 = nullptr, *Panel62 = nullptr;
    QPlainTextEdit* Memo1 = nullptr;

    void showCheckLog(const std::vector<std::string>& lines);
    void connectHandlers() override;
};

} // namespace tesk
