#pragma once
// The coordinates panel Panel_CORD: the table StringGrid7 that compares the
// cursor frame with the second point (positions, names, heights and their
// differences, the cursor frame's column editable), the recalculation and
// correction controls, the relief controls, and the GPS area that the
// "GPS" button unfolds, with the point lists of an opened GPX file and the
// two synchronisation commands. The panel holds the coordinate file that
// stays open between synchronisations (bit 0x4000 of stateFlags).

#include "commands/file_commands.h"
#include "coordinates/coord_table.h"
#include "coordinates/frame_fields.h"
#include "coordinates/imports.h"
#include "display/overlay.h"
#include "shell/window/panel.h"

#include <functional>
#include <string>

class QCheckBox;
class QComboBox;
class QFrame;
class QLabel;
class QLineEdit;
class QToolButton;

namespace tesk {

class CommandBar;
class RadioGroup;
class StringGrid;

class CoordinatesPanel final : public ShellPanel {
  public:
    static constexpr int FOLDED_HEIGHT = 408;
    static constexpr int EXPANDED_HEIGHT = 528;

    // stepBox is ComboBox12, which the profile correction sets.
    CoordinatesPanel(ShellServices& services, QWidget& window, CommandBar& bar, QComboBox* stepBox);

    QFrame* Panel_CORD = nullptr;
    QLabel* Label_CRD = nullptr;
    StringGrid* StringGrid7 = nullptr;
    // Recalculation and correction.
    QComboBox* ComboBox_CRD = nullptr;
    QCheckBox *CheckBox71 = nullptr, *CheckBox72 = nullptr, *CheckBox74 = nullptr;
    QCheckBox* CheckBox75 = nullptr;
    RadioGroup *RadioGroup_Lat = nullptr, *RadioGroup_Lon = nullptr;
    QToolButton *SpeedButton71 = nullptr, *SpeedButton72 = nullptr;
    // Relief (their handlers belong to the relief tools).
    QCheckBox *CheckBox70 = nullptr, *CheckBox73 = nullptr;
    QLineEdit* MaskEdit2 = nullptr;
    QToolButton* SpeedButton73 = nullptr;
    // The GPS area.
    QToolButton* SpeedButton74 = nullptr;
    QLabel *Label_GPS_2 = nullptr, *Label_GPS_3 = nullptr;
    QLabel *Label_GPS_22 = nullptr, *Label_GPS_24 = nullptr;
    QLabel *Label_GPS_32 = nullptr, *Label_GPS_34 = nullptr;
    QComboBox *ComboBox_GPS_wpt = nullptr, *ComboBox_GPS_trk = nullptr;
    QToolButton *SpeedButton_GPS_WPT = nullptr, *SpeedButton_GPS_TRK = nullptr;

    void connectHandlers() override;
    std::span<const CaptionRow> captions() const override;
    void applyLanguage(bool english) override;
    void restored() override;

    // --- what the open command takes and gives back ---------------------------
    coords::CoordImportSettings importSettings();
    coords::CoordinateFile* coordinateFile() { return &file_; }
    // After an open that ran a coordinate import (GPX lists, text table,
    // .cor companion).
    void coordinatesImported(const OpenResult& r);
    // The window closes: the coordinate file with it.
    void closeCoordinateFile();
    // The operator's decimal separator.
    char decimalSeparator() const;
    // Panel_CORD is shown with its GPS area: the overlay then flags the
    // frames that carry positions and heights.
    bool marksShown() const;
    // The overlay painter of those flags.
    OverlayPainter marksPainter();

    // --- handlers --------------------------------------------------------------
    void SpeedButton11Click();
    void SpeedButton74Click();
    void TabKr();
    void StringGrid7Click(int row);
    void KeyUp7(int column, int row);
    void ComboBox_CRDChange();
    void CheckBox71Click();
    void CheckBox74Click();
    void CheckBox75Click();
    void RadioGroupClick(bool latitude);
    void SpeedButton71Click();
    void SpeedButton72Click();
    void SpeedButton_GPS_Click(coords::GpxPoints which);
    void ComboBox_GPS_Change(coords::GpxPoints which);
    // After every overlay redraw: the table follows the cursor frame and the
    // second point while the panel is shown.
    void viewChanged();

    // CheckBox70's caption and colour after a fill, an edit or a recalculation.
    void showHmax(const std::string& caption, coords::HmaxColour colour);
    // The frame of the radargram cursor (viewStart + cursor column).
    int cursorFrame();
    // The panel takes the focus when it is shown.
    void focusPanel();
    // The relief line follows a change of heights (set by the relief tools).
    std::function<void()> reliefChanged;

  private:
    void buildRecalcControls();
    void buildReliefControls();
    void buildGpsArea();
    coords::RecalcSettings recalcSettings();
    void resetAfterRecalc(const coords::RecalcResult& r);
    void correctionDone(const coords::CorrectionResult& c);
    void showGeographicState();
    void enableGps(bool on);
    void showListSelection(coords::GpxPoints which);
    void setExpanded(bool on);
    void writeTable();

    CommandBar& bar_;
    QComboBox* stepBox_;
    coords::CoordinateFile file_;
    coords::CoordTable table_;
    uint16_t meanProfileStep_ = 0; // from the last recalculation, for the correction
    int filledCursor_ = -1, filledSecond_ = -1;
};

} // namespace tesk
