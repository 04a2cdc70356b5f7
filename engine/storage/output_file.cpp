#include "engine/storage/output_file.h"

namespace velmora {

bool createBeside(const std::string& target, OutputFile& file, std::string& error) {
    // A file of that name is someone else's: another name is taken.
    for (int attempt = 0; attempt < 8; ++attempt) {
        switch (file.create(target + "." + uniqueSuffix() + ".partial", error)) {
        case OutputFile::Created:
            return true;
        case OutputFile::Failed:
            return false;
        case OutputFile::NameTaken:
            break;
        }
    }
    error = "other files keep taking its names";
    return false;
}

}  // namespace velmora
