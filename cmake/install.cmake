# Installing: the two programs, the desktop entry, icon, AppStream metainfo
# and the man page, laid out by GNUInstallDirs; a Debian package from CPack.
# The language tables are compiled into the programs: no files to install.
include(GNUInstallDirs)

set(DUPLIORA_APP_ID com.vantorel.Dupliora)
set(DUPLIORA_DATA ${PROJECT_SOURCE_DIR}/data)

install(TARGETS dupliora dupliora-cli RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})

# Helper programs that the programs start themselves (such as a decode
# worker) are not for the user's PATH: they go to the package's own libexec
# folder. A helper target adds itself with
#   set_property(GLOBAL APPEND PROPERTY DUPLIORA_HELPER_PROGRAMS <target>)
set(DUPLIORA_HELPER_DIR ${CMAKE_INSTALL_LIBEXECDIR}/dupliora)
get_property(helper_programs GLOBAL PROPERTY DUPLIORA_HELPER_PROGRAMS)
if(helper_programs)
  install(TARGETS ${helper_programs} RUNTIME DESTINATION ${DUPLIORA_HELPER_DIR})
endif()

install(FILES ${DUPLIORA_DATA}/${DUPLIORA_APP_ID}.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${DUPLIORA_DATA}/${DUPLIORA_APP_ID}.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
install(FILES ${DUPLIORA_DATA}/${DUPLIORA_APP_ID}.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)

# Debian wants man pages compressed, reproducibly (-n: no name, no time).
set(man_page ${CMAKE_CURRENT_BINARY_DIR}/dupliora-cli.1.gz)
add_custom_command(OUTPUT ${man_page}
  COMMAND gzip -9 -n -c ${DUPLIORA_DATA}/dupliora-cli.1 > ${man_page}
  DEPENDS ${DUPLIORA_DATA}/dupliora-cli.1
  COMMENT "Compressing the man page of dupliora-cli")
add_custom_target(dupliora_man_page ALL DEPENDS ${man_page})
install(FILES ${man_page} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)

# The Debian package. Libraries the programs link come from dpkg-shlibdeps;
# Qt's image format and SVG icon plugins are loaded at run time, so no
# linker sees them.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME dupliora)
set(CPACK_PACKAGE_VENDOR "Dupliora developers")
set(CPACK_PACKAGE_CONTACT "Dupliora developers <dupliora@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "find identical and similar pictures and clean them up safely")
set(CPACK_PACKAGE_DESCRIPTION
    "Dupliora finds copies among pictures: identical files, resized, turned, mirrored\n"
    "and negative copies, in one folder list or between two. Every pair is shown\n"
    "side by side, and marked pictures are copied, moved or deleted to the Trash.\n"
    "It reads HEIC, AVIF, JPEG XL and camera RAW besides the common formats.\n"
    "The command-line tool dupliora-cli runs the same comparison for scripts.")
string(JOIN "" CPACK_PACKAGE_DESCRIPTION ${CPACK_PACKAGE_DESCRIPTION})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION graphics)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-image-formats-plugins, libqt6svg6")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-wayland")
include(CPack)
