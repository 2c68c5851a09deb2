#include "engine/NameList.h"

#include "base/Paths.h"

namespace slipway {

NameList::NameList(std::size_t capacity, bool unique) : capacity_(capacity), unique_(unique) {
    names_.reserve(capacity < 4096 ? capacity : 4096);
}

bool NameList::append(std::string_view name) {
    const std::string_view stored = name.substr(0, kNameWidth);
    if (unique_) {
        for (const std::string& existing : names_) {
            if (equalsIgnoringCase(existing, stored))
                return true;
        }
    }
    if (names_.size() >= capacity_)
        return false;
    names_.emplace_back(stored);
    return true;
}

std::string NameList::nameAt(std::size_t index) const {
    return index < names_.size() ? names_[index] : std::string();
}

std::size_t NameList::indexOf(std::string_view name) const {
    const std::string_view wanted = name.substr(0, kNameWidth);
    for (std::size_t i = 0; i < names_.size(); ++i) {
        if (equalsIgnoringCase(names_[i], wanted))
            return i;
    }
    return 0;
}

}  // namespace slipway
