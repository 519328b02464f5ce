# The Debian package: manual pages, shell completion, AppStream metainfo, the copyright file and
# the changelog, and the control fields. Lintian must find no error in the result.
include(GNUInstallDirs)

set(WEMB_HOMEPAGE "https://wemb.invalid" CACHE STRING
    "The project's home page; a host under .invalid is left out of the package's control file")
# The packager's address when the environment names one, as Debian's own tools take it.
if(DEFINED ENV{DEBEMAIL})
  set(default_maintainer "$ENV{DEBFULLNAME} <$ENV{DEBEMAIL}>")
  string(STRIP "${default_maintainer}" default_maintainer)
else()
  set(default_maintainer "The Wemb developers <maintainers@wemb.invalid>")
endif()
set(WEMB_MAINTAINER "${default_maintainer}" CACHE STRING
    "Maintainer of the Debian package, \"Name <address>\"")

# The licence is named once, in LICENSE; the metainfo and the copyright file are made from it.
file(STRINGS ${PROJECT_SOURCE_DIR}/LICENSE license_lines)
list(GET license_lines 0 license_title)
string(REGEX REPLACE " License$" "" WEMB_LICENSE_SPDX "${license_title}")
list(GET license_lines 2 copyright_line)
string(REGEX REPLACE "^Copyright \\(c\\) " "" WEMB_COPYRIGHT "${copyright_line}")
list(SUBLIST license_lines 4 -1 permission_lines)
set(WEMB_LICENSE_TEXT "")
foreach(line IN LISTS permission_lines)
  if(line STREQUAL "")
    string(APPEND WEMB_LICENSE_TEXT "\n .")
  else()
    string(APPEND WEMB_LICENSE_TEXT "\n ${line}")
  endif()
endforeach()
# Debian calls the MIT licence "Expat".
string(REPLACE "MIT" "Expat" WEMB_DEBIAN_LICENSE "${WEMB_LICENSE_SPDX}")

# The AppStream id is the home page's host reversed: https://wemb.invalid gives invalid.wemb.wemb.
string(REGEX REPLACE "^[a-z]+://([^/]+).*$" "\\1" homepage_host "${WEMB_HOMEPAGE}")
string(REPLACE "." ";" host_parts "${homepage_host}")
list(REVERSE host_parts)
list(JOIN host_parts "." WEMB_APPSTREAM_ID)
string(TOLOWER "${WEMB_APPSTREAM_ID}.wemb" WEMB_APPSTREAM_ID)

set(package_docs ${CMAKE_BINARY_DIR}/package)
configure_file(${PROJECT_SOURCE_DIR}/packaging/debian/copyright.in ${package_docs}/copyright @ONLY)
configure_file(${PROJECT_SOURCE_DIR}/packaging/debian/changelog.in ${package_docs}/changelog @ONLY)
configure_file(${PROJECT_SOURCE_DIR}/app/qt/packaging/wemb.metainfo.xml.in
               ${package_docs}/${WEMB_APPSTREAM_ID}.metainfo.xml @ONLY)

# Debian wants manual pages and changelogs compressed to the maximum, without a time stamp.
set(compressed)
set(pages ${PROJECT_SOURCE_DIR}/docs/man/wemb-cli.1)
if(TARGET wemb)
  list(APPEND pages ${PROJECT_SOURCE_DIR}/docs/man/wemb.1)
endif()
foreach(source IN LISTS pages ITEMS ${package_docs}/changelog)
  get_filename_component(name ${source} NAME)
  add_custom_command(OUTPUT ${package_docs}/${name}.gz
                     COMMAND gzip -9nc ${source} > ${package_docs}/${name}.gz
                     DEPENDS ${source} VERBATIM)
  list(APPEND compressed ${package_docs}/${name}.gz)
endforeach()
add_custom_target(wemb_package_docs ALL DEPENDS ${compressed})

foreach(page IN LISTS pages)
  get_filename_component(name ${page} NAME)
  install(FILES ${package_docs}/${name}.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
endforeach()
install(FILES ${PROJECT_SOURCE_DIR}/cli/completion/wemb-cli
        DESTINATION ${CMAKE_INSTALL_DATADIR}/bash-completion/completions)
install(FILES ${package_docs}/copyright ${package_docs}/changelog.gz
        DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/wemb)
if(TARGET wemb)
  install(FILES ${package_docs}/${WEMB_APPSTREAM_ID}.metainfo.xml
          DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
endif()

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_CONTACT "${WEMB_MAINTAINER}")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION electronics)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "fonts-ipafont-gothic, qt6-translations-l10n")
if(NOT homepage_host MATCHES "\\.invalid$")
  set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "${WEMB_HOMEPAGE}")
endif()
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "Wemb gives the parts of a Quil schematic drawing (.CE2) their reference
designators: parts without a number get the next free numbers in position
order, or every part is numbered afresh. The untouched drawing is kept as a
backup. It works in a Japanese dialog (wemb) or from the command line
(wemb-cli).")
