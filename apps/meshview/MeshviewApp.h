#pragma once
// Meshview's application object: the engine application, by the model editor's rules, that
// creates Meshview's window.

#include "meshview/MeshviewDlg.h"
#include "viewer/DlgEngineApp.h"

namespace slipway {

class MeshviewApp : public DlgEngineApp {
    Q_OBJECT
  public:
    MeshviewApp(std::string baseDirectory, Clock& clock, bool createDevice = true);
    ~MeshviewApp() override;

    MeshviewDlg* window() { return static_cast<MeshviewDlg*>(mainWindow()); }
    // Opens `path` at start as the open command of its kind would; false when it is not a
    // .clf or .cff file.
    bool openAtStart(const std::string& path);

  protected:
    std::unique_ptr<EngineDlg> createMainWindow() override;

  private:
    bool createDevice_;
};

}  // namespace slipway
