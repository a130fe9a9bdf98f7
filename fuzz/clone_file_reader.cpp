// Fuzz target: any text given to the clone data file reader yields a result word, the
// document's image changes only on "OK", and what the file held is told consistently.
#include "clone/clone_file_io_manager.h"
#include "clone/clone_manager.h"
#include "clone/eeprom_data_manager.h"
#include "clone/model_manager.h"

#include <cstdint>
#include <cstdlib>
#include <memory>
#include <set>
#include <sstream>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const std::set<std::string> kWords = {kFileOk,
                                                 kFileCannotOpen,
                                                 kFileFormatError,
                                                 kFileMismatchModel,
                                                 kFileMismatchRevision,
                                                 kFileDataOverflow,
                                                 kFileNotEnoughData,
                                                 kFileError};
    CZ30CloneManager hub;
    auto* eeprom = new CZ30EepromDataManager;
    auto* model = new CZ30ModelManager;
    auto* io = new CZ30CloneFileIoManager;
    hub.SetManagers(eeprom, nullptr, nullptr, nullptr, model, nullptr, io);
    hub.Init();
    for (std::uint32_t a = 0; a < 2048; ++a)
        eeprom->WriteByte(a, static_cast<std::uint8_t>(a));
    const CByteImage before = *eeprom;
    std::istringstream in(std::string(reinterpret_cast<const char*>(data), size));
    const std::string r = io->LoadFromStream(in, model);
    if (kWords.count(r) == 0) std::abort();
    if (r != kFileOk && !(static_cast<const CByteImage&>(*eeprom) == before)) std::abort();
    if (eeprom->Size() != 2048) std::abort();
    // What a file held: ranges in order, apart and inside the image, agreeing with the counts.
    const CFileCoverage c = io->Coverage();
    std::uint32_t bytes = 0, next = 0;
    for (const CAddressRange& g : c.given) {
        if (g.start < next || g.end < g.start || g.end >= 2048) std::abort();
        bytes += g.end - g.start + 1;
        next = g.end + 2;
    }
    if (c.lineCount != 128 || c.linesHeld > 128 || bytes < c.linesHeld * 16u) std::abort();
    if (c.wholeWritable && (c.linesHeld < 121 || bytes < 0x790)) std::abort();
    return 0;
}
