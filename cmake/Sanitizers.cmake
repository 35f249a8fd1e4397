# The test build runs under ASan and UBSan; any report aborts the process,
# so a sanitizer finding fails the test that triggered it.
if(YUBIN_SANITIZE)
  add_compile_options(-fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
  add_link_options(-fsanitize=address,undefined)
endif()
