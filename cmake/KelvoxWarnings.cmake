# Warnings are errors in every target of this repository.
add_compile_options(-Wall -Wextra -Werror -Wno-unused-parameter)

if(KELVOX_SANITIZE)
  list(JOIN KELVOX_SANITIZE "," sanitizers)
  add_compile_options(-fsanitize=${sanitizers} -fno-omit-frame-pointer -fno-sanitize-recover=all)
  add_link_options(-fsanitize=${sanitizers})
endif()

if(KELVOX_FUZZ)
  # The fuzz build instruments the project's own libraries too, for coverage the fuzzer steers by and
  # for ASan's checks of them; a fuzz program adds libFuzzer's runtime when it links. Any undefined
  # behaviour ends the run, as a crash does, instead of a line in the log.
  add_compile_options(-fsanitize=fuzzer-no-link,address,undefined -fno-sanitize-recover=all
                      -fno-omit-frame-pointer)
  add_link_options(-fsanitize=address,undefined)
endif()
