# Builds that are not instrumented get the hardening a distribution expects of programs that read
# untrusted files: buffer functions checked against the objects' sizes (optimised builds only,
# where the compiler knows those sizes), a stack protector, and relocations resolved at start and
# then made read-only. A packager's own _FORTIFY_SOURCE in CXXFLAGS is left as it is.
option(VESPERA_HARDEN "Build with fortified functions, stack protector and full RELRO" ON)
if(VESPERA_HARDEN AND NOT VESPERA_SANITIZE AND NOT VESPERA_FUZZ)
    if(NOT "${CMAKE_C_FLAGS} ${CMAKE_CXX_FLAGS}" MATCHES "_FORTIFY_SOURCE")
        add_compile_definitions($<$<CONFIG:Release,RelWithDebInfo,MinSizeRel>:_FORTIFY_SOURCE=2>)
    endif()
    add_compile_options(-fstack-protector-strong)
    add_link_options(LINKER:-z,relro,-z,now)
endif()
