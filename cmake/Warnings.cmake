# tl_warnings(target): the project's warning set, as errors when TL_WERROR is on.
function(tl_warnings target)
  target_compile_options(${target} PRIVATE
    -Wall -Wextra -Wpedantic -Wshadow=local -Wnon-virtual-dtor -Woverloaded-virtual
    -Wformat=2 -Wundef -Wimplicit-fallthrough)
  if(TL_WERROR)
    target_compile_options(${target} PRIVATE -Werror)
  endif()
endfunction()
