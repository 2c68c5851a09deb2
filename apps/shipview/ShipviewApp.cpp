#include "shipview/ShipviewApp.h"

namespace slipway {

ShipviewApp::ShipviewApp(std::string baseDirectory, Clock& clock, bool createDevice)
    : DlgEngineApp(kShipviewRules, std::move(baseDirectory), clock), createDevice_(createDevice) {}

ShipviewApp::~ShipviewApp() {
    destroyMainWindow();
}

std::unique_ptr<EngineDlg> ShipviewApp::createMainWindow() {
    auto window = std::make_unique<ShipviewDlg>(*this, createDevice_);
    window->show();
    return window;
}

bool ShipviewApp::openAtStart(const std::string& path) {
    const auto kind = modelFileKindOf(path);
    if (!kind || window() == nullptr) {
        return false;
    }
    window()->openPath(*kind, path);
    return true;
}

}  // namespace slipway
