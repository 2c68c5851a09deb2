#pragma once
// `meshview --save FILE [EDIT]...`: opens FILE as the window would (Dialog.ini's recent list
// stays as it is), applies the edits in the order given to the model through the same commands
// as the window's controls, then saves as the Save command does and prints each written path.
// An EDIT is one of
//   --rename MESH NAME    rename a mesh (NAME not empty; 63 characters are kept)
//   --double-sided MESH   toggle its double-sided flag ("Flip Normals")
//   --reverse MESH        reverse its triangles ("Change DoubleSide State")
//   --kf FACTOR           scale the model by FACTOR (0.000000001 to 9000)
//   --height H            scale the model to the height H (0.000001 to 9000)
// where MESH is a 0-based mesh index of the model. Messages go to `err`. Exit code 0 when
// everything was saved, 1 when the file could not be read, an edit could not be made (nothing
// is written then) or a file could not be written, 2 for bad usage, a mesh index the model
// does not have or a number out of range (nothing is written).

#include <ostream>
#include <string>
#include <vector>

namespace slipway::meshview {

int runSave(const std::vector<std::string>& args, const std::string& baseDirectory,
            std::ostream& out, std::ostream& err);

}  // namespace slipway::meshview
