#pragma once
// The check log of a device recording's load: each finding of the reader is
// a code line, a message line in the language chosen at the start of the
// load, and an empty line.

#include "store/device_recording.h"

namespace tesk::geo {

// The findings of one load, written in the language selected at its start.
class CheckLog {
  public:
    CheckLog(DeviceCheckLog& log, bool english) : log_(log), english_(english) {
        log_.lines.assign({"", "TEST GEO", ""});
    }
    // Code line ("ERROR. E11.C 17"), message line, empty line. frame < 0:
    // the finding concerns the whole file and the line carries no number.
    void finding(int code, int frame);
    bool faulty() const { return faulty_; }
    int findings() const { return findings_; }
    void clear() { log_.lines.clear(); }

  private:
    DeviceCheckLog& log_;
    bool english_;
    bool faulty_ = false;
    int findings_ = 0;
};

} // namespace tesk::geo
