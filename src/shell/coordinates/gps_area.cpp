// The GPS area of Panel_CORD and what the open command hands back after a
// coordinate import: the point lists of a GPX file, the two synchronisation
// commands, and the controls reset after the recalculation of a .cor import.

#include "shell/coordinates/coordinates_panel.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QLabel>
#include <QToolButton>

namespace tesk {

void CoordinatesPanel::coordinatesImported(const OpenResult& r) {
    const coords::CoordImportResult& c = r.coordinates;
    switch (r.coordinateImport) {
    case CoordinateImport::None:
        return;
    case CoordinateImport::Companion:
        if (c.recalculated && c.recalc.completed) resetAfterRecalc(c.recalc);
        break;
    case CoordinateImport::Gpx: {
        // A new GPX file replaces both lists, whether or not it lists anything.
        {
            const Restoring quiet(services_);
            ComboBox_GPS_wpt->clear();
            ComboBox_GPS_trk->clear();
            for (const std::string& item : c.waypointItems)
                ComboBox_GPS_wpt->addItem(QString::fromStdString(item));
            for (const std::string& item : c.trackItems)
                ComboBox_GPS_trk->addItem(QString::fromStdString(item));
            ComboBox_GPS_wpt->setCurrentIndex(c.waypointItems.empty() ? -1 : 0);
            ComboBox_GPS_trk->setCurrentIndex(c.trackItems.empty() ? -1 : 0);
        }
        showListSelection(coords::GpxPoints::Waypoints);
        showListSelection(coords::GpxPoints::Track);
        enableGps(file_.isOpen());
        // A refused file leaves the picture and the caption as they were.
        if (r.outcome != OpenOutcome::CoordinatesImported) return;
        Panel_CORD->show();
        Panel_CORD->setEnabled(true);
        Panel_CORD->raise();
        setExpanded(true);
        TabKr();
        break;
    }
    case CoordinateImport::Text:
        // Opening the table closed a GPX file that was open.
        enableGps(file_.isOpen());
        if (!Panel_CORD->isHidden()) TabKr();
        if (CheckBox73->isChecked() && reliefChanged) reliefChanged();
        break;
    }
    services_.redraw(Redraw::Overlay);
}

void CoordinatesPanel::closeCoordinateFile() {
    file_.close(store());
}

void CoordinatesPanel::SpeedButton_GPS_Click(coords::GpxPoints which) {
    if (busy() || !file_.isOpen()) return;
    const bool wpt = which == coords::GpxPoints::Waypoints;
    const QComboBox* list = wpt ? ComboBox_GPS_wpt : ComboBox_GPS_trk;
    coords::GpxSyncSettings st;
    st.cursorFrame = cursorFrame();
    st.selectedItem = list->currentText().toStdString();
    // The messages name the file being synchronised, whatever was opened since.
    store().openFileName = file_.path();
    const coords::CoordImportResult r =
        coords::synchronizeGpx(*file_.source(), store(), which, st, services_.interaction());
    if (r.refused) return;
    services_.markModified();
    if (Panel_CORD->isEnabled()) TabKr();
    if (CheckBox73->isChecked() && reliefChanged) reliefChanged();
    services_.redraw(Redraw::Overlay);
}

void CoordinatesPanel::ComboBox_GPS_Change(coords::GpxPoints which) {
    showListSelection(which);
    focusPanel();
}

// Date (characters 1..10) and time (characters 12..19) of the selected item.
void CoordinatesPanel::showListSelection(coords::GpxPoints which) {
    const bool wpt = which == coords::GpxPoints::Waypoints;
    const QComboBox* list = wpt ? ComboBox_GPS_wpt : ComboBox_GPS_trk;
    QLabel* date = wpt ? Label_GPS_22 : Label_GPS_32;
    QLabel* time = wpt ? Label_GPS_24 : Label_GPS_34;
    const std::string item =
        list->currentIndex() < 0 ? std::string() : list->currentText().toStdString();
    date->setText(QString::fromStdString(item.empty() ? "" : coords::listItemDate(item)));
    time->setText(QString::fromStdString(item.empty() ? "" : coords::listItemTime(item)));
}

} // namespace tesk
