#pragma once
// Shared helpers of the store tests: an Interaction that records every
// message and answers questions from a queue, hand-built work file images,
// byte sinks for the writer and a scratch directory on disk.

#include "store/interaction.h"
#include "store/profile_store.h"
#include "store/work_file.h"

#include "file_images.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <deque>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

namespace tesk::testing {

// Logs every message shown and answers questions from a queue. A question
// with no queued answer is a test failure: the code asked something the
// test did not expect.
class RecordingInteraction final : public Interaction {
  public:
    Answer show(const Message& m) override {
        shown.push_back(m);
        if (m.buttons == Buttons::Ok) return Answer::Ok;
        if (answers.empty()) {
            ADD_FAILURE() << "unexpected question: " << m.en;
            return Answer::No;
        }
        const Answer a = answers.front();
        answers.pop_front();
        return a;
    }
    void passTag(const std::string& tag) override { tags.push_back(tag); }

    std::vector<Message> shown;
    std::deque<Answer> answers;
    std::vector<std::string> tags;
};

using images::GEN11;
using images::GEN12;
using images::GEN13;
using images::GEN16;
using images::GEN7;
using images::GEN8;
using images::GEN9;
using images::Layout;

inline std::string genName(int generation) {
    return "gen" + std::to_string(generation);
}

// A work file laid out by hand (tools/file_images.h) that also names the
// generation its version byte selects, for calling the reader directly.
class WorkFileImage : public images::WorkFileImage {
  public:
    using images::WorkFileImage::WorkFileImage;
    Generation generation() const {
        auto g = generationForVersion(layout.versionByte);
        EXPECT_TRUE(g.has_value());
        return g.value_or(Generation{});
    }
};

// Header bytes 18..51 and 80..106 of a generation-16 file that every reader
// rule accepts as they stand (the start-up settings).
inline void setPlainSettings16(WorkFileImage& f) {
    f.header(18) = 1;
    f.header(19) = 1;
    f.header(20) = 1;
    f.setHeader16(21, 500);
    f.header(32) = 0x42;
    f.header(33) = 0x38;
    f.header(35) = 1;
    f.header(37) = 128;
    f.header(38) = 128;
    f.header(39) = 128;
    f.setHeader16(42, 511);
    f.header(44) = 1;
    f.header(45) = 10;
    f.header(46) = 5;
    f.header(47) = 2;
    f.header(49) = 2;
    f.header(50) = 8;
    f.header(51) = 1;
}

class VectorSink final : public ByteSink {
  public:
    bool write(const uint8_t* data, std::size_t n) override {
        bytes.insert(bytes.end(), data, data + n);
        return true;
    }
    std::vector<uint8_t> bytes;
};

// Accepts the first `okWrites` writes, then fails every one.
class FailingSink final : public ByteSink {
  public:
    explicit FailingSink(int okWrites) : left_(okWrites) {}
    bool write(const uint8_t* data, std::size_t n) override {
        if (left_ <= 0) return false;
        --left_;
        written += n;
        (void)data;
        return true;
    }
    std::size_t written = 0;

  private:
    int left_;
};

// A fresh directory, removed with everything in it at the end of the test.
class ScratchDir {
  public:
    ScratchDir() {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "tesk-store-XXXXXX").string();
        std::vector<char> name(pattern.begin(), pattern.end());
        name.push_back('\0');
        if (::mkdtemp(name.data()) == nullptr) ADD_FAILURE() << "mkdtemp failed";
        path_ = name.data();
    }
    ~ScratchDir() {
        std::error_code ec;
        std::filesystem::remove_all(path_, ec);
    }
    std::string file(const std::string& name) const { return (path_ / name).string(); }
    const std::filesystem::path& path() const { return path_; }
    std::vector<std::string> entries() const {
        std::vector<std::string> out;
        for (const auto& e : std::filesystem::directory_iterator(path_))
            out.push_back(e.path().filename().string());
        return out;
    }

  private:
    std::filesystem::path path_;
};

inline void writeBytes(const std::string& path, const std::vector<uint8_t>& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    ASSERT_TRUE(out.good()) << path;
}

inline std::vector<uint8_t> readBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in),
                                std::istreambuf_iterator<char>());
}

// Stores are large (64001 frames); tests take one from a pool and give it
// back when done, and every store handed out is first reset to the start-up
// state. A store straight from the constructor is checked against a reset
// one in the store tests.
struct ReturnToPool {
    void operator()(ProfileStore* p) const;
};
using StorePtr = std::unique_ptr<ProfileStore, ReturnToPool>;

inline std::vector<std::unique_ptr<ProfileStore>>& storePool() {
    static std::vector<std::unique_ptr<ProfileStore>> pool;
    return pool;
}
inline void ReturnToPool::operator()(ProfileStore* p) const {
    storePool().emplace_back(p);
}

inline StorePtr newStore() {
    auto& pool = storePool();
    if (pool.empty()) return StorePtr(new ProfileStore());
    ProfileStore* p = pool.back().release();
    pool.pop_back();
    p->reset();
    return StorePtr(p);
}

// Gives frame `slot` data: sample 0 set to `code` (non-zero makes it in-profile).
inline void putSample(ProfileStore& s, int slot, uint8_t code = 130) {
    s.frame(slot).value[0] = code;
}

} // namespace tesk::testing
