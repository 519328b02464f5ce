# Every target of the project is built with the same warnings.
add_library(wemb_warnings INTERFACE)
target_compile_options(wemb_warnings INTERFACE -Wall -Wextra -Wpedantic -Wshadow -Wconversion -Wno-sign-conversion
                                         -Wno-missing-field-initializers)
