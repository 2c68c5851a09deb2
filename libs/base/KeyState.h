#pragma once
// The keyboard as the libraries see it: whether a key is held down right now, and whether it
// went down since the previous question about it (a press too short to be seen held between
// two checks still counts).

#include <set>

namespace slipway {

enum class Key { P, C, Escape, Control, Shift };

class KeyState {
  public:
    virtual ~KeyState() = default;
    virtual bool isDown(Key key) = 0;
    // True when the key went down since the previous call for the same key (or since the key
    // state was made), even if it is up again by now. Asking clears the latch of that key
    // only; several presses between two calls count once.
    virtual bool wasPressed(Key key) = 0;
};

// Keys held or pressed by a test or a command-line option.
class FixedKeyState : public KeyState {
  public:
    bool isDown(Key key) override { return held.count(key) != 0; }
    bool wasPressed(Key key) override { return pressed.erase(key) != 0; }
    std::set<Key> held;
    std::set<Key> pressed;  // latched presses; each is cleared when it is asked for
};

}  // namespace slipway
