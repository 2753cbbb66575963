# Installing Oribel like any desktop program, the copy of the manual beside the
# program in the build folder, the .deb package, and the test of the installed tree.
#
# Layout under the prefix (the program looks for its manual here, relative to
# its own folder, so the prefix is free: /usr/local, /usr, ~/.local ...):
#   bin/oribel
#   share/applications/org.example.oribel.desktop
#   share/icons/hicolor/scalable/apps/org.example.oribel.svg
#   share/metainfo/org.example.oribel.metainfo.xml
#   share/oribel/manual/       the manual (index.html first)
#   share/oribel/screenshots/  the pictures the manual shows

set(ORIBEL_APP_ID org.example.oribel)
set(ORIBEL_RELEASE_DATE 2026-12-08)
set(ORIBEL_DOCS ${CMAKE_SOURCE_DIR}/docs)
set(ORIBEL_PACKAGING ${CMAKE_SOURCE_DIR}/packaging)

# ---- The manual beside the program in the build folder --------------------------
# A program started from the build folder finds manual/index.html next to itself.
get_target_property(oribel_build_folder oribel BINARY_DIR)
file(GLOB_RECURSE oribel_doc_files CONFIGURE_DEPENDS RELATIVE ${ORIBEL_DOCS}
     ${ORIBEL_DOCS}/manual/* ${ORIBEL_DOCS}/screenshots/*)
set(oribel_doc_copies)
foreach(doc IN LISTS oribel_doc_files)
    add_custom_command(
        OUTPUT ${oribel_build_folder}/${doc}
        COMMAND ${CMAKE_COMMAND} -E copy_if_different ${ORIBEL_DOCS}/${doc} ${oribel_build_folder}/${doc}
        DEPENDS ${ORIBEL_DOCS}/${doc}
        VERBATIM)
    list(APPEND oribel_doc_copies ${oribel_build_folder}/${doc})
endforeach()
add_custom_target(oribel_manual ALL DEPENDS ${oribel_doc_copies})
add_dependencies(oribel oribel_manual)

# ---- Install rules ----------------------------------------------------------------
# The author's addresses are named only once they exist (see ORIBEL_AUTHOR_SITE and
# ORIBEL_AUTHOR_SUPPORT_MAIL in src/CMakeLists.txt).
set(ORIBEL_METAINFO_URLS "")
if(ORIBEL_AUTHOR_SITE)
    string(REGEX REPLACE "/+$" "" oribel_site "${ORIBEL_AUTHOR_SITE}")
    string(APPEND oribel_site "/")
    set(ORIBEL_METAINFO_URLS
        "<url type=\"homepage\">${oribel_site}</url>\n  <url type=\"help\">${oribel_site}manual/</url>")
endif()
configure_file(${ORIBEL_PACKAGING}/${ORIBEL_APP_ID}.metainfo.xml.in
               ${CMAKE_BINARY_DIR}/${ORIBEL_APP_ID}.metainfo.xml @ONLY)

install(TARGETS oribel RUNTIME DESTINATION bin)
install(FILES ${ORIBEL_PACKAGING}/${ORIBEL_APP_ID}.desktop DESTINATION share/applications)
install(FILES ${CMAKE_SOURCE_DIR}/src/resources/oribel.svg
        DESTINATION share/icons/hicolor/scalable/apps RENAME ${ORIBEL_APP_ID}.svg)
install(FILES ${CMAKE_BINARY_DIR}/${ORIBEL_APP_ID}.metainfo.xml DESTINATION share/metainfo)
install(DIRECTORY ${ORIBEL_DOCS}/manual/ DESTINATION share/oribel/manual)
install(DIRECTORY ${ORIBEL_DOCS}/screenshots/ DESTINATION share/oribel/screenshots FILES_MATCHING PATTERN "*.png")

# ---- The Debian package (make package) --------------------------------------------
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME oribel)
set(CPACK_PACKAGE_VENDOR "The Oribel developers")
if(ORIBEL_AUTHOR_SUPPORT_MAIL)
    set(CPACK_PACKAGE_CONTACT "The Oribel developers <${ORIBEL_AUTHOR_SUPPORT_MAIL}>")
else()
    set(CPACK_PACKAGE_CONTACT "The Oribel developers")
endif()
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "diary editor for your own web page")
set(CPACK_PACKAGE_DESCRIPTION
    "Oribel is an editor for people who keep a diary on their own web page. The day's entry is written as plain text with its date, weather and title; one command turns it into HTML and inserts it into the diary page at the caret. The user interface is in Japanese.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION editors)
if(ORIBEL_AUTHOR_SITE)
    set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "${oribel_site}")
endif()
# The Qt, C++ and C libraries the program links come from dpkg-shlibdeps; what it
# loads at run time is named here: the SVG image plugin (the icon), Qt's Japanese
# dialog texts, a Japanese font, and xdg-open, which shows the manual and hands
# pages and addresses to the browser.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS
    "libqt6svg6, qt6-translations-l10n, fonts-noto-cjk | fonts-ipafont-gothic | fonts-vlgothic, xdg-utils")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-wayland")
include(CPack)

# ---- The installed tree, checked by make test -------------------------------------
if(ORIBEL_TESTS)
    add_test(NAME install_tree COMMAND ${ORIBEL_PACKAGING}/check-install.sh ${CMAKE_BINARY_DIR} ${ORIBEL_APP_ID})
endif()
