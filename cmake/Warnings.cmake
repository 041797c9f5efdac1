# Every target of the project compiles warning-free; CI turns warnings into errors.
add_compile_options(-Wall -Wextra -Wpedantic)
if(DEFINED ENV{CI})
  set(CMAKE_COMPILE_WARNING_AS_ERROR ON)
endif()
