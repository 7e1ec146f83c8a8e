# Installing the program like a desktop application, and the Debian package.
#
#   cmake --install <build dir> [--prefix /usr] [--strip]
#   cpack --config <build dir>/CPackConfig.cmake          (or: cmake --build <build dir> --target package)
#
# Layout under the prefix:
#   bin/myrolan                                     the program (its install rule is in src/app/)
#   share/myrolan/db/schema.sql, demo.sql           for the administrator of a shared server (the
#   share/myrolan/db/upgrade-journal.sql            program carries its own copies as resources)
#   share/applications/myrolan.desktop              the menu entry
#   share/metainfo/ua.myrolan.myrolan.metainfo.xml  what software centres show of it (AppStream)
#   share/icons/hicolor/<size>/apps/myrolan.png     the icon, and scalable/apps/myrolan.svg
#   share/doc/myrolan/                              the guides with their screenshots, copyright,
#                                                   changelog.Debian.gz
#   share/man/man1/myrolan.1.gz, share/man/uk/man1/myrolan.1.gz   the manual page, English and Ukrainian
#
# The guides name share/myrolan/db literally, whatever CMAKE_INSTALL_DATADIR says.

include(GNUInstallDirs)

set(COOP_PROGRAM myrolan)
set(COOP_SHIPPED_DIR share/${COOP_PROGRAM})

install(FILES
  ${PROJECT_SOURCE_DIR}/db/schema.sql
  ${PROJECT_SOURCE_DIR}/db/demo.sql
  ${PROJECT_SOURCE_DIR}/db/upgrade-journal.sql
  DESTINATION ${COOP_SHIPPED_DIR}/db)

install(FILES ${PROJECT_SOURCE_DIR}/packaging/${COOP_PROGRAM}.desktop DESTINATION share/applications)
# The AppStream file is named after its component's id, as software centres look it up; it carries
# the program's version as its release.
set(COOP_APPSTREAM_ID ua.myrolan.myrolan)
configure_file(${PROJECT_SOURCE_DIR}/packaging/${COOP_PROGRAM}.metainfo.xml.in
               ${CMAKE_BINARY_DIR}/packaging/${COOP_APPSTREAM_ID}.metainfo.xml @ONLY)
install(FILES ${CMAKE_BINARY_DIR}/packaging/${COOP_APPSTREAM_ID}.metainfo.xml DESTINATION share/metainfo)
foreach(size 48 128 256)
  install(FILES ${PROJECT_SOURCE_DIR}/packaging/${COOP_PROGRAM}-${size}.png
          DESTINATION share/icons/hicolor/${size}x${size}/apps
          RENAME ${COOP_PROGRAM}.png)
endforeach()
install(FILES ${PROJECT_SOURCE_DIR}/packaging/${COOP_PROGRAM}.svg DESTINATION share/icons/hicolor/scalable/apps)

# Every picture the program ships is drawn by this program of ours; built only when asked for.
add_executable(draw_pictures EXCLUDE_FROM_ALL ${PROJECT_SOURCE_DIR}/packaging/drawpictures.cpp)
target_link_libraries(draw_pictures PRIVATE coop_warnings Qt6::Gui)

install(DIRECTORY ${PROJECT_SOURCE_DIR}/docs/
        DESTINATION share/doc/${COOP_PROGRAM}
        FILES_MATCHING PATTERN "*.md" PATTERN "*.png")

# ---- The Debian package -------------------------------------------------------------------------

# The maintainer: given at configure time (-DCOOP_PACKAGE_MAINTAINER="Name <mail>"), or taken from
# Debian's DEBFULLNAME and DEBEMAIL, or from the source tree's git identity. The last resort is a
# name whose mail domain is plainly not real (.invalid), never one that lintian takes for bogus.
if(COOP_PACKAGE_MAINTAINER STREQUAL "Myrolan cooperative developers <developers@localhost>")
  unset(COOP_PACKAGE_MAINTAINER CACHE) # the former default of existing build trees
endif()
set(coop_maintainer "Myrolan cooperative developers <developers@myrolan.invalid>")
if(DEFINED ENV{DEBEMAIL} AND NOT "$ENV{DEBEMAIL}" STREQUAL "")
  if(DEFINED ENV{DEBFULLNAME} AND NOT "$ENV{DEBFULLNAME}" STREQUAL "")
    set(coop_maintainer "$ENV{DEBFULLNAME} <$ENV{DEBEMAIL}>")
  else()
    set(coop_maintainer "$ENV{DEBEMAIL}")
  endif()
else()
  find_package(Git QUIET)
  if(GIT_FOUND)
    execute_process(COMMAND ${GIT_EXECUTABLE} config user.name WORKING_DIRECTORY ${PROJECT_SOURCE_DIR}
                    OUTPUT_VARIABLE git_name OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET)
    execute_process(COMMAND ${GIT_EXECUTABLE} config user.email WORKING_DIRECTORY ${PROJECT_SOURCE_DIR}
                    OUTPUT_VARIABLE git_mail OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET)
    if(git_name AND git_mail MATCHES "^[^@ ]+@[^@ ]+\\.[^@ ]+$")
      set(coop_maintainer "${git_name} <${git_mail}>")
    endif()
  endif()
