// Reading a scene file: JSON checked key by key, each fault reported with the file name and the
// JSON path of the value, and the file's relative paths anchored to its directory.
#ifndef SPIROVAULT_CLI_SCENE_READER_H
#define SPIROVAULT_CLI_SCENE_READER_H

#include <cstddef>
#include <string>

#include "cli/param_catalog.h"
#include "cli/scene.h"

namespace cli {

// The largest scene file read.
inline constexpr size_t kMaxSceneBytes = 4u << 20;

// Throws CliError whose message starts with the file name and the JSON path of the fault. An
// image this program wrote gives the scene it carries.
Scene LoadScene(const std::string& path, const ParamCatalog& catalog);
// The same from text; `name` stands for the file in messages and `base_dir` anchors its paths.
// `embedded`: the text came from an image, where a scene without "exr_color" is from before
// smooth positions and linear OpenEXR, and is read as those images were rendered.
Scene ParseScene(const std::string& text, const std::string& name, const std::string& base_dir,
                 const ParamCatalog& catalog, bool embedded = false);

// The directory of a file ("" for the current one): what the paths of a scene read from it, or
// written into it, are relative to.
std::string DirectoryOf(const std::string& path);

}  // namespace cli

#endif
