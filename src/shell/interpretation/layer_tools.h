#pragma once
// The layer boundary tools, sub-panel Panel_25 of the option panel: the
// velocity method and multiples of the velocity mode, the current layer, the
// pencil and "Sm", the snapping phase, the depth section, the borehole
// switch and the table mode; the boundary overlay Image8 (also the pencil's
// surface) and the depth-section colours Image5 over the picture; and the
// velocity and depth table StringGrid1, edited through its cells.

#include "interpretation/boundaries.h"
#include "interpretation/depth_section.h"
#include "interpretation/point_table.h"
#include "shell/interpretation/mode_lock.h"
#include "shell/window/panel.h"

#include <QImage>
#include <vector>

class QCheckBox;
class QComboBox;
class QFrame;
class QToolButton;

namespace tesk {

class ClickLabel;
class ImageWidget;
class LayerColourBoxes;
class RadargramView;
class TablePanels;
struct OptionsFileSettings;

class LayerTools final : public ShellPanel {
  public:
    LayerTools(ShellServices& services, QWidget* optionPanel, RadargramView& radargram,
               LayerColourBoxes& colours, TablePanels& tables);

    QFrame* Panel_25 = nullptr;
    QComboBox* ComboBox35 = nullptr;       // velocity method
    QCheckBox* CheckBox32 = nullptr;       // "Кратник": multiples
    QComboBox* ComboBox31 = nullptr;       // current layer
    QToolButton* SpeedButton101 = nullptr; // pencil
    QFrame* Panel_242 = nullptr;           // "Sm", in the current layer's colour
    ClickLabel* Label29 = nullptr;
    QCheckBox* CheckBox36 = nullptr; // automatic snapping
    QComboBox* ComboBox36 = nullptr; // phase of the snapping
    QCheckBox* CheckBox38 = nullptr; // snapping over the view or the whole file
    QCheckBox* CheckBox33 = nullptr; // "Показать слои": depth section
    QCheckBox* CheckBox34 = nullptr; // "Показать скважины": boreholes
    QCheckBox* CheckBox35 = nullptr; // table of velocities / of depths
    ImageWidget* Image8 = nullptr;   // boundaries and the pencil
    ImageWidget* Image5 = nullptr;   // depth-section colours

    PointTable& points() { return points_; }
    // The current layer (ComboBox31 item) and whether the pencil can write it.
    int layer() const;
    double nsPerRow() const;

    // The radargram chain's stages: the depth section before the filters,
    // the layer pictures and the boreholes after processing.
    void addStages(ProcessingSettings& p);
    // The velocity mode takes over the picture: no layer work meanwhile.
    void velocityModeStarted();
    void velocityModeEnded();
    // Back to the plain radargram (SpeedButton5): no layer, no depth section.
    void leaveModes();
    // A survey was opened: the table is read from its frames, the locks hold on.
    void surveyLoaded();
    // The switches and items the options file keeps.
    void optionsForSave(OptionsFileSettings& o) const;
    // StringGrid1 from the table's model.
    void showPointTable();
    // The exports' depth section: a block of frames converted as the
    // radargram's chain converts it, and the layer colours as last painted
    // (null while "Показать слои" is off).
    void exportDepthSection(DisplayRaster& raster) const;
    const QImage* depthSectionImage() const;

    void connectHandlers() override;
    std::span<const CaptionRow> captions() const override;
    void applyLanguage(bool english) override;

    void ComboBox31Change();
    void CheckBox33Click();
    void CheckBox34Click();
    void CheckBox35Click();
    void CheckBox36Click();
    void SpeedButton101Click();
    void Panel_242Click();
    void Image8MouseDown(Qt::MouseButton button, QPoint at);
    void Image8MouseMove(QPoint at);
    void Image8MouseUp(Qt::MouseButton button, QPoint at);
    void StringGrid1Click(int column, int row);
    void StringGrid1CellEdited(int column, int row);

    // ShowBoundaries on the raster as last processed; ShowLayers through a
    // redraw of the radargram, whose chain converts the traces.
    void ShowBoundaries();
    void ShowLayers();

  private:
    BoundarySettings boundarySettings() const;
    DepthSectionSettings depthSettings() const;
    ReliefShift reliefShift() const;
    BoundaryKeys keys();
    bool reliefDisplay() const;
    // The pencil released and switched off, and its surface with it.
    void pencilOff();
    // No layer chosen, no depth section, the pencil up, their images hidden.
    void dropLayerModes();
    void setImage8Enabled(bool on);
    // Boundaries or the depth section after an edit, then the boreholes.
    void showLayerDisplay();
    void followBoreholes();
    void showLayerColour(int layer);

    LayerColourBoxes& colours_;
    TablePanels& tables_;
    PointTable points_;
    Pencil pencil_;
    QImage image8_, image5_;
    std::vector<SectionTrace> sections_;
    // While a layer is chosen or the depth section is shown.
    ModeLock lock_;
};

} // namespace tesk
