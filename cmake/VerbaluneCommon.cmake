# Compiler settings every target of the program shares.
add_library(verbalune_common INTERFACE)
target_compile_options(verbalune_common INTERFACE
  -Wall -Wextra -Wpedantic -Wold-style-cast -Wnon-virtual-dtor)
target_compile_definitions(verbalune_common INTERFACE
  QT_NO_CAST_FROM_ASCII QT_NO_NARROWING_CONVERSIONS_IN_CONNECT
  VERBALUNE_VERSION="${PROJECT_VERSION}")
if(VERBALUNE_WERROR)
  target_compile_options(verbalune_common INTERFACE -Werror)
endif()
if(VERBALUNE_TESTS)
  target_compile_definitions(verbalune_common INTERFACE _GLIBCXX_ASSERTIONS)
endif()
if(VERBALUNE_SANITIZE)
  target_compile_options(verbalune_common INTERFACE
    -fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
  target_link_options(verbalune_common INTERFACE -fsanitize=address,undefined)
endif()
if(VERBALUNE_FUZZ)
  target_compile_options(verbalune_common INTERFACE
    -fsanitize=fuzzer-no-link,address,undefined -fno-omit-frame-pointer)
  target_link_options(verbalune_common INTERFACE -fsanitize=address,undefined)
endif()

# verbalune_library(NAME SOURCES... LIBS...): one library per source folder.
function(verbalune_library name)
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
  add_library(${name} STATIC ${ARG_SOURCES})
  target_include_directories(${name} PUBLIC ${CMAKE_CURRENT_SOURCE_DIR})
  target_link_libraries(${name} PUBLIC verbalune_common ${ARG_LIBS})
endfunction()

# verbalune_test(NAME SOURCES... LIBS... [GUI]): one GoogleTest executable per
# module, run by CTest. GUI tests get a QApplication on the offscreen platform.
function(verbalune_test name)
  cmake_parse_arguments(ARG "GUI" "TIMEOUT" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  if(ARG_GUI)
    target_link_libraries(${name} PRIVATE verbalune_test_main_gui)
  else()
    target_link_libraries(${name} PRIVATE verbalune_test_main_core)
  endif()
  target_link_libraries(${name} PRIVATE verbalune_common ${ARG_LIBS})
  add_test(NAME ${name} COMMAND ${name})
  if(NOT ARG_TIMEOUT)
    set(ARG_TIMEOUT 300)
  endif()
  set_tests_properties(${name} PROPERTIES
    TIMEOUT ${ARG_TIMEOUT}
    ENVIRONMENT "QT_QPA_PLATFORM=offscreen;VERBALUNE_TEST_DATA=${CMAKE_SOURCE_DIR}/tests/data;VERBALUNE_SHARE_DIR=${CMAKE_SOURCE_DIR}/data")
endfunction()
