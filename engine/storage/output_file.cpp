#include "engine/storage/output_file.h"

namespace velmora {

Status createBeside(const std::string& target, OutputFile& file) {
    // A file of that name is someone else's: another name is taken.
    for (int attempt = 0; attempt < 8; ++attempt) {
        Result<OutputFile::Made> made = file.create(target + "." + uniqueSuffix() + ".partial");
        if (!made) return fail(made.failure());
        if (*made == OutputFile::Made::Created) return {};
    }
    return fail("other files keep taking its names");
}

}  // namespace velmora
