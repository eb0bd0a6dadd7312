# Read by cpack before it builds a package (CPACK_PROJECT_CONFIG_FILE).
if(CPACK_GENERATOR STREQUAL "DEB" AND NOT CPACK_QV_INSTALL_PREFIX STREQUAL "/usr")
  message(FATAL_ERROR "The Debian package needs a build configured with -DCMAKE_INSTALL_PREFIX=/usr "
                      "(this one: ${CPACK_QV_INSTALL_PREFIX}); see scripts/build-package.sh")
endif()
