#pragma once
// The main window: the command bar, the radargram area, the option panel and
// the floating panels. Each handler reads its widgets, calls the domain and
// updates the widgets; the survey itself lives in the ProfileStore it is given.

#include "commands/file_commands.h"
#include "display/view_state.h"
#include "shell/prompter.h"
#include "shell/string_grid.h"
#include "store/interaction.h"
#include "store/profile_store.h"

#include <QElapsedTimer>
#include <QImage>
#include <QWidget>
#include <memory>

class QCheckBox;
class QComboBox;
class QFrame;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QProgressBar;
class QScrollArea;
class QToolButton;

namespace tesk {

class TForm1;
class ImageWidget;
class ClickLabel;
struct RadargramEngine;

// Long passes as the window shows them: the progress panel Panel3, message
// boxes in the current language, and pending events processed now and then
// so the window stays responsive.
class WindowInteraction final : public Interaction {
  public:
    explicit WindowInteraction(TForm1& form) : form_(form) {}
    Answer show(const Message& m) override;
    void passStarted(Pass pass, const std::string& path) override;
    void passTag(const std::string& tag) override;
    void progress(int64_t done, int64_t total) override;
    void passFinished() override;

  private:
    TForm1& form_;
    QElapsedTimer sinceUpdate_;
    QString label1Caption_;
};

class TForm1 final : public QWidget {
  public:
    // The window works on store, which outlives it; every modal interaction
    // goes through prompter.
    TForm1(ProfileStore& store, Prompter& prompter, QWidget* parent = nullptr);
    ~TForm1() override;

