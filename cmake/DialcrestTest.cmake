# SPDX-License-Identifier: GPL-3.0-or-later
# dialcrest_add_test(<name> SOURCES <files...> LIBRARIES <targets...> [GUI] [SERIAL] [TIMEOUT s]
#                   [LAUNCHER <command...>])
# Builds one QtTest executable and registers it with CTest. Every test runs with the
# offscreen platform and its own temporary data folder (the test creates it; see
# tests/common/TestEnv.h), so suites can run in parallel. A LAUNCHER runs the test under a
# set-up of its own; its exit code 77 means "this machine cannot", which CTest shows as a skip.

# The environment of every test, the sanitizers' options included, so that a test which
# starts the application sees what the suites see.
# die_after_fork=0: the fault suites run the SDK (and its threads) in forked children.
# G_SLICE=always-malloc: GLib (Qt's event loop) would hand small blocks from one thread to
# another through its own caches, which ThreadSanitizer cannot follow; through malloc it can.
# One font configuration, locale and time zone for every suite, whatever the machine has:
# tests/fonts.conf names only the fonts scripts/dev.sh installs; no desktop theme or style
# of the machine is loaded.
set(DIALCREST_TEST_ENVIRONMENT
    "QT_QPA_PLATFORM=offscreen"
    "FONTCONFIG_FILE=${PROJECT_SOURCE_DIR}/tests/fonts.conf"
    "LC_ALL=C.UTF-8"
    "LANG=C.UTF-8"
    "LANGUAGE="
    "TZ=UTC"
    "QT_QPA_PLATFORMTHEME="
    "QT_STYLE_OVERRIDE="
    "QT_SCALE_FACTOR="
    "QT_FONT_DPI="
    "ASAN_OPTIONS=detect_leaks=1:abort_on_error=0"
    "LSAN_OPTIONS=suppressions=${PROJECT_SOURCE_DIR}/tests/lsan.supp"
    "UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1"
    "G_SLICE=always-malloc"
    "TSAN_OPTIONS=halt_on_error=1:second_deadlock_stack=1:die_after_fork=0:suppressions=${PROJECT_SOURCE_DIR}/tests/tsan.supp")

function(dialcrest_add_test name)
  cmake_parse_arguments(T "GUI;SERIAL" "TIMEOUT" "SOURCES;LIBRARIES;LAUNCHER" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests/bin)
  target_link_libraries(${name} PRIVATE Qt6::Test ${T_LIBRARIES})
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR}/tests/common)
  if(T_LAUNCHER)
    add_test(NAME ${name} COMMAND ${T_LAUNCHER} $<TARGET_FILE:${name}>)
    set_tests_properties(${name} PROPERTIES SKIP_RETURN_CODE 77)
  else()
    add_test(NAME ${name} COMMAND ${name})
  endif()
  if(NOT T_TIMEOUT)
    set(T_TIMEOUT 300)
  endif()
  set_tests_properties(${name} PROPERTIES
    ENVIRONMENT "${DIALCREST_TEST_ENVIRONMENT}"
    TIMEOUT ${T_TIMEOUT})
  if(T_SERIAL)
    set_tests_properties(${name} PROPERTIES RUN_SERIAL TRUE)
  endif()
endfunction()
