#include "commands/load_messages.h"

#include "commands/segy.h"
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

std::vector<Message> segyMessages(const SegyLoad& r, const std::string& name) {
    switch (r.segyFault) {
    case SegyFault::None:
    case SegyFault::ReadFault:
        return {};
    default:
        return {msg::segyFault(name, r.segyFault, r.faultTrace, r.segyFaultOffset, r.framesRead)};
    }
}

namespace msg {

Message segyFault(const std::string& name, SegyFault fault, int64_t trace, uint64_t offset,
                  int64_t traces) {
    const std::string at = std::to_string(offset);
    std::string ru, en;
    switch (fault) {
    case SegyFault::None:
    case SegyFault::ReadFault: // the open command's read-fault message
        return Message{Icon::Information, Buttons::Ok, "", ""};
    case SegyFault::TooShort:
        ru = "файл короче заголовков (3600 байт)";
        en = "the file is shorter than its headers (3600 bytes)";
        break;
    case SegyFault::UnknownFormat:
        ru = "неизвестный код формата отсчётов (байт " + at + ")";
        en = "unknown sample format code (byte " + at + ")";
        break;
    case SegyFault::BadSampleCount:
        ru = "нет числа отсчётов в трассе (байт " + at + ")";
        en = "no number of samples per trace (byte " + at + ")";
        break;
    case SegyFault::ExtendedHeaders:
        ru = "число дополнительных текстовых заголовков не помещается в файле (байт " + at + ")";
        en = "the count of extended textual headers does not fit the file (byte " + at + ")";
        break;
    case SegyFault::NoTraces:
        ru = "в файле нет ни одной полной трассы";
        en = "the file holds no whole trace";
        break;
    case SegyFault::TraceCut: {
        const std::string n = std::to_string(trace + 1);
        const std::string loaded = std::to_string(traces);
        return Message{Icon::Warning, Buttons::Ok,
                       "Файл = " + name + "\r" + "обрезан в трассе " + n + " (байт " + at + ").\r" +
                           "Загружено трасс: " + loaded + ".",
                       "File = " + name + "\r" + "cut short in trace " + n + " (byte " + at +
                           ").\r" + "Traces loaded: " + loaded + "."};
    }
    }
    return Message{Icon::Warning, Buttons::Ok,
                   "Ошибка! Файл = " + name + "\r" + "не соответствует формату <SEG-Y>: " + ru,
                   "ERROR. File = " + name + "\r" + "incompatible format <SEG-Y>: " + en};
}

} // namespace msg

} // namespace tesk
