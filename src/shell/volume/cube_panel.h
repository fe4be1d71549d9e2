#pragma once
// The 3D panel Panel_3D: the controls of the cube view. Every track bar
// TrackBarN has its caption Label(100 + N) to the left and its value
// Label(200 + N) to the right; the check boxes of GroupBox1, the profile
// list CheckListBox1, the section list CheckListBox2 with RadioGroup1 and
// "ADD CUT", and the boundary choice RadioGroup2. The panel only holds the
// controls, shows the ones of a mode and mirrors the values of the 3D
// panel's model into them; the cube view connects their handlers.

#include "shell/window/panel.h"
#include "volume/panel_3d.h"

#include <array>
#include <string>
#include <vector>

class QCheckBox;
class QFrame;
class QGroupBox;
class QLabel;
class QListWidget;
class QRadioButton;
class QSlider;
class QToolButton;

namespace tesk {

class ClickLabel;

// The track bars in the order they stand on the panel.
inline constexpr Bar PANEL_BARS[] = {Bar::X,  Bar::T,  Bar::Y,  Bar::M,  Bar::G, Bar::V,  Bar::Kx,
                                     Bar::Kt, Bar::Ky, Bar::A,  Bar::B,  Bar::C, Bar::A1, Bar::A2,
                                     Bar::A3, Bar::A4, Bar::T1, Bar::T2, Bar::K, Bar::H,  Bar::D};

class CubePanel final : public ShellPanel {
  public:
    CubePanel(ShellServices& services, QWidget& window);

    QFrame* Panel_3D = nullptr;
    QLabel* Label80 = nullptr;
    QGroupBox* GroupBox1 = nullptr;
    QCheckBox *CheckBox61 = nullptr, *CheckBox63 = nullptr, *CheckBox64 = nullptr;
    QCheckBox* CheckBox66 = nullptr;
    QListWidget *CheckListBox1 = nullptr, *CheckListBox2 = nullptr;
    QGroupBox *RadioGroup1 = nullptr, *RadioGroup2 = nullptr;
    std::array<QRadioButton*, 3> RadioGroup1Items{}; // RadioGroup1_0 .. RadioGroup1_2
    std::array<QRadioButton*, 7> RadioGroup2Items{}; // RadioGroup2_0 .. RadioGroup2_6
    QToolButton* SpeedButton_ADD_CUT = nullptr;

    // Every track bar TrackBarN with its caption Label(100 + N) and its
    // value Label(200 + N).
    QSlider *TrackBar1 = nullptr, *TrackBar2 = nullptr, *TrackBar3 = nullptr, *TrackBar4 = nullptr,
            *TrackBar5 = nullptr, *TrackBar6 = nullptr, *TrackBar7 = nullptr, *TrackBar9 = nullptr,
            *TrackBar10 = nullptr, *TrackBar11 = nullptr, *TrackBar12 = nullptr,
            *TrackBar13 = nullptr, *TrackBar14 = nullptr, *TrackBar15 = nullptr,
            *TrackBar16 = nullptr, *TrackBar17 = nullptr, *TrackBar18 = nullptr,
            *TrackBar20 = nullptr, *TrackBar21 = nullptr, *TrackBar24 = nullptr,
            *TrackBar25 = nullptr;
    ClickLabel *Label101 = nullptr, *Label102 = nullptr, *Label103 = nullptr, *Label104 = nullptr,
               *Label105 = nullptr, *Label106 = nullptr, *Label107 = nullptr, *Label109 = nullptr,
               *Label110 = nullptr, *Label111 = nullptr, *Label112 = nullptr, *Label113 = nullptr,
               *Label114 = nullptr, *Label115 = nullptr, *Label116 = nullptr, *Label117 = nullptr,
               *Label118 = nullptr, *Label120 = nullptr, *Label121 = nullptr, *Label124 = nullptr,
               *Label125 = nullptr;
    ClickLabel *Label201 = nullptr, *Label202 = nullptr, *Label203 = nullptr, *Label204 = nullptr,
               *Label205 = nullptr, *Label206 = nullptr, *Label207 = nullptr, *Label209 = nullptr,
               *Label210 = nullptr, *Label211 = nullptr, *Label212 = nullptr, *Label213 = nullptr,
               *Label214 = nullptr, *Label215 = nullptr, *Label216 = nullptr, *Label217 = nullptr,
               *Label218 = nullptr, *Label220 = nullptr, *Label221 = nullptr, *Label224 = nullptr,
               *Label225 = nullptr;

    // TrackBarN, Label(100 + N) and Label(200 + N) by the bar.
    QSlider* trackBar(Bar b) const { return bars_[std::size_t(b)]; }
    ClickLabel* captionLabel(Bar b) const { return captions_[std::size_t(b)]; }
    ClickLabel* valueLabel(Bar b) const { return values_[std::size_t(b)]; }

    // The controls of a cube mode (view byte), packed from the top.
    void arrange(int view);
    // The bars and their value labels at the model's positions, without
    // their change handlers.
    void mirror(const Panel3D& values);
    // The lists as the model holds them, without their handlers.
    void showProfiles(const std::vector<std::string>& items, int height);
    void showSections(const SectionList& sections);
    std::vector<bool> profilesChecked() const;
    int radioItem(const QGroupBox* group) const;
    // True while the panel sets its own controls.
    bool mirroring() const { return mirroring_; }

    std::span<const CaptionRow> captions() const override;
    void applyLanguage(bool english) override;

  private:
    struct BarMembers;
    static const BarMembers BAR_MEMBERS[];
    std::array<QSlider*, 26> bars_{};
    std::array<ClickLabel*, 26> captions_{}, values_{};
    bool mirroring_ = false;
};

} // namespace tesk
