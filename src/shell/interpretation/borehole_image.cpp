#include "shell/interpretation/borehole_image.h"

#include "interpretation/boreholes.h"
#include "interpretation/point_table.h"
#include "shell/widgets/controls.h"
#include "shell/widgets/image_widgets.h"
#include "shell/widgets/string_grid.h"

#include <QCheckBox>

namespace tesk {

BoreholeImage::BoreholeImage(ShellServices& services, QWidget& window, QWidget* pictureArea,
                             StringGrid* velocityTable, std::function<ReliefShift()> relief)
    : ShellPanel(services), window_(window), table_(velocityTable), relief_(std::move(relief)) {
    Image_SKVG = new ImageWidget(pictureArea, "Image_SKVG");
    const Point o = services_.view().ViewOrigin;
    Image_SKVG->move(o.x, o.y);
    image_ = QImage(BOREHOLE_IMAGE_WIDTH, BOREHOLE_IMAGE_HEIGHT, QImage::Format_ARGB32);
    image_.fill(Qt::transparent);
    Image_SKVG->setImage(image_);
    // A picture only: the clicks go to the radargram below it.
    Image_SKVG->setAttribute(Qt::WA_TransparentForMouseEvents, true);
    Image_SKVG->setEnabled(false);
    Image_SKVG->hide();
}

QCheckBox* BoreholeImage::box() const {
    return window_.findChild<QCheckBox*>("CheckBox34");
}

void BoreholeImage::connectHandlers() {
    // The check box belongs to the boundary tools; without them there is
    // nothing to switch.
    if (QCheckBox* b = box())
        QObject::connect(b, &QCheckBox::toggled, Image_SKVG, [this] {
            if (!restoring()) CheckBox34Click();
        });
}

void BoreholeImage::ShowBoreholes() {
    const QCheckBox* b = box();
    if (!b || !b->isChecked() || !services_.radargramShown()) {
        Image_SKVG->hide();
        return;
    }
    // The points as the table shows them: frames in row 2, levels in 27..34.
    TableModel grid(table_->columnCount(), table_->rowCount());
    for (int c = FIRST_POINT_COLUMN; c <= LAST_POINT_COLUMN && c < table_->columnCount(); ++c) {
        grid.setCell(c, point_row::Frame, table_->cell(c, point_row::Frame).toStdString());
        for (int k = 1; k <= LAYERS; ++k)
            grid.setCell(c, point_row::Level + k,
                         table_->cell(c, point_row::Level + k).toStdString());
    }
    BoreholeView v;
    v.viewStart = store().viewStart;
    v.scale = relief_();
    tesk::ShowBoreholes(image_, boreholesOfTable(grid), store(), v);
    Image_SKVG->setImage(image_);
    Image_SKVG->show();
}

void BoreholeImage::CheckBox34Click() {
    QCheckBox* b = box();
    if (!b) return;
    applyCheckBoxColour(b);
    if (b->isChecked())
        ShowBoreholes();
    else
        Image_SKVG->hide();
    services_.focusOptionPanel();
}

const QImage* BoreholeImage::image() const {
    return Image_SKVG->isHidden() ? nullptr : &image_;
}

} // namespace tesk
