# The one warning list of the project, and the sanitizer switch, applied to every target we build.
set(GEDAN_WARNING_FLAGS -Wall -Wextra -Wpedantic -Wshadow -Wnon-virtual-dtor -Wold-style-cast
    -Woverloaded-virtual -Wimplicit-fallthrough)

function(gedan_set_warnings target)
  target_compile_options(${target} PRIVATE ${GEDAN_WARNING_FLAGS})
  if(GEDAN_WERROR)
    target_compile_options(${target} PRIVATE -Werror)
  endif()
endfunction()

if(GEDAN_SANITIZE)
  add_compile_options(-fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
  add_link_options(-fsanitize=address,undefined)
endif()
