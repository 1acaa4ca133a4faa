# With VESPERA_SANITIZE every target is built with AddressSanitizer and
# UndefinedBehaviorSanitizer, and any undefined behaviour stops the program.
if(VESPERA_SANITIZE)
    add_compile_options(-fsanitize=address,undefined -fno-sanitize-recover=all
                        -fno-omit-frame-pointer)
    add_link_options(-fsanitize=address,undefined)
endif()
