// The radargram view: the redraw chain, the overlay, the readouts, and the
// wiring of every control to its handler.

#include "shell/radargram_engine.h"
#include "shell/tform1.h"
#include "shell/widgets.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QScrollArea>
#include <QToolButton>
#include <algorithm>

namespace tesk {

void TForm1::GRAF() {
    if (busy()) return;
    ProcessingSettings p;
    p.filter1 = FilterRow{ComboBox20->currentIndex(), ComboBox22->currentIndex(),
                          ComboBox23->currentIndex(), ComboBox24->currentIndex()};
    p.filter2 = FilterRow{ComboBox21->currentIndex(), ComboBox25->currentIndex(),
                          ComboBox26->currentIndex(), ComboBox27->currentIndex()};
    p.additionItem = ComboBox40->currentIndex();
    p.additionMethod = ComboBox41->currentIndex();
    p.thresholdItem = ComboBox42->currentIndex();
    if (tesk::GRAF(*engine_, store_, p, view_.ViewOrigin)) Image1->setImage(engine_->picture);
}

void TForm1::DrawView() {
    if (busy()) return;
    OverlaySettings o = overlaySettingsFromHeader(store_);
    o.grid = CheckBox3->isChecked();
    o.zeroLine = CheckBox2->isChecked();
    o.velocityItem = ComboBox10->currentIndex();
    // In the relief display the rows are stretched by the factor of ComboBox14.
    static constexpr double STRETCH[9] = {0.5, 0.625, 0.75, 0.875, 1, 1.25, 1.5, 1.75, 2};
    o.reliefDisplay = store_.stateFlags & state::Relief;
    o.stretch = STRETCH[std::clamp(ComboBox14->currentIndex(), 0, 8)];
    const Readouts r = tesk::DrawView(engine_->overlay, store_, view_, o);
    Image6->setImage(engine_->overlay);
    StaticText1->setText(QString::fromStdString(r.staticText1));
    StaticText2->setText(QString::fromStdString(r.staticText2));
    StaticText3->setText(QString::fromStdString(r.staticText3));
    StaticText4->setText(QString::fromStdString(r.staticText4));
    SpeedButton21->setText(r.distanceInMetres ? "+Lm" : "+Lcm");
    if (store_.fileKind != kind::None) setWindowTitle(QString::fromStdString(r.caption));
}

void TForm1::Resovka_1() {
    // Only the radargram view exists so far; the other views keep their picture.
    if ((store_.stateFlags & state::ViewMask) != 0) return;
    GRAF();
    DrawView();
    focusOptionPanel();
}

void TForm1::Resovka_2() {
    Resovka_1();
}

void TForm1::SpeedButton5Click() {
    // Leaving the relief display marks the volume stale. An open coordinate
    // file stays open: it is an import in progress, not part of the view.
    const uint16_t keep = store_.stateFlags & state::CoordFileOpen;
    store_.stateFlags = uint16_t(((store_.stateFlags & state::Relief) ? state::Changed : 0) | keep);
    Label11->show();
    ComboBox11->show();
    Label14->hide();
    ComboBox14->hide();
    ScrollBox1->show();
    Image1->show();
    for (QWidget* p : {static_cast<QWidget*>(Panel_TVSL), static_cast<QWidget*>(Panel_TGod),
                       static_cast<QWidget*>(Panel_Kratnik), static_cast<QWidget*>(Panel_3D)})
        p->hide();
    AARR();
    GRAF();
    DrawView();
}

void TForm1::connectHandlers() {
    auto click = [this](QToolButton* b, void (TForm1::*h)()) {
        connect(b, &QToolButton::clicked, this, [this, h] { (this->*h)(); });
    };
    click(SpeedButton1, &TForm1::SpeedButton1Click);
    click(SpeedButton3, &TForm1::SpeedButton3Click);
    click(SpeedButton4, &TForm1::SpeedButton4Click);
    click(SpeedButton5, &TForm1::SpeedButton5Click);
    click(SpeedButton10, &TForm1::SpeedButton10Click);
    click(SpeedButton17, &TForm1::SpeedButton17Click);
    click(SpeedButton18, &TForm1::SpeedButton18Click);
    click(SpeedButton53, &TForm1::SpeedButton53Click);
    click(SpeedButton54, &TForm1::SpeedButton54Click);
    click(SpeedButton55, &TForm1::SpeedButton55Click);
    for (QToolButton* b :
         {SpeedButton20, SpeedButton21, SpeedButton22, SpeedButton23, SpeedButton24, SpeedButton25})
        connect(b, &QToolButton::clicked, this, [this, b] { NudgeClick(b); });
    connect(MaskEdit1, &QLineEdit::textEdited, this, [this] { MaskEdit1Change(); });

    auto toggled = [this](QCheckBox* c, void (TForm1::*h)()) {
        connect(c, &QCheckBox::toggled, this, [this, h] { (this->*h)(); });
    };
    toggled(CheckBox1, &TForm1::CheckBox1Click);
    toggled(CheckBox2, &TForm1::CheckBox2Click);
    toggled(CheckBox3, &TForm1::CheckBox3Click);
    toggled(CheckBox4, &TForm1::CheckBox4Click);
    toggled(CheckBox6, &TForm1::CheckBox6Click);
    toggled(CheckBox21, &TForm1::ComboBox28Change);
    toggled(CheckBox22, &TForm1::CheckBox22Click);
    toggled(CheckBox23, &TForm1::CheckBox23Click);
    for (QCheckBox* c : {CheckBox11, CheckBox12, CheckBox13, CheckBox14, CheckBox15})
        connect(c, &QCheckBox::toggled, this, [this, c] { OptionCheckBoxClick(c); });
    toggled(CheckBox52, &TForm1::CheckBox52Click);

    auto changed = [this](QComboBox* c, void (TForm1::*h)()) {
        connect(c, &QComboBox::currentIndexChanged, this, [this, h] {
            if (!restoring_) (this->*h)();
        });
    };
    changed(ComboBox10, &TForm1::ComboBox10Change);
    changed(ComboBox11, &TForm1::ComboBox11Change);
    changed(ComboBox12, &TForm1::ComboBox12Change);
    changed(ComboBox13, &TForm1::ComboBox13Change);
    changed(ComboBox14, &TForm1::ComboBox14Change);
    changed(ComboBox15, &TForm1::ComboBox15Change);
    changed(ComboBox16, &TForm1::ComboBox16Change);
    changed(ComboBox18, &TForm1::ComboBox18Change);
    changed(ComboBox19, &TForm1::ComboBox19Change);
    changed(ComboBox28, &TForm1::ComboBox28Change);
    changed(ComboBox29, &TForm1::ComboBox29Change);
    changed(ComboBox40, &TForm1::ComboBox40Change);
    changed(ComboBox41, &TForm1::ComboBox41Change);
    changed(ComboBox42, &TForm1::ComboBox42Change);
    changed(ComboBox17, &TForm1::ComboBox17Change);
    changed(ComboBox51, &TForm1::ComboBox51Change);
    changed(ComboBox52, &TForm1::ComboBox52Change);
    changed(ComboBox54, &TForm1::ComboBox54Change);
    for (QComboBox* c : {ComboBox20, ComboBox21, ComboBox22, ComboBox23, ComboBox24, ComboBox25,
                         ComboBox26, ComboBox27})
        connect(c, &QComboBox::currentIndexChanged, this, [this, c] {
            if (!restoring_) FilterBoxChange(c);
        });
    Label20->onClick = [this] { Label20Click(); };
    Label21->onClick = [this] { Label21Click(); };
}

} // namespace tesk
