# Warnings are errors in every target of this repository.
add_compile_options(-Wall -Wextra -Werror -Wno-unused-parameter)

if(KELVOX_SANITIZE)
  list(JOIN KELVOX_SANITIZE "," sanitizers)
  add_compile_options(-fsanitize=${sanitizers} -fno-omit-frame-pointer -fno-sanitize-recover=all)
  add_link_options(-fsanitize=${sanitizers})
endif()
