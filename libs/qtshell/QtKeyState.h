#pragma once
// The key state port for the Qt programs: Ctrl and Shift are held according to the keyboard
// modifiers; letters and Escape according to an application-wide event filter that follows
// presses and releases in every window of the program. Held keys are forgotten when the
// program loses the focus, since their releases then go elsewhere; presses stay latched until
// they are asked for.

#include <set>

#include <QObject>

#include "base/KeyState.h"

namespace slipway {

class QtKeyState : public QObject, public KeyState {
    Q_OBJECT
  public:
    // Installs itself on the application.
    QtKeyState();
    ~QtKeyState() override;
    bool isDown(Key key) override;
    // Auto-repeats of a held key are not new presses.
    bool wasPressed(Key key) override;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    std::set<Key> held_;
    std::set<Key> pressed_;
};

}  // namespace slipway
