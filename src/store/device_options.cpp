// The device-options panel's lists: their items, the start items and the
// clamping of stored items into the lists' ranges.

#include "store/device_family.h"

#include <algorithm>
#include <string>
#include <vector>

namespace tesk {

std::vector<std::string> deviceOptionItems(DeviceControl c) {
    std::vector<std::string> out;
    switch (c) {
    case DeviceControl::ComboBox61:
        out.reserve(deviceItems::StartDelayCount);
        for (int i = 0; i < deviceItems::StartDelayCount; ++i)
            out.push_back(std::to_string(i) + " ns");
        break;
    case DeviceControl::ComboBox62:
        out.assign(deviceItems::SamplingModes.begin(), deviceItems::SamplingModes.end());
        break;
    case DeviceControl::ComboBox63:
        out.assign(deviceItems::Channels.begin(), deviceItems::Channels.end());
        break;
    case DeviceControl::ComboBox64:
        for (int i = 0; i < deviceItems::ProbeLevelCount; ++i) out.push_back(std::to_string(i));
        break;
    case DeviceControl::ComboBox66:
        out.assign(deviceItems::FrameAreas.begin(), deviceItems::FrameAreas.end());
        break;
    case DeviceControl::ComboBox46:
        out.reserve(deviceItems::Hidden46Count);
        for (int i = 0; i < deviceItems::Hidden46Count; ++i) out.push_back(std::to_string(i));
        break;
    }
    return out;
}

int deviceOptionStartItem(DeviceControl c) {
    const DeviceOptions d;
    switch (c) {
    case DeviceControl::ComboBox61:
        return d.startDelayItem;
    case DeviceControl::ComboBox62:
        return d.samplingModeItem;
    case DeviceControl::ComboBox63:
        return d.channelItem;
    case DeviceControl::ComboBox64:
        return d.probeLevelItem;
    case DeviceControl::ComboBox66:
        return d.frameAreaItem;
    case DeviceControl::ComboBox46:
        return d.hiddenItem46;
    }
    return 0;
}

DeviceOptions clampedDeviceOptions(const DeviceOptions& o) {
    DeviceOptions c = o;
    c.startDelayItem = std::clamp(o.startDelayItem, 0, deviceItems::StartDelayCount - 1);
    c.samplingModeItem =
        std::clamp(o.samplingModeItem, 0, int(deviceItems::SamplingModes.size()) - 1);
    c.channelItem = std::clamp(o.channelItem, 0, int(deviceItems::Channels.size()) - 1);
    c.probeLevelItem = std::clamp(o.probeLevelItem, 0, deviceItems::ProbeLevelCount - 1);
    c.frameAreaItem = std::clamp(o.frameAreaItem, 0, int(deviceItems::FrameAreas.size()) - 1);
    c.hiddenItem46 = std::clamp(o.hiddenItem46, 0, deviceItems::Hidden46Count - 1);
    return c;
}

} // namespace tesk
