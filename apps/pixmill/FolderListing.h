#pragma once
// One listing of a pane's folder, as its listing thread runs it: "..", the sub-folders and the
// files of the pane's extensions, each group in name order, then the drives; then each file's
// header is read for its size and depth.

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "pixels/ImageFile.h"
#include "pixmill/PaneModel.h"

namespace slipway::pixmill {

struct ListingRequest {
    std::string folder;
    std::string startFolder;              // listed instead when `folder` is gone
    std::vector<std::string> extensions;  // lower case
    std::vector<std::string> drives;      // the roots of the mounted volumes, in system order
};

// Name order of the lists: ASCII letters compared ignoring case; names equal that way keep
// the order of their bytes. Negative, zero or positive like strcmp.
int compareNames(const std::string& a, const std::string& b);

// A fresh handler for files of `extension` ("tga", "bmp", "tf").
std::unique_ptr<ImageFile> handlerForExtension(const std::string& extension);

// Lists `request`, handing each step to `emit` in order, and returns early, emitting nothing
// more, as soon as `keepListing` answers false. `handlers` holds one handler per extension, in
// the same order, used by this listing only.
void listFolder(const ListingRequest& request, std::vector<std::unique_ptr<ImageFile>>& handlers,
                const std::function<bool()>& keepListing,
                const std::function<void(ListingUpdate&&)>& emit);

}  // namespace slipway::pixmill
