// The table of Panel_CORD and the panel's two toggles: shown or hidden
// (SpeedButton11 on the command bar), GPS area unfolded or folded
// (SpeedButton74).

#include "shell/coordinates/coordinates_panel.h"

#include "coordinates/coordinate_marks.h"
#include "shell/widgets/controls.h"
#include "shell/widgets/radio_group.h"
#include "shell/widgets/string_grid.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QToolButton>

namespace tesk {

namespace {

// CheckBox70's colours besides the scroll-bar colour of the system.
QColor hmaxColour(coords::HmaxColour c) {
    switch (c) {
    case coords::HmaxColour::Aqua:
        return QColor(0x00, 0xFF, 0xFF);
    case coords::HmaxColour::Yellow:
        return QColor(0xFF, 0xFF, 0x00);
    case coords::HmaxColour::LightGreen:
        return QColor(0x88, 0xFF, 0x00);
    default:
        return QApplication::palette().color(QPalette::Button);
    }
}

} // namespace

void CoordinatesPanel::SpeedButton11Click() {
    if (Panel_CORD->isHidden()) {
        Panel_CORD->show();
        Panel_CORD->setEnabled(true);
        Panel_CORD->raise();
        TabKr();
    } else {
        Panel_CORD->hide();
        Panel_CORD->setEnabled(false);
        // The GPX file goes with the panel.
        file_.close(store());
        enableGps(false);
    }
    services_.redraw(Redraw::Overlay);
}

void CoordinatesPanel::SpeedButton74Click() {
    const bool expand = !(store().header.value[hdr::CoordFlags] & hdr::CoordPanelExpanded);
    setExpanded(expand);
    if (file_.isOpen()) {
        file_.close(store());
        enableGps(false);
    }
    services_.redraw(Redraw::Overlay);
}

OverlayPainter CoordinatesPanel::marksPainter() {
    return
        [this](QImage& overlay, const ProfileStore& s, const ViewState& v, const OverlaySettings&) {
            if (!marksShown()) return;
            coords::paintCoordinateMarks(overlay, s, s.viewStart, v.ViewOrigin.x, v.ViewOrigin.y,
                                         CheckBox71->isChecked(), CheckBox72->isChecked());
        };
}

void CoordinatesPanel::enableGps(bool on) {
    ComboBox_GPS_wpt->setEnabled(on && ComboBox_GPS_wpt->count() > 0);
    SpeedButton_GPS_WPT->setEnabled(on && ComboBox_GPS_wpt->count() > 0);
    ComboBox_GPS_trk->setEnabled(on && ComboBox_GPS_trk->count() > 0);
    SpeedButton_GPS_TRK->setEnabled(on && ComboBox_GPS_trk->count() > 0);
}

void CoordinatesPanel::TabKr() {
    const int C = cursorFrame();
    const int S = std::clamp(services_.view().secondFrame, 0, MAX_FRAME_INDEX);
    const coords::TableFill f = coords::TabKr(table_, store(), C, S, decimalSeparator());
    filledCursor_ = C;
    filledSecond_ = S;
    writeTable();
    RadioGroup_Lat->setItemIndex(f.latitudeItem);
    RadioGroup_Lon->setItemIndex(f.longitudeItem);
    showHmax(f.hmaxCaption, f.hmaxColour);
}

void CoordinatesPanel::viewChanged() {
    if (Panel_CORD->isHidden()) return;
    const int S = std::clamp(services_.view().secondFrame, 0, MAX_FRAME_INDEX);
    if (cursorFrame() != filledCursor_ || S != filledSecond_) TabKr();
}

// Rows 1..9 of both frame columns; the titles and headers stay.
void CoordinatesPanel::writeTable() {
    for (int r = 1; r < coords::TABLE_ROWS; ++r)
        for (int c = 1; c < coords::TABLE_COLUMNS; ++c)
            StringGrid7->setCell(c, r, QString::fromStdString(table_.at(r, c)));
}

void CoordinatesPanel::StringGrid7Click(int row) {
    const bool en = services_.english();
    if (!coords::setColumnHeaders(table_, row, en)) return;
    StringGrid7->setCell(1, 0, QString::fromStdString(table_.at(0, 1)));
    StringGrid7->setCell(2, 0, QString::fromStdString(table_.at(0, 2)));
}

void CoordinatesPanel::KeyUp7(int column, int row) {
    if (column != 2 || row < coords::table_row::Name) return;
    // The typing filter of the row, then the write-back into the cursor frame.
    const char sep = decimalSeparator();
    const bool geo = CheckBox74->isChecked();
    std::string typed;
    for (const QChar ch : StringGrid7->cell(column, row)) {
        if (ch.unicode() > 0x7F) continue;
        const char c = coords::filterTableKey(row, char(ch.unicode()), geo, sep);
        if (c && c != coords::KEY_BACKSPACE && c != coords::KEY_ENTER && c != coords::KEY_CTRL_C &&
            c != coords::KEY_CTRL_V)
            typed += c;
    }
    const coords::CellEdit e = coords::applyTableEdit(store(), cursorFrame(), row, typed, sep);
    table_.cells[std::size_t(row)][2] = e.text;
    StringGrid7->setCell(2, row, QString::fromStdString(e.text));
    services_.markModified();
    if (!e.hmaxCaption.empty()) showHmax(e.hmaxCaption, e.hmaxColour);
    if (e.redrawRelief && CheckBox73->isChecked() && reliefChanged) reliefChanged();
}

void CoordinatesPanel::showHmax(const std::string& caption, coords::HmaxColour colour) {
    CheckBox70->setText(QString::fromStdString(caption));
    if (colour == coords::HmaxColour::Unchanged) return;
    QPalette p = CheckBox70->palette();
    p.setColor(QPalette::Window, hmaxColour(colour));
    CheckBox70->setAutoFillBackground(true);
    CheckBox70->setPalette(p);
}

} // namespace tesk
