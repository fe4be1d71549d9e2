#pragma once
// Small surveys written to temporary files for the command tests.

#include "store/profile_store.h"

#include <filesystem>
#include <string>

namespace tesk::testing {

// A fresh temporary directory, removed with the object.
class TempDir {
  public:
    TempDir();
    ~TempDir();
    std::string file(const std::string& name) const { return (path_ / name).string(); }
    const std::filesystem::path& path() const { return path_; }

  private:
    std::filesystem::path path_;
};

// Fills `frames` frames from slot `first` with a recognisable pattern:
// sample j of frame i is 1 + ((i + seed) * 7 + j) % 255 (never 0), and a
// marker of level 1 on every hundredth frame.
void fillPattern(ProfileStore& s, int first, int frames, int seed = 0);

// Writes a generation-16 work file of `frames` patterned frames; `english`
// sets the language bit. Returns the path.
std::string writeSurvey(const std::string& path, int frames, bool english = true, int seed = 0);

// Writes the survey in s as a generation-16 work file. Returns the path.
std::string writeStore(const std::string& path, ProfileStore& s);

// Parallel straight profiles for the volume: line p (0-based) lies at
// rectangular Y = y0 + p * spacingCm, its frame i at X = x0 + i * stepCm,
// one blank frame after every line; sample j of every frame of line p is
// parallelLineCode(p, j), never 0.
struct ParallelLines {
    int lines = 3;
    int frames = 200; // per line
    int32_t stepCm = 5;
    int32_t spacingCm = 100;
    int32_t x0 = 0, y0 = 0;
};
inline uint8_t parallelLineCode(int line, int sample) {
    return uint8_t(10 + 40 * line + sample % 100);
}
void placeParallelLines(ProfileStore& s, const ParallelLines& p);
// Writes the lines as a generation-16 work file; returns the path.
std::string writeParallelLines(const std::string& path, const ParallelLines& p);

void writeBytes(const std::string& path, const std::string& bytes);
std::string readBytes(const std::string& path);

} // namespace tesk::testing
