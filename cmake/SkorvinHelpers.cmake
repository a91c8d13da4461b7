# skorvin_add_layer(<name> [QT] SEES <layers...> DEPS <targets...>)
# One static library per source folder, its files found by glob. SEES names the layers
# below whose headers it may include; an include of any other layer fails the build
# (checked at configure time and again whenever a source changes).
function(skorvin_add_layer name)
  cmake_parse_arguments(ARG "QT" "" "SEES;DEPS" ${ARGN})
  file(GLOB_RECURSE sources CONFIGURE_DEPENDS
       ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp ${CMAKE_CURRENT_SOURCE_DIR}/*.hpp ${CMAKE_CURRENT_SOURCE_DIR}/*.qrc)
  if(NOT sources)
    message(FATAL_ERROR "The ${name} layer has no sources in ${CMAKE_CURRENT_SOURCE_DIR}")
  endif()
  add_library(${name} STATIC ${sources})
  target_include_directories(${name} PUBLIC ${CMAKE_SOURCE_DIR}/src)
  target_link_libraries(${name} PUBLIC ${ARG_DEPS})
  if(ARG_QT)
    set_target_properties(${name} PROPERTIES AUTOMOC ON AUTORCC ON)
    skorvin_strict_qt_text(${name})
  endif()
  skorvin_check_includes(${name} LAYER ${name} SEES ${ARG_SEES} SOURCES ${sources})
endfunction()

# skorvin_strict_qt_text(<target>)
# Every text of the product that reaches Qt is converted on purpose, never implicitly from
# or to char* (the tests may use Qt's shortcuts).
function(skorvin_strict_qt_text target)
  target_compile_definitions(${target} PRIVATE QT_NO_CAST_FROM_ASCII QT_NO_CAST_TO_ASCII)
endfunction()

# skorvin_check_includes(<target> LAYER <folder> SEES <layers...> SOURCES <files...>)
# The include rule of a layer (the folder its headers are included by), for a target whose
# sources belong to it.
function(skorvin_check_includes target)
  cmake_parse_arguments(ARG "" "LAYER" "SEES;SOURCES" ${ARGN})
  list(FILTER ARG_SOURCES INCLUDE REGEX "\\.(cpp|hpp)$")
  set(sources)
  foreach(source ${ARG_SOURCES})
    get_filename_component(source ${source} ABSOLUTE BASE_DIR ${CMAKE_CURRENT_SOURCE_DIR})
    list(APPEND sources ${source})
  endforeach()
  set(ARG_SOURCES ${sources})
  set(check ${CMAKE_SOURCE_DIR}/cmake/CheckLayerIncludes.cmake)
  # The rule goes to a file: lists do not survive a custom command's command line.
  set(rule ${CMAKE_CURRENT_BINARY_DIR}/${target}.layer-rule.cmake)
  file(WRITE ${rule} "set(LAYER ${ARG_LAYER})\nset(SEES \"${ARG_SEES}\")\nset(SOURCES \"${ARG_SOURCES}\")\n")
  execute_process(COMMAND ${CMAKE_COMMAND} -DRULE=${rule} -DSTAMP=${CMAKE_CURRENT_BINARY_DIR}/${target}.layer-configure
                          -P ${check} RESULT_VARIABLE failed ERROR_VARIABLE message)
  if(failed)
    message(FATAL_ERROR "${message}")
  endif()
  set(stamp ${CMAKE_CURRENT_BINARY_DIR}/${target}.layer-checked)
  add_custom_command(OUTPUT ${stamp} COMMAND ${CMAKE_COMMAND} -DRULE=${rule} -DSTAMP=${stamp} -P ${check}
                     DEPENDS ${ARG_SOURCES} ${check} ${rule} COMMENT "Checking the includes of ${target}"
                     VERBATIM)
  add_custom_target(${target}_layer_check DEPENDS ${stamp})
  add_dependencies(${target} ${target}_layer_check)
endfunction()

# skorvin_add_test(<name> [GUI] SOURCES <files...> LIBS <targets...>)
# GUI tests run on the offscreen platform so that no test needs a display.
function(skorvin_add_test name)
  cmake_parse_arguments(ARG "GUI" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE ${ARG_LIBS})
  if(ARG_GUI)
    set_target_properties(${name} PROPERTIES AUTOMOC ON AUTORCC ON)
  endif()
  # A cross build without Wine to run its programs only builds them.
  if(CMAKE_CROSSCOMPILING AND NOT CMAKE_CROSSCOMPILING_EMULATOR)
    return()
  endif()
  if(ARG_GUI)
    add_test(NAME ${name} COMMAND ${name})
    # Each program's windows keep their files in a temporary folder of its own, so GUI tests run side by side.
    set_tests_properties(${name} PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen;LC_ALL=C.UTF-8;QTEST_FUNCTION_TIMEOUT=60000")
  else()
    # Listing the tests starts the program, which under Wine on a busy machine takes seconds.
    gtest_discover_tests(${name} DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 120 PROPERTIES ENVIRONMENT "LC_ALL=C.UTF-8")
  endif()
endfunction()

# skorvin_add_fuzz(<name> LIBS <targets...>)
# A libFuzzer program <name>_fuzz from tests/fuzz/<name>_fuzz.cpp, built by the "fuzzers"
# target, with its seed corpus tests/fuzz/corpus/<name>/ when there is one. It is also the
# test fuzz_<name>, a run of SKORVIN_FUZZ_SECONDS that fails on a finding; new inputs go to
# the build folder, never to the seeds, and a finding is saved as fuzz/findings/<name>-*.
function(skorvin_add_fuzz name)
  cmake_parse_arguments(ARG "" "" "LIBS" ${ARGN})
  set(target ${name}_fuzz)
  add_executable(${target} ${CMAKE_CURRENT_SOURCE_DIR}/${target}.cpp)
  target_link_libraries(${target} PRIVATE ${ARG_LIBS})
  target_link_options(${target} PRIVATE -fsanitize=fuzzer)
  add_dependencies(fuzzers ${target})
  set(work ${CMAKE_CURRENT_BINARY_DIR}/corpus/${name})
  file(MAKE_DIRECTORY ${work} ${CMAKE_CURRENT_BINARY_DIR}/findings)
  set(corpora ${work})
  if(IS_DIRECTORY ${CMAKE_CURRENT_SOURCE_DIR}/corpus/${name})
    list(APPEND corpora ${CMAKE_CURRENT_SOURCE_DIR}/corpus/${name})
  endif()
  add_test(NAME fuzz_${name}
           COMMAND ${target} -max_total_time=${SKORVIN_FUZZ_SECONDS} -timeout=10 -rss_limit_mb=2048
                   -print_final_stats=1 -artifact_prefix=${CMAKE_CURRENT_BINARY_DIR}/findings/${name}- ${corpora})
  set_tests_properties(fuzz_${name} PROPERTIES ENVIRONMENT "LC_ALL=C.UTF-8" TIMEOUT 600)
endfunction()
