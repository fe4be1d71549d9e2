// The window's redraws: each view byte has its main view (the radargram,
// the plane sections, the 3D views); a redraw goes to the one shown, and the
// panels that follow the picture (the trace, the magnifier) follow it.

#include "shell/display/radargram_view.h"
#include "shell/window/main_view.h"
#include "shell/window/tform1.h"

namespace tesk {

void TForm1::registerView(int viewByte, MainView* view) {
    views_[viewByte] = view;
}

void TForm1::GRAF() {
    radargram_->GRAF();
}

void TForm1::DrawView() {
    radargram_->DrawView();
    followView();
}

MainView* TForm1::shownView() {
    const auto v = views_.find(store_.stateFlags & state::ViewMask);
    return v == views_.end() ? nullptr : v->second;
}

void TForm1::followView() {
    for (ShellPanel* p : panels_) p->viewRedrawn();
}

// A view that is not built keeps its picture.
void TForm1::Resovka_1() {
    if (MainView* v = shownView()) {
        v->recolour();
        focusOptionPanel();
    }
}

void TForm1::Resovka_2() {
    if (MainView* v = shownView()) {
        v->reprocess();
        focusOptionPanel();
    }
}

void TForm1::redraw(Redraw what) {
    switch (what) {
    case Redraw::Overlay:
        // Every view draws its own decoration; a view not built yet leaves
        // the radargram's.
        if (MainView* v = shownView())
            v->drawOverlay();
        else
            radargram_->DrawView();
        break;
    case Redraw::Radargram:
        radargram_->GRAF();
        radargram_->DrawView();
        break;
    case Redraw::Palette:
        Resovka_1();
        break;
    case Redraw::Processing:
        Resovka_2();
        break;
    }
    followView();
}

} // namespace tesk
