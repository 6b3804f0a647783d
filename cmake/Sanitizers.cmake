# The test build runs everything under AddressSanitizer and UndefinedBehaviorSanitizer.
# With clang the libraries are also instrumented for libFuzzer's coverage, so the fuzz
# targets can link against them (see tests/fuzz).
set(MC_HAVE_LIBFUZZER OFF)
if(MC_SANITIZE)
  add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer
                      -fno-sanitize-recover=undefined)
  add_link_options(-fsanitize=address,undefined)
  if(CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
    set(MC_HAVE_LIBFUZZER ON)
    add_compile_options(-fsanitize=fuzzer-no-link)
  endif()
endif()
