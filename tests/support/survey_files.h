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

void writeBytes(const std::string& path, const std::string& bytes);
std::string readBytes(const std::string& path);

} // namespace tesk::testing
