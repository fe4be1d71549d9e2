#pragma once
// Commands that a tool mode switches off while it holds: the velocity mode
// and the layer modes keep the view, slice and editing commands (and each
// other's buttons) away from the operator. The controls are found by their
// component names when the lock is taken, so commands that are not in the
// window are simply skipped. When the last holder lets go, every control
// gets back the enabled state it had when the lock was taken.

#include <QPointer>
#include <QWidget>
#include <vector>

namespace tesk {

class ModeLock {
  public:
    // Check boxes among the names are also unchecked when the lock is taken.
    ModeLock(QWidget& window, std::vector<const char*> names);

    // One holder (a bit of its own) takes the lock; the first disables the controls.
    void hold(unsigned holder);
    // The holder lets go; the last one gives the controls back.
    void release(unsigned holder);
    bool held() const { return holders_ != 0; }
    bool heldBy(unsigned holder) const { return holders_ & holder; }
    // Something else (a new survey) enabled commands while the lock holds:
    // they are remembered as enabled and switched off again.
    void reassert();

  private:
    struct Saved {
        QPointer<QWidget> control;
        bool enabled;
    };
    QWidget& window_;
    std::vector<const char*> names_;
    std::vector<Saved> saved_;
    unsigned holders_ = 0;
};

} // namespace tesk
