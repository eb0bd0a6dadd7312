# QV_SANITIZE: a comma-separated list of sanitizers built into every target of the project,
# compile and link, e.g. -DQV_SANITIZE=address,undefined (scripts/run-sanitizers.sh) or
# -DQV_SANITIZE=fuzzer-no-link,address,undefined with clang (scripts/run-fuzz.sh). Empty: none.
set(QV_SANITIZE "" CACHE STRING "Sanitizers for every target, comma-separated (address,undefined,...)")

if(QV_SANITIZE)
  set(QV_SANITIZE_FLAGS -fsanitize=${QV_SANITIZE} -fno-omit-frame-pointer)
  # Undefined behaviour stops the program with a report instead of running on.
  if(QV_SANITIZE MATCHES "undefined")
    list(APPEND QV_SANITIZE_FLAGS -fno-sanitize-recover=undefined)
  endif()
  add_compile_options(${QV_SANITIZE_FLAGS})
  add_link_options(${QV_SANITIZE_FLAGS})
  message(STATUS "Sanitizers: ${QV_SANITIZE}")
endif()
