#pragma once
// The pieces of the batch front end: its interaction, opening a survey, the
// survey description and the pictures.

#include "commands/overview.h"
#include "display/view_state.h"
#include "store/interaction.h"
#include "store/profile_store.h"

#include <iosfwd>
#include <string>

namespace tesk::cli {

// Prints every message in English and answers questions without harm: the
// overwrite question Yes only with --force (and then silently), a device
// recording's implausible frame kept unless --replace-implausible, every
// other question No.
class BatchInteraction final : public Interaction {
  public:
    BatchInteraction(std::ostream& err, bool force, bool replace)
        : err_(err), force_(force), replace_(replace) {}
    Answer show(const Message& m) override;
    int problems = 0; // messages that reported a fault or a refusal

  private:
    std::ostream& err_;
    bool force_;
    bool replace_;
};

// True when path may be written: it does not exist, or the overwrite
// question was answered Yes (--force).
bool mayWrite(const std::string& path, BatchInteraction& ui);

// Opens a survey without append and takes the steps after the open, as the
// window does, into view. A file that holds no frames is reported.
bool openForBatch(ProfileStore& store, ViewState& view, const std::string& path,
                  BatchInteraction& ui, std::ostream& err);

// The last frame that holds data; -1 for none.
int lastFrameWithData(const ProfileStore& s);

void printInfo(const ProfileStore& s, const std::string& path, std::ostream& out);

// Text on pictures needs the toolkit's font machinery; no display is used.
void ensureGuiApplication();

// The format Qt writes a picture of that name in: "PNG", "JPEG" or "BMP"
// by its extension (letter case ignored); empty for any other name.
std::string pictureFormatFor(const std::string& path);

struct RenderRequest {
    std::string out;
    int start = 0;       // first frame in view
    bool overlay = true; // frame, scales and captions around the picture
    bool whole = false;  // the overview of the whole survey
    int width = DEFAULT_OVERVIEW_WIDTH;
};

// Draws the picture and writes it in the format its name asks for. A start
// frame after the last frame with data is refused (status 2). Returns the
// exit status.
int render(ProfileStore& store, const ViewState& view, const RenderRequest& r, std::ostream& err);

} // namespace tesk::cli
