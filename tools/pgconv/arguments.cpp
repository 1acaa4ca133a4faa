#include "tools/pgconv/arguments.h"

#include "app/logo/startup_band.h"

#include <charconv>
#include <cstddef>

namespace {

// A whole number in Min..Max written with digits of Base alone, or nothing.
std::optional<int> ParseNumber(const std::string& Text, int Min, int Max, int Base = 10) {
    int Value = 0;
    const char* End = Text.data() + Text.size();
    const auto Result = std::from_chars(Text.data(), End, Value, Base);
    if (Text.empty() || Text.front() == '-' || Result.ec != std::errc() || Result.ptr != End ||
        Value < Min || Value > Max) {
        return std::nullopt;
    }
    return Value;
}

// A whole decimal number in 1..Max, or nothing.
std::optional<int> ParseCount(const std::string& Text, int Max) {
    return ParseNumber(Text, 1, Max);
}

int ParseRange(const std::string& Name, const std::string& Text, int Min, int Max) {
    const auto Value = ParseNumber(Text, Min, Max);
    if (!Value) {
        throw EUsageError(Name + " takes a number from " + std::to_string(Min) + " to " +
                          std::to_string(Max) + ", not \"" + Text + "\"");
    }
    return *Value;
}

// "RRGGBB,RRGGBB": two colours in hexadecimal.
std::pair<TColor, TColor> ParseBandColors(const std::string& Text) {
    const std::size_t Comma = Text.find(',');
    if (Comma == 6 && Text.size() == 13) {
        const auto From = ParseNumber(Text.substr(0, 6), 0, 0xFFFFFF, 16);
        const auto To = ParseNumber(Text.substr(7), 0, 0xFFFFFF, 16);
        if (From && To) {
            const auto Color = [](int RGBValue) {
                return RGB(RGBValue >> 16, RGBValue >> 8, RGBValue);
            };
            return {Color(*From), Color(*To)};
        }
    }
    throw EUsageError("--band-colors takes RRGGBB,RRGGBB in hexadecimal, not \"" + Text + "\"");
}

TPGConvSize ParseSize(const std::string& Text) {
    const std::size_t X = Text.find_first_of("xX");
    if (X != std::string::npos) {
        const auto Width = ParseCount(Text.substr(0, X), INT32_MAX);
        const auto Height = ParseCount(Text.substr(X + 1), INT32_MAX);
        if (Width && Height) {
            return {*Width, *Height};
        }
    }
    throw EUsageError("--size takes WIDTHxHEIGHT with positive numbers, not \"" + Text + "\"");
}

TStretchMode ParseStretch(const std::string& Text) {
    if (Text == "fast") {
        return smFast;
    }
    if (Text == "medium") {
        return smMedium;
    }
    if (Text == "precise") {
        return smPrecise;
    }
    throw EUsageError("--stretch takes fast, medium or precise, not \"" + Text + "\"");
}

TPGConvCommand ParseCommand(const std::string& Name) {
    if (Name == "info") {
        return TPGConvCommand::Info;
    }
    if (Name == "convert") {
        return TPGConvCommand::Convert;
    }
    if (Name == "logo") {
        return TPGConvCommand::Logo;
    }
    if (Name == "formats") {
        return TPGConvCommand::Formats;
    }
    throw EUsageError("unknown command \"" + Name + "\"");
}

// Splits "--name=value" into its two parts; Value stays empty without "=".
bool SplitOption(const std::string& Arg, std::string& Name, std::optional<std::string>& Value) {
    if (Arg.size() < 2 || Arg.compare(0, 2, "--") != 0) {
        return false;
    }
    const std::size_t Equals = Arg.find('=');
    Name = Arg.substr(0, Equals);
    if (Equals != std::string::npos) {
        Value = Arg.substr(Equals + 1);
    }
    return true;
}

void CheckFileCount(const TPGConvOptions& Options, const std::string& Command) {
    const std::size_t Count = Options.Files.size();
    switch (Options.Command) {
    case TPGConvCommand::Info:
        if (Count == 0) {
            throw EUsageError("info needs at least one FILE");
        }
        break;
    case TPGConvCommand::Convert:
    case TPGConvCommand::Logo:
        if (Count != 2) {
            throw EUsageError(Command + " needs IN and OUT");
        }
        break;
    case TPGConvCommand::Formats:
        if (Count != 0) {
            throw EUsageError("formats takes no arguments");
        }
        break;
    case TPGConvCommand::Help:
        break;
    }
}

// Options that only qualify another one, options that exclude each other, and options that only
// one command takes.
void CheckOptionCombinations(const TPGConvOptions& Options) {
    const bool AnyConvertOption = Options.Size || Options.Stretch || Options.Colors ||
                                  Options.SystemColors || Options.NoDither;
    if (AnyConvertOption && Options.Command != TPGConvCommand::Convert) {
        throw EUsageError("options are for convert only");
    }
    const bool AnyBandShape = Options.BandHeight || Options.BandTop || Options.BandColors ||
                              Options.Rainbow || Options.FirstAnimated;
    if ((Options.Startup || Options.NoBand || AnyBandShape) &&
        Options.Command != TPGConvCommand::Logo) {
        throw EUsageError("--startup and its band options are for logo only");
    }
    if ((Options.NoBand || AnyBandShape) && !Options.Startup) {
        throw EUsageError("band options need --startup");
    }
    if (Options.NoBand && AnyBandShape) {
        throw EUsageError("--no-band takes no other band option");
    }
    if (Options.BandColors && Options.Rainbow) {
        throw EUsageError("--band-colors and --rainbow exclude each other");
    }
    if (Options.Stretch && !Options.Size) {
        throw EUsageError("--stretch needs --size");
    }
    if ((Options.SystemColors || Options.NoDither) && !Options.Colors) {
        throw EUsageError(std::string(Options.SystemColors ? "--system-colors" : "--no-dither") +
                          " needs --colors");
    }
}

} // namespace