    // --- command bar (Panel_1)
    QFrame* Panel_1 = nullptr;
    QToolButton *SpeedButton1 = nullptr, *SpeedButton3 = nullptr, *SpeedButton4 = nullptr;
    QToolButton *SpeedButton5 = nullptr, *SpeedButton6 = nullptr, *SpeedButton7 = nullptr;
    QToolButton *SpeedButton8 = nullptr, *SpeedButton9 = nullptr, *SpeedButton10 = nullptr;
    QToolButton *SpeedButton11 = nullptr, *SpeedButton12 = nullptr, *SpeedButton13 = nullptr;
    QToolButton *SpeedButton14 = nullptr, *SpeedButton15 = nullptr, *SpeedButton16 = nullptr;
    QToolButton *SpeedButton17 = nullptr, *SpeedButton18 = nullptr;
    QToolButton *SpeedButton20 = nullptr, *SpeedButton21 = nullptr, *SpeedButton22 = nullptr;
    QToolButton *SpeedButton23 = nullptr, *SpeedButton24 = nullptr, *SpeedButton25 = nullptr;
    QToolButton *SpeedButton26 = nullptr, *SpeedButton27 = nullptr, *SpeedButton28 = nullptr;
    QToolButton *SpeedButton29 = nullptr, *SpeedButton30 = nullptr, *SpeedButton31 = nullptr;
    QToolButton *SpeedButton32 = nullptr, *SpeedButton35 = nullptr;
    QLineEdit* MaskEdit1 = nullptr;
    QLabel *StaticText1 = nullptr, *StaticText2 = nullptr, *StaticText3 = nullptr;
    QLabel *StaticText4 = nullptr, *StaticText5 = nullptr, *StaticText6 = nullptr;
    // --- radargram area
    QScrollArea* ScrollBox1 = nullptr;
    ImageWidget* Image1 = nullptr; // the radargram picture
    ImageWidget* Image6 = nullptr; // transparent overlay over Image1
    // --- option panel
    QFrame* Panel_2 = nullptr;
    QLabel* Label_OPTION = nullptr;
    QFrame *Panel_21 = nullptr, *Panel_22 = nullptr, *Panel_23 = nullptr, *Panel_24 = nullptr;
    QFrame *Panel_25 = nullptr, *Panel_26 = nullptr;
    QCheckBox *CheckBox1 = nullptr, *CheckBox2 = nullptr, *CheckBox3 = nullptr,
              *CheckBox4 = nullptr;
    QCheckBox* CheckBox6 = nullptr;
    QCheckBox *CheckBox11 = nullptr, *CheckBox12 = nullptr, *CheckBox13 = nullptr;
    QCheckBox *CheckBox14 = nullptr, *CheckBox15 = nullptr;
    QComboBox* ComboBox17 = nullptr;
    // profile parameters (Panel_22)
    QLabel *Label10 = nullptr, *Label11 = nullptr, *Label12 = nullptr, *Label13 = nullptr;
    QLabel *Label14 = nullptr, *Label15 = nullptr, *Label16 = nullptr;
    QComboBox *ComboBox10 = nullptr, *ComboBox11 = nullptr, *ComboBox12 = nullptr;
    QComboBox *ComboBox13 = nullptr, *ComboBox14 = nullptr, *ComboBox15 = nullptr;
    QComboBox* ComboBox16 = nullptr;
    // filters, colours and amplitude (Panel_23)
    ClickLabel *Label20 = nullptr, *Label21 = nullptr;
    QLabel *Label22 = nullptr, *Label23 = nullptr, *Label24 = nullptr, *Label26 = nullptr;
    QComboBox *ComboBox20 = nullptr, *ComboBox21 = nullptr, *ComboBox22 = nullptr;
    QComboBox *ComboBox23 = nullptr, *ComboBox24 = nullptr, *ComboBox25 = nullptr;
    QComboBox *ComboBox26 = nullptr, *ComboBox27 = nullptr;
    QComboBox *ComboBox18 = nullptr, *ComboBox19 = nullptr, *ComboBox28 = nullptr;
    QComboBox* ComboBox29 = nullptr;
    QComboBox *ComboBox32 = nullptr, *ComboBox33 = nullptr, *ComboBox34 = nullptr;
    QFrame *Panel241 = nullptr, *Panel_242 = nullptr;
    QCheckBox *CheckBox21 = nullptr, *CheckBox22 = nullptr, *CheckBox23 = nullptr;
    // volume and slice settings (Panel_24)
    QLabel *Label41 = nullptr, *Label43 = nullptr, *Label51 = nullptr, *Label52 = nullptr;
    QLabel* Label54 = nullptr;
    QComboBox *ComboBox40 = nullptr, *ComboBox41 = nullptr, *ComboBox42 = nullptr;
    QComboBox *ComboBox51 = nullptr, *ComboBox52 = nullptr, *ComboBox54 = nullptr;
    QCheckBox* CheckBox52 = nullptr;
    // device options (Panel_26)
    QComboBox *ComboBox61 = nullptr, *ComboBox62 = nullptr, *ComboBox63 = nullptr;
    QComboBox *ComboBox64 = nullptr, *ComboBox66 = nullptr, *ComboBox46 = nullptr;
    QCheckBox* CheckBox59 = nullptr;
    QLabel *Label61 = nullptr, *Label62 = nullptr, *Label63 = nullptr, *Label66 = nullptr;
    // --- floating panels
    QFrame *Panel_CORD = nullptr, *Panel_TVSL = nullptr, *Panel_TGod = nullptr;
    QFrame *Panel_Kratnik = nullptr, *Panel50 = nullptr, *Panel_3D = nullptr, *Panel6 = nullptr;
    QLabel *Label_CRD = nullptr, *Label_TVSL = nullptr, *Label_GDRF = nullptr, *Label_KRT = nullptr;
    QLabel* Label80 = nullptr;
    QFrame *Panel51 = nullptr, *Panel52 = nullptr, *Panel61 = nullptr, *Panel62 = nullptr;
    // A-scan panel: step down, reset and step up of the zero level / gain.
    QToolButton *SpeedButton53 = nullptr, *SpeedButton54 = nullptr, *SpeedButton55 = nullptr;
    // A-scan panel: the chosen amplitude one code lower / higher.
    QToolButton *SpeedButton51 = nullptr, *SpeedButton52 = nullptr;
    StringGrid* StringGrid1 = nullptr; // velocity and depth table (Panel_TVSL)
    StringGrid* StringGrid4 = nullptr; // hodograph table (Panel_TGod)
    StringGrid* StringGrid5 = nullptr; // echo table (Panel_Kratnik)
    StringGrid* StringGrid7 = nullptr; // coordinates of two frames (Panel_CORD)
    QPlainTextEdit* Memo1 = nullptr;   // check log of the device-recording decoder
    // --- progress panel
    QFrame* Panel3 = nullptr;
    QLabel* Label1 = nullptr;
    QLabel* Label2 = nullptr;
    QProgressBar* ProgressBar1 = nullptr;

