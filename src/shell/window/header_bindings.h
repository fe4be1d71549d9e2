#pragma once
// One table binds the controls that keep a setting in the survey header to
// their cells: the controls are set from it after an open, and every change
// of such a control writes its cell before the control's handler runs. No
// handler writes a bound cell by hand.

#include "store/profile_store.h"

#include <functional>
#include <span>
#include <vector>

class QWidget;

namespace tesk {

enum class BindingKind {
    Item,    // the cell holds the list's item index
    LowBits, // the bits of mask hold the item index; the other bits stay
    Bit,     // the check box's state is the bit mask
};

struct HeaderBinding {
    const char* control;
    int cell;
    BindingKind kind;
    uint8_t mask;
    // A few boxes are ignored altogether while the busy bit is set: their
    // cell keeps what the file or the program put there.
    bool ignoredWhileBusy = false;
};

std::span<const HeaderBinding> headerBindings();

// While it lives, changes of one bound control leave its cell as it is: the
// program shows a state on the screen that the header does not take over
// (an options file's chosen-amplitude bit stays set while its box is
// unchecked until the operator checks it).
class KeepHeaderCell {
  public:
    explicit KeepHeaderCell(QWidget* control);
    ~KeepHeaderCell();
    KeepHeaderCell(const KeepHeaderCell&) = delete;
    KeepHeaderCell& operator=(const KeepHeaderCell&) = delete;

  private:
    QWidget* control_;
};

class HeaderBindings {
  public:
    // Finds the bound controls under root; a missing control is a fault of
    // the window's construction (reported by the tests).
    explicit HeaderBindings(QWidget& root);
    // Sets every bound control from the header without running its
    // handlers; items are kept inside each list.
    void restore(const SurveyHeader& header);
    // From now on a change of a bound control writes its cell into the
    // store's header.
    void connect(ProfileStore& store);
    // Names of the table's controls that the window does not have.
    const std::vector<const char*>& missing() const { return missing_; }
    // Runs after a change of a bound control that alters the survey; the
    // controls that only arrange the window (language, shown sub-panels,
    // view step, the amplitude panel) do not call it.
    std::function<void()> surveySettingChanged;

  private:
    struct Bound {
        const HeaderBinding* binding;
        QWidget* control;
    };
    std::vector<Bound> bound_;
    std::vector<const char*> missing_;
};

} // namespace tesk
