#pragma once
// Whether a key is held down right now (the asynchronous key state).

#include <set>

namespace slipway {

enum class Key { P, C, Escape, Control, Shift };

class KeyState {
public:
    virtual ~KeyState() = default;
    virtual bool isDown(Key key) = 0;
};

// Keys held by a test or a command-line option.
class FixedKeyState : public KeyState {
public:
    bool isDown(Key key) override { return held.count(key) != 0; }
    std::set<Key> held;
};

}  // namespace slipway
