#include "pixmill/ProgressLine.h"

#include <algorithm>

namespace slipway::pixmill {

namespace {

// Drops a UTF-8 character that the cut left incomplete at the end of `text`.
void cutAfterWholeCharacter(std::string& text) {
    auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
    std::size_t lead = text.size();
    while (lead > 0 && (byte(lead - 1) & 0xC0) == 0x80)
        --lead;
    if (lead == 0)
        return;
    --lead;
    const unsigned first = byte(lead);
    const std::size_t length = first >= 0xF0 ? 4 : first >= 0xE0 ? 3 : first >= 0xC0 ? 2 : 1;
    if (text.size() - lead < length)
        text.resize(lead);
}

}  // namespace

ProgressLine::ProgressLine(std::ostream& out, bool enabled, std::size_t width)
    : out_(out), enabled_(enabled), width_(std::max<std::size_t>(width, 2)) {}

void ProgressLine::show(std::size_t number, std::size_t count, const std::string& name,
                        const std::string& step) {
    if (!enabled_)
        return;
    std::string text =
        "[" + std::to_string(number) + "/" + std::to_string(count) + "] " + name + ": " + step;
    // The last column is left free: writing into it makes some terminals wrap at once.
    if (text.size() > width_ - 1) {
        text.resize(width_ - 1);
        cutAfterWholeCharacter(text);
    }
    std::lock_guard lock(mutex_);
    // Carriage return, the new text, and blanks over what is left of the old one; no control
    // sequences, so any terminal shows it.
    out_ << '\r' << text;
    if (shown_ > text.size())
        out_ << std::string(shown_ - text.size(), ' ') << '\r' << text;
    out_.flush();
    shown_ = text.size();
}

void ProgressLine::print(const std::string& lines) {
    std::lock_guard lock(mutex_);
    clearLocked();
    out_ << lines;
    out_.flush();
}

void ProgressLine::clear() {
    std::lock_guard lock(mutex_);
    clearLocked();
    out_.flush();
}

void ProgressLine::clearLocked() {
    if (shown_ == 0)
        return;
    out_ << '\r' << std::string(shown_, ' ') << '\r';
    shown_ = 0;
}

}  // namespace slipway::pixmill