endif()
set(COOP_PACKAGE_MAINTAINER "${coop_maintainer}" CACHE STRING "Maintainer written into the Debian package (Name <mail>)")

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME ${COOP_PROGRAM})
set(CPACK_PACKAGE_VENDOR "Мироланське споживче товариство")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT ${COOP_PACKAGE_MAINTAINER})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "information system of a consumer cooperative")
# Lines of the long description stay under 80 characters, as Debian wants them.
string(CONCAT CPACK_PACKAGE_DESCRIPTION
  "A desktop information system for a consumer cooperative with a base\n"
  "warehouse and several shops: reference books, goods receipts and their\n"
  "posting to the base, distribution to the shops, stock, audits, revenue and\n"
  "its chart, five printed documents and export of the reference books to a\n"
  "spreadsheet. The user interface is in Ukrainian.\n"
  "\n"
  "Without configuration the program keeps its database in a private MariaDB\n"
  "server of its own, one per user, loaded with a demo cooperative on the\n"
  "first start. It can also work with a shared MariaDB server.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_SOURCE_IGNORE_FILES "/build/" "/\\\\.git/")

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_RELEASE 1)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER ${COOP_PACKAGE_MAINTAINER})
set(CPACK_DEBIAN_PACKAGE_SECTION misc)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# The libraries the program links (Qt, Connector/C, libjpeg, libxlsxwriter) are found by dpkg-shlibdeps.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# What it runs or loads without linking it: the private database server (mariadbd, mariadb-install-db
# and mariadb-upgrade come with mariadb-server-core, my_print_defaults, which mariadb-install-db calls,
# and the mariadb client, which loads a copy back, with mariadb-client-core; the system-wide service
# of mariadb-server is not needed on a clerk's desktop), mariadb-dump of mariadb-client for the
# copies of the database, the fonts of the printed documents and of the screens, and xdg-open for the
# exported spreadsheet. gzip, which compresses the copies, is essential to every Debian system.
set(CPACK_DEBIAN_PACKAGE_DEPENDS
    "mariadb-server-core (>= 1:10.11), mariadb-client-core (>= 1:10.11), mariadb-client (>= 1:10.11), fonts-liberation, fonts-dejavu-core, xdg-utils")
# A spreadsheet application opens the exported grids.
set(CPACK_DEBIAN_PACKAGE_SUGGESTS "libreoffice-calc | gnumeric")

set(COOP_DEBIAN_VERSION ${CPACK_PACKAGE_VERSION}-${CPACK_DEBIAN_PACKAGE_RELEASE})

# What Debian wants beside the program: the copyright file, the changelog and the manual pages,
# the last two compressed with gzip -9n (no name, no time stamp: the same bytes at every build).
set(coop_doc_build ${CMAKE_BINARY_DIR}/packaging)
configure_file(${PROJECT_SOURCE_DIR}/packaging/changelog.Debian.in ${coop_doc_build}/changelog.Debian @ONLY)
configure_file(${PROJECT_SOURCE_DIR}/packaging/myrolan.1 ${coop_doc_build}/en/myrolan.1 @ONLY)
configure_file(${PROJECT_SOURCE_DIR}/packaging/myrolan.uk.1 ${coop_doc_build}/uk/myrolan.1 @ONLY)
set(coop_compressed)
foreach(file changelog.Debian en/myrolan.1 uk/myrolan.1)
  add_custom_command(OUTPUT ${coop_doc_build}/${file}.gz
                     COMMAND gzip -9nkf ${coop_doc_build}/${file}
                     DEPENDS ${coop_doc_build}/${file}
                     COMMENT "Compressing ${file}")
  list(APPEND coop_compressed ${coop_doc_build}/${file}.gz)
endforeach()
add_custom_target(package_documents ALL DEPENDS ${coop_compressed})

install(FILES ${PROJECT_SOURCE_DIR}/packaging/copyright ${coop_doc_build}/changelog.Debian.gz
        DESTINATION share/doc/${COOP_PROGRAM})
install(FILES ${PROJECT_SOURCE_DIR}/packaging/lintian-overrides DESTINATION share/lintian/overrides RENAME ${COOP_PROGRAM})
install(FILES ${coop_doc_build}/en/myrolan.1.gz DESTINATION share/man/man1)
install(FILES ${coop_doc_build}/uk/myrolan.1.gz DESTINATION share/man/uk/man1)

include(CPack)

# The package built from this tree and checked by lintian (no error, no warning) and by appstreamcli
# (its AppStream file there and valid, with the menu entry it launches). It packs what the build has
# made (run after the build, as scripts/test.sh does).
find_program(COOP_LINTIAN lintian)
if(BUILD_TESTING AND COOP_LINTIAN)
  add_test(NAME package_lintian
           COMMAND ${PROJECT_SOURCE_DIR}/packaging/check-package.sh ${CMAKE_BINARY_DIR}
                   ${CPACK_PACKAGING_INSTALL_PREFIX}/share/metainfo/${COOP_APPSTREAM_ID}.metainfo.xml)
  set_tests_properties(package_lintian PROPERTIES TIMEOUT 600 RUN_SERIAL ON)
endif()
