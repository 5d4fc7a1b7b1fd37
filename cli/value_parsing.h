// Values as a user writes them on the command line or in a scene file. Every function throws
// CliError (usage) with a message that names the value and what was expected.
#ifndef SPIROVAULT_CLI_VALUE_PARSING_H
#define SPIROVAULT_CLI_VALUE_PARSING_H

#include <string>
#include <string_view>
#include <vector>

#include "cli/param_info.h"
#include "host/pf_pixel.h"

namespace cli {

// A parameter value as the host's parameter store takes it.
struct ParamValue {
    double number = 0;  // slider value, angle degrees, checkbox 0/1, popup choice from 1
    PF_Pixel color{};   // colours (alpha 255)
};

struct FrameSize {
    int width = 0, height = 0;
};

// The frames of a job: "A", "A-B", "A-BxN" (every Nth frame from A) or a list of those in
// ascending order ("1,7,20-30"). `first` and `last` are the first and the last frame rendered.
struct FrameRange {
    long first = 0, last = 0;
    // Empty for every frame from first to last; otherwise the frames rendered, span by span,
    // each span's last frame on its step.
    struct Span {
        long first = 0, last = 0, step = 1;
    };
    std::vector<Span> spans;

    long Count() const;
    // The index-th frame rendered, from 0 to Count() - 1.
    long At(long index) const;
};

// The frames as ParseFrameRange reads them back: "7", "0-4", "0-100x5", "1,7,20-30".
std::string FormatFrameRange(const FrameRange& frames);

// Decimal digits only, in [min, max]; false (and *value untouched) otherwise.
bool ParseWhole(std::string_view text, long min, long max, long* value);
// A finite decimal number, nothing else around it.
double ParseNumber(std::string_view text, std::string_view what);
// "WxH", each side 1 to 32767.
FrameSize ParseSize(std::string_view text);
// "A", "A-B" or "A-BxN" with 0 <= A <= B and N >= 1, or a comma list of those in ascending
// order, no frame twice.
FrameRange ParseFrameRange(std::string_view text);
// "#RRGGBB" (hex digits in either case).
PF_Pixel ParseColor(std::string_view text);
// on/off, true/false, yes/no, 1/0.
bool ParseSwitch(std::string_view text, std::string_view what);

// A value for a parameter from text: a number for sliders and angles (degrees), on/off for
// checkboxes, a choice name or number for popups, #RRGGBB for colours.
ParamValue ParseParamValue(const ParamInfo& param, std::string_view text);
// A number for a parameter that takes one, checked against its valid range.
ParamValue CheckParamNumber(const ParamInfo& param, double number);

// "NAME=VALUE" split at the first '=', spaces and tabs around the name and the value dropped.
struct Assignment {
    std::string name;
    std::string value;
};
Assignment ParseAssignment(std::string_view text);

// "name" with the text in double quotes, for messages; control characters escaped.
std::string Quoted(std::string_view text);
// The text with control characters written as \n, \t, \r or \xNN.
std::string Escaped(std::string_view text);

}  // namespace cli

#endif
