#include "standalone/cli/host_choice.h"

#include "host/pf_in_out_data.h"
#include "standalone/cli/cli_error.h"

A_long ParseHostChoice(const std::string& text) {
    if (text == "ae") return kAppIdAfterEffects;
    if (text == "premiere") return kAppIdPremierePro;
    throw UsageError("--host " + text + ": expected ae or premiere");
}
