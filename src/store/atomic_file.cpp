#include "store/atomic_file.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace tesk {

std::unique_ptr<AtomicFileSink> AtomicFileSink::create(const std::string& target,
                                                       std::string& error) {
    std::string pattern = target + ".tesk-XXXXXX";
    std::vector<char> name(pattern.begin(), pattern.end());
    name.push_back('\0');
    const int fd = ::mkstemp(name.data());
    if (fd < 0) {
        error = std::strerror(errno);
        return nullptr;
    }
    // The replacement keeps the permissions of the file it replaces; a new
    // file gets the ordinary ones.
    struct stat st {};
    mode_t mode;
    if (::stat(target.c_str(), &st) == 0) {
        mode = st.st_mode & 07777;
    } else {
        const mode_t mask = ::umask(0);
        ::umask(mask);
        mode = 0666 & ~mask;
    }
    ::fchmod(fd, mode);
    return std::unique_ptr<AtomicFileSink>(new AtomicFileSink(fd, target, name.data()));
}

AtomicFileSink::~AtomicFileSink() {
    if (fd_ >= 0) ::close(fd_);
    if (!committed_) ::unlink(temp_.c_str());
}

bool AtomicFileSink::write(const uint8_t* data, std::size_t n) {
    if (fd_ < 0) return false;
    while (n > 0) {
        const ssize_t w = ::write(fd_, data, n);
        if (w < 0) {
            if (errno == EINTR) continue;
            error_ = std::strerror(errno);
            return false;
        }
        data += w;
        n -= std::size_t(w);
        written_ += uint64_t(w);
    }
#ifdef __linux__
    // Hand every few megabytes to the disk while the rest is still being
    // written, so that the flush at the end waits only for the last part
    // instead of for the whole survey. A failure here only loses the head
    // start; the fsync of commit() is what decides.
    constexpr uint64_t KICK = 4u << 20;
    if (written_ - kicked_ >= KICK) {
        ::sync_file_range(fd_, off_t(kicked_), off_t(written_ - kicked_), SYNC_FILE_RANGE_WRITE);
        kicked_ = written_;
    }
#endif
    return true;
}

bool AtomicFileSink::commit(std::string& error) {
    if (fd_ < 0) {
        error = error_.empty() ? "file already closed" : error_;
        return false;
    }
    if (!error_.empty()) {
        error = error_;
        return false;
    }
    if (::fsync(fd_) != 0) {
        error = std::strerror(errno);
        return false;
    }
    const int fd = fd_;
    fd_ = -1;
    if (::close(fd) != 0) {
        error = std::strerror(errno);
        return false;
    }
    if (::rename(temp_.c_str(), target_.c_str()) != 0) {
        error = std::strerror(errno);
        return false;
    }
    committed_ = true;
    // The rename itself lives in the directory: flush it too, so a power
    // cut cannot bring back the old name.
    const auto slash = target_.find_last_of('/');
    const std::string dir = slash == std::string::npos ? "." : target_.substr(0, slash + 1);
    const int dfd = ::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dfd >= 0) {
        ::fsync(dfd);
        ::close(dfd);
    }
    return true;
}

} // namespace tesk
