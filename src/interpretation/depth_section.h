#pragma once
// The depth section ("Показать слои"): every trace of the raster re-sampled
// layer by layer so that one sample row stands for the same depth in every
// layer, the depth the reference velocity V gives it. A layer t rows thick
// with layer velocity Vs is drawn t V_s / V rows high (ratio R = V / Vs): a
// faster layer is stretched, a slower one compressed, a layer without a
// velocity (or with V's) stays as it is. Below the last layer the trace
// fades out. The layers are painted in their colours on Image5.
//
// The boundary rows and layer velocities are read from the attribute
// columns of each raster row (the frame's cells), the relief shift from its
// relief height.

#include "display/display_raster.h"
#include "interpretation/layer_cells.h"
#include "store/profile_store.h"

#include <QImage>
#include <array>
#include <vector>

namespace tesk {

struct DepthSectionSettings {
    int referenceCode = 500; // V: VELOCITY_CODES entry of the ComboBox10 item
    // w: the ComboBox14 window factor, in the relief display (the raster is
    // stretched by 1 / w there); 1 otherwise.
    double windowFactor = 1.0;
    ReliefShift relief;
    std::array<uint32_t, LAYERS + 1> colours{}; // layerColour 1..8, 0 = no colour
};

// Settings from the survey header (layer colours) and the reference velocity.
DepthSectionSettings depthSectionSettings(const SurveyHeader& h, int referenceCode);

// Where the layers of one trace are drawn: layer k from row top[k] to row
// bottom[k] (exclusive), drawn[k] false for a layer absent from the frame;
// tick[k] true where boundary k ends on the picture (a 2-pixel tick).
struct SectionTrace {
    std::array<int, LAYERS + 1> top{};
    std::array<int, LAYERS + 1> bottom{};
    std::array<bool, LAYERS + 1> drawn{};
    std::array<bool, LAYERS + 1> tick{};
};

// The depth section of raster rows 0..552: plane 0 is copied into plane 1
// and every row's samples are written back into plane 0 converted. Returns
// the layer bands of each raster row (index = raster row).
std::vector<SectionTrace> convertDepthSection(DisplayRaster& raster, const DepthSectionSettings& s);

// Image5: clears it to transparent and paints the bands of the view's raster
// rows 20..531 at x = 2 (row - 20), one pixel wide, in the layer colours
// (layers without a colour stay transparent), with a 2-pixel tick at each
// boundary.
void paintDepthSection(QImage& image5, const std::vector<SectionTrace>& traces,
                       const DepthSectionSettings& s);

// ShowLayers: the conversion and the painting.
inline void ShowLayers(DisplayRaster& raster, QImage& image5, const DepthSectionSettings& s) {
    paintDepthSection(image5, convertDepthSection(raster, s), s);
}

} // namespace tesk
