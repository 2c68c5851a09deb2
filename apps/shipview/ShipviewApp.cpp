#include "shipview/ShipviewApp.h"

namespace slipway {

ShipviewApp::ShipviewApp(std::string baseDirectory, Clock& clock, ShipOperations operations,
                         bool createDevice)
    : DlgEngineApp(ViewerForm::Shipview, std::move(baseDirectory), clock),
      operations_(std::move(operations)),
      createDevice_(createDevice) {}

ShipviewApp::~ShipviewApp() {
    destroyMainWindow();
}

std::unique_ptr<EngineDlg> ShipviewApp::createMainWindow() {
    auto window = std::make_unique<ShipviewDlg>(*this, operations_, createDevice_);
    window->show();
    return window;
}

bool ShipviewApp::openAtStart(const std::string& path) {
    const auto kind = modelFileKindOf(path);
    if (!kind || window() == nullptr) {
        return false;
    }
    scene().warnMissing = 1;
    window()->openPath(*kind, path);
    return true;
}

}  // namespace slipway
