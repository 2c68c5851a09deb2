#include "pixmill/FilePane.h"

#include <new>

#include <QDir>
#include <QFileInfo>
#include <QHeaderView>
#include <QKeyEvent>
#include <QSettings>
#include <QStorageInfo>

#include "base/Paths.h"
#include "pixmill/FileDeletion.h"
#include "pixmill/FolderListing.h"
#include "pixmill/PaneIcons.h"
#include "pixmill/PaneItemModel.h"
#include "pixmill/PixmillSettings.h"

namespace slipway::pixmill {
namespace {

QSettings settings() {
    return QSettings(kSettingsOrganization, kSettingsApplication);
}

QString folderKey(const std::vector<std::string>& extensions) {
    return QString(kPathsSection) + "/" + QString::fromStdString(extensions.front());
}

std::string storedFolder(const std::vector<std::string>& extensions, const std::string& fallback) {
    const QString stored = settings().value(folderKey(extensions)).toString();
    return stored.isEmpty() ? fallback : stored.toLocal8Bit().toStdString();
}

}  // namespace

std::vector<std::string> driveRoots() {
    std::vector<std::string> roots;
    for (const QStorageInfo& volume : QStorageInfo::mountedVolumes()) {
        if (!volume.isValid() || !volume.isReady() || !QFileInfo(volume.rootPath()).isDir())
            continue;
        std::string root = QDir::toNativeSeparators(volume.rootPath()).toLocal8Bit().toStdString();
        if (std::find(roots.begin(), roots.end(), root) == roots.end())
            roots.push_back(std::move(root));
    }
    return roots;
}

FilePane::FilePane(std::vector<std::string> extensions, UserPrompt& prompt, QWidget* parent)
    : QTreeView(parent),
      model_(extensions, storedFolder(extensions, currentDirectory())),
      startFolder_(currentDirectory()),
      prompt_(prompt),
      listing_([this] { emit listingUpdatesWaiting(); }) {
    for (const std::string& extension : extensions)
        handlers_.push_back(handlerForExtension(extension));
    itemModel_ = new PaneItemModel(model_, paneIcons(extensions), this);
    setModel(itemModel_);
    setRootIsDecorated(false);
    setItemsExpandable(false);
    setUniformRowHeights(true);
    setAllColumnsShowFocus(true);
    setSortingEnabled(false);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    header()->setSectionsClickable(false);
    header()->setStretchLastSection(false);
    // Pixels, as list columns are measured.
    setColumnWidth(0, 100);
    setColumnWidth(1, 70);
    setColumnWidth(2, 35);
    // The selection stays visible while another window has the focus.
    QPalette colours = palette();
    colours.setColor(QPalette::Inactive, QPalette::Highlight,
                     colours.color(QPalette::Active, QPalette::Highlight));
    colours.setColor(QPalette::Inactive, QPalette::HighlightedText,
                     colours.color(QPalette::Active, QPalette::HighlightedText));
    setPalette(colours);

    connect(this, &FilePane::listingUpdatesWaiting, this, &FilePane::takeListingUpdates,
            Qt::QueuedConnection);
    relist();
}

FilePane::~FilePane() {
    listing_.stop();
    settings().setValue(folderKey(model_.extensions()), QString::fromLocal8Bit(model_.folder()));
}

void FilePane::relist() {
    listingShown_ = false;
    listing_.start({model_.folder(), startFolder_, model_.extensions(), driveRoots()});
}

void FilePane::openFolder(const std::string& folder) {
    model_.setFolder(folder);
    relist();
}

void FilePane::takeListingUpdates() {
    const std::vector<ListingUpdate> updates = listing_.takeUpdates();
    if (updates.empty())
        return;
    itemModel_->apply(updates);
    for (const ListingUpdate& update : updates) {
        if (update.kind == ListingUpdate::EntriesDone && itemModel_->rowCount() > 0)
            setSelectionMark(0);
    }
    if (updates.back().kind == ListingUpdate::Finished) {
        listingShown_ = true;
        emit listingFinished();
    }
}

int FilePane::selectedCount() const {
    return selectionModel()->selectedRows().size();
}

std::vector<std::string> FilePane::selectedFiles() const {
    std::vector<std::size_t> rows;
    for (const QModelIndex& index : selectionModel()->selectedRows())
        rows.push_back(static_cast<std::size_t>(index.row()));
    return model_.selectedFiles(std::move(rows));
}

int FilePane::selectionMark() const {
    return currentIndex().isValid() ? currentIndex().row() : -1;
}

void FilePane::setSelectionMark(int row) {
    if (row >= 0 && row < itemModel_->rowCount())
        selectionModel()->setCurrentIndex(itemModel_->index(row, 0), QItemSelectionModel::NoUpdate);
}

void FilePane::selectFileNamed(const std::string& path) {
    const std::string name = fileName(path);
    const auto& entries = model_.entries();
    for (std::size_t row = 0; row < entries.size(); ++row) {
        const PaneEntry& entry = entries[row];
        if (!isFileIcon(entry.icon))
            continue;
        const std::string& extension =
            model_.extensions()[static_cast<std::size_t>(extensionIndexOf(entry.icon))];
        if (equalsIgnoringCase(entry.text + "." + extension, name)) {
            const QModelIndex index = itemModel_->index(static_cast<int>(row), 0);
            selectionModel()->setCurrentIndex(
                index, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
            scrollTo(index);
            return;
        }
    }
}

void FilePane::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
        case Qt::Key_Return:
        case Qt::Key_Enter:
            activateRow(selectionMark());
            return;
        case Qt::Key_Delete:
            deleteSelected();
            return;
        case Qt::Key_F5:
            emit convertRequested();
            return;
        case Qt::Key_Up:
        case Qt::Key_Down:
            QTreeView::keyPressEvent(event);
            preview(model_.arrowMoved(selectionMark()));
            return;
        default:
            QTreeView::keyPressEvent(event);
    }
}

void FilePane::mouseDoubleClickEvent(QMouseEvent* event) {
    QTreeView::mouseDoubleClickEvent(event);
    const QModelIndex index = indexAt(event->position().toPoint());
    if (event->button() == Qt::LeftButton && index.isValid())
        activateRow(index.row());
}

void FilePane::activateRow(int row) {
    if (row < 0)
        return;
    const PaneAction action = model_.activate(static_cast<std::size_t>(row));
    if (action.kind == PaneAction::OpenFolder) {
        openFolder(action.path);
    } else {
        preview(action);
    }
}

void FilePane::preview(const PaneAction& action) {
    if (action.kind != PaneAction::Preview || action.extensionIndex < 0 ||
        static_cast<std::size_t>(action.extensionIndex) >= handlers_.size())
        return;
    ImageFile& handler = *handlers_[static_cast<std::size_t>(action.extensionIndex)];
    handler.path = action.path;
    std::unique_ptr<ImageFile> copy = handler.clone();
    if (copy && previewReceiver_)
        previewReceiver_(std::move(copy));
}

void FilePane::deleteSelected() {
    std::vector<std::string> files;
    try {
        files = selectedFiles();
    } catch (const std::bad_alloc&) {
        tell(prompt_, "No memory!");
        return;
    }
    if (files.empty())
        return;
    if (prompt_.show("Deleting selected files?", PromptButtons::YesNo) != PromptAnswer::Yes)
        return;
    removeFiles(files, prompt_);
    relist();
}

}  // namespace slipway::pixmill
