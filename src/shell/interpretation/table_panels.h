#pragma once
// The floating table panels of the interpretation: the velocity and depth
// table Panel_TVSL, the hodograph table Panel_TGod and the echo table
// Panel_Kratnik. A right click on a panel or its title folds it to a title
// strip along the bottom of the picture and unfolds it again.

#include "shell/window/panel.h"

class QFrame;
class QLabel;

namespace tesk {

class StringGrid;

class TablePanels final : public ShellPanel {
  public:
    TablePanels(ShellServices& services, QWidget& window);

    QFrame *Panel_TVSL = nullptr, *Panel_TGod = nullptr, *Panel_Kratnik = nullptr;
    QLabel *Label_TVSL = nullptr, *Label_GDRF = nullptr, *Label_KRT = nullptr;
    QLabel *Label_TVSL_G = nullptr, *Label_TVSL_V = nullptr; // table size
    StringGrid* StringGrid1 = nullptr;                       // velocity and depth table
    StringGrid* StringGrid4 = nullptr;                       // hodograph table
    StringGrid* StringGrid5 = nullptr;                       // echo table

    void hideAll();
    // Label_GDRF: the title of the hodograph table, with the number of the
    // current hodograph when one was chosen (0 for none).
    void showHodographTitle(int hodograph, bool english);

    void connectHandlers() override;
    std::span<const CaptionRow> captions() const override;
    void applyLanguage(bool english) override;

    // A right click on a panel or its title: folded to the strip or unfolded.
    void TitleMouseDown(QWidget* source, Qt::MouseButton button);

  private:
    void resizeVelocityTable(bool width, Qt::MouseButton button);
    void placeSizeLabels();
};

} // namespace tesk
