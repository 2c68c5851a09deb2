#pragma once
// One file pane of Pixmill's window: a report list of one folder's "..", sub-folders, files of
// the pane's extensions and drives, filled by the pane's listing thread. It previews files,
// opens folders and drives, deletes files and remembers its folder under "Paths".

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include <QTreeView>

#include "base/UserPrompt.h"
#include "pixels/ImageFile.h"
#include "pixmill/PaneListing.h"
#include "pixmill/PaneModel.h"

namespace slipway::pixmill {

class PaneItemModel;

class FilePane : public QTreeView {
    Q_OBJECT
  public:
    // `extensions` in lower case; the first names the pane's folder setting. The folder is the
    // stored one, or the current folder. The first listing starts at once.
    FilePane(std::vector<std::string> extensions, UserPrompt& prompt, QWidget* parent = nullptr);
    // Stops the listing and stores the folder.
    ~FilePane() override;

    // Stops a running listing and lists the folder again.
    void relist();
    // Lists `folder` from now on.
    void openFolder(const std::string& folder);
    const std::string& folder() const { return model_.folder(); }
    const PaneModel& paneModel() const { return model_; }
    // From a relist until its listing has been shown to the end.
    bool listing() const { return !listingShown_; }

    int selectedCount() const;
    // The selected files' full paths in list order.
    std::vector<std::string> selectedFiles() const;
    int selectionMark() const;
    void setSelectionMark(int row);
    // Selects the file entry whose text and extension match `path`'s name (after a listing).
    void selectFileNamed(const std::string& path);

    // Where previews go: a clone of the pane's handler for the file (BMP files give none).
    void setPreviewReceiver(std::function<void(std::unique_ptr<ImageFile>)> receiver) {
        previewReceiver_ = std::move(receiver);
    }

  signals:
    void convertRequested();
    void listingFinished();
    // From the listing thread: updates wait in the mailbox.
    void listingUpdatesWaiting();

  protected:
    void keyPressEvent(QKeyEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

  private:
    void takeListingUpdates();
    void activateRow(int row);
    void preview(const PaneAction& action);
    void deleteSelected();

    PaneModel model_;
    std::string startFolder_;
    UserPrompt& prompt_;
    PaneItemModel* itemModel_ = nullptr;
    // The pane's own handlers for previews, one per extension; the listing thread has others.
    std::vector<std::unique_ptr<ImageFile>> handlers_;
    std::function<void(std::unique_ptr<ImageFile>)> previewReceiver_;
    bool listingShown_ = false;
    PaneListing listing_;
};

// The roots of the mounted volumes, in the system's order.
std::vector<std::string> driveRoots();

}  // namespace slipway::pixmill
