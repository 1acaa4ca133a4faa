#include "platform/show_command.h"

#include <charconv>
#include <cstdlib>
#include <cstring>

int StartupShowCommand() {
    const char* Text = std::getenv("VESPERA_SHOW_COMMAND");
    if (Text == nullptr) {
        return kShowNormal;
    }
    int Command = 0;
    const char* End = Text + std::strlen(Text);
    const auto [Stop, Error] = std::from_chars(Text, End, Command);
    if (Error != std::errc() || Stop != End || Command < 0 || Command > 11) {
        return kShowNormal;
    }
    return Command;
}
