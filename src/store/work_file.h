#pragma once
// The work file (.gem): the whole store, read in generations 7 .. 16 and
// written in generation 16.

#include "store/byte_source.h"
#include "store/interaction.h"
#include "store/load_report.h"
#include "store/profile_store.h"

#include <optional>
#include <string>

namespace tesk {

struct Generation {
    uint8_t kind;         // fileKind: 7, 8, 9, 11, 12, 13 or 16
    int headerLength;     // bytes before the first frame record
    int recordBytes;      // bytes per frame record in the file
    bool countInHundreds; // frame count field counts hundreds of frames
};

// The generation a version byte (header byte 12) selects, if any.
std::optional<Generation> generationForVersion(uint8_t versionByte);

// Byte sum of the first four bytes that every .gem, .geo and .opt file carries.
inline constexpr int TESK_MAGIC_SUM = 311;
int magicSum(const uint8_t* first4);

// Loads the records of a work file of the given generation into the store,
// from slot 0 or, when appending, from frameCount. The caller has checked the
// magic and the version byte and has run clearForOpen. Without append the
// header settings of the file replace the current ones (after the validity
// rules). finishLoad is the caller's.
//
// The report: frames declared is the count field in records; a count above
// the 63999 records the reader takes (49900 where the field counts hundreds)
// is reported as clamped. The fault is the slot limit (generations 7 and 13
// stop after slot 63989, the others after 63999), a header or record cut
// short, or a read fault; a file that ends between two records before its
// count is no fault. The only question is the relief maximum of an appended
// older file (Yes / No).
LoadReport readWorkFile(ByteSource& src, const Generation& gen, bool append, ProfileStore& store,
                        Interaction& ui);

// Header cells that mirror the store's scalars just before a save.
void refreshHeaderForSave(ProfileStore& store);

// Destination of written bytes.
class ByteSink {
  public:
    virtual ~ByteSink() = default;
    virtual bool write(const uint8_t* data, std::size_t n) = 0;
};

// Writes the store as a generation-16 file: 128 header bytes, 384 zero bytes,
// then the value bytes of slots 0 .. frameCount-1. Refreshes the header first.
bool writeWorkFile(ByteSink& sink, ProfileStore& store, Interaction& ui);

} // namespace tesk
