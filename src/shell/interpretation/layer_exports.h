#pragma once
// The interpretation as the exports see it: the text table converts its
// blocks of frames into the depth section, and the bitmap lays the layer
// colours and the boreholes over the radargram, as the window shows them.

#include "commands/export_common.h"
#include "shell/interpretation/borehole_image.h"
#include "shell/interpretation/layer_tools.h"

namespace tesk {

class LayerExports final : public InterpretationLayers {
  public:
    LayerExports(const LayerTools& layers, const BoreholeImage& boreholes)
        : layers_(layers), boreholes_(boreholes) {}

    void depthSection(DisplayRaster& raster, const ProfileStore&, int32_t) override {
        layers_.exportDepthSection(raster);
    }
    // The bitmap draws each screen through the radargram's chain first, whose
    // stages repaint both images for that screen.
    const QImage* boreholeImage(const ProfileStore&, int32_t) override {
        return boreholes_.image();
    }
    const QImage* depthSectionImage(const ProfileStore&, int32_t) override {
        return layers_.depthSectionImage();
    }

  private:
    const LayerTools& layers_;
    const BoreholeImage& boreholes_;
};

} // namespace tesk
