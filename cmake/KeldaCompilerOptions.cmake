# Project-wide warning and sanitizer settings, applied through one interface
# target so that every library, tool and test is built the same way.
add_library(kelda_compile_options INTERFACE)
add_library(kelda::compile_options ALIAS kelda_compile_options)

target_compile_options(kelda_compile_options INTERFACE
  -Wall -Wextra -Wpedantic -Wshadow -Wconversion -Wno-sign-conversion
  $<$<BOOL:${KELDA_WARNINGS_AS_ERRORS}>:-Werror>
  # GCC 12 warns about overlapping copies inside std::string's operator+ when
  # it inlines it at -O2 and above: a false positive of that compiler.
  $<$<AND:$<CXX_COMPILER_ID:GNU>,$<VERSION_LESS:$<CXX_COMPILER_VERSION>,13>>:-Wno-restrict>)

if(KELDA_SANITIZE)
  string(REPLACE "," ";" _kelda_sanitizers "${KELDA_SANITIZE}")
  foreach(_s IN LISTS _kelda_sanitizers)
    target_compile_options(kelda_compile_options INTERFACE -fsanitize=${_s} -fno-omit-frame-pointer)
    target_link_options(kelda_compile_options INTERFACE -fsanitize=${_s})
  endforeach()
  target_compile_options(kelda_compile_options INTERFACE -fno-sanitize-recover=all)
endif()
