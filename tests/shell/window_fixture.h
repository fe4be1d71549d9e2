#pragma once

#include "shell/display/filter_panel.h"
#include "shell/display/layer_colour_boxes.h"
#include "shell/display/radargram_view.h"
#include "shell/prompts/prompter.h"
#include "shell/window/tform1.h"
#include "support/survey_files.h"
#include "window_controls.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QLabel>
#include <QToolButton>
#include <gtest/gtest.h>
#include <memory>

namespace tesk::testing {

// A main window over its own store, answering through a scripted prompter.
class WindowTest : public ::testing::Test {
  protected:
    void SetUp() override {
        store = std::make_unique<ProfileStore>();
        form = std::make_unique<TForm1>(*store, prompter);
        ui.find(*form);
    }
    // Opens path through the open button, as an operator would.
    void clickOpen(const std::string& path, bool ctrl = false) {
        prompter.openNames.push_back(path);
        prompter.held.leftCtrl = ctrl;
        ui.SpeedButton1->click();
        prompter.held = {};
    }
    std::string lastText() const {
        return prompter.shown.empty() ? std::string() : prompter.shown.back().text;
    }
    std::string title() const { return form->windowTitle().toStdString(); }

    TempDir dir;
    ScriptedPrompter prompter;
    std::unique_ptr<ProfileStore> store;
    std::unique_ptr<TForm1> form;
    WindowControls ui;
};

} // namespace tesk::testing
