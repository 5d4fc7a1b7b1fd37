#include "cli/host_choice.h"

#include "cli/cli_error.h"
#include "host/pf_in_out_data.h"

A_long ParseHostChoice(const std::string& text) {
    if (text == "ae") return kAppIdAfterEffects;
    if (text == "premiere") return kAppIdPremierePro;
    throw UsageError("--host " + text + ": expected ae or premiere");
}
