#include "platform/show_command.h"

#include "platform/environment_number.h"

int StartupShowCommand() {
    const std::optional<long long> Command = EnvironmentNumber("VESPERA_SHOW_COMMAND");
    return Command && *Command >= 0 && *Command <= 11 ? static_cast<int>(*Command) : kShowNormal;
}
