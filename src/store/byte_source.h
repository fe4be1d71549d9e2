#pragma once
// Where a reader takes its bytes from: a file on disk or a block of memory.
// Readers never see a path; tests and fuzz targets feed memory.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace tesk {

class ByteSource {
  public:
    virtual ~ByteSource() = default;
    // Total length in bytes.
    virtual uint64_t size() const = 0;
    // Copies up to n bytes starting at offset into dst; returns the number
    // copied, fewer only at the end of the data or on a read fault.
    virtual std::size_t read(uint64_t offset, uint8_t* dst, std::size_t n) = 0;
    // True once a read fault (not the end of data) has happened.
    virtual bool failed() const { return false; }
};

class MemorySource final : public ByteSource {
  public:
    MemorySource(const uint8_t* data, std::size_t size) : data_(data), size_(size) {}
    explicit MemorySource(const std::vector<uint8_t>& bytes)
        : data_(bytes.data()), size_(bytes.size()) {}
    uint64_t size() const override { return size_; }
    std::size_t read(uint64_t offset, uint8_t* dst, std::size_t n) override;

  private:
    const uint8_t* data_;
    std::size_t size_;
};

// A file opened for reading; positioned reads, no shared file offset.
class FileSource final : public ByteSource {
  public:
    // Returns null when the file cannot be opened for reading.
    static std::unique_ptr<FileSource> open(const std::string& path);
    ~FileSource() override;
    uint64_t size() const override { return size_; }
    std::size_t read(uint64_t offset, uint8_t* dst, std::size_t n) override;
    bool failed() const override { return failed_; }

  private:
    FileSource(int fd, uint64_t size) : fd_(fd), size_(size) {}
    int fd_;
    uint64_t size_;
    bool failed_ = false;
};

bool fileExists(const std::string& path);

} // namespace tesk
