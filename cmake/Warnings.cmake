# Warnings are errors in spirit: the tree builds clean with GCC and Clang.
add_compile_options(-Wall -Wextra)
if(CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
  add_compile_options(-Wno-unused-parameter)
endif()
