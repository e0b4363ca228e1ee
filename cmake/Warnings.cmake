# tl_warnings(target): the project's warning set, as errors when TL_WERROR is on.
function(tl_warnings target)
  target_compile_options(${target} PRIVATE
    -Wall -Wextra -Wpedantic -Wshadow=local -Wnon-virtual-dtor -Woverloaded-virtual
    -Wformat=2 -Wundef -Wimplicit-fallthrough
    # GCC 12 warns of overlapping copies inside libstdc++'s string concatenation when it inlines
    # it at -O2, where nothing overlaps; GCC 13 no longer does.
    $<$<AND:$<CXX_COMPILER_ID:GNU>,$<VERSION_LESS:$<CXX_COMPILER_VERSION>,13>>:-Wno-restrict>)
  if(TL_WERROR)
    target_compile_options(${target} PRIVATE -Werror)
  endif()
endfunction()
