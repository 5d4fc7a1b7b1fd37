// --host ae|premiere: which host application the standalone host plays for spirovault-render.
#ifndef SPIROVAULT_CLI_HOST_CHOICE_H
#define SPIROVAULT_CLI_HOST_CHOICE_H

#include <string>

#include "host/ae_basic_types.h"

// kAppIdAfterEffects or kAppIdPremierePro; throws a usage error for anything else.
A_long ParseHostChoice(const std::string& text);

#endif
