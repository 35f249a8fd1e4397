# The test build runs under ASan and UBSan; any report aborts the process,
# so a sanitizer finding fails the test that triggered it. The fuzz build
# adds libFuzzer's coverage instrumentation to the same sanitizers, and the
# fuzzer keeps the input of the first report.
if(YUBIN_FUZZ AND NOT CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
  message(FATAL_ERROR "YUBIN_FUZZ needs clang: configure with CXX=clang++")
endif()
if(YUBIN_SANITIZE OR YUBIN_FUZZ)
  add_compile_options(-fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
  add_link_options(-fsanitize=address,undefined)
endif()
# The fuzzer's coverage instrumentation goes where the fuzz targets look,
# the core and the targets themselves; the tests' own files need none of it.
function(yubin_fuzz_coverage target)
  if(YUBIN_FUZZ)
    target_compile_options(${target} PRIVATE -fsanitize=fuzzer-no-link)
  endif()
endfunction()
