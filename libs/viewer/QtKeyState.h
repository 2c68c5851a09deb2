#pragma once
// The key state port for the Qt programs: Ctrl and Shift come from the keyboard modifiers;
// letters and Escape from an application-wide event filter that follows presses and releases
// in every window of the program. Held keys are forgotten when the program loses the focus,
// since their releases then go elsewhere.

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

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    std::set<Key> held_;
};

}  // namespace slipway
