#pragma once

#include <cstdlib>
#include <optional>
#include <string>
#include <utility>
#include <vector>

// Sets (or, with nullopt, removes) environment variables for one test and restores them after.
class TEnvironment {
public:
    TEnvironment() = default;
    TEnvironment(const TEnvironment&) = delete;
    TEnvironment& operator=(const TEnvironment&) = delete;
    ~TEnvironment() {
        for (auto It = FSaved.rbegin(); It != FSaved.rend(); ++It) {
            Apply(It->first, It->second);
        }
    }
    void Set(const std::string& Name, std::optional<std::string> Value) {
        const char* Old = std::getenv(Name.c_str());
        FSaved.emplace_back(Name, Old ? std::optional<std::string>(Old) : std::nullopt);
        Apply(Name, Value);
    }

private:
    static void Apply(const std::string& Name, const std::optional<std::string>& Value) {
        if (Value) {
            ::setenv(Name.c_str(), Value->c_str(), 1);
        } else {
            ::unsetenv(Name.c_str());
        }
    }
    std::vector<std::pair<std::string, std::optional<std::string>>> FSaved;
};
