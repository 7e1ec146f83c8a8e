# Installing the program like a desktop application, and the Debian package.
#
#   cmake --install <build dir> [--prefix /usr] [--strip]
#   cpack --config <build dir>/CPackConfig.cmake          (or: cmake --build <build dir> --target package)
#
# Layout under the prefix:
#   bin/myrolan                                     the program (its install rule is in src/app/)
#   share/myrolan/db/schema.sql, demo.sql           what the internal server's first start loads
#   share/myrolan/db/upgrade-journal.sql            the stock journal for a database made before it
#   share/myrolan/assets/...                        the pictures the program reads at run time
#   share/applications/myrolan.desktop              the menu entry
#   share/icons/hicolor/<size>/apps/myrolan.png     the icon, and scalable/apps/myrolan.svg
#   share/doc/myrolan/                              the guides with their screenshots
#
# The program looks for its shipped files in <directory of the program>/../share/<program name>/, so
# the data go to share/myrolan literally, whatever CMAKE_INSTALL_DATADIR says.

include(GNUInstallDirs)

set(COOP_PROGRAM myrolan)
set(COOP_SHIPPED_DIR share/${COOP_PROGRAM})

install(FILES
  ${PROJECT_SOURCE_DIR}/db/schema.sql
  ${PROJECT_SOURCE_DIR}/db/demo.sql
  ${PROJECT_SOURCE_DIR}/db/upgrade-journal.sql
  DESTINATION ${COOP_SHIPPED_DIR}/db)

# The tool bar pictures are compiled into the program; the background picture is read from disk.
install(FILES ${PROJECT_SOURCE_DIR}/assets/background.jpg DESTINATION ${COOP_SHIPPED_DIR}/assets)

install(FILES ${PROJECT_SOURCE_DIR}/packaging/${COOP_PROGRAM}.desktop DESTINATION share/applications)
foreach(size 48 128 256)
  install(FILES ${PROJECT_SOURCE_DIR}/packaging/${COOP_PROGRAM}-${size}.png
          DESTINATION share/icons/hicolor/${size}x${size}/apps
          RENAME ${COOP_PROGRAM}.png)
endforeach()
install(FILES ${PROJECT_SOURCE_DIR}/packaging/${COOP_PROGRAM}.svg DESTINATION share/icons/hicolor/scalable/apps)

if(EXISTS ${PROJECT_SOURCE_DIR}/docs)
  install(DIRECTORY ${PROJECT_SOURCE_DIR}/docs/
          DESTINATION share/doc/${COOP_PROGRAM}
          FILES_MATCHING PATTERN "*.md" PATTERN "*.png")
endif()

# ---- The Debian package -------------------------------------------------------------------------

set(COOP_PACKAGE_MAINTAINER "Myrolan cooperative developers <developers@localhost>"
    CACHE STRING "Maintainer written into the Debian package")

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
# with mariadb-client-core; the system-wide service of mariadb-server is not needed on a clerk's
# desktop), the fonts of the printed documents and of the screens, and xdg-open for the exported
# spreadsheet.
set(CPACK_DEBIAN_PACKAGE_DEPENDS
    "mariadb-server-core (>= 1:10.11), mariadb-client-core (>= 1:10.11), fonts-liberation, fonts-dejavu-core, xdg-utils")
# mariadb-client gives mariadb-dump and mariadb-admin for backups and a shared server; a spreadsheet
# application opens the exported grids.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "mariadb-client")
set(CPACK_DEBIAN_PACKAGE_SUGGESTS "libreoffice-calc | gnumeric")

include(CPack)
