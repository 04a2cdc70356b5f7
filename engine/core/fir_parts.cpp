#include "engine/core/fir_parts.h"

namespace velmora {

bool FirParts::next(std::string_view& part) {
    if (done_) return false;
    // One separator, the usual case, is a plain search.
    size_t at = separators_.size() == 1 ? text_.find(separators_[0], from_) : text_.find_first_of(separators_, from_);
    if (at == std::string_view::npos) {
        part = text_.substr(from_);
        done_ = true;
        return true;
    }
    part = text_.substr(from_, at - from_);
    from_ = at + 1;
    return true;
}

}  // namespace velmora
