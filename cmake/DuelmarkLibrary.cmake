# duelmark_library(NAME [DEPS ...]): a static library from every .cpp of the current folder,
# except the ones listed in EXCLUDE (entry points that become executables).
function(duelmark_library name)
  cmake_parse_arguments(ARG "" "" "DEPS;EXCLUDE" ${ARGN})
  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  foreach(ex IN LISTS ARG_EXCLUDE)
    list(REMOVE_ITEM sources ${CMAKE_CURRENT_SOURCE_DIR}/${ex})
  endforeach()
  if(sources)
    add_library(${name} STATIC ${sources})
    target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR})
    target_link_libraries(${name} PUBLIC ${ARG_DEPS})
  else()
    add_library(${name} INTERFACE)
    target_include_directories(${name} INTERFACE ${PROJECT_SOURCE_DIR})
    target_link_libraries(${name} INTERFACE ${ARG_DEPS})
  endif()
endfunction()

# duelmark_test(NAME [DEPS ...] [ENV ...]): one GoogleTest executable from every .cpp of the
# current test folder, registered with CTest test by test, run headless.
function(duelmark_test name)
  cmake_parse_arguments(ARG "" "TIMEOUT;LOCK" "DEPS;ENV" ${ARGN})
  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  if(NOT sources)
    return()
  endif()
  add_executable(${name} ${sources})
  target_link_libraries(${name} PRIVATE ${ARG_DEPS} test_support GTest::gtest GTest::gtest_main)
  target_compile_definitions(${name} PRIVATE
    DUELMARK_GAME_DIR="${DUELMARK_GAME_DIR}"
    DUELMARK_SOURCE_DIR="${PROJECT_SOURCE_DIR}")
  if(NOT ARG_TIMEOUT)
    set(ARG_TIMEOUT 120)
  endif()
  # The tests always run headless; a list-valued ENVIRONMENT property would be split by the
  # test discovery, so the variables are set by an env launcher instead.
  set_target_properties(${name} PROPERTIES
    CROSSCOMPILING_EMULATOR "env;SDL_VIDEODRIVER=dummy;SDL_AUDIODRIVER=dummy;${ARG_ENV}")
  # The label (the executable's name) lets test.sh run one group again, on sdl12-compat.
  set(properties TIMEOUT ${ARG_TIMEOUT} LABELS ${name})
  if(ARG_LOCK)
    # Tests that share a resource (fixed loopback ports) must not run side by side under ctest -j.
    list(APPEND properties RESOURCE_LOCK ${ARG_LOCK})
  endif()
  gtest_discover_tests(${name}
    DISCOVERY_MODE PRE_TEST
    WORKING_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR}
    PROPERTIES ${properties})
endfunction()
