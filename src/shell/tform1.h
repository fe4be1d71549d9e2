#pragma once
// The main window: the command bar, the radargram area, the option panel and
// the floating panels. Each handler reads its widgets, calls the domain and
// updates the widgets; the survey itself lives in the ProfileStore it is given.

#include "shell/prompter.h"
#include "store/file_commands.h"
#include "store/interaction.h"
#include "store/profile_store.h"

#include <QElapsedTimer>
#include <QWidget>
#include <memory>

class QCheckBox;
class QFrame;
class QLabel;
class QProgressBar;
class QScrollArea;
class QToolButton;

namespace tesk {

class TForm1;

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
    QFrame* Panel_1;
    QToolButton* SpeedButton1;  // open
    QToolButton* SpeedButton3;  // save
    QToolButton* SpeedButton4;  // close
    QToolButton* SpeedButton10; // option panel
    // --- radargram area
    QScrollArea* ScrollBox1;
    // --- option panel
    QFrame* Panel_2;
    QLabel* Label_OPTION;
    QFrame* Panel_21;
    QCheckBox* CheckBox1; // English
    // --- progress panel
    QFrame* Panel3;
    QLabel* Label1;
    QLabel* Label2;
    QProgressBar* ProgressBar1;

    // Handlers, named after the controls that raise them.
    void FormCreate();
    void SpeedButton1Click();
    void SpeedButton3Click();
    void SpeedButton4Click();
    void SpeedButton10Click();
    void CheckBox1Click();
    // Closing the window: releases what a pass or an import holds.
    void FormClose();
    // Applies the language of CheckBox1 to every caption and hint.
    void AARR();

    // Opens path as the open command does after its dialog (also used for a
    // file named on the command line).
    OpenResult openChosenFile(const std::string& path, bool append);
    // Writes the state of the controls into the survey header before a save.
    void refreshHeaderFromControls();

    bool english() const;
    ProfileStore& store() { return store_; }
    Prompter& prompter() { return prompter_; }
    WindowInteraction& interaction() { return interaction_; }
    // True once the close command has decided the window may go.
    bool closeAccepted() const { return closeAccepted_; }

  protected:
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

  private:
    friend class WindowInteraction;
    void buildCommandBar();
    void buildOptionPanel();
    void buildProgressPanel();
    void applyCheckBoxColour(QCheckBox* box);
    void restoreControlsFromHeader();
    // The close command's two questions; true when the window may close.
    bool askToClose();

    ProfileStore& store_;
    Prompter& prompter_;
    WindowInteraction interaction_;
    bool closeAccepted_ = false;
    bool closing_ = false;
    int saveVariant_ = 0; // text-table variant chosen by the modifier keys at save
};

} // namespace tesk
