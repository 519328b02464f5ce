# The sanitizer build runs the whole suite with ASan and UBSan; any report fails the test.
if(WEMB_SANITIZE)
  add_compile_options(-fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
  add_link_options(-fsanitize=address,undefined -fno-sanitize-recover=all)
endif()

# The fuzz build (clang only) instruments every library for coverage; the targets add the driver.
if(WEMB_FUZZ)
  if(NOT CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
    message(FATAL_ERROR "WEMB_FUZZ needs clang: configure with -DCMAKE_CXX_COMPILER=clang++")
  endif()
  add_compile_options(-fsanitize=fuzzer-no-link,address,undefined -fno-sanitize-recover=all -g)
  add_link_options(-fsanitize=address,undefined)
endif()

function(wemb_add_fuzzer name)
  add_executable(${name} ${ARGN})
  target_link_options(${name} PRIVATE -fsanitize=fuzzer)
endfunction()
