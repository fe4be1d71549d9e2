#include "shell/interpretation/mode_lock.h"

#include <QCheckBox>

namespace tesk {

ModeLock::ModeLock(QWidget& window, std::vector<const char*> names)
    : window_(window), names_(std::move(names)) {}

void ModeLock::hold(unsigned holder) {
    if (holders_ == 0) {
        saved_.clear();
        for (const char* name : names_) {
            QWidget* w = window_.findChild<QWidget*>(name);
            if (!w) continue; // a command this window does not have
            saved_.push_back({w, w->isEnabled()});
        }
    }
    holders_ |= holder;
    reassert();
}

void ModeLock::release(unsigned holder) {
    if (!(holders_ & holder)) return;
    holders_ &= ~holder;
    if (holders_ != 0) return;
    for (const Saved& s : saved_)
        if (s.control) s.control->setEnabled(s.enabled);
    saved_.clear();
}

void ModeLock::reassert() {
    if (holders_ == 0) return;
    for (Saved& s : saved_) {
        if (!s.control) continue;
        if (s.control->isEnabled()) s.enabled = true;
        if (auto* box = qobject_cast<QCheckBox*>(s.control.data())) box->setChecked(false);
        s.control->setEnabled(false);
    }
}

} // namespace tesk
