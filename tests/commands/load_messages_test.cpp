// What the open command tells the operator about a load: the messages a
// reader's report calls for, in the order the reader met their causes; the
// slot limit of every work-file generation and the order of warnings and
// questions through the whole command; the options file's read fault.

#include "support/store_test_support.h"

#include "commands/file_commands.h"
#include "commands/load_messages.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace tesk::testing {
namespace {

// --- the wording of reports -------------------------------------------------------

const char* const E034 = "Error(E034).\rThe total file has more than 64000 staff!";
const char* const OPEN_ERROR = "Error open file.\rThe total file has more than 64000 staff!";

const Message TOO_MANY{Icon::Warning, Buttons::Ok, E034, E034};
const Message FRAMES_OVER_64000{Icon::Error, Buttons::Ok, "Ошибка! Количество кадров > 64000.",
                                "Error! Number of frames > 64000"};
const Message WIDTH_BELOW_12{Icon::Warning, Buttons::Ok, "Внимание! Величина Амплитуды < 12 бит.",
                             "Error! Amplitude size < 12 bit"};
const Message WIDTH_ABOVE_12{Icon::Warning, Buttons::Ok, "Внимание! Величина Амплитуды > 12 бит.",
                             "Error! Amplitude size > 12 bit"};
const Message UNKNOWN_MODEL{Icon::Error, Buttons::Ok, "Ошибка! Тип георадара не определён",
                            "Error! Incorrect Type GtoRadar."};
const Message UNKNOWN_STRUCTURE{
    Icon::Warning, Buttons::Ok,
    "Ошибка(E027). Неизвестная модель илиОшибка внутренней структуры файла",
    "ERROR(E027). Unknown model or internal Error of structure of a file"};
const Message DATA_ERROR{Icon::Warning, Buttons::Ok, "Ошибка Данных GPS!", "Error Data GPS!"};

// A report with the warnings found before its fault, the fault, and those after.
LoadReport report(std::vector<LoadWarning> before, LoadFault fault,
                  std::vector<LoadWarning> after = {}) {
    LoadReport r;
    for (LoadWarning w : before) r.warn(w);
    if (fault != LoadFault::None) r.stop(fault, 3, 1000);
    for (LoadWarning w : after) r.warn(w);
    return r;
}

struct Wording {
    const char* name;
    uint8_t fileKind;
    LoadReport report;
    std::vector<Message> messages;
};

std::ostream& operator<<(std::ostream& os, const Wording& w) {
    return os << w.name;
}

using W = LoadWarning;
using F = LoadFault;

std::vector<Wording> wordings() {
    return {
        // .mr3: a count above 63999 and the slot limit are both "E034", told once.
        {"Mr3CountAbove63999", kind::BitPlane, report({W::CountClamped}, F::None), {TOO_MANY}},
        {"Mr3SlotLimit", kind::BitPlane, report({}, F::SlotLimit), {TOO_MANY}},
        {"Mr3CountAndSlotLimit",
         kind::BitPlane,
         report({W::CountClamped}, F::SlotLimit),
         {TOO_MANY}},
        // .gpr and .geb: the count has its own error box; the slot limit is E034.
        {"GebCountAbove63999",
         kind::MirnGeb,
         report({W::CountClamped}, F::None),
         {FRAMES_OVER_64000}},
        {"GprCountAbove63999",
         kind::MirnGpr,
         report({W::CountClamped}, F::None),
         {FRAMES_OVER_64000}},
        {"GebSlotLimit", kind::MirnGeb, report({}, F::SlotLimit), {TOO_MANY}},
        {"GprSlotLimit", kind::MirnGpr, report({}, F::SlotLimit), {TOO_MANY}},
        {"GebCountAndSlotLimitGiveOneMessage",
         kind::MirnGeb,
         report({W::CountClamped}, F::SlotLimit),
         {FRAMES_OVER_64000}},
        {"GebWidthBelow12",
         kind::MirnGeb,
         report({W::AmplitudeBelow12}, F::None),
         {WIDTH_BELOW_12}},
        {"GebWidthAbove12",
         kind::MirnGeb,
         report({W::AmplitudeAbove12}, F::None),
         {WIDTH_ABOVE_12}},
        {"GebCountThenWidth",
         kind::MirnGeb,
         report({W::CountClamped, W::AmplitudeBelow12}, F::CutShort),
         {FRAMES_OVER_64000, WIDTH_BELOW_12}},
        // .geo: the refusals, the slot limit before the data error found at the end;
        // a clamped count is only a finding of the check log.
        {"GeoUnknownModel",
         kind::DeviceRecording,
         report({W::UnknownModel}, F::Refused),
         {UNKNOWN_MODEL}},
        {"GeoUnknownStructure",
         kind::DeviceRecording,
         report({W::UnknownStructure}, F::Refused),
         {UNKNOWN_STRUCTURE}},
        {"GeoCountFieldAbove63999",
         kind::DeviceRecording,
         report({W::CountClamped, W::DataError}, F::None),
         {DATA_ERROR}},
        {"GeoSlotLimitThenDataError",
         kind::DeviceRecording,
         report({}, F::SlotLimit, {W::DataError}),
         {TOO_MANY, DATA_ERROR}},
        // Work files: the count is clamped without a word.
        {"WorkFileCountClamped", 16, report({W::CountClamped}, F::None), {}},
        // No message of their own (the read fault's comes after the progress panel).
        {"CutShort", kind::MirnGeb, report({}, F::CutShort), {}},
        {"ReadFault", 16, report({}, F::ReadFault), {}},
        {"Cancelled", kind::DeviceRecording, report({}, F::Cancelled), {}},
        {"Malformed", kind::DeviceRecording, report({}, F::Malformed), {}},
    };
}

class LoadWording : public ::testing::TestWithParam<Wording> {};

TEST_P(LoadWording, MessagesInTheOrderTheirCausesArose) {
    const Wording& c = GetParam();
    const std::vector<Message> got = loadMessages(c.report, c.fileKind);
    ASSERT_EQ(got.size(), c.messages.size());
    for (std::size_t i = 0; i < got.size(); ++i) {
        EXPECT_EQ(got[i].icon, c.messages[i].icon) << i;
        EXPECT_EQ(got[i].buttons, c.messages[i].buttons) << i;
        EXPECT_EQ(got[i].ru, c.messages[i].ru) << i;
        EXPECT_EQ(got[i].en, c.messages[i].en) << i;
    }
}

INSTANTIATE_TEST_SUITE_P(Reports, LoadWording, ::testing::ValuesIn(wordings()),
                         [](const auto& info) { return std::string(info.param.name); });

// A read that ends before the frames the file announces says how many of
// them it brought; every other end of a read has its own word or none.
TEST(PartialLoad, TellsHowManyOfTheAnnouncedFramesWereRead) {
    struct Case {
        const char* name;
        int read;
        int64_t declared;
        LoadFault fault;
        std::vector<LoadWarning> warnings;
        bool told;
    };
    const Case cases[] = {
        {"ends between two records", 700, 1020, LoadFault::None, {}, true},
        {"ends inside a record", 701, 1020, LoadFault::CutShort, {}, true},
        {"no block key further on", 30, 90, LoadFault::Malformed, {}, true},
        {"nothing but the header", 0, 1020, LoadFault::None, {}, true},
        {"every frame read", 1020, 1020, LoadFault::None, {}, false},
        {"no count in the file", 50, -1, LoadFault::None, {}, false},
        {"count clamped", 63999, 70000, LoadFault::None, {LoadWarning::CountClamped}, false},
        {"last slot reached", 100, 1020, LoadFault::SlotLimit, {}, false},
        {"cancelled at a question", 100, 1020, LoadFault::Cancelled, {}, false},
        {"read fault", 100, 1020, LoadFault::ReadFault, {}, false},
    };
    // Generations 7 and 8 announce hundreds of frames: 1050 frames are "1100".
    LoadReport hundreds;
    hundreds.framesRead = 1050;
    hundreds.framesDeclared = 1100;
    EXPECT_FALSE(partialLoadMessage(hundreds, 7, "/d/a.gem"));
    hundreds.framesRead = 1000;
    EXPECT_TRUE(partialLoadMessage(hundreds, 8, "/d/a.gem"));
    for (const Case& c : cases) {
        LoadReport r;
        r.framesRead = c.read;
        r.framesDeclared = c.declared;
        for (LoadWarning w : c.warnings) r.warn(w);
        if (c.fault != LoadFault::None) r.stop(c.fault, c.read, 0);
        const auto m = partialLoadMessage(r, 16, "/d/a.gem");
        EXPECT_FALSE(partialLoadMessage(r, kind::DeviceRecording, "/d/a.geo"))
            << c.name << ": a device recording's decoder reports its own findings";
        ASSERT_EQ(m.has_value(), c.told) << c.name;
        if (!m) continue;
        EXPECT_EQ(m->icon, Icon::Warning) << c.name;
        EXPECT_EQ(m->buttons, Buttons::Ok) << c.name;
        const std::string n = std::to_string(c.read), d = std::to_string(c.declared);
        EXPECT_EQ(m->ru, "Файл = /d/a.gem\rпрочитан не полностью: прочитано кадров " + n + " из " +
                             d + ".")
            << c.name;
        EXPECT_EQ(m->en, "File = /d/a.gem\rwas read only in part: " + n + " of " + d +
                             " frames were read.")
            << c.name;
    }
}

// --- through the open command ---------------------------------------------------------

class OpenMessages : public ::testing::Test {
  protected:
    std::string put(const std::string& name, const std::vector<uint8_t>& bytes) {
        const std::string p = dir.file(name);
        writeBytes(p, bytes);
        return p;
    }
    ScratchDir dir;
    StorePtr s = newStore();
    RecordingInteraction ui;
};

struct LimitCase {
    Layout layout;
    int startSlot;       // frameCount of the survey appended to
    int framesRead;      // records that fit
    const char* message; // nullptr: none
    const char* name;
};

class SlotLimit : public OpenMessages, public ::testing::WithParamInterface<LimitCase> {};

TEST_P(SlotLimit, LoaderStopsAtTheLastSlotAndSaysSo) {
    const LimitCase& c = GetParam();
    WorkFileImage f(c.layout);
    // Ten records present; generations 7 and 8 announce a hundred.
    f.setCount(c.layout.generation <= 8 ? 1 : 10);
    for (int i = 0; i < 10; ++i) f.record(i)[0] = uint8_t(60 + i);
    s->frameCount = c.startSlot;
    const OpenResult r = openSurveyFile(*s, put("more.gem", f.bytes), true, ui);
    EXPECT_EQ(r.report.framesRead, c.framesRead);
    // The frames read so far stay.
    const uint8_t last =
        c.layout.generation == 7 || c.layout.generation == 8 || c.layout.generation == 9
            ? uint8_t((60 + c.framesRead - 1 + 1) * 2)
            : uint8_t(60 + c.framesRead - 1);
    EXPECT_EQ(s->frame(c.startSlot + c.framesRead - 1).value[0], last);
    if (c.message == nullptr) {
        EXPECT_TRUE(ui.shown.empty());
        return;
    }
    ASSERT_EQ(ui.shown.size(), 1u);
    EXPECT_EQ(ui.shown[0].en, c.message);
    EXPECT_EQ(ui.shown[0].ru, c.message);
    EXPECT_EQ(ui.shown[0].icon, Icon::Warning);
    EXPECT_EQ(ui.shown[0].buttons, Buttons::Ok);
}

INSTANTIATE_TEST_SUITE_P(Generations, SlotLimit,
                         ::testing::Values(
                             // Generations 8, 9, 11, 12 and 16 stop when the slot passes 63999.
                             LimitCase{GEN16, 63995, 5, E034, "gen16Passes63999"},
                             LimitCase{GEN16, 63990, 10, E034, "gen16LastRecordOnSlot63999"},
                             LimitCase{GEN16, 63985, 10, nullptr, "gen16Fits"},
                             LimitCase{GEN12, 63995, 5, E034, "gen12Passes63999"},
                             LimitCase{GEN11, 63995, 5, E034, "gen11Passes63999"},
                             LimitCase{GEN9, 63995, 5, E034, "gen9Passes63999"},
                             LimitCase{GEN8, 63995, 5, E034, "gen8Passes63999"},
                             // Generation 7 stops when it passes 63989, with the same text.
                             LimitCase{GEN7, 63985, 5, E034, "gen7Passes63989"},
                             LimitCase{GEN7, 63979, 10, nullptr, "gen7Fits"},
                             // Generation 13 stops there too, with its own text.
                             LimitCase{GEN13, 63985, 5, OPEN_ERROR, "gen13Passes63989"},
                             LimitCase{GEN13, 63979, 10, nullptr, "gen13Fits"}),
                         [](const auto& info) { return std::string(info.param.name); });

// The overflow of an appended generation-13 file is found before its deepest
// relief asks to raise the maximum: the operator reads them in that order.
TEST_F(OpenMessages, WarningFoundBeforeAQuestionIsShownBeforeIt) {
    WorkFileImage f(GEN13);
    f.setCount(10);
    for (int i = 0; i < 10; ++i) {
        uint8_t* r = f.record(i);
        r[0] = 50;
        r[532] = 0x01; // relief depth 300
        r[533] = 0x2C;
    }
    s->frameCount = 63985;
    s->setHmax(200);
    ui.answers.push_back(Answer::Yes);
    const OpenResult r = openSurveyFile(*s, put("deep.gem", f.bytes), true, ui);
    EXPECT_EQ(r.report.fault, LoadFault::SlotLimit);
    ASSERT_EQ(ui.shown.size(), 2u);
    EXPECT_EQ(ui.shown[0].en, OPEN_ERROR);
    EXPECT_EQ(ui.shown[1].en, "Attention!\rExceeding the maximum height of the relief.Correct?");
    EXPECT_TRUE(ui.answers.empty());
    EXPECT_EQ(s->Hmax, 300u);
}

// A .geb file whose count and amplitude width are both off: the report's
// warnings reach the operator in the order the reader found them, and the
// result carries the report whole.
TEST_F(OpenMessages, DeviceFileWarningsInTheOrderFound) {
    images::GebImage g(4, 1000000000, 70000, 10);
    g.frames(2);
    const OpenResult r = openSurveyFile(*s, put("wide.geb", g.b), false, ui);
    ASSERT_EQ(ui.shown.size(), 2u);
    EXPECT_EQ(ui.shown[0].en, FRAMES_OVER_64000.en);
    EXPECT_EQ(ui.shown[1].en, WIDTH_BELOW_12.en);
    EXPECT_EQ(r.report.framesRead, 2);
    EXPECT_EQ(r.report.framesDeclared, 70000);
    EXPECT_EQ(r.report.warnings,
              (std::vector<LoadWarning>{LoadWarning::CountClamped, LoadWarning::AmplitudeBelow12}));
}

// An options file: a whole one and one of an unknown version say nothing; a
// file cut short gives the read-fault message, whatever the cut.
TEST_F(OpenMessages, OptionsFileCutShortGivesTheReadFault) {
    WorkFileImage survey(GEN16);
    survey.setCount(1);
    survey.record(0)[0] = 50;
    ASSERT_EQ(openSurveyFile(*s, put("s.gem", survey.bytes), false, ui).outcome,
              OpenOutcome::FramesLoaded);
    const auto whole = encodeOptionsFile(OptionsFileSettings{});
    std::vector<uint8_t> bytes(whole.begin(), whole.end());
    auto unknown = bytes;
    unknown[5] = 16;
    for (const auto& file : {bytes, unknown}) {
        EXPECT_EQ(openSurveyFile(*s, put("o.opt", file), false, ui).outcome,
                  OpenOutcome::SettingsLoaded);
        EXPECT_TRUE(ui.shown.empty());
    }
    for (std::size_t size : {std::size_t(5), std::size_t(40), std::size_t(5519)}) {
        ui.shown.clear();
        const std::string path = put(
            "cut.opt", std::vector<uint8_t>(bytes.begin(), bytes.begin() + std::ptrdiff_t(size)));
        openSurveyFile(*s, path, false, ui);
        ASSERT_EQ(ui.shown.size(), 1u) << size;
        EXPECT_EQ(ui.shown[0].en, "ERROR (E020) of reading of a file = " + path);
    }
}

} // namespace
} // namespace tesk::testing
