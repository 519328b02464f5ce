# "cpack" in the build directory packs everything that "cmake --install" installs: a Debian
# package on Linux. The Debian settings and files stay out of other systems' packages.
set(CPACK_PACKAGE_NAME wemb)
set(CPACK_PACKAGE_VENDOR "The Wemb developers")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "${PROJECT_DESCRIPTION}")
set(CPACK_STRIP_FILES ON)
if(CMAKE_SYSTEM_NAME STREQUAL "Linux")
  include(${CMAKE_CURRENT_LIST_DIR}/DebianPackage.cmake)
endif()
include(CPack)
