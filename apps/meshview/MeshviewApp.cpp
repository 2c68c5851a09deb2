#include "meshview/MeshviewApp.h"

namespace slipway {

MeshviewApp::MeshviewApp(std::string baseDirectory, Clock& clock, bool createDevice)
    : DlgEngineApp(kMeshviewRules, std::move(baseDirectory), clock), createDevice_(createDevice) {}

MeshviewApp::~MeshviewApp() {
    destroyMainWindow();
}

std::unique_ptr<EngineDlg> MeshviewApp::createMainWindow() {
    auto window = std::make_unique<MeshviewDlg>(*this, createDevice_);
    window->show();
    return window;
}

bool MeshviewApp::openAtStart(const std::string& path) {
    const auto kind = modelFileKindOf(path);
    if (!kind || *kind == ModelFileKind::Def || window() == nullptr) {
        return false;
    }
    window()->openPath(*kind, path);
    return true;
}

}  // namespace slipway
