// Fuzz target: arbitrary bytes as a scene file, loaded against a catalog shaped like the
// effect's and built into a composition. A fault must come out as the loader's one-line error.
#include <cmath>

#include "cli/cli_error.h"
#include "cli/scene_composition.h"
#include "cli/scene_reader.h"
#include "tests/cli/cli_test_support.h"
#include "tests/fuzz/fuzz_input_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace cli;
    static const ParamCatalog catalog = SmallCatalog();
    const std::string& path = WriteFuzzInput(data, size, ".json");
    Scene scene;
    try {
        scene = LoadScene(path, catalog);
    } catch (const CliError& e) {
        const std::string message = e.what();
        FuzzCheck(message.find(path) != std::string::npos);
        FuzzCheck(message.find('\n') == std::string::npos);
        return 0;
    }
    for (const SceneParam& param : scene.params) FuzzCheck(!param.keys.empty());
    hostsim::Composition composition;
    BuildComposition(scene, scene.size.value_or(FrameSize{64, 36}), &composition);
    FuzzCheck(composition.frame_rate > 0 && std::isfinite(composition.frame_rate));
    return 0;
}
