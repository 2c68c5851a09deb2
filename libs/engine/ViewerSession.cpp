#include "engine/ViewerSession.h"

#include <cmath>

#include "base/Format.h"
#include "base/Paths.h"
#include "engine/ShipAssembly.h"
#include "engine/ShipRescaling.h"
#include "formats/FileRescaling.h"

namespace slipway {

namespace {

constexpr const char* kCaptionFormat = "Kelvo : %s%s";
constexpr const char* kNothingOpenText = "No model is open.";

}  // namespace

PromptAnswer ViewerSession::CountingPrompt::show(std::string_view text, PromptButtons buttons) {
    ++count;
    return target->show(text, buttons);
}

void ViewerSession::CountingListener::modelLoaded(const ModelRead& read) {
    ++reads;
    levels = std::max(levels, read.levels);
    target->modelLoaded(read);
}

void ViewerSession::CountingListener::sceneCleared() {
    target->sceneCleared();
}

ViewerSession::ViewerSession(const ViewerRules& rules, std::string baseDirectory, Clock& clock)
    : rules_(rules),
      clock_(clock),
      scene_(rules.sceneSlots),
      textures_(rules),
      paths_(std::move(baseDirectory)) {
    prompt_.target = &defaultPrompt_;
    listener_.target = &defaultListener_;
    placeStartCamera(camera_);
}

void ViewerSession::setPrompt(UserPrompt* prompt) {
    prompt_.target = prompt != nullptr ? prompt : &defaultPrompt_;
}

void ViewerSession::setListener(SceneListener* listener) {
    listener_.target = listener != nullptr ? listener : &defaultListener_;
}

void ViewerSession::setTrace(DebugTrace* trace) {
    trace_ = trace != nullptr ? trace : &defaultTrace_;
}

ModelServices ViewerSession::services() {
    return ModelServices{rules_,  textures_, paths_, prompt_, *trace_,
                         listener_, clock_,  warnMissing_};
}

void ViewerSession::clear() {
    warnMissing_ = 1;
    scene_.clear(listener_);
    textures_.releaseTextures();
}

void ViewerSession::startCounting() {
    prompt_.count = 0;
    listener_.reads = 0;
    listener_.levels = 0;
}

void ViewerSession::measure() {
    // The size a resize divides by is measured only when models were read; an open that read
    // nothing keeps the one before.
    if (listener_.reads > 0)
        openedSize_ = scene_.statistics().size;
}

int ViewerSession::read(ModelFileKind kind, const std::string& path) {
    const int readsBefore = listener_.reads;
    int result = -1;
    switch (kind) {
        case ModelFileKind::Clf:
            result = loadClf(scene_, path, Placement{}, services());
            break;
        case ModelFileKind::Cff:
            result = loadCff(scene_, path, Placement{}, services());
            break;
        case ModelFileKind::Def:
            result = assembleShip(scene_, path, services());
            break;
    }
    // The editor draws picked meshes with two marking textures, made once a model is in.
    if (rules_.keepsEditData && listener_.reads > readsBefore) {
        FillRandom random(clock_.milliseconds());
        textures_.makeMarkingTextures(random, *trace_);
    }
    return result;
}

OpenResult ViewerSession::open(ModelFileKind kind, const std::string& path, RecentList recent) {
    clear();
    startCounting();
    currentPath_ = path;
    currentKind_ = kind;
    read(kind, path);
    const bool remember = recent == RecentList::Update;
    if (remember) {
        paths_.addRecentFile(path);
        const PathParts parts = splitPath(path);
        paths_.setRecentDirectory(parts.drive + parts.directory);
    }
    OpenResult result = finishOpen(path);
    result.recentChanged = remember;
    return result;
}

OpenResult ViewerSession::openRecent(int index) {
    warnMissing_ = 1;
    if (index < 0 || index >= SearchPaths::kRecentFiles)
        return {};
    clear();
    startCounting();
    std::string path;
    if (!paths_.getRecentFile(index, path))
        return {};
    currentPath_ = path;
    if (path.rfind('.') == std::string::npos)
        return {};
    // Another extension reads nothing and keeps the kind.
    if (const auto kind = modelFileKindOf(path)) {
        currentKind_ = *kind;
        read(*kind, path);
    }
    return finishOpen(path);
}

OpenResult ViewerSession::finishOpen(const std::string& path) {
    OpenResult result;
    ambient_ = textures_.textureCount() == 0 ? kAmbientUntextured : kAmbientTextured;
    const PathParts parts = splitPath(path);
    result.caption = formatText(kCaptionFormat, parts.name.c_str(), parts.extension.c_str());
    fitCamera();
    measure();
    result.finished = true;
    result.ambient = ambient_;
    result.modelsRead = listener_.reads;
    result.levels = listener_.levels;
    result.messages = prompt_.count;
    result.statistics = scene_.statistics();
    return result;
}

ResizeResult ViewerSession::resize(float newSize) {
    ResizeResult result;
    if (!(newSize >= kMinModelSize && newSize <= kMaxModelSize)) {
        result.message = kSizeRangeText;
        return result;
    }
    if (currentPath_.empty()) {
        result.message = kNothingOpenText;
        return result;
    }
    // A model without extent has nothing to scale from: a ratio against 0 would write
    // infinities into the files.
    if (std::fabs(openedSize_ - newSize) < kSameSizeTolerance || !(openedSize_ > 0.0f)) {
        result.outcome = ResizeResult::Unchanged;
        return result;
    }
    result.outcome = ResizeResult::Rescaled;
    result.ratio = newSize / openedSize_;
    scene_.clear(listener_);
    startCounting();
    switch (currentKind_) {
        case ModelFileKind::Clf:
            result.filesRewritten = rescaleClf(currentPath_, result.ratio);
            break;
        case ModelFileKind::Cff:
            result.filesRewritten = rescaleCff(currentPath_, result.ratio);
            break;
        case ModelFileKind::Def:
            result.filesRewritten = rescaleShip(currentPath_, result.ratio, paths_, prompt_);
            break;
    }
    read(currentKind_, currentPath_);
    fitCamera();
    measure();
    result.modelsRead = listener_.reads;
    result.levels = listener_.levels;
    result.messages = prompt_.count;
    result.statistics = scene_.statistics();
    return result;
}

void ViewerSession::fitCamera() {
    switch (rules_.cameraFit) {
        case CameraFit::AroundBounds:
            scene_.fitCamera(camera_);
            break;
        case CameraFit::FrontOnX:
            scene_.fitCameraFrontOn(camera_);
            break;
    }
}

void ViewerSession::resetView() {
    camera_.turn = Vec3{};
    placeStartCamera(camera_);
    fitCamera();
}

void ViewerSession::animate(std::uint32_t elapsedMs) {
    if (rules_.animates)
        scene_.animate(elapsedMs);
}

}  // namespace slipway
