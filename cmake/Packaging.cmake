# "cpack" in the build directory packs everything that "cmake --install" installs: a Debian
# package on Linux, a zip on Windows. The Debian settings and files stay out of other systems'
# packages.
set(CPACK_PACKAGE_NAME wemb)
set(CPACK_PACKAGE_VENDOR "The Wemb developers")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "${PROJECT_DESCRIPTION}")
set(CPACK_STRIP_FILES ON)
if(CMAKE_SYSTEM_NAME STREQUAL "Linux")
  include(${CMAKE_CURRENT_LIST_DIR}/DebianPackage.cmake)
elseif(WIN32)
  # A zip to unpack anywhere: the two programs beside the README, the licence and the example.
  set(CPACK_GENERATOR ZIP)
  set(CPACK_PACKAGE_FILE_NAME "Wemb-${WEMB_VERSION}-win64")
  install(FILES ${PROJECT_SOURCE_DIR}/README.md ${PROJECT_SOURCE_DIR}/LICENSE DESTINATION .)
  install(DIRECTORY ${PROJECT_SOURCE_DIR}/examples/ DESTINATION examples)
endif()
include(CPack)
