# Installation and the Debian package.
#
# The program opens its documents and help beside its executable, so the
# executable, halvorra-db and those files share one folder, lib/halvorra under
# the prefix; bin/ holds links to the two programs. The desktop entry and the
# icon go where desktops look for them.
#
#   cmake --install build                   # into /usr/local
#   cpack -G DEB --config build/CPackConfig.cmake -B build/package
include(GNUInstallDirs)

set(HALVORRA_INSTALL_DIR lib/halvorra)

install(TARGETS halvorra halvorra-db RUNTIME DESTINATION ${HALVORRA_INSTALL_DIR})
install(FILES ${SHIPPED_DOCS} DESTINATION ${HALVORRA_INSTALL_DIR})

# Relative links, so the tree works under any prefix and any DESTDIR.
file(MAKE_DIRECTORY ${CMAKE_BINARY_DIR}/install-links)
foreach(program halvorra halvorra-db)
  file(CREATE_LINK ../${HALVORRA_INSTALL_DIR}/${program}
       ${CMAKE_BINARY_DIR}/install-links/${program} SYMBOLIC)
  install(FILES ${CMAKE_BINARY_DIR}/install-links/${program} DESTINATION ${CMAKE_INSTALL_BINDIR})
endforeach()

install(FILES ${CMAKE_SOURCE_DIR}/packaging/halvorra.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
foreach(side 48 64 128 256)
  install(FILES ${CMAKE_SOURCE_DIR}/packaging/icons/halvorra-${side}.png
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${side}x${side}/apps
          RENAME halvorra.png)
endforeach()

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME halvorra)
set(CPACK_PACKAGE_VENDOR "Halvorra")
set(CPACK_PACKAGE_CONTACT "Halvorra maintainers <halvorra@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "房产中介登记 - real-estate agency register")
set(CPACK_PACKAGE_DESCRIPTION
    "Listings and customers of a real-estate agency office with archive numbers, search, record cards, printing, spreadsheet export, exchange between offices and office administration. Chinese user interface.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION misc)
# Libraries are found by dpkg-shlibdeps; what the program needs besides them:
# Qt's Chinese texts, its WebP and TIFF readers, and the fonts the windows name.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS
  "qt6-translations-l10n, qt6-image-formats-plugins, fonts-noto-cjk, fonts-arphic-ukai")
# Opening workbooks and documents; the VNC platform for machines without a display.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "xdg-utils, qt6-qpa-plugins")
include(CPack)
