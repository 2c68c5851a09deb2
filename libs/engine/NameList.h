#pragma once
// A bounded list of fixed-width (32-byte) names. A name of up to 31 characters is kept whole;
// a longer one keeps its first 32. The model editor's form keeps each name once (compared
// ignoring case) and can find a name's index.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace slipway {

class NameList {
  public:
    static constexpr std::size_t kNameWidth = 32;

    // `unique`: an append of a name already in the list (ignoring case) stores nothing and
    // reports success.
    explicit NameList(std::size_t capacity, bool unique = false);

    // False and nothing stored when the list is full.
    bool append(std::string_view name);
    // The name at `index`; the empty name outside 0 to count - 1.
    std::string nameAt(std::size_t index) const;
    // Index of the first entry equal to `name` ignoring case (compared as stored), 0 when none.
    std::size_t indexOf(std::string_view name) const;

    std::size_t count() const { return names_.size(); }
    std::size_t capacity() const { return capacity_; }

  private:
    std::size_t capacity_;
    bool unique_;
    std::vector<std::string> names_;
};

}  // namespace slipway
