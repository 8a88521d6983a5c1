# "cpack -G DEB" in the build folder (scripts/package) makes the Debian
# package of everything "cmake --install" lays out, under /usr.
set(TALLOWMERE_MAINTAINER "The Tallowmere developers <maintainers@tallowmere.example.org>")

# Debian wants a copyright file and a compressed changelog in the
# package's documentation folder.
set(doc_dir ${CMAKE_INSTALL_DATADIR}/doc/tallowmere)
configure_file(${CMAKE_CURRENT_LIST_DIR}/changelog.in ${CMAKE_BINARY_DIR}/package/changelog @ONLY)
add_custom_command(OUTPUT ${CMAKE_BINARY_DIR}/package/changelog.gz
  COMMAND gzip -9nkf ${CMAKE_BINARY_DIR}/package/changelog
  DEPENDS ${CMAKE_BINARY_DIR}/package/changelog)
add_custom_target(package_changelog ALL DEPENDS ${CMAKE_BINARY_DIR}/package/changelog.gz)
install(FILES ${CMAKE_CURRENT_LIST_DIR}/copyright ${CMAKE_BINARY_DIR}/package/changelog.gz
  DESTINATION ${doc_dir})

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME tallowmere)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT ${TALLOWMERE_MAINTAINER})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER ${TALLOWMERE_MAINTAINER})
set(CPACK_DEBIAN_PACKAGE_SECTION database)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE https://tallowmere.example.org/)
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "database of HTML form responses received by e-mail")
# CPack puts the summary on the first line and indents the rest.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "Whoever publishes an HTML form whose action is a mailto: address receives
every submission as an e-mail. Tallowmere finds those answers in saved
messages and on the clipboard, stores each as a record of named fields in a
database file of its own, and lets you browse, view, edit, annotate,
search, delete, copy and print the records through report templates.

The package holds the desktop program, tallowmere, and its command line,
tallowmere-cli, for the same work in scripts.")
# Libraries from dpkg-shlibdeps; what Qt loads at run time and the program
# draws with is named here: the SVG image plugin, the icons that stand in
# where the desktop's own theme lacks one, the hicolor theme the program's
# icon goes into, and fonts.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS
    "libqt6svg6, breeze-icon-theme, hicolor-icon-theme, fonts-liberation2 | fonts-dejavu-core")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
include(CPack)
