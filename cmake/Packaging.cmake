# The Debian package, made by `make package` (CPack's DEB generator) from a build configured
# for the prefix /usr, so the polkit action names the path the package installs the tool to.

# Documents every Debian package carries: its copyright file and a compressed change log.
execute_process(COMMAND date -u -R -d "${SORVANTA_RELEASE_DATE}"
    OUTPUT_VARIABLE SORVANTA_RELEASE_DATE_RFC2822 OUTPUT_STRIP_TRAILING_WHITESPACE)
configure_file(${PROJECT_SOURCE_DIR}/resources/debian/changelog.in
    ${CMAKE_BINARY_DIR}/debian/changelog @ONLY)
add_custom_command(OUTPUT ${CMAKE_BINARY_DIR}/debian/changelog.gz
    COMMAND gzip -9 -n -c ${CMAKE_BINARY_DIR}/debian/changelog > ${CMAKE_BINARY_DIR}/debian/changelog.gz
    DEPENDS ${CMAKE_BINARY_DIR}/debian/changelog
    VERBATIM)
add_custom_target(sorvanta_package_docs ALL DEPENDS ${CMAKE_BINARY_DIR}/debian/changelog.gz)
install(FILES ${PROJECT_SOURCE_DIR}/resources/debian/copyright
    ${CMAKE_BINARY_DIR}/debian/changelog.gz
    DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/sorvanta)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME sorvanta)
set(CPACK_PACKAGE_VENDOR Velquor)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "Velquor <support@velquor.com>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "duplicate file finder for the desktop")
# The extended description; CPack puts the summary above it as the synopsis.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
    "Sorvanta scans the folders you choose, groups the files whose contents are\nequal, shows identical and similar folders, and removes the extra copies to\nthe Trash or for good, never the last copy of anything.")
set(CPACK_PACKAGE_HOMEPAGE_URL ${SORVANTA_PROMO_SITE_URL})
set(CPACK_PACKAGING_INSTALL_PREFIX ${CMAKE_INSTALL_PREFIX})
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# The libraries' packages come from their shlibs; beside them what is started or loaded by
# name: pkexec for the privileged removal, and for previews the image-format plugins.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "pkexec")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "fonts-inter, qt6-image-formats-plugins")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
include(CPack)
