#pragma once
// The developer trace: lines that never reach the user. The default sink writes
// "OUT: " + text + line feed to stderr, and only when SLIPWAY_TRACE is set.

#include <string>
#include <string_view>
#include <vector>

namespace slipway {

class DebugTrace {
public:
    virtual ~DebugTrace() = default;
    virtual void trace(std::string_view text) = 0;
};

class StderrTrace : public DebugTrace {
public:
    StderrTrace();
    void trace(std::string_view text) override;

private:
    bool enabled_;
};

class RecordingTrace : public DebugTrace {
public:
    void trace(std::string_view text) override { lines.emplace_back(text); }
    std::vector<std::string> lines;
};

class NullTrace : public DebugTrace {
public:
    void trace(std::string_view) override {}
};

}  // namespace slipway
