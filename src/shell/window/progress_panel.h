#pragma once
// Long passes as the window shows them: the progress panel Panel3, message
// boxes in the current language, and pending events processed now and then
// so the window stays responsive.

#include "shell/window/panel.h"

#include <QElapsedTimer>
#include <QString>

class QFrame;
class QLabel;
class QProgressBar;
class QScrollArea;

namespace tesk {

class ProgressPanel final : public ShellPanel, public Interaction {
  public:
    ProgressPanel(ShellServices& services, QWidget& window, int top);

    QFrame* Panel3 = nullptr;
    QLabel* Label1 = nullptr;
    QLabel* Label2 = nullptr;
    QProgressBar* ProgressBar1 = nullptr;

    // The radargram area, scrolled back to its origin when a pass starts.
    void setScrollArea(QScrollArea* area) { scrollArea_ = area; }

    std::span<const CaptionRow> captions() const override;

    Answer show(const Message& m) override;
    void passStarted(Pass pass, const std::string& path) override;
    void passTag(const std::string& tag) override;
    void progress(int64_t done, int64_t total) override;
    void passFinished() override;

  private:
    QScrollArea* scrollArea_ = nullptr;
    QElapsedTimer sinceUpdate_;
    QString label1Caption_;
    Pass pass_ = Pass::Load;
};

} // namespace tesk
