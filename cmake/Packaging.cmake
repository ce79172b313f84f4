# Installation layout and the Debian package of the client.
#
#   cmake --install <build> --prefix <dir>   program, desktop entry, icons, AppStream metadata
#   cpack --config <build>/CPackConfig.cmake -G DEB   <build>/kelvra_<version>-1_<arch>.deb
#
# The pictures, icons and skin are compiled into the program (Qt resources). Beside the program
# it needs its web engine module, which it looks for in its own folder and in ../lib/kelvra; the
# web engine runtime comes from the package dependencies.

include(GNUInstallDirs)

if(TARGET kelvra)
  install(TARGETS kelvra RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
  install(TARGETS kelvra_browser_engine LIBRARY DESTINATION lib/kelvra)
endif()

set(KELVRA_PACKAGING_DIR ${CMAKE_SOURCE_DIR}/packaging)
install(FILES ${KELVRA_PACKAGING_DIR}/kelvra.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
# The release it describes is the project's version.
configure_file(${KELVRA_PACKAGING_DIR}/io.kelvra.Kelvra.metainfo.xml.in
               ${CMAKE_BINARY_DIR}/packaging/io.kelvra.Kelvra.metainfo.xml @ONLY)
install(FILES ${CMAKE_BINARY_DIR}/packaging/io.kelvra.Kelvra.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES ${KELVRA_PACKAGING_DIR}/kelvra.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
install(FILES ${CMAKE_SOURCE_DIR}/resources/icons/kelvra.png
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/64x64/apps)

set(CPACK_PACKAGE_NAME kelvra)
set(CPACK_PACKAGE_VENDOR "Kelvra")
set(CPACK_PACKAGE_CONTACT "Kelvra maintainers <maintainers@kelvra.io>")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Desktop client of the Kelvra spare parts catalogue")
set(CPACK_PACKAGE_DESCRIPTION
    "Looks automotive spare parts up by number, vehicle or engine in the Kelvra online\n"
    "catalogue and shows the service's pages in embedded browser views, in Chinese or English.")
string(JOIN "" CPACK_PACKAGE_DESCRIPTION ${CPACK_PACKAGE_DESCRIPTION})
set(CPACK_PACKAGE_HOMEPAGE_URL "https://kelvra.io/")
set(CPACK_PACKAGE_INSTALL_DIRECTORY kelvra)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_GENERATOR DEB)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_RELEASE 1)
set(CPACK_DEBIAN_PACKAGE_SECTION misc)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# Libraries the program links come from dpkg-shlibdeps; the rest are loaded at run time: the web
# engine's helper process and resources, and the platform plugins (xcb, offscreen).
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "libqt6webenginecore6-bin, qt6-qpa-plugins")
# Chinese texts need a CJK font; the desktop's own font set usually has one.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "fonts-wqy-microhei | fonts-noto-cjk")

include(CPack)
