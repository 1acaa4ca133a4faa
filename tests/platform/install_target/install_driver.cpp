// Installs two logos into one target as a run of the program does (the target held once for
// both), for tests that kill it at random moments: install_driver TARGET SEED. The logos are
// random bytes made from SEED.

#include "core/exception.h"
#include "platform/install_target/install_target.h"
#include "tests/platform/install_target/driver_logos.h"

#include <iostream>

int main(int Argc, char** Argv) {
    if (Argc != 3) {
        std::cerr << "usage: install_driver TARGET SEED\n";
        return 2;
    }
    try {
        std::string Error;
        const auto Spec = ParseTargetSpec(Argv[1], Error);
        if (!Spec) {
            std::cerr << Error << "\n";
            return 2;
        }
        const unsigned Seed = static_cast<unsigned>(std::stoul(Argv[2]));
        const auto Target = MakeInstallTarget(*Spec);
        const TTargetHold Hold(*Target);
        for (const DriverLogo& Logo : DriverLogos(Seed)) {
            Target->ReplaceLogo(Logo.Name, Logo.Data);
        }
    } catch (const Exception& Failure) {
        std::cerr << Failure.Message() << "\n";
        return 1;
    }
    return 0;
}
