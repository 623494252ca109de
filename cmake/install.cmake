# What `cmake --install` puts where (the .deb holds the same tree):
#   /opt/sorrel/bin/             Sorrel_W, Sorrel_S, sorrel-db, sorrel-waiter, and beside them
#     data -> /var/opt/sorrel      the venue's database (or data/server.conf) and this workstation's
#                                  printers (output_printers.ini), writable by group sorrel
#     back -> /var/opt/sorrel/back the backups
#     log -> /var/opt/sorrel/log   the error log, shared by the group's programs
#     help.html -> /usr/share/sorrel/help/help.html
#   /usr/bin/                    the four programs as links to /opt/sorrel/bin
#   /usr/share/applications/     the menu entries of the front desk and the back office
#   /usr/share/icons/hicolor/    their icons
#   /usr/share/doc/sorrel/       README.md and docs/
#   /lib/systemd/system/         sorrel-waiter.service, installed but not enabled
# The programs find data/ and help.html beside their executable (the kernel's path of it, links
# resolved), so a link in /usr/bin still finds /opt/sorrel/bin. Every link is relative, so the
# tree also works under a staging folder (DESTDIR, --prefix).
if(CMAKE_INSTALL_PREFIX_INITIALIZED_TO_DEFAULT)
    set(CMAKE_INSTALL_PREFIX "/" CACHE PATH "Root of the installed tree" FORCE)
endif()

set(SORREL_INSTALL_BIN opt/sorrel/bin)
set(SORREL_INSTALL_DATA var/opt/sorrel)
set(SORREL_INSTALL_HELP usr/share/sorrel/help)

set(sorrel_installed_programs)
foreach(program Sorrel_W Sorrel_S sorrel-db sorrel-waiter)
    if(TARGET ${program})
        list(APPEND sorrel_installed_programs ${program})
    endif()
endforeach()
install(TARGETS ${sorrel_installed_programs} RUNTIME DESTINATION ${SORREL_INSTALL_BIN})

install(FILES ${CMAKE_SOURCE_DIR}/assets/help.html DESTINATION ${SORREL_INSTALL_HELP})
install(FILES ${CMAKE_SOURCE_DIR}/README.md DESTINATION usr/share/doc/sorrel)
if(TARGET sorrel-waiter)
    install(FILES ${CMAKE_SOURCE_DIR}/waiter/sorrel-waiter.service DESTINATION lib/systemd/system)
endif()
install(DIRECTORY ${CMAKE_SOURCE_DIR}/docs/ DESTINATION usr/share/doc/sorrel/docs)
install(FILES ${CMAKE_SOURCE_DIR}/assets/sorrel-frontdesk.desktop ${CMAKE_SOURCE_DIR}/assets/sorrel-backoffice.desktop
        DESTINATION usr/share/applications)
foreach(size 48x48 64x64 96x96 128x128)
    install(FILES ${CMAKE_SOURCE_DIR}/assets/icons/${size}/sorrel-frontdesk.png
                  ${CMAKE_SOURCE_DIR}/assets/icons/${size}/sorrel-backoffice.png
            DESTINATION usr/share/icons/hicolor/${size}/apps)
endforeach()

# The links, made in the staging tree (DESTDIR and the prefix honoured).
set(sorrel_links
    "${SORREL_INSTALL_BIN}/data|../../../${SORREL_INSTALL_DATA}"
    "${SORREL_INSTALL_BIN}/back|../../../${SORREL_INSTALL_DATA}/back"
    "${SORREL_INSTALL_BIN}/log|../../../${SORREL_INSTALL_DATA}/log"
    "${SORREL_INSTALL_BIN}/help.html|../../../${SORREL_INSTALL_HELP}/help.html")
foreach(program ${sorrel_installed_programs})
    list(APPEND sorrel_links "usr/bin/${program}|../../${SORREL_INSTALL_BIN}/${program}")
endforeach()
install(CODE "set(sorrel_links \"${sorrel_links}\")")
install(CODE [[
    foreach(entry ${sorrel_links})
        string(REPLACE "|" ";" parts "${entry}")
        list(GET parts 0 link)
        list(GET parts 1 target)
        set(at "$ENV{DESTDIR}${CMAKE_INSTALL_PREFIX}/${link}")
        get_filename_component(folder "${at}" DIRECTORY)
        file(MAKE_DIRECTORY "${folder}")
        file(REMOVE "${at}")
        file(CREATE_LINK "${target}" "${at}" SYMBOLIC)
        message(STATUS "Link: ${at} -> ${target}")
    endforeach()
]])
# The data, backup and log folders: the package's postinst gives them to group sorrel (setgid,
# 2770); a plain `cmake --install` makes them for their owner only.
foreach(folder back log)
    install(DIRECTORY DESTINATION ${SORREL_INSTALL_DATA}/${folder}
            DIRECTORY_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE)
endforeach()
