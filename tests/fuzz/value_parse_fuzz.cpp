// Fuzz target: arbitrary text through the command line's value parsers. The first byte picks
// the parser (and, for parameter values, the parameter); a fault must be the usage error, and
// what is accepted must hold the parser's promise.
#include <cmath>

#include "cli/cli_error.h"
#include "cli/color_ramp_value.h"
#include "cli/gpu_choice.h"
#include "cli/value_parsing.h"
#include "tests/cli/cli_test_support.h"
#include "tests/fuzz/fuzz_input_file.h"

namespace {

using namespace cli;

void Parse(uint8_t choice, std::string_view text) {
    static const ParamCatalog catalog = SmallCatalog();
    switch (choice % 9) {
        case 0:
            FuzzCheck(std::isfinite(ParseNumber(text, "value")));
            break;
        case 1: {
            const FrameSize size = ParseSize(text);
            FuzzCheck(size.width >= 1 && size.width <= 32767 && size.height >= 1 &&
                      size.height <= 32767);
            break;
        }
        case 2: {
            const FrameRange range = ParseFrameRange(text);
            FuzzCheck(range.first >= 0 && range.first <= range.last);
            break;
        }
        case 3:
            ParseColor(text);
            break;
        case 4:
            ParseSwitch(text, "switch");
            break;
        case 5: {
            const Assignment assignment = ParseAssignment(text);
            FuzzCheck(assignment.name.size() + assignment.value.size() < text.size());
            break;
        }
        case 6: {
            const std::vector<RampStopValue> stops = ParseRamp(text);
            FuzzCheck(!stops.empty() && stops.size() <= kMaxFlatRampStops);
            for (size_t i = 1; i < stops.size(); ++i) {
                FuzzCheck(stops[i - 1].position <= stops[i].position);
            }
            // What is printed reads back as the same number of stops.
            FuzzCheck(ParseRamp(FormatRamp(stops)).size() == stops.size());
            break;
        }
        case 7: {
            const ParamInfo& param = catalog.params()[(choice / 9) % catalog.params().size()];
            const ParamValue value = ParseParamValue(param, text);
            FuzzCheck(std::isfinite(value.number));
            if (param.kind != ParamKind::kColor && param.valid_max > param.valid_min) {
                FuzzCheck(value.number >= param.valid_min && value.number <= param.valid_max);
            }
            break;
        }
        default:
            ParseGpuChoice(std::string(text));
            break;
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 1) return 0;
    const std::string_view text(reinterpret_cast<const char*>(data + 1), size - 1);
    try {
        Parse(data[0], text);
    } catch (const cli::CliError& e) {
        FuzzCheck(e.exit_status() == cli::CliError::kUsage);
    }
    return 0;
}
