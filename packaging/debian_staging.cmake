# Run by CPack on the staged Debian package before it packs it (CPACK_PRE_BUILD_SCRIPTS), never
# by a plain installation. Strips the compiled programs and the program's window module as the
# distribution does (no symbol tables, no compiler notes), and adds the files only the
# distribution's tools read: the registration of the HTML help with doc-base and the lintian
# overrides.
set(Root ${CPACK_TEMPORARY_INSTALL_DIRECTORY}${CPACK_PACKAGING_INSTALL_PREFIX})

file(GLOB Programs ${Root}/bin/*)
file(GLOB_RECURSE Modules ${Root}/lib/*.so)
list(APPEND Programs ${Modules})
foreach(Program ${Programs})
    file(READ ${Program} Magic LIMIT 4 HEX)
    if(NOT Magic STREQUAL "7f454c46")
        continue() # a script
    endif()
    execute_process(COMMAND ${CPACK_VESPERA_STRIP} --remove-section=.comment
                            --remove-section=.note ${Program}
                    COMMAND_ERROR_IS_FATAL ANY)
endforeach()

# DESTDIR is still set here, so the files are copied rather than installed.
function(add_package_file Source Destination)
    get_filename_component(Folder ${Root}/${Destination} DIRECTORY)
    file(MAKE_DIRECTORY ${Folder})
    file(COPY_FILE ${CMAKE_CURRENT_LIST_DIR}/${Source} ${Root}/${Destination})
    file(CHMOD ${Root}/${Destination} FILE_PERMISSIONS OWNER_READ OWNER_WRITE GROUP_READ WORLD_READ)
endfunction()
add_package_file(vespera.doc-base share/doc-base/vespera)
add_package_file(vespera.lintian-overrides share/lintian/overrides/vespera)
