# Warnings are errors in everything the project compiles itself.
function(yubin_strict_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic -Werror)
endfunction()
