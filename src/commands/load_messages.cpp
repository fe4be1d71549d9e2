#include "commands/load_messages.h"

#include "store/device_family.h"
#include "store/device_recording.h"
#include "store/profile_store.h"

#include <optional>

namespace tesk {

namespace {

// The fileKind of a work file is its generation; generation 13 words the
// slot limit in its own way.
constexpr uint8_t GENERATION_13 = 13;

bool deviceFamily(uint8_t fileKind) {
    return fileKind == kind::BitPlane || fileKind == kind::MirnGpr || fileKind == kind::MirnGeb;
}

std::optional<Message> warningMessage(LoadWarning w, uint8_t fileKind) {
    switch (w) {
    case LoadWarning::CountClamped:
        if (fileKind == kind::BitPlane) return msg::tooManyFramesE034();
        if (deviceFamily(fileKind)) return msg::frameCountOver64000();
        return std::nullopt;
    case LoadWarning::AmplitudeBelow12:
        return msg::amplitudeWidthBelow12();
    case LoadWarning::AmplitudeAbove12:
        return msg::amplitudeWidthAbove12();
    case LoadWarning::UnknownModel:
        return msg::geoModelUnknown();
    case LoadWarning::UnknownStructure:
        return msg::unknownStructure();
    case LoadWarning::DataError:
        return msg::geoDataError();
    }
    return std::nullopt;
}

} // namespace

std::optional<Message> partialLoadMessage(const LoadReport& r, uint8_t fileKind,
                                          const std::string& name) {
    if (fileKind == kind::DeviceRecording) return std::nullopt;
    // Generations 7 and 8 count their frames in hundreds: the last hundred
    // may be short.
    const int64_t slack = (fileKind == 7 || fileKind == 8) ? 99 : 0;
    if (r.framesDeclared < 0 || r.framesRead + slack >= r.framesDeclared) return std::nullopt;
    if (r.has(LoadWarning::CountClamped)) return std::nullopt;
    switch (r.fault) {
    case LoadFault::None:
    case LoadFault::CutShort:
    case LoadFault::Malformed:
        break;
    default:
        return std::nullopt;
    }
    const std::string read = std::to_string(r.framesRead);
    const std::string declared = std::to_string(r.framesDeclared);
    return Message{Icon::Warning, Buttons::Ok,
                   "Файл = " + name + "\rпрочитан не полностью: прочитано кадров " + read + " из " +
                       declared + ".",
                   "File = " + name + "\rwas read only in part: " + read + " of " + declared +
                       " frames were read."};
}

std::size_t findingCount(const LoadReport& r) {
    return r.warnings.size() + (r.fault != LoadFault::None ? 1 : 0);
}

std::vector<Message> loadMessages(const LoadReport& r, uint8_t fileKind, std::size_t skip) {
    std::vector<Message> out;
    bool tooManyTold = false;
    std::size_t finding = 0;
    auto say = [&](std::optional<Message> m) {
        if (m && finding >= skip) out.push_back(std::move(*m));
        ++finding;
    };
    auto fault = [&] {
        std::optional<Message> m;
        if (r.fault == LoadFault::SlotLimit && !tooManyTold)
            m = fileKind == GENERATION_13 ? msg::tooManyFramesOpen() : msg::tooManyFramesE034();
        say(m);
    };
    for (std::size_t i = 0; i < r.warnings.size(); ++i) {
        if (r.fault != LoadFault::None && i == r.warningsBeforeFault) fault();
        const LoadWarning w = r.warnings[i];
        if (w == LoadWarning::CountClamped && deviceFamily(fileKind)) tooManyTold = true;
        say(warningMessage(w, fileKind));
    }
    if (r.fault != LoadFault::None && r.warningsBeforeFault >= r.warnings.size()) fault();
    return out;
}

void LoadInteraction::tell(const LoadReport& r) {
    for (const Message& m : loadMessages(r, fileKind_, told_)) ui_.show(m);
    told_ = findingCount(r);
}

} // namespace tesk
