#include "volume/volume_controls.h"

#include "store/settings_catalog.h"

namespace tesk {

namespace {

bool storeItem(ProfileStore& s, int cellNo, int item, int count) {
    if ((s.stateFlags & state::Busy) || item < 0 || item >= count) return false;
    s.header.value[std::size_t(cellNo)] = uint8_t(item);
    s.stateFlags = uint16_t(s.stateFlags | state::Changed);
    return true;
}

} // namespace

bool fillMethodChanged(ProfileStore& s, int item) {
    return storeItem(s, hdr::VolumeInterp, item, items::VolumeInterp);
}

bool profileDistanceChanged(ProfileStore& s, int item) {
    return storeItem(s, hdr::ProfileDistance, item, items::ProfileDistance);
}

bool sectionLayoutChanged(ProfileStore& s, int item) {
    return storeItem(s, hdr::Section, item, items::Section);
}

bool gapLimitClicked(ProfileStore& s, bool checked) {
    if (s.stateFlags & state::Busy) return false;
    setBit(s.header.value[hdr::AmplitudeFlags], hdr::ProcessAll, checked);
    s.stateFlags = uint16_t(s.stateFlags | state::Changed);
    return true;
}

CaptionLook gapLimitLook(bool checked, bool english) {
    if (checked) return {english ? "Calculate to the Profile" : "Обработать до Профиля", 0x000080};
    return {english ? "Calculate All" : "Обработать Всё", 0x800000};
}

bool volumeBuildWanted(VolumeView v, uint16_t stateFlags, bool leftCtrl, bool layersChecked) {
    switch (v) {
    case VolumeView::Slices:
    case VolumeView::Carpet:
        return (stateFlags & state::VolumeStale) || leftCtrl;
    case VolumeView::Sections:
        return true;
    case VolumeView::Profiles:
        return layersChecked && ((stateFlags & state::ViewMask) != 0x10 || leftCtrl);
    }
    return false;
}

} // namespace tesk
