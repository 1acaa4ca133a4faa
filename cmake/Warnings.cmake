# Every target of the project compiles with these warnings. The project's own builds (./test.sh,
# ./bench.sh, ./fuzz.sh, CI) make every warning an error with VESPERA_WERROR; a user's or a
# packager's build leaves it off, so a newer compiler's new warning cannot break it.
option(VESPERA_WERROR "Treat compiler warnings as errors" OFF)
add_library(vespera_warnings INTERFACE)
target_compile_options(vespera_warnings INTERFACE
    $<$<COMPILE_LANGUAGE:CXX>:-Wall -Wextra -Wpedantic -Wshadow -Wnon-virtual-dtor
        -Wold-style-cast -Wcast-align -Woverloaded-virtual -Wconversion
        -Wnull-dereference -Wimplicit-fallthrough>)
if(VESPERA_WERROR)
    target_compile_options(vespera_warnings INTERFACE $<$<COMPILE_LANGUAGE:CXX>:-Werror>)
endif()
