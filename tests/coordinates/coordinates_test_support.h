#pragma once
// Helpers of the coordinate tests: reading the generated fixtures, checking
// a frame's position and height against values worked out from the files.

#include "support/store_test_support.h"

#include "coordinate_files.h"
#include "store/byte_source.h"
#include "store/profile_store.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace tesk::testing {

inline std::vector<uint8_t> fixtureBytes(const std::string& name) {
    for (const auto& f : demo::coordinateFixtures())
        if (f.name == name) return std::vector<uint8_t>(f.bytes.begin(), f.bytes.end());
    ADD_FAILURE() << "no fixture " << name;
    return {};
}

inline std::vector<uint8_t> toBytes(const std::string& s) {
    return std::vector<uint8_t>(s.begin(), s.end());
}

// The position, height and name a frame should hold.
struct FramePosition {
    int frame;
    int latDegrees;
    uint32_t latFraction;
    int lonDegrees;
    uint32_t lonFraction;
    uint32_t heightCm;
    std::string name = {}; // checked when not empty
};

inline std::string frameName(const FrameRecord& f) {
    std::string n;
    for (int c = cell::PointName; c < cell::PointName + 6; ++c)
        if (f.value[size_t(c)]) n += char(f.value[size_t(c)]);
    return n;
}

inline void expectPosition(const ProfileStore& s, const FramePosition& e) {
    const FrameRecord& f = s.frame(e.frame);
    EXPECT_EQ(f.value[cell::LatDegrees], e.latDegrees) << "frame " << e.frame;
    EXPECT_EQ(f.get24(cell::LatFraction), e.latFraction) << "frame " << e.frame;
    EXPECT_EQ(f.value[cell::LonDegrees], e.lonDegrees) << "frame " << e.frame;
    EXPECT_EQ(f.get24(cell::LonFraction), e.lonFraction) << "frame " << e.frame;
    EXPECT_EQ(f.reliefHeight(), e.heightCm) << "frame " << e.frame;
    if (!e.name.empty()) {
        EXPECT_EQ(frameName(f), e.name) << "frame " << e.frame;
    }
}

inline bool hasPosition(const FrameRecord& f) {
    for (int c = cell::LonDegrees; c < cell::LatFraction + 3; ++c)
        if (f.value[size_t(c)]) return true;
    return false;
}

} // namespace tesk::testing
