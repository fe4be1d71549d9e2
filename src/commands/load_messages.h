#pragma once
// The messages of a load: what the open command tells the operator about a
// reader's report, in the order the reader met their causes.

#include "store/interaction.h"
#include "store/load_report.h"
#include "store/messages.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace tesk {

enum class SegyFault;
struct SegyLoad;

// The messages a report of a file of the given kind (fileKind) calls for:
// its warnings with the fault's message among them where it arose, the
// first `skip` findings passed over (they were shown already). One message
// at most tells of too many frames: a count above 63999 (.mr3 "E034", .gpr
// and .geb "Number of frames > 64000") or, failing that, the slot limit
// (generation-13 work files "Error open file.", all others "E034"). A count
// clamped in a work file or a device recording, a cut, a cancel and a
// malformed record have no message; the read fault's message is shown by
// the open command once the progress panel is gone.
std::vector<Message> loadMessages(const LoadReport& r, uint8_t fileKind, std::size_t skip = 0);

// The warning of a file that ends before the frames its count field
// announces: how many of them were read (they are kept and shown). None
// when every announced frame was read, when the count was clamped or the
// read ended at the last slot, at a cancel or at a read fault (each has
// its own message or none), or when the file declares no count.
// Work files and device-family files (fileKind); a device recording's
// count is checked by its decoder, whose findings go to the check log.
// Generations 7 and 8 count in hundreds: a short last hundred is no fault.
std::optional<Message> partialLoadMessage(const LoadReport& r, uint8_t fileKind,
                                          const std::string& name);

// The findings of a report that loadMessages counts: its warnings and its fault.
std::size_t findingCount(const LoadReport& r);

// What a SEG-Y report adds to loadMessages (name: the file's path): the
// refusal of a layout the reader cannot take, or the trace a cut file ends
// in with the number of traces loaded. A read fault has the open command's
// read-fault message and the slot limit the "E034" of loadMessages; neither
// adds one here.
std::vector<Message> segyMessages(const SegyLoad& r, const std::string& name);

namespace msg {
// A SEG-Y file refused (trace -1: in its headers) or cut short in a trace;
// `traces` is the number loaded.
Message segyFault(const std::string& name, SegyFault fault, int64_t trace, uint64_t offset,
                  int64_t traces);
} // namespace msg

// The interaction a reader gets from the open command: everything goes to
// the operator's interaction; before a question the messages of the report
// so far are shown, and tell() shows the ones still left once the read ends.
class LoadInteraction final : public Interaction {
  public:
    LoadInteraction(Interaction& ui, uint8_t fileKind) : ui_(ui), fileKind_(fileKind) {}
    Answer show(const Message& m) override { return ui_.show(m); }
    Answer ask(const Message& question, const LoadReport& soFar) override {
        tell(soFar);
        return ui_.show(question);
    }
    void passStarted(Pass pass, const std::string& path) override { ui_.passStarted(pass, path); }
    void passTag(const std::string& tag) override { ui_.passTag(tag); }
    void progress(int64_t done, int64_t total) override { ui_.progress(done, total); }
    void passFinished() override { ui_.passFinished(); }

    // Shows the messages of the findings not shown yet.
    void tell(const LoadReport& r);

  private:
    Interaction& ui_;
    uint8_t fileKind_;
    std::size_t told_ = 0;
};

} // namespace tesk
