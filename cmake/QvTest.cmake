# qv_add_test(NAME <name> SOURCES <files...> [LIBS <targets...>] [ENV <VAR=value...>] [LABELS <labels...>] [TIMEOUT <s>])
# One QtTest executable per test, run by CTest under the offscreen platform with the demo
# installation folder of the build tree as QV_VELANO_HOME (a test may point it elsewhere).
# Every test links the test support (tests/support, "support/..." includes): a static library
# without widgets, of which a test takes only what it uses.
function(qv_add_test)
  cmake_parse_arguments(T "" "NAME;TIMEOUT" "SOURCES;LIBS;ENV;LABELS" ${ARGN})
  add_executable(${T_NAME} ${T_SOURCES})
  target_link_libraries(${T_NAME} PRIVATE Qt6::Test ${T_LIBS} qvtestsupport)
  target_include_directories(${T_NAME} PRIVATE ${CMAKE_SOURCE_DIR}/tests)
  add_test(NAME ${T_NAME} COMMAND ${T_NAME})
  if(NOT T_TIMEOUT)
    set(T_TIMEOUT 120)
  endif()
  set(env "QT_QPA_PLATFORM=offscreen" "QV_VELANO_HOME=${QV_DEMO_HOME}/")
  if(TARGET qv-module-sim)
    list(APPEND env "QV_SIM=$<TARGET_FILE:qv-module-sim>")
  endif()
  list(APPEND env ${T_ENV})
  set_tests_properties(${T_NAME} PROPERTIES
    TIMEOUT ${T_TIMEOUT}
    ENVIRONMENT "${env}"
    LABELS "${T_LABELS}")
  if(TARGET qv-home)
    add_dependencies(${T_NAME} qv-home)
  endif()
endfunction()
