#include "format/fields/field_entry.h"

namespace velmora {

void FieldEntry::clear() {
    Sentinels kept = sentinels;
    *this = FieldEntry();
    sentinels = kept;
}

}  // namespace velmora
