# The Debian package (cpack -G DEB, see scripts/build-package.sh): the program, the folivo
# library and plugin, the module simulator with its manual page, the installation folder, a
# desktop entry and its icon. Configure with -DCMAKE_INSTALL_PREFIX=/usr: the program looks for
# its installation folder at the build-time default QV_DEFAULT_HOME, under that prefix.
if(WIN32 OR APPLE)
  return()
endif()

set(QV_PACKAGE_HOME "${CMAKE_INSTALL_FULL_DATADIR}/qv-velano5")
if(NOT QV_DEFAULT_HOME STREQUAL "${QV_PACKAGE_HOME}/")
  message(FATAL_ERROR "The installation folder is installed to ${QV_PACKAGE_HOME}/, "
                      "but the program looks for it at ${QV_DEFAULT_HOME}")
endif()
set(QV_PACKAGE_DIR "${CMAKE_BINARY_DIR}/packaging")

# Icon of the desktop entry: PNG files of the hicolor theme, drawn at build time.
add_executable(qv-icon ${CMAKE_SOURCE_DIR}/packaging/make_icon.cpp)
target_link_libraries(qv-icon PRIVATE Qt6::Gui)
set(QV_ICON_SIZES 32 48 64 128 256)
set(QV_ICON_FILES "")
foreach(size ${QV_ICON_SIZES})
  list(APPEND QV_ICON_FILES "${QV_PACKAGE_DIR}/icons/${size}x${size}/apps/qv-velano5.png")
endforeach()
add_custom_command(
  OUTPUT ${QV_ICON_FILES}
  COMMAND ${CMAKE_COMMAND} -E env QT_QPA_PLATFORM=offscreen $<TARGET_FILE:qv-icon> ${QV_PACKAGE_DIR}/icons ${QV_ICON_SIZES}
  DEPENDS qv-icon
  COMMENT "Drawing the program icon"
  VERBATIM)

# Manual pages are installed compressed.
find_program(QV_GZIP gzip REQUIRED)
add_custom_command(
  OUTPUT ${QV_PACKAGE_DIR}/qv-module-sim.1.gz
  COMMAND ${CMAKE_COMMAND} -E copy ${CMAKE_SOURCE_DIR}/packaging/qv-module-sim.1 ${QV_PACKAGE_DIR}/qv-module-sim.1
  COMMAND ${QV_GZIP} -9nf ${QV_PACKAGE_DIR}/qv-module-sim.1
  DEPENDS ${CMAKE_SOURCE_DIR}/packaging/qv-module-sim.1
  COMMENT "Compressing the manual page of qv-module-sim"
  VERBATIM)
add_custom_target(qv-package-files ALL DEPENDS ${QV_ICON_FILES} ${QV_PACKAGE_DIR}/qv-module-sim.1.gz)

install(FILES ${CMAKE_SOURCE_DIR}/packaging/qv-velano5.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(DIRECTORY ${QV_PACKAGE_DIR}/icons/ DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor)
install(FILES ${QV_PACKAGE_DIR}/qv-module-sim.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)

# Maintainer scripts: before the unpacking (preinst) the installation folder belongs to root
# alone, whatever was installed before and whatever was left behind; after it (postinst) the
# folder holds only the package's files. Nothing else changes an owner or a mode: the installed
# files keep the 0644/0755 of the package.
foreach(script preinst postinst)
  configure_file(${CMAKE_SOURCE_DIR}/packaging/debian/${script}.in ${QV_PACKAGE_DIR}/debian/${script} @ONLY
                 FILE_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
endforeach()
configure_file(${CMAKE_SOURCE_DIR}/packaging/debian/triggers ${QV_PACKAGE_DIR}/debian/triggers COPYONLY)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME qv-velano5)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "QV Velano5")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "configuration tool of the home-automation bus modules")
set(CPACK_PACKAGING_INSTALL_PREFIX "${CMAKE_INSTALL_PREFIX}")
set(CPACK_STRIP_FILES ON)
set(QV_PACKAGE_MAINTAINER "QV Velano5 developers <qv-velano5@example.org>"
    CACHE STRING "Maintainer field of the Debian package")

set(CPACK_DEBIAN_PACKAGE_NAME qv-velano5)
# Release 2: the installation folder is root's again and settings are per user (see postinst).
# Release 3: the folder is taken back before the unpacking (preinst), also on a fresh install
# over a folder left behind; Qt's own Dutch and French translations are a dependency.
set(CPACK_DEBIAN_PACKAGE_RELEASE 3)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${QV_PACKAGE_MAINTAINER}")
set(CPACK_DEBIAN_PACKAGE_SECTION electronics)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "QV Velano5 connects to one bus module over a serial line, reads its
configuration, lets the installer edit it in a Dutch or French window, writes
it back, and saves and opens .QV1 module files. The package also holds folivo,
the embeddable PDF viewer control (library and plugin), and qv-module-sim,
which simulates a bus module on a pseudo-terminal.
.
Every user keeps their own settings (~/.config/qv-velano5); the administrator
may set defaults for all users in /etc/qv-velano5.")
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Qt's own translations (qtbase_nl, qtbase_fr): standard dialogs and buttons in the window's
# language. The libraries the programs link come from SHLIBDEPS and are added to this.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-translations-l10n")
set(CPACK_DEBIAN_PACKAGE_CONTROL_EXTRA
  ${QV_PACKAGE_DIR}/debian/preinst
  ${QV_PACKAGE_DIR}/debian/postinst
  ${QV_PACKAGE_DIR}/debian/triggers)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)

# A package for another prefix would install the folder where the program does not look for it
# (the default follows the prefix), and Debian packages do not install into /usr/local.
set(CPACK_QV_INSTALL_PREFIX "${CMAKE_INSTALL_PREFIX}")
set(CPACK_PROJECT_CONFIG_FILE ${CMAKE_SOURCE_DIR}/packaging/cpack-check.cmake)

include(CPack)