    // Handlers, named after the controls that raise them.
    void FormCreate();
    void FormResize();
    void SpeedButton1Click();
    void SpeedButton3Click();
    void SpeedButton4Click();
    void SpeedButton5Click();
    void SpeedButton10Click();
    void SpeedButton17Click();
    void SpeedButton18Click();
    void NudgeClick(QToolButton* button);
    void MaskEdit1Change();
    void Edit1KeyPress(int key);
    void Image1MouseDown(Qt::MouseButton button, QPoint at);
    void CheckBox1Click();
    void CheckBox2Click();
    void CheckBox3Click();
    void CheckBox4Click();
    void CheckBox6Click();
    void OptionCheckBoxClick(QCheckBox* box);
    void ComboBox10Change();
    void ComboBox11Change();
    void ComboBox12Change();
    void ComboBox13Change();
    void ComboBox14Change();
    void ComboBox15Change();
    void ComboBox16Change();
    void FilterBoxChange(QComboBox* box);
    void Label20Click();
    void Label21Click();
    void ComboBox18Change();
    void ComboBox19Change();
    void SpeedButton53Click();
    void SpeedButton54Click();
    void SpeedButton55Click();
    // Captions of the zero / gain buttons for the mode of ComboBox19.
    void showZeroGainCaptions();
    // A zero / gain button changed the setting: header and captions follow.
    void zeroGainChanged();
    void ComboBox28Change();
    void ComboBox29Change();
    void CheckBox22Click();
    void CheckBox23Click();
    void SpeedButton51Click();
    void SpeedButton52Click();
    // Caption of Panel52 in the chosen-amplitude mode ("  VA = ..." in red,
    // white when the mode is off).
    void showChosenAmplitude();
    // Layer colour boxes: red, green and blue of the current layer colour.
    void ColourBoxChange();
    // Panel241 "Исходный Цвет": the layer colours back to their start values.
    void Panel241Click();
    // Double click on the colour sample: the colour dialog sets the boxes.
    void Panel_242DblClick();
    void ComboBox40Change();
    void ComboBox41Change();
    void ComboBox42Change();
    void ComboBox17Change();
    void ComboBox51Change();
    void ComboBox52Change();
    void ComboBox54Change();
    void CheckBox52Click();
    void PanelMouseDown(QWidget* source, Qt::MouseButton button);
    // Key preview: every key pressed in the window comes here before the
    // control that has the focus sees it; true keeps it from that control.
    bool FormKeyPress(QWidget* target, int key);
    // Closing the window: releases what a pass or an import holds.
    void FormClose();
    // Applies the language of CheckBox1 to every caption, hint and list item.
    void AARR();
    // The redraw chain of the radargram and its overlay.
    void GRAF();
    void DrawView();
    void Resovka_1();
    void Resovka_2();
    // Option layout: visible sub-panels side by side in their fixed order.
    void layoutOptionPanel();

    // Opens path as the open command does after its dialog (also used for a
    // file named on the command line).
    OpenResult openChosenFile(const std::string& path, bool append);
    // Writes the state of the controls into the survey header before a save.
    void refreshHeaderFromControls();

    bool english() const;
    bool busy() const { return store_.stateFlags & state::Busy; }
    ProfileStore& store() { return store_; }
    Prompter& prompter() { return prompter_; }
    WindowInteraction& interaction() { return interaction_; }
    ViewState& view() { return view_; }
    // The picture and overlay as last drawn.
    const QImage& radargramImage() const;
    const QImage& overlayImage() const;
    // What the last open and save commands achieved (recipes report it).
    const OpenResult& lastOpen() const { return lastOpen_; }
    const SaveResult& lastSave() const { return lastSave_; }
    // True once the close command has decided the window may go.
    bool closeAccepted() const { return closeAccepted_; }
    // Colour rule of the option check boxes: checked maroon, unchecked navy.
    static void applyCheckBoxColour(QCheckBox* box);

  protected:
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

  private:
    friend class WindowInteraction;
    void buildCommandBar();
    void buildRadargramArea();
    void buildOptionPanel();
    void buildParameterPanel();
    void buildFilterPanel();
    void buildVolumePanel();
    void connectColourControls();
    void showLayerColour();
    void buildDevicePanel();
    // The device-options panel as the 12-bit readers take it.
    DeviceOptions deviceOptions() const;
    // The options file's values: the header's plus what only the window keeps.
    OptionsFileSettings optionsForSave();
    void applyOptionsFile(const OptionsFileRead& o);
    void showCheckLog(const std::vector<std::string>& lines);
    void buildFloatingPanels();
    void buildProgressPanel();
    void connectHandlers();
    void restoreControlsFromHeader();
    void setCommandsEnabled(bool on);
    void focusOptionPanel();
    void showViewStart();
    void rebuildTimeStretchItems();
    // The close command's two questions; true when the window may close.
    bool askToClose();

    ProfileStore& store_;
    Prompter& prompter_;
    WindowInteraction interaction_;
    ViewState view_;
    std::unique_ptr<RadargramEngine> engine_;
    bool closeAccepted_ = false;
    bool closing_ = false;
    bool restoring_ = false; // the program itself is setting controls
    int saveVariant_ = 0;
    OpenResult lastOpen_;
    SaveResult lastSave_; // text-table variant chosen by the modifier keys at save
};

} // namespace tesk
