if(VARNOLA_SANITIZE AND VARNOLA_TSAN)
  message(FATAL_ERROR "VARNOLA_SANITIZE and VARNOLA_TSAN cannot be combined")
endif()
if(VARNOLA_FUZZ AND (VARNOLA_SANITIZE OR VARNOLA_TSAN))
  message(FATAL_ERROR "VARNOLA_FUZZ brings its own sanitizers; leave the others off")
endif()

if(VARNOLA_SANITIZE)
  set(_san -fsanitize=address,undefined -fno-sanitize-recover=undefined -fno-omit-frame-pointer)
  add_compile_options(${_san})
  add_link_options(${_san})
endif()

if(VARNOLA_TSAN)
  set(_san -fsanitize=thread -fno-omit-frame-pointer)
  add_compile_options(${_san})
  add_link_options(${_san})
endif()

# Fuzzing: every library gets the fuzzer's coverage hooks and ASan + UBSan; only the fuzz
# targets link the fuzzer's driver (fuzz/CMakeLists.txt).
if(VARNOLA_FUZZ)
  if(NOT CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
    message(FATAL_ERROR "VARNOLA_FUZZ needs clang (libFuzzer): use the fuzz preset")
  endif()
  set(_san -fsanitize=address,undefined -fno-sanitize-recover=undefined -fno-omit-frame-pointer)
  add_compile_options(-fsanitize=fuzzer-no-link ${_san})
  add_link_options(${_san})
  # Out-of-range indexing into standard containers stops the run too.
  add_compile_definitions(_GLIBCXX_ASSERTIONS)
endif()
