#pragma once
// Shipview's application object: the engine application that creates Shipview's window.

#include "shipview/ShipviewDlg.h"
#include "viewer/DlgEngineApp.h"

namespace slipway {

class ShipviewApp : public DlgEngineApp {
    Q_OBJECT
  public:
    ShipviewApp(std::string baseDirectory, Clock& clock, bool createDevice = true);
    ~ShipviewApp() override;

    ShipviewDlg* window() { return static_cast<ShipviewDlg*>(mainWindow()); }
    // Opens `path` at start as the open command of its kind would; false when the extension
    // names no model kind.
    bool openAtStart(const std::string& path);

  protected:
    std::unique_ptr<EngineDlg> createMainWindow() override;

  private:
    bool createDevice_;
};

}  // namespace slipway
