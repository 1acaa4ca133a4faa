# Every target of the project compiles with these warnings, and every warning is an error.
add_library(vespera_warnings INTERFACE)
target_compile_options(vespera_warnings INTERFACE
    $<$<COMPILE_LANGUAGE:CXX>:-Wall -Wextra -Wpedantic -Wshadow -Wnon-virtual-dtor
        -Wold-style-cast -Wcast-align -Woverloaded-virtual -Wconversion
        -Wnull-dereference -Wimplicit-fallthrough -Werror>)
