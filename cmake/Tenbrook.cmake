# Shared compile settings and the helpers every target is made with.

set(TENBROOK_WARNINGS -Wall -Wextra -Wshadow -Wsuggest-override -Wno-missing-field-initializers)
# GCC 12 warns wrongly about "text" + std::string at -O2 and above (its bug 105329).
if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU" AND CMAKE_CXX_COMPILER_VERSION VERSION_LESS 13)
  list(APPEND TENBROOK_WARNINGS -Wno-restrict)
endif()

if(TENBROOK_SANITIZE)
  add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined -O1)
  add_link_options(-fsanitize=address,undefined)
endif()

# tb_add_library(name SOURCES... [QT] [DEPS ...]): one library per subsystem.
function(tb_add_library name)
  cmake_parse_arguments(ARG "QT" "" "SOURCES;DEPS" ${ARGN})
  add_library(${name} STATIC ${ARG_SOURCES})
  target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR}/src)
  target_compile_options(${name} PRIVATE ${TENBROOK_WARNINGS})
  target_link_libraries(${name} PUBLIC ${ARG_DEPS})
  if(ARG_QT)
    set_target_properties(${name} PROPERTIES AUTOMOC ON)
    target_compile_definitions(${name} PUBLIC QT_NO_CAST_FROM_ASCII QT_NO_CAST_TO_ASCII)
  endif()
endfunction()

# tb_add_test(name SOURCES... DEPS ... [GUI]): one GoogleTest program per subsystem;
# GUI tests run on the offscreen platform.
function(tb_add_test name)
  cmake_parse_arguments(ARG "GUI" "" "SOURCES;DEPS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_compile_options(${name} PRIVATE ${TENBROOK_WARNINGS})
  target_link_libraries(${name} PRIVATE ${ARG_DEPS} tb_testsupport GTest::gtest GTest::gmock)
  if(ARG_GUI)
    set_target_properties(${name} PROPERTIES AUTOMOC ON)
  endif()
  # Where the programs are, for tests that start them as a user would.
  target_compile_definitions(${name} PRIVATE TENBROOK_BIN_DIR="${CMAKE_RUNTIME_OUTPUT_DIRECTORY}")
  # Sanitizer options are compiled in, so they hold however the test is started.
  target_sources(${name} PRIVATE ${PROJECT_SOURCE_DIR}/tests/support/SanitizerOptions.cpp)
  gtest_discover_tests(${name} PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen" DISCOVERY_TIMEOUT 60)
endfunction()