TPGConvOptions ParseArguments(const std::vector<std::string>& Args) {
    TPGConvOptions Options;
    if (Args.empty()) {
        throw EUsageError("no command given");
    }
    if (Args.front() == "--help" || Args.front() == "-h" || Args.front() == "help") {
        return Options;
    }
    Options.Command = ParseCommand(Args.front());
    for (std::size_t I = 1; I < Args.size(); ++I) {
        const std::string& Arg = Args[I];
        std::string Name;
        std::optional<std::string> Value;
        if (Arg == "--help" || Arg == "-h") {
            return TPGConvOptions{};
        }
        if (Arg == "--") { // the rest are file names, even when they begin with "--"
            Options.Files.insert(Options.Files.end(), Args.begin() + static_cast<long>(I) + 1,
                                 Args.end());
            break;
        }
        if (!SplitOption(Arg, Name, Value)) {
            Options.Files.push_back(Arg);
            continue;
        }
        const bool TakesValue = Name == "--size" || Name == "--stretch" || Name == "--colors" ||
                                Name == "--band-height" || Name == "--band-colors" ||
                                Name == "--first-animated";
        if (TakesValue && !Value) {
            if (I + 1 >= Args.size()) {
                throw EUsageError(Name + " needs a value");
            }
            Value = Args[++I];
        } else if (!TakesValue && Value) {
            throw EUsageError(Name + " takes no value");
        }
        if (Name == "--size") {
            Options.Size = ParseSize(*Value);
        } else if (Name == "--stretch") {
            Options.Stretch = ParseStretch(*Value);
        } else if (Name == "--colors") {
            Options.Colors = ParseRange(Name, *Value, 1, 256);
        } else if (Name == "--system-colors") {
            Options.SystemColors = true;
        } else if (Name == "--no-dither") {
            Options.NoDither = true;
        } else if (Name == "--startup") {
            Options.Startup = true;
        } else if (Name == "--no-band") {
            Options.NoBand = true;
        } else if (Name == "--band-height") {
            Options.BandHeight = ParseRange(Name, *Value, kMinBandHeight, kMaxBandHeight);
        } else if (Name == "--band-top") {
            Options.BandTop = true;
        } else if (Name == "--band-colors") {
            Options.BandColors = ParseBandColors(*Value);
        } else if (Name == "--rainbow") {
            Options.Rainbow = true;
        } else if (Name == "--first-animated") {
            Options.FirstAnimated = ParseRange(Name, *Value, kMinFirstAnimated, kMaxFirstAnimated);
        } else {
            throw EUsageError("unknown option \"" + Name + "\"");
        }
    }
    CheckFileCount(Options, Args.front());
    CheckOptionCombinations(Options);
    return Options;
}
