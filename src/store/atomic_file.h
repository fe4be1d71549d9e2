#pragma once
// Saving without risk to the file already on disk: bytes go to a temporary
// file beside the target, which replaces the target only after everything
// was written and flushed to the disk.

#include "store/work_file.h"

#include <cstdint>
#include <memory>
#include <string>

namespace tesk {

class AtomicFileSink final : public ByteSink {
  public:
    // Null with a reason when the temporary file cannot be created.
    static std::unique_ptr<AtomicFileSink> create(const std::string& target, std::string& error);
    ~AtomicFileSink() override; // discards the temporary file unless committed
    bool write(const uint8_t* data, std::size_t n) override;
    // Flushes, closes and renames over the target. False with a reason on
    // any failure; the target is then as it was.
    bool commit(std::string& error);
    const std::string& lastError() const { return error_; }

  private:
    AtomicFileSink(int fd, std::string target, std::string temp)
        : fd_(fd), target_(std::move(target)), temp_(std::move(temp)) {}
    int fd_;
    std::string target_;
    std::string temp_;
    std::string error_;
    bool committed_ = false;
    uint64_t written_ = 0; // bytes written so far
    uint64_t kicked_ = 0;  // bytes already handed to the disk ahead of the flush
};

} // namespace tesk
