#pragma once
// What a long pass needs from whoever started it: the progress panel, the
// message boxes (with their answers) and a way to abandon. The window, the
// batch front end and the tests each provide their own. Readers use it for
// their questions and their progress only; what they find goes into their
// LoadReport.

#include "store/load_report.h"
#include "store/messages.h"

#include <cstdint>
#include <string>

namespace tesk {

class Interaction {
  public:
    virtual ~Interaction() = default;
    // Shows a message and returns the answer (Ok for an information box).
    virtual Answer show(const Message& m) = 0;
    // A question a reader asks in the middle of a read; soFar is its report
    // up to the question. The open command first shows the messages of the
    // findings in soFar, so that the operator meets them in the order they
    // arose; by default only the question is shown.
    virtual Answer ask(const Message& question, const LoadReport& soFar) {
        (void)soFar;
        return show(question);
    }
    // Load and Save name the file in `path`; Scan (the velocity scan) names
    // nothing and reports the sample row it examines as `done` of 511;
    // Volume (building the volume) names nothing.
    enum class Pass { Load, Save, Scan, Volume };
    virtual void passStarted(Pass pass, const std::string& path) {
        (void)pass;
        (void)path;
    }
    // The reader appends a tag such as "   v16." to Label1 while it reads.
    virtual void passTag(const std::string& tag) { (void)tag; }
    // done of total units; called often: implementations throttle.
    virtual void progress(int64_t done, int64_t total) {
        (void)done;
        (void)total;
    }
    virtual void passFinished() {}
};

// Answers every question with the given answer and records nothing; for
// code paths that must not stop on a question.
class SilentInteraction final : public Interaction {
  public:
    explicit SilentInteraction(Answer a = Answer::No) : answer_(a) {}
    Answer show(const Message& m) override {
        return m.buttons == Buttons::Ok ? Answer::Ok : answer_;
    }

  private:
    Answer answer_;
};

} // namespace tesk
