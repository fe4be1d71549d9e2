#include "store/byte_source.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace tesk {

std::size_t MemorySource::read(uint64_t offset, uint8_t* dst, std::size_t n) {
    if (offset >= size_) return 0;
    const std::size_t take = std::min<uint64_t>(n, size_ - offset);
    std::memcpy(dst, data_ + offset, take);
    return take;
}

std::unique_ptr<FileSource> FileSource::open(const std::string& path) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return nullptr;
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        return nullptr;
    }
    return std::unique_ptr<FileSource>(new FileSource(fd, uint64_t(st.st_size)));
}

FileSource::~FileSource() {
    ::close(fd_);
}

std::size_t FileSource::read(uint64_t offset, uint8_t* dst, std::size_t n) {
    std::size_t done = 0;
    while (done < n) {
        const ssize_t r = ::pread(fd_, dst + done, n - done, off_t(offset + done));
        if (r < 0) {
            if (errno == EINTR) continue;
            failed_ = true;
            break;
        }
        if (r == 0) break;
        done += std::size_t(r);
    }
    return done;
}

bool fileExists(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0;
}

} // namespace tesk
