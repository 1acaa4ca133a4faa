# With VESPERA_SANITIZE every target is built with AddressSanitizer and
# UndefinedBehaviorSanitizer, and any undefined behaviour stops the program.
if(VESPERA_SANITIZE)
    add_compile_options(-fsanitize=address,undefined -fno-sanitize-recover=all
                        -fno-omit-frame-pointer)
    add_link_options(-fsanitize=address,undefined)
endif()

# Fuzzing builds (clang) instrument every target for libFuzzer's coverage feedback.
option(VESPERA_FUZZ "Build the fuzz targets with libFuzzer (clang only)" OFF)
if(VESPERA_FUZZ)
    add_compile_options(-fsanitize=fuzzer-no-link)
endif()
